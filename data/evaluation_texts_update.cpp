#include "evaluation_texts_update.h"

#include "connection.h"
#include "csv.h"
#include "data/evaluation_texts_seed.h"
#include "errors.h"
#include "query.h"
#include "upper_levels.h"

#include <QHash>
#include <QSet>

namespace nc::data {

namespace {

const QString kAtUpperLevel = QStringLiteral(">=UL");

struct Text {
    QString nutrient; // z_id as text: "11"
    QString range;
    QString content;
    QString rgName;
    QString appraise;
    QString group;

    QString key() const { return nutrient + QLatin1Char('\n') + range; }
    QString keyOfGroup() const { return key() + QLatin1Char('\n') + group; }
    QStringList words() const { return {content, rgName, appraise}; }
};

QList<Text> shippedTexts(const QString& csv) {
    const CsvTable table = parseCsv(csv, QStringLiteral("app_pj.csv"));
    auto column = [&](const char* name) {
        for (int i = 0; i < table.header.size(); ++i)
            if (table.header.at(i).trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const int zId = column("z_id"), range = column("range"), content = column("content"),
              rgName = column("rg_name"), appraise = column("appraise"), group = column("grp");
    if (zId < 0 || range < 0 || content < 0 || rgName < 0 || appraise < 0)
        throw Error(QStringLiteral("程序内置的评价文字缺少必需的列。"));
    QList<Text> out;
    for (const QStringList& row : table.rows)
        out.append({row.at(zId).trimmed(), row.at(range), row.at(content), row.at(rgName), row.at(appraise),
                    group < 0 ? QString() : row.at(group).trimmed()});
    return out;
}

QList<Text> storedTexts(Connection& c) {
    Query q(&c);
    q.setSql(
        QStringLiteral("select z_id, range, content, rg_name, appraise, grp from app_pj order by rowid"));
    q.open();
    QList<Text> out;
    for (const QList<Value>& v : q.rows())
        out.append({v.at(0).toText().trimmed(), v.at(1).toText(), v.at(2).toText(), v.at(3).toText(),
                    v.at(4).toText(), v.at(5).toText().trimmed()});
    return out;
}

// The general texts by nutrient and range, each as its words in table order.
QHash<QString, QList<QStringList>> generalTexts(const QList<Text>& texts) {
    QHash<QString, QList<QStringList>> out;
    for (const Text& t : texts)
        if (t.group.isEmpty())
            out[t.key()].append(t.words());
    return out;
}

} // namespace

void addCategoryTextsAndUpperLevels(Connection& c, const QString& shippedCsv) {
    if (!tableHasColumn(c, QStringLiteral("app_pj"), QStringLiteral("grp")))
        c.exec(QStringLiteral("ALTER TABLE app_pj ADD COLUMN grp TEXT COLLATE NOCASE"));
    if (!tableHasColumn(c, QStringLiteral("lsyysfx"), QStringLiteral("ul")))
        c.exec(QStringLiteral("ALTER TABLE lsyysfx ADD COLUMN ul REAL"));

    Query person(&c);
    person.setSql(QStringLiteral("select csjd from personinf"));
    person.open();
    storeUpperLevels(c, person.eof() ? QString() : person.field(QStringLiteral("csjd")).toText());

    const QList<Text> shipped = shippedTexts(shippedCsv);
    const QList<Text> stored = storedTexts(c);
    const QHash<QString, QList<QStringList>> shippedGeneral = generalTexts(shipped);
    const QHash<QString, QList<QStringList>> storedGeneral = generalTexts(stored);
    QSet<QString> present;
    for (const Text& t : stored)
        present.insert(t.keyOfGroup());

    Query insert(&c);
    insert.setSql(QStringLiteral("insert into app_pj (z_id, range, content, rg_name, appraise, grp) "
                                 "values (:z, :r, :c, :n, :a, :g)"));
    for (const Text& t : shipped) {
        const bool atUpperLevel = t.range == kAtUpperLevel;
        if (t.group.isEmpty() && !atUpperLevel)
            continue; // a general text every file already has, or one she changed
        if (present.contains(t.keyOfGroup()))
            continue;
        // Her own general texts for this nutrient and range stay the ones printed for every category.
        if (!atUpperLevel && storedGeneral.value(t.key()) != shippedGeneral.value(t.key()))
            continue;
        auto textOrNull = [](const QString& s) { return s.isEmpty() ? Value::null() : Value(s); };
        insert.setParam(QStringLiteral("z"), t.nutrient.toInt());
        insert.setParam(QStringLiteral("r"), t.range);
        insert.setParam(QStringLiteral("c"), textOrNull(t.content));
        insert.setParam(QStringLiteral("n"), textOrNull(t.rgName));
        insert.setParam(QStringLiteral("a"), textOrNull(t.appraise));
        insert.setParam(QStringLiteral("g"), textOrNull(t.group));
        insert.execute();
    }
}

void addCategoryTextsAndUpperLevels(Connection& c) {
    addCategoryTextsAndUpperLevels(c, QString::fromUtf8(kEvaluationTextsSeedCsv));
}

} // namespace nc::data
