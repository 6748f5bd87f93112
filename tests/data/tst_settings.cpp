// The settings kept in the database file: a missing row or table reads the default, a write replaces
// the row, a file without the table refuses the write; and update step 4, which adds the table to a
// file made by the release before it without touching anything the counsellor stored.

#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/query.h"
#include "data/settings.h"
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

namespace {

const QString kKey = QStringLiteral("evaluation_standard");

// Steps of the program up to and including `version`.
QList<DatabaseUpdate> stepsUpTo(int version) {
    QList<DatabaseUpdate> steps;
    for (const DatabaseUpdate& s : databaseUpdates())
        if (s.version <= version)
            steps.append(s);
    return steps;
}

// The settings table's columns as the file declares them: name, type, primary key.
QStringList columns(Connection& c) {
    Query q(&c);
    q.setSql(QStringLiteral("PRAGMA table_info(settings)"));
    q.open();
    QStringList out;
    for (q.first(); !q.eof(); q.next())
        out << QStringLiteral("%1 %2 %3")
                   .arg(q.field(QStringLiteral("name")).toText(), q.field(QStringLiteral("type")).toText(),
                        q.field(QStringLiteral("pk")).toText());
    return out;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { clock_.emplace(QDate(2026, 12, 11), QTime(9, 30, 0)); }
    void cleanup() { clock_.reset(); }

    // A new file has the table and no rows: every setting reads its default.
    void newFileReadsDefaults() {
        FixtureDb db;
        QCOMPARE(db.count(QStringLiteral("settings")), 0);
        QCOMPARE(readSetting(kKey, QStringLiteral("original")), QStringLiteral("original"));
        QVERIFY(readSetting(kKey).isNull());
    }

    // Written, read back after the connection was closed (from the file, not a cache), replaced.
    void roundTrip() {
        FixtureDb db;
        writeSetting(kKey, QStringLiteral("national"));
        writeSetting(QStringLiteral("其他"), QStringLiteral("值"));
        db.connection().close();
        QCOMPARE(readSetting(kKey, QStringLiteral("original")), QStringLiteral("national"));
        writeSetting(kKey, QStringLiteral("original"));
        QCOMPARE(readSetting(kKey), QStringLiteral("original"));
        QCOMPARE(db.count(QStringLiteral("settings")), 2);
        QCOMPARE(readSetting(QStringLiteral("其他")), QStringLiteral("值"));
    }

    // A row holding null reads as missing too.
    void nullValueReadsDefault() {
        FixtureDb db;
        db.exec(QStringLiteral("insert into settings (key, value) values (:k, null)"),
                {{QStringLiteral("k"), kKey}});
        QCOMPARE(readSetting(kKey, QStringLiteral("original")), QStringLiteral("original"));
    }

    // A file its update has not reached (the update failed): reading gives the default, writing
    // refuses in Chinese and creates nothing.
    void fileWithoutTheTable() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        QCOMPARE(readSetting(kKey, QStringLiteral("original")), QStringLiteral("original"));
        try {
            writeSetting(kKey, QStringLiteral("national"));
            QFAIL("the write went through");
        } catch (const Error& e) {
            QVERIFY2(e.text().contains(QStringLiteral("设置无法保存")), qPrintable(e.text()));
        }
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from sqlite_master where name='settings'")).toInteger(),
            0);
    }

    // Update step 4 on a file as the release with meals and portions left it, with her own record and
    // evaluation: the table is added, nothing she stored changes, the standard reads its default, and
    // the file is like a new one.
    void updateAddsTheTable() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        db.exec(QStringLiteral("update personinf set name='李梅', age=30, high=158, csjd='乳母', hdsp='中', "
                               "yltz=52, rmtz=57.5, yq_week=38"));
        db.exec(
            QStringLiteral("update lstzpj set y=20.83, csdate='2026-11-02', week_add=0.13, week_dj='过轻'"));
        db.exec(QStringLiteral(
            "insert into foodportion (foodname, unit, grams, edible) values ('粽子', '个', 120, 1)"));
        const QStringList kept = {QStringLiteral("personinf"), QStringLiteral("lstzpj"),
                                  QStringLiteral("foodportion"), QStringLiteral("foodcheck"),
                                  QStringLiteral("Foodnurti")};
        const auto contents = [&] {
            QString text = databaseContents(db.connection(), kept);
            return text.mid(text.indexOf(QLatin1Char('\n'))); // without the version line
        };
        const QString before = contents();

        const UpdateOutcome out = updateDatabase(db.connection());
        QCOMPARE(out.status, UpdateOutcome::Status::Updated);
        db.attachFirstClient(); // her record is now in her own file
        QCOMPARE(out.fromVersion, 2);
        QCOMPARE(out.toVersion, latestDatabaseVersion());
        QCOMPARE(databaseVersion(db.connection()), latestDatabaseVersion());
        QCOMPARE(contents(), before);
        QCOMPARE(db.count(QStringLiteral("settings")), 0);
        QCOMPARE(readSetting(kKey, QStringLiteral("original")), QStringLiteral("original"));
        writeSetting(kKey, QStringLiteral("national"));
        QCOMPARE(readSetting(kKey), QStringLiteral("national"));

        const QStringList updated = columns(db.connection());
        QCOMPARE(updated.size(), 2);
        FixtureDb fresh;
        QCOMPARE(updated, columns(fresh.connection()));
    }

    // Broken at any statement, the update leaves the file as it was; the step run on its own twice
    // does no harm (a file that has the table keeps its rows).
    void updateIsAllOrNothing() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] { return databaseContents(db.connection()); };
        QVERIFY(sweep.run([&] {
            return updateDatabase(db.connection(), stepsUpTo(4)).status == UpdateOutcome::Status::Updated
                       ? RunOutcome::Completed
                       : RunOutcome::Failed;
        }));
        writeSetting(kKey, QStringLiteral("national"));
        addSettingsTable(db.connection());
        QCOMPARE(readSetting(kKey), QStringLiteral("national"));
    }

private:
    std::optional<FixedClock> clock_;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
