// The update that adds evaluation texts by category and for intakes at the upper level to a file of
// the release before: the new columns, the upper levels of her category, the shipped texts added
// without overriding a counsellor's own texts, and nothing changed when it fails half-way.

#include "data/connection.h"
#include "data/csv.h"
#include "data/database_builder.h"
#include "data/database_update.h"
#include "data/evaluation_texts_update.h"
#include "data/query.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"

#include <QTest>
#include <optional>

using namespace nc::data;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixedClock;
using nc::test::FixtureDb;
using nc::test::RunOutcome;
using Status = UpdateOutcome::Status;

namespace {

QString csvLine(const QStringList& cells) {
    QStringList quoted;
    for (const QString& c : cells)
        quoted << QLatin1Char('"') + QString(c).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                      QLatin1Char('"');
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

// The general texts the release before shipped, then texts written for 孕妇 for calcium below 90 %
// (a text she will have edited), iron above 110 % (one she will have deleted) and protein below 90 %
// (untouched), and upper-level texts for calcium, general and for 孕妇.
QString shippedWithCategoryTexts() {
    const CsvTable before = readCsvFile(nc::test::sourceDir() +
                                        QStringLiteral("/tests/support/second_release_database/app_pj.csv"));
    QString csv = csvLine(before.header + QStringList{QStringLiteral("grp")});
    for (const QStringList& row : before.rows)
        csv += csvLine(row + QStringList{QString()});
    const QString pregnant = QStringLiteral("孕妇");
    csv += csvLine({QStringLiteral("11"), QStringLiteral("<90"), QStringLiteral("钙"),
                    QStringLiteral("摄入不足"), QStringLiteral("孕妇钙少"), pregnant});
    csv += csvLine({QStringLiteral("12"), QStringLiteral(">110"), QStringLiteral("铁"),
                    QStringLiteral("摄入偏多"), QStringLiteral("孕妇铁多"), pregnant});
    csv += csvLine({QStringLiteral("2"), QStringLiteral("<90"), QStringLiteral("蛋白质"),
                    QStringLiteral("摄入不足"), QStringLiteral("孕妇蛋白少"), pregnant});
    csv += csvLine({QStringLiteral("2"), QStringLiteral("<90"), QStringLiteral("蛋白质"),
                    QStringLiteral("摄入不足"), QStringLiteral("孕妇蛋白少二"), pregnant});
    csv += csvLine({QStringLiteral("11"), QStringLiteral(">=UL"), QStringLiteral("钙"),
                    QStringLiteral("超过可耐受最高摄入量"), QStringLiteral("钙超"), QString()});
    csv += csvLine({QStringLiteral("11"), QStringLiteral(">=UL"), QStringLiteral("钙"),
                    QStringLiteral("超过可耐受最高摄入量"), QStringLiteral("孕妇钙超"), pregnant});
    return csv;
}

// The program's steps with this one given the texts above.
QList<DatabaseUpdate> stepsWith(const QString& csv) {
    QList<DatabaseUpdate> steps = databaseUpdates();
    steps[2].apply = [csv](Connection& c) { addCategoryTextsAndUpperLevels(c, csv); };
    return steps;
}

// A counsellor's file: a pregnant woman, her own words for calcium below 90 %, the iron text above
// 110 % deleted.
void counsellorsEdits(FixtureDb& db) {
    db.exec(QStringLiteral("update personinf set name='周雨桐', csjd='孕妇'"));
    db.exec(
        QStringLiteral("update app_pj set appraise='每天一杯奶，豆腐常吃。' where z_id=11 and range='<90'"));
    db.exec(QStringLiteral("delete from app_pj where z_id=12 and range='>110'"));
}

QStringList texts(FixtureDb& db, const QString& where) {
    Query q(&db.connection());
    q.setSql(QStringLiteral("select appraise from app_pj where %1 order by rowid").arg(where));
    q.open();
    QStringList out;
    for (const QList<Value>& row : q.rows())
        out << row.at(0).toText();
    return out;
}

} // namespace

class TestEvaluationTextsUpdate : public QObject {
    Q_OBJECT
    std::optional<FixedClock> clock_;

private Q_SLOTS:
    void init() { clock_.emplace(QDate(2026, 12, 11), QTime(9, 30, 0)); }
    void cleanup() { clock_.reset(); }

    // The update relies on it: the general texts shipped now are those of the release before, so a
    // general text that differs from the shipped one in her file is hers.
    void generalTextsAreThoseOfTheReleaseBefore() {
        const CsvTable before = readCsvFile(
            nc::test::sourceDir() + QStringLiteral("/tests/support/second_release_database/app_pj.csv"));
        const CsvTable now = readCsvFile(nc::test::sourceDir() + QStringLiteral("/data/seed/app_pj.csv"));
        QCOMPARE(now.header.mid(0, 5), before.header);
        const int group = int(now.header.indexOf(QStringLiteral("grp")));
        QList<QStringList> general;
        for (const QStringList& row : now.rows)
            if (group < 0 || row.at(group).trimmed().isEmpty())
                general << row.mid(0, 5);
        // Texts for an intake at the upper level are new: no file holds them yet.
        general.removeIf([](const QStringList& row) { return row.at(1) == QLatin1String(">=UL"); });
        QCOMPARE(general, before.rows);
    }

    // On a file of the release before, with her edits: columns added, upper levels of her category
    // written, her texts kept for every category, the category texts added only where the general
    // texts are still the shipped ones, the upper-level texts always.
    void keepsHerTexts() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        counsellorsEdits(db);
        const QStringList generalBefore = texts(db, QStringLiteral("1=1"));

        const UpdateOutcome out = updateDatabase(db.connection(), stepsWith(shippedWithCategoryTexts()));
        QCOMPARE(out.status, Status::Updated);
        QCOMPARE(databaseVersion(db.connection()), latestDatabaseVersion());
        db.attachFirstClient(); // her record is now in her own file

        // The general texts as she left them, now marked for every category.
        QCOMPARE(texts(db, QStringLiteral("grp is null and range<>'>=UL'")), generalBefore);
        QCOMPARE(texts(db, QStringLiteral("z_id=11 and range='<90'")),
                 QStringList{QStringLiteral("每天一杯奶，豆腐常吃。")});
        QVERIFY(texts(db, QStringLiteral("z_id=12 and range='>110'")).isEmpty());
        // Untouched: both category texts, in their order; the upper level's, general and for 孕妇.
        QCOMPARE(texts(db, QStringLiteral("grp='孕妇'")),
                 (QStringList{QStringLiteral("孕妇蛋白少"), QStringLiteral("孕妇蛋白少二"),
                              QStringLiteral("孕妇钙超")}));
        QCOMPARE(texts(db, QStringLiteral("range='>=UL'")),
                 (QStringList{QStringLiteral("钙超"), QStringLiteral("孕妇钙超")}));

        // The upper levels of a pregnant woman: calcium 2000, vitamin A none, energy none.
        QCOMPARE(db.scalar(QStringLiteral("select ul from lsyysfx where id=11")).toReal(), 2000.0);
        QVERIFY(db.scalar(QStringLiteral("select ul from lsyysfx where id=5")).isNull());
        QVERIFY(db.scalar(QStringLiteral("select ul from lsyysfx where id=1")).isNull());
        QCOMPARE(db.count(QStringLiteral("lsyysfx")), 14);

        // Run again (a file some helper already updated): nothing is added twice.
        const QString after = databaseContents(db.connection(), {"app_pj", "lsyysfx"});
        addCategoryTextsAndUpperLevels(db.connection(), shippedWithCategoryTexts());
        QCOMPARE(databaseContents(db.connection(), {"app_pj", "lsyysfx"}), after);
    }

    // Without edits, the program's own step leaves the file holding exactly the shipped texts, and a
    // file without a category gets the adult women's upper levels.
    void shippedTextsOnAnUneditedFile() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        const UpdateOutcome out = updateDatabase(db.connection());
        QCOMPARE(out.status, Status::Updated);
        db.attachFirstClient();
        const CsvTable shipped = readCsvFile(nc::test::sourceDir() + QStringLiteral("/data/seed/app_pj.csv"));
        QCOMPARE(db.count(QStringLiteral("app_pj")), int(shipped.rows.size()));
        QCOMPARE(db.scalar(QStringLiteral("select ul from lsyysfx where id=5")).toReal(), 3000.0);
        QCOMPARE(db.scalar(QStringLiteral("select ul from lsyysfx where id=14")).toReal(), 400.0);
    }

    // A failure at any statement of the update leaves the file exactly as it was, her edits included;
    // the run that gets through adds the texts.
    void failureLeavesFileAsItWas() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        counsellorsEdits(db);
        const QList<DatabaseUpdate> steps = stepsWith(shippedWithCategoryTexts());
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&db] { return databaseContents(db.connection()); };
        QVERIFY(sweep.run([&] {
            const UpdateOutcome out = updateDatabase(db.connection(), steps);
            return out.status == Status::Updated ? RunOutcome::Completed : RunOutcome::Failed;
        }));
        QVERIFY(sweep.brokenRuns() > 10);
        QCOMPARE(texts(db, QStringLiteral("grp='孕妇'")).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestEvaluationTextsUpdate)
#include "tst_evaluation_texts_update.moc"
