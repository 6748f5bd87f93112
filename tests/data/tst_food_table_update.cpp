// The corrected food table: the shipped table itself, and the update that brings a counsellor's file
// made from the first table up to it while keeping her own work.

#include "data/csv.h"
#include "data/database_update.h"
#include "data/food_table_update.h"
#include "data/query.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace nc::data;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixtureDb;
using nc::test::RunOutcome;
using Status = UpdateOutcome::Status;

namespace {

QString seedFoods() {
    return nc::test::sourceDir() + QStringLiteral("/data/seed/foods.csv");
}

// The whole food table as stored: one line per food in number order, cells with their storage type,
// so "0.22" stored as text would not pass for the number.
QStringList foodRows(Connection& c) {
    Query q(&c);
    q.setSql(QStringLiteral("select * from Foodnurti order by foodid"));
    q.open();
    QStringList out;
    for (const QList<Value>& row : q.rows()) {
        QStringList cells;
        for (int i = 1; i < row.size(); ++i) // column 0 is the rowid
            cells << (row[i].isNull() ? QStringLiteral("-")
                                      : QStringLiteral("%1:%2").arg(int(row[i].type())).arg(row[i].toText()));
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// A counsellor's file from the first release, used for a while: two diet days, a saved recipe, an
// edited figure, a food she renamed and four foods of her own, one named as a corrected name.
void useForAWhile(FixtureDb& db) {
    db.exec(QStringLiteral("insert into ts (tsid) values (1), (2)"));
    db.exec(QStringLiteral(
        "insert into foodcheck (tc, swname, zl) values (1, '番茄[西红柿]', 150), (1, '鲫鱼', 80), "
        "(2, '菠菜', 100), (2, '猪肝', 30), (2, '自制杂粮馒头', 100), (2, '鲫鱼[喜头鱼、海附鱼]（1）', 50)"));
    db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values "
                           "('我的午餐', '2026-03-01 12:00:00.000', '番茄[西红柿]', 100), "
                           "('我的午餐', '2026-03-01 12:00:01.000', '鲫鱼', 70), "
                           "('我的午餐', '2026-03-01 12:00:02.000', '猪肝', 25)"));
    // She measured pork liver's B2 herself; B1 and vitamin A she left as shipped.
    db.exec(QStringLiteral("update Foodnurti set vitb2 = 1.5 where foodid = '08092'"));
    // She shortened a name (the diet record already uses hers).
    db.exec(QStringLiteral("update Foodnurti set foodname = '菠菜' where foodid = '04038'"));
    // Her own foods: one on a number the added foods use, one named like an added food, one elsewhere.
    db.exec(
        QStringLiteral("insert into Foodnurti (foodid, foodname, foodkind, energy, protein) values "
                       "('01093', '自制杂粮馒头', '01', 230, 7.5), ('19099', '油条', '19', 388, 6.9), "
                       "('12999', '自家熏鱼', '12', 210, 20), ('04999', '西兰花［绿菜花］', '04', 30, 3)"));
    db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (2, '西兰花[绿菜花]', 100)"));
}

} // namespace

class TestFoodTableUpdate : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureDb> used_; // the counsellor's file, updated once in initTestCase
    QString before_;                  // its contents before the update
    UpdateOutcome outcome_;

private Q_SLOTS:
    void initTestCase() {
        used_ = std::make_unique<FixtureDb>(FixtureDb::Content::FirstRelease);
        useForAWhile(*used_);
        before_ = databaseContents(used_->connection());
        outcome_ = updateDatabase(used_->connection());
        if (outcome_.status == Status::Updated)
            used_->attachFirstClient(); // her diet record is now in her own file
    }

    // The shipped table as a new database holds it: every cell of the seed file, the corrected figures
    // and names, the added cereal foods.
    void shippedTable() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        const CsvTable csv = readCsvFile(seedFoods());
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 1659);
        Query q(&db.connection());
        q.setSql(QStringLiteral("select * from Foodnurti where foodid=:id"));
        for (const QStringList& row : csv.rows) {
            q.setParam(QStringLiteral("id"), row[0]);
            q.open();
            QVERIFY2(!q.eof(), qPrintable(row[0]));
            for (int i = 0; i < csv.header.size(); ++i) {
                const Value v = q.field(csv.header[i]);
                const bool same = row[i].isEmpty() ? v.isNull()
                                  : i < 3 || csv.header[i] == QLatin1String("foodkind")
                                      ? v.toText() == row[i]
                                      : !v.isNull() && v.toReal() == row[i].toDouble();
                QVERIFY2(same, qPrintable(QStringLiteral("%1 %2: %3 stored, %4 in the table")
                                              .arg(row[0], csv.header[i], v.toText(), row[i])));
            }
        }
        QCOMPARE(db.scalar(QStringLiteral("select vitb1 from Foodnurti where foodid='08092'")).toReal(),
                 0.22);
        QCOMPARE(db.scalar(QStringLiteral("select foodname from Foodnurti where foodid='12157'")).toText(),
                 QStringLiteral("鲟鱼"));
        QCOMPARE(db.scalar(QStringLiteral(
                               "select count(*) from Foodnurti where foodid between '01093' and '01112'"))
                     .toInteger(),
                 20);
        // No figure beyond what a food can hold, no ASCII brackets left in names.
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from Foodnurti where vitb1 > 20 or protein > 100 or "
                                     "fat > 100 or carbohydra > 100"))
                .toInteger(),
            0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from Foodnurti where foodname glob '*[[()]*' or "
                                          "foodname glob '*]*'"))
                     .toInteger(),
                 0);
    }

    // A file from the first release nobody touched becomes exactly the shipped table.
    void untouchedFileBecomesShippedTable() {
        FixtureDb old(FixtureDb::Content::FirstRelease);
        QCOMPARE(databaseVersion(old.connection()), 0);
        QCOMPARE(updateDatabase(old.connection()).status, Status::Updated);
        FixtureDb fresh(FixtureDb::Content::ShippedSeeds);
        const QStringList updated = foodRows(old.connection()), shipped = foodRows(fresh.connection());
        QCOMPARE(updated.size(), shipped.size());
        for (int i = 0; i < shipped.size(); ++i)
            QCOMPARE(updated[i], shipped[i]);
        QCOMPARE(databaseVersion(old.connection()), latestDatabaseVersion());
    }

    void counsellorsFile_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* what, const char* sql, const QString& expected) {
            QTest::newRow(what) << QString::fromUtf8(sql) << expected;
        };
        row("first value corrected", "select vitb1 || ' ' || vita from Foodnurti where foodid='08092'",
            QStringLiteral("0.22 6502.0"));
        row("her figure kept", "select vitb2 from Foodnurti where foodid='08092'", QStringLiteral("1.5"));
        row("not measured emptied", "select coalesce(vita, 'none') from Foodnurti where foodid='01011'",
            QStringLiteral("none"));
        row("corrected name", "select foodname from Foodnurti where foodid='04137'",
            QStringLiteral("番茄［西红柿］"));
        row("misread name and initials", "select foodname || ' ' || dm from Foodnurti where foodid='12157'",
            QStringLiteral("鲟鱼 XY"));
        row("her name kept", "select foodname from Foodnurti where foodid='04038'", QStringLiteral("菠菜"));
        row("diet record follows",
            "select group_concat(swname, '|') from (select swname from foodcheck order by foodid)",
            QStringLiteral("番茄［西红柿］|鲫鱼［喜头鱼、海附鱼］（1）|菠菜|猪肝|自制杂粮馒头|"
                           "鲫鱼［喜头鱼、海附鱼］（1）|西兰花[绿菜花]"));
        row("recipe follows",
            "select group_concat(swname, '|') from (select swname from sps order by sptime)",
            QStringLiteral("番茄［西红柿］|鲫鱼［喜头鱼、海附鱼］（1）|猪肝"));
        row("corrected name taken by her food: both keep theirs",
            "select group_concat(foodname, '|') from (select foodname from Foodnurti where foodid in "
            "('04037', "
            "'04999') order by foodid)",
            QStringLiteral("西兰花[绿菜花]|西兰花［绿菜花］"));
        row("records of a food that kept its name keep it",
            "select count(*) from foodcheck where swname='西兰花[绿菜花]'", QStringLiteral("1"));
        row("her foods untouched",
            "select group_concat(foodid || foodname || energy, '|') from "
            "(select * from Foodnurti where foodid in ('01093', '19099', '12999') order by foodid)",
            QStringLiteral("01093自制杂粮馒头230.0|12999自家熏鱼210.0|19099油条388.0"));
        row("added food on her number moves to the next free number",
            "select foodid from Foodnurti where foodname='面条（富强粉，切面）'", QStringLiteral("01113"));
        row("added foods on free numbers keep them",
            "select foodid || foodname from Foodnurti where foodid in ('01094', '01112') order by foodid",
            QStringLiteral("01094面条（富强粉，煮）"));
        row("added foods: 19, none named like hers",
            "select count(*) || ' ' || sum(foodname='油条') from Foodnurti where foodid between '01093' and "
            "'01113'",
            QStringLiteral("20 0"));
        row("foods in all", "select count(*) from Foodnurti", QString::number(1639 + 4 + 19));
        row("version recorded", "pragma user_version", QString::number(latestDatabaseVersion()));
    }
    // A counsellor's file after the update, case by case.
    void counsellorsFile() {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(outcome_.status, Status::Updated);
        QCOMPARE(used_->scalar(sql).toText(), expected);
    }

    // Before anything changed, the file was copied into "backups" beside it; the copy opens with the
    // program's key and holds the file as it was.
    void backupHoldsTheFileAsItWas() {
        QCOMPARE(outcome_.status, Status::Updated);
        QCOMPARE(QFileInfo(outcome_.backupPath).absolutePath(),
                 QDir(used_->folder()).filePath(QStringLiteral("backups")));
        QTemporaryDir dir;
        QVERIFY(QFile::copy(outcome_.backupPath, dir.filePath(QString::fromLatin1(kDatabaseFileName))));
        Connection copy(connectionStringForFolder(dir.path()));
        QCOMPARE(databaseContents(copy), before_);
    }

    // A second start changes nothing and makes no second copy.
    void secondStartChangesNothing() {
        const QString after = databaseContents(used_->connection());
        const UpdateOutcome again = updateDatabase(used_->connection());
        QCOMPARE(again.status, Status::UpToDate);
        QCOMPARE(databaseContents(used_->connection()), after);
        QCOMPARE(QDir(backupFolderFor(used_->path())).entryList(QDir::Files).size(), 1);
    }

    // A failure anywhere in the update leaves the counsellor's file exactly as it was. The update runs
    // thousands of statements, so every 61st fails in turn, spread over all of them.
    void failureHalfWay() {
        FixtureDb db(FixtureDb::Content::FirstRelease);
        useForAWhile(db);
        UpdateOutcome out;
        FailureSweep sweep(db.connection());
        sweep.every = 61;
        sweep.limit = 20000;
        sweep.snapshot = [&db] { return databaseContents(db.connection()); };
        sweep.afterRun = [&](int failing, RunOutcome) {
            if (failing == 1) { // the version read: the file is left to the windows to report
                QCOMPARE(out.status, Status::Unavailable);
                return;
            }
            QCOMPARE(out.status, Status::Failed);
            bool namesItsStep = false;
            for (const DatabaseUpdate& step : databaseUpdates())
                namesItsStep = namesItsStep || out.message.contains(step.description);
            QVERIFY2(namesItsStep && out.message.contains(QStringLiteral("文件保持原样")),
                     qPrintable(out.message));
            Connection fresh(connectionStringForFolder(db.folder()));
            QCOMPARE(databaseContents(fresh), databaseContents(db.connection()));
        };
        QVERIFY(sweep.run([&] {
            out = updateDatabase(db.connection());
            return out.status == Status::Updated ? RunOutcome::Completed : RunOutcome::Failed;
        }));
        QVERIFY(sweep.brokenRuns() > 20);
        QCOMPARE(foodRows(db.connection()), foodRows(used_->connection()));
    }

    // The shipped update data agree with the shipped table: the added foods are its rows, and every
    // corrected cell's new value is what the table holds unless a later row changed it.
    void updateDataMatchTheTable() {
        const FoodTableCorrection& fix = shippedFoodTableCorrection();
        const CsvTable table = readCsvFile(seedFoods());
        QHash<QString, QStringList> byId;
        for (const QStringList& r : table.rows)
            byId.insert(r[0], r);
        QCOMPARE(fix.added.header, table.header);
        QCOMPARE(fix.added.rows.size(), 20);
        for (const QStringList& r : fix.added.rows)
            QCOMPARE(r, byId.value(r[0]));
        const int id = int(fix.cells.header.indexOf(QStringLiteral("foodid")));
        const int col = int(fix.cells.header.indexOf(QStringLiteral("column")));
        const int now = int(fix.cells.header.indexOf(QStringLiteral("new_value")));
        for (const QStringList& r : fix.cells.rows) {
            if (r[col] == QLatin1String("*"))
                continue;
            const QString column = r[col] == QLatin1String("foodname") ? QStringLiteral("foodname") : r[col];
            QCOMPARE(byId.value(r[id]).value(int(table.header.indexOf(column))), r[now]);
        }
        for (const QStringList& r : fix.renamed.rows)
            QCOMPARE(byId.value(r[0]).value(1), r[2]);
    }
};

QTEST_GUILESS_MAIN(TestFoodTableUpdate)
#include "tst_food_table_update.moc"
