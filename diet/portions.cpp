#include "portions.h"

#include "data/query.h"
#include "data/value.h"

#include <cmath>

namespace nc::diet {

using namespace nc::data;

bool portionCovers(const QString& portionFood, const QString& foodName) {
    const QString key = portionFood.trimmed();
    const QString name = foodName.trimmed();
    if (key.isEmpty())
        return false;
    if (name.compare(key, Qt::CaseInsensitive) == 0)
        return true;
    static const QString brackets = QStringLiteral("（([［【");
    return name.size() > key.size() && name.startsWith(key, Qt::CaseInsensitive) &&
           brackets.contains(name.at(key.size()));
}

PortionTable PortionTable::load() {
    Query q;
    q.setSql(QStringLiteral("select foodname, unit, grams, edible from foodportion order by rowid"));
    q.open();
    QList<Row> rows;
    for (q.first(); !q.eof(); q.next()) {
        const QString unit = q.field(QStringLiteral("unit")).toText().trimmed();
        const double grams = q.field(QStringLiteral("grams")).toReal();
        if (unit.isEmpty() || !(grams > 0))
            continue; // a row without a unit or a weight converts nothing
        const Value edible = q.field(QStringLiteral("edible"));
        rows.append({q.field(QStringLiteral("foodname")).toText(),
                     {unit, grams, edible.isNull() || edible.toInteger() != 0}});
    }
    return PortionTable(std::move(rows));
}

QList<Portion> PortionTable::portionsOf(const QString& foodName) const {
    QList<Portion> out;
    QList<int> keyLength; // of the row each unit was taken from
    for (const Row& r : rows_) {
        if (!portionCovers(r.food, foodName))
            continue;
        const int len = int(r.food.trimmed().size());
        int at = -1;
        for (int i = 0; i < out.size(); ++i)
            if (out[i].unit == r.portion.unit)
                at = i;
        if (at < 0) {
            out.append(r.portion);
            keyLength.append(len);
        } else if (len > keyLength[at]) {
            out[at] = r.portion;
            keyLength[at] = len;
        }
    }
    return out;
}

double portionGrams(double count, const Portion& portion, double ediblePercent) {
    double grams = count * portion.grams;
    if (!portion.edible)
        grams = grams * ediblePercent / 100.0;
    return std::round(grams * 10.0) / 10.0;
}

QString portionText(double count, const QString& unit) {
    return QString::number(count, 'g', 6) + unit;
}

} // namespace nc::diet
