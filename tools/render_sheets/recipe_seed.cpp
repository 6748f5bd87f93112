#include "recipe_seed.h"

#include "data/value.h"

#include <QDateTime>

namespace nc::sheets {

data::CsvTable recipeSeed(const QList<Sheet>& sheets) {
    data::CsvTable t;
    t.header = {QStringLiteral("spname"), QStringLiteral("sptime"), QStringLiteral("foodid"),
                QStringLiteral("swname"), QStringLiteral("zl")};
    // A fixed moment, so the shipped rows are the same on every build.
    const QDateTime start(QDate(2024, 1, 1), QTime(8, 0));
    for (const Sheet& s : sheets) {
        if (!s.isMenu())
            continue;
        int second = 0;
        for (const Ingredient& in : s.foodLines()) {
            const QString time = data::Value::fromDateTime(start.addSecs(second++)).toText();
            // foodid copies a diet entry's number when a counsellor saves a recipe; these lines never
            // were diet entries, so it stays empty.
            t.rows.append({s.title, time, QString(), in.food, QString::number(in.grams, 'g', 10)});
        }
    }
    return t;
}

QString toCsv(const data::CsvTable& table) {
    const auto line = [](const QStringList& fields) {
        QStringList quoted;
        for (QString f : fields)
            quoted << QLatin1Char('"') + f.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                          QLatin1Char('"');
        return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
    };
    QString out = line(table.header);
    for (const QStringList& r : table.rows)
        out += line(r);
    return out;
}

} // namespace nc::sheets
