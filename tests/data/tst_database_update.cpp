// The numbered database updates: which steps run, the backup copy made before them, the version
// recorded with them, and that a failure anywhere leaves the file exactly as it was.

#include "data/connection.h"
#include "data/database_builder.h"
#include "data/database_update.h"
#include "data/query.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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

// A small database file at a chosen version, with one table the steps below work on.
struct VersionedFile {
    QTemporaryDir dir;
    std::unique_ptr<Connection> conn;
    explicit VersionedFile(int version) {
        createDatabase(path(), nc::test::databasePassword(),
                       QStringLiteral("create table notes (id integer primary key, text text);"),
                       {nc::test::seed(QStringLiteral("notes"), {QStringLiteral("text")},
                                       {{QStringLiteral("甲")}, {QStringLiteral("乙")}})},
                       version);
        conn = std::make_unique<Connection>(connectionStringForFolder(dir.path()));
    }
    QString path() const { return dir.filePath(QString::fromLatin1(kDatabaseFileName)); }
    QStringList backups() const { return QDir(backupFolderFor(path())).entryList(QDir::Files, QDir::Name); }
};

// Three steps: a new column, a new table filled from the old one, a change of a row. Step 1 run
// twice would fail (the column exists), so running it again is caught.
QList<DatabaseUpdate> threeSteps() {
    return {
        {1, QStringLiteral("加列"), QStringLiteral("add a column"),
         [](Connection& c) { c.exec(QStringLiteral("alter table notes add column meal text")); }},
        {2, QStringLiteral("建表"), QStringLiteral("new table"),
         [](Connection& c) {
             c.exec(QStringLiteral("create table portions (name text, grams real)"));
             Query q(&c);
             q.setSql(QStringLiteral("insert into portions select text, 50 from notes"));
             q.execute();
         }},
        {3, QStringLiteral("改行"), QStringLiteral("change a row"),
         [](Connection& c) {
             Query q(&c);
             q.setSql(QStringLiteral("update notes set meal=:m where id=1"));
             q.setParam(QStringLiteral("m"), QStringLiteral("早餐"));
             q.execute();
         }},
    };
}

} // namespace

class TestDatabaseUpdate : public QObject {
    Q_OBJECT
    std::optional<FixedClock> clock_;

private Q_SLOTS:
    void init() { clock_.emplace(QDate(2026, 12, 10), QTime(18, 30, 0)); }
    void cleanup() { clock_.reset(); }

    // A new database from the builder holds the latest version: no step runs and no copy is made.
    void newDatabaseIsUpToDate() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        QCOMPARE(databaseVersion(db.connection()), latestDatabaseVersion());
        const UpdateOutcome out = updateDatabase(db.connection());
        QCOMPARE(out.status, Status::UpToDate);
        QVERIFY(out.message.isEmpty());
        QVERIFY(!QFileInfo::exists(backupFolderFor(db.path())));
    }

    // The program's steps are numbered from 1 upwards in order (a number may be left free for a step
    // made elsewhere), each with a Chinese description.
    void programStepsAreNumberedInOrder() {
        const QList<DatabaseUpdate>& steps = databaseUpdates();
        QVERIFY(!steps.isEmpty());
        QCOMPARE(steps.first().version, 1);
        for (int i = 0; i < steps.size(); ++i) {
            if (i > 0)
                QVERIFY(steps[i].version > steps[i - 1].version);
            QVERIFY(!steps[i].description.isEmpty());
            QVERIFY(steps[i].apply);
        }
        QCOMPARE(latestDatabaseVersion(), steps.last().version);
    }

    void pendingStepsRun_data() {
        QTest::addColumn<int>("fromVersion");
        QTest::newRow("all three") << 0;
        QTest::newRow("two and three") << 1;
        QTest::newRow("last only") << 2;
    }
    // Only the steps above the recorded version run, in order; the copy holds the file as it was.
    void pendingStepsRun() {
        QFETCH(int, fromVersion);
        VersionedFile f(fromVersion);
        // The file as the steps up to its version left it.
        if (fromVersion >= 1)
            f.conn->exec(QStringLiteral("alter table notes add column meal text"));
        if (fromVersion >= 2)
            f.conn->exec(QStringLiteral("create table portions (name text, grams real); "
                                        "insert into portions select text, 50 from notes"));
        const QString expected =
            QStringLiteral("version 3\n"
                           "table notes: CREATE TABLE notes (id integer primary key, text text, meal text)\n"
                           "table portions: CREATE TABLE portions (name text, grams real)\n"
                           "[notes]\n1|甲|早餐\n2|乙|<null>\n[portions]\n甲|50\n乙|50\n");
        const QString before = databaseContents(*f.conn);

        const UpdateOutcome out = updateDatabase(*f.conn, threeSteps());
        QCOMPARE(out.status, Status::Updated);
        QCOMPARE(out.fromVersion, fromVersion);
        QCOMPARE(out.toVersion, 3);
        QCOMPARE(databaseContents(*f.conn), expected);
        QVERIFY2(out.message.contains(QStringLiteral("已更新")), qPrintable(out.message));
        QVERIFY(out.message.contains(QDir::toNativeSeparators(out.backupPath)));

        // One copy in "backups" beside the file, named with the date and time.
        QCOMPARE(f.backups(), QStringList{QStringLiteral("yfdb-20261210-183000.dbz")});
        QCOMPARE(out.backupPath,
                 QDir(backupFolderFor(f.path())).filePath(QStringLiteral("yfdb-20261210-183000.dbz")));
        // The copy is encrypted (no plain SQLite header) and opens with the key, holding the old contents.
        QFile raw(out.backupPath);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(!raw.read(16).startsWith("SQLite format 3"));
        QTemporaryDir other;
        QVERIFY(QFile::copy(out.backupPath, other.filePath(QString::fromLatin1(kDatabaseFileName))));
        Connection copy(connectionStringForFolder(other.path()));
        QCOMPARE(databaseContents(copy), before);

        // A second start finds nothing to do: no step, no second copy.
        const QString after = databaseContents(*f.conn);
        const UpdateOutcome again = updateDatabase(*f.conn, threeSteps());
        QCOMPARE(again.status, Status::UpToDate);
        QVERIFY(again.backupPath.isEmpty());
        QCOMPARE(databaseContents(*f.conn), after);
        QCOMPARE(f.backups().size(), 1);
    }

    // Whatever fails — a step's own error or any statement of the update, the version read and stamps
    // included — the transaction is rolled back: same contents, same version, a Chinese message (but
    // for the version read, which finds the file unreadable and leaves it to the windows), and the
    // next start tries again and succeeds.
    void failureLeavesFileAsItWas() {
        VersionedFile f(0);
        const auto failedAsItWas = [&f](const UpdateOutcome& out) {
            QCOMPARE(out.toVersion, 0);
            QVERIFY(!f.conn->inTransaction());
            if (out.status == Status::Unavailable)
                return;
            QCOMPARE(out.status, Status::Failed);
            QVERIFY2(out.message.contains(QStringLiteral("未能更新")) &&
                         out.message.contains(QStringLiteral("文件保持原样")),
                     qPrintable(out.message));
            // A fresh connection sees the file as it was too.
            Connection fresh(connectionStringForFolder(f.dir.path()));
            QCOMPARE(databaseContents(fresh), databaseContents(*f.conn));
        };

        QList<DatabaseUpdate> throwing = threeSteps();
        throwing[1].apply = [](Connection& c) {
            c.exec(QStringLiteral("create table portions (name text)"));
            throw Error(QStringLiteral("份量表无法建立。"));
        };
        const QString before = databaseContents(*f.conn);
        const UpdateOutcome out = updateDatabase(*f.conn, throwing);
        failedAsItWas(out);
        QCOMPARE(out.status, Status::Failed);
        QVERIFY2(out.message.contains(QStringLiteral("建表")) &&
                     out.message.contains(QStringLiteral("份量表无法建立")),
                 qPrintable(out.message));
        QCOMPARE(databaseContents(*f.conn), before);

        UpdateOutcome last;
        FailureSweep sweep(*f.conn);
        sweep.snapshot = [&f] { return databaseContents(*f.conn); };
        sweep.afterRun = [&](int, RunOutcome) { failedAsItWas(last); };
        QVERIFY(sweep.run([&] {
            last = updateDatabase(*f.conn, threeSteps());
            return last.status == Status::Updated ? RunOutcome::Completed : RunOutcome::Failed;
        }));
        QCOMPARE(databaseVersion(*f.conn), 3);
    }

    // A file some later program updated is left alone; a missing file is not this step's to report.
    void fileOutsideTheSteps() {
        VersionedFile f(7);
        const QString before = databaseContents(*f.conn);
        const UpdateOutcome out = updateDatabase(*f.conn, threeSteps());
        QCOMPARE(out.status, Status::TooNew);
        QCOMPARE(databaseContents(*f.conn), before);
        QVERIFY(f.backups().isEmpty());

        QTemporaryDir empty;
        Connection none(connectionStringForFolder(empty.path()));
        QCOMPARE(updateDatabase(none, threeSteps()).status, Status::Unavailable);
        QVERIFY(!QFileInfo::exists(backupFolderFor(none.databasePath())));
    }

    // The backup folder follows the database file wherever it lies; a name taken gets a number.
    void backupNames() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("data/yfdb.dbz"));
        const QDateTime at(QDate(2026, 1, 2), QTime(3, 4, 5));
        QCOMPARE(backupFolderFor(db), dir.filePath(QStringLiteral("data/backups")));
        QCOMPARE(backupPathFor(db, at),
                 dir.filePath(QStringLiteral("data/backups/yfdb-20260102-030405.dbz")));
        QVERIFY(QDir().mkpath(backupFolderFor(db)));
        for (const QString& taken :
             {QStringLiteral("yfdb-20260102-030405.dbz"), QStringLiteral("yfdb-20260102-030405-2.dbz")}) {
            QFile file(QDir(backupFolderFor(db)).filePath(taken));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(backupPathFor(db, at),
                 dir.filePath(QStringLiteral("data/backups/yfdb-20260102-030405-3.dbz")));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseUpdate)
#include "tst_database_update.moc"
