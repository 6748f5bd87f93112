#include "meals_portions_update.h"

#include "connection.h"
#include "csv.h"
#include "data/portions_seed.h"
#include "query.h"

namespace nc::data {

namespace {} // namespace

void addMealsAndPortions(Connection& c) {
    for (const QString& table : {QStringLiteral("foodcheck"), QStringLiteral("sps")})
        for (const QString& column : {QStringLiteral("meal"), QStringLiteral("portion")})
            if (!tableHasColumn(c, table, column))
                c.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT COLLATE NOCASE").arg(table, column));

    c.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS foodportion (foodname TEXT COLLATE NOCASE, unit TEXT "
                          "COLLATE NOCASE, grams REAL, edible INTEGER)"));
    c.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS foodportion_name ON foodportion (foodname)"));

    Query count(&c);
    count.setSql(QStringLiteral("select count(*) as n from foodportion"));
    count.open();
    if (count.field(QStringLiteral("n")).toInteger() > 0)
        return;
    const CsvTable seed = parseCsv(QString::fromUtf8(kPortionsSeedCsv), QStringLiteral("portions.csv"));
    Query insert(&c);
    insert.setSql(
        QStringLiteral("insert into foodportion (foodname, unit, grams, edible) values (:n, :u, :g, :e)"));
    for (const QStringList& row : seed.rows) {
        insert.setParam(QStringLiteral("n"), row.value(0));
        insert.setParam(QStringLiteral("u"), row.value(1));
        insert.setParam(QStringLiteral("g"), row.value(2).toDouble());
        insert.setParam(QStringLiteral("e"), row.value(3).toInt());
        insert.execute();
    }
}

} // namespace nc::data
