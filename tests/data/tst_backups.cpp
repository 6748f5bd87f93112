// The automatic copies of the database files: a copy holds exactly the committed contents and opens
// with the password, also while the program's connection is writing; the thinning out of old copies
// touches only the file's own automatic copies; one copy a day; a copy that cannot be made leaves
// nothing behind and is reported in Chinese.

#include "data/backups.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/query.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

using namespace nc::data;
using nc::test::databaseContents;
using nc::test::databasePassword;
using nc::test::FixtureDb;

namespace {

// Everything a file holds, read on a connection of its own.
QString contentsOf(const QString& path) {
    Connection own(connectionStringForFile(path, databasePassword()));
    return databaseContents(own);
}

void touch(const QString& path) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// While it lives, writing a file beyond `bytes` fails as on a full disk (EFBIG, the signal ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
    void (*previous_)(int) = nullptr;
};

const QString kClient = QStringLiteral("client-000003.dbz");

// A name of an automatic copy of client 3 for a date, at 09:00 unless told.
QString copyName(QDate date, QTime time = QTime(9, 0)) {
    return QStringLiteral("client-000003-%1.dbz")
        .arg(QDateTime(date, time).toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

} // namespace

class TstBackups : public QObject {
    Q_OBJECT

private slots:
    // A copy of the shared file and of the client's file opens with the password and holds the same
    // tables and rows, the version included; the program's connection stays usable meanwhile.
    void copyHoldsTheContents() {
        FixtureDb f;
        const QString folder = backupFolderFor(f.path());
        const QDateTime at(QDate(2026, 12, 11), QTime(9, 30, 5));
        for (const QString& path : {f.path(), f.clientPath()}) {
            const QString copy = backupDatabaseFile(path, databasePassword(), folder, at);
            QCOMPARE(QFileInfo(copy).fileName(),
                     QFileInfo(path).completeBaseName() + QStringLiteral("-20261211-093005.dbz"));
            QCOMPARE(contentsOf(copy), contentsOf(path));
            // Encrypted like the file: without the password it is no database.
            Connection without(connectionStringForFile(copy, QString()));
            QVERIFY_THROWS_EXCEPTION(DbError, without.handle());
        }
        // The same through the program's connection, of its main file and of the attached client's.
        const QDateTime later = at.addSecs(60);
        QCOMPARE(contentsOf(backupDatabaseFile(f.connection(), QStringLiteral("main"), folder, later)),
                 contentsOf(f.path()));
        QCOMPARE(contentsOf(backupDatabaseFile(f.connection(), QStringLiteral("client"), folder, later)),
                 contentsOf(f.clientPath()));
        QCOMPARE(filesIn(folder).size(), 4); // no temporary file or journal left
        QVERIFY(f.scalar(QStringLiteral("select count(*) from personinf")).toInteger() >= 1);
    }

    // The program's connection has the client's file attached: a change just committed is in the copy;
    // a change still inside an open transaction is not, the copy holds the file as last committed.
    void copyOfAFileInUse() {
        FixtureDb f;
        Connection& c = f.connection();
        const QString folder = backupFolderFor(f.path());
        const QDateTime at(QDate(2026, 12, 11), QTime(10, 0));

        f.exec(QStringLiteral("insert into ts (tsid) values (901)"));
        f.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (901, '米饭', 150)"));
        const QString committed = contentsOf(f.clientPath());
        QVERIFY(committed.contains(QStringLiteral("米饭")));
        const QString first = backupDatabaseFile(f.clientPath(), databasePassword(), folder, at);
        QCOMPARE(contentsOf(first), committed);

        Transaction t(c);
        f.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (901, '牛奶', 250)"));
        f.exec(QStringLiteral("update personinf set name = '半途'"));
        const QString second = backupDatabaseFile(f.clientPath(), databasePassword(), folder, at);
        // Read through the connection itself the copy would hold what is not committed: refused.
        QVERIFY_THROWS_EXCEPTION(Error, backupDatabaseFile(c, QStringLiteral("client"), folder, at));
        QVERIFY(backupIfDue(c, QStringLiteral("client"), folder, at.addDays(1))
                    .problem.contains(QStringLiteral("未能备份")));
        t.commit();
        QCOMPARE(contentsOf(second), committed);
        QVERIFY(contentsOf(f.clientPath()).contains(QStringLiteral("牛奶")));
    }

    // A copy that cannot be made throws a Chinese sentence naming the file and leaves nothing in the
    // folder; the daily copy reports the same sentence instead of throwing.
    void failedCopyLeavesNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("words");
        QTest::newRow("folder is a file") << QStringLiteral("file") << QStringLiteral("备份文件夹");
        QTest::newRow("read-only folder") << QStringLiteral("read-only") << QStringLiteral("备份文件夹");
        QTest::newRow("disk full half-way") << QStringLiteral("full") << QStringLiteral("写入备份文件");
        QTest::newRow("wrong password") << QStringLiteral("password") << QStringLiteral("密码不正确");
    }
    void failedCopyLeavesNothing() {
        QFETCH(QString, how);
        QFETCH(QString, words);
        FixtureDb f;
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("backups"));
        QString password = databasePassword();
        if (how == QLatin1String("file")) {
            touch(folder);
        } else if (how == QLatin1String("read-only")) {
            if (geteuid() == 0)
                QSKIP("as root a read-only folder can be written all the same");
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        } else if (how == QLatin1String("password")) {
            password = QStringLiteral("不对");
        }
        const QDateTime at(QDate(2026, 12, 11), QTime(9, 0));
        if (how == QLatin1String("full")) // a file of several pages, so the copy stops half-way
            f.exec(QStringLiteral(
                "insert into foodcheck (tc, swname, zl) with recursive n(i) as (select 1 "
                "union all select i + 1 from n where i < 400) select 1, '米饭' || i, 100 from n"));
        const QString before = contentsOf(f.clientPath());
        // A full disk: no file of this process may grow beyond 4 KiB, so the copy's pages are cut off.
        std::optional<FileSizeLimit> full;
        if (how == QLatin1String("full")) {
            QVERIFY(QFileInfo(f.clientPath()).size() > 3 * 4096);
            full.emplace(4096);
        }
        try {
            backupDatabaseFile(f.clientPath(), password, folder, at);
            QFAIL("the copy was made");
        } catch (const Error& e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(f.clientPath())), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("未能备份")), qPrintable(e.text()));
            QVERIFY2(e.text().contains(words), qPrintable(e.text()));
            QVERIFY(!e.text().contains(password) || password.isEmpty());
        }
        const DailyBackup daily = backupIfDue(f.clientPath(), password, folder, at);
        full.reset();
        QVERIFY(daily.path.isEmpty());
        QVERIFY2(daily.problem.contains(QStringLiteral("未能备份")), qPrintable(daily.problem));
        if (QFileInfo(folder).isDir()) {
            QCOMPARE(filesIn(folder), QStringList());
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QCOMPARE(contentsOf(f.clientPath()), before);
    }

    // Which names are the file's automatic copies, and their moments.
    void copyNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDateTime>("moment");
        const QDateTime at(QDate(2026, 3, 4), QTime(5, 6, 7));
        const QDateTime none;
        QTest::newRow("copy") << QStringLiteral("client-000003-20260304-050607.dbz") << at;
        QTest::newRow("second copy of a second")
            << QStringLiteral("client-000003-20260304-050607-2.dbz") << at;
        QTest::newRow("deleted client")
            << QStringLiteral("王芳-client-000003-已删除-20260304-050607.dbz") << none;
        QTest::newRow("deleted client without a name")
            << QStringLiteral("client-000003-已删除-20260304-050607.dbz") << none;
        QTest::newRow("another client") << QStringLiteral("client-000004-20260304-050607.dbz") << none;
        QTest::newRow("longer number") << QStringLiteral("client-0000031-20260304-050607.dbz") << none;
        QTest::newRow("unfinished copy")
            << QStringLiteral("client-000003-20260304-050607.dbz.part-77") << none;
        QTest::newRow("other suffix") << QStringLiteral("client-000003-20260304-050607.txt") << none;
        QTest::newRow("no such date") << QStringLiteral("client-000003-20260231-050607.dbz") << none;
        QTest::newRow("the file itself") << kClient << none;
    }
    void copyNames() {
        QFETCH(QString, name);
        QFETCH(QDateTime, moment);
        const std::optional<QDateTime> read = backupMomentOf(name, kClient);
        QCOMPARE(read.has_value(), moment.isValid());
        if (read)
            QCOMPARE(*read, moment);
    }

    // Thinning out at 2026-12-11: the ten newest stay, then the newest of each month back to January
    // 2026; December 2025 is twelve months before and goes.
    void thinningOut_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("removed");
        const QDate today(2026, 12, 11);

        QStringList few;
        for (int d = 0; d < 10; ++d)
            few << copyName(today.addDays(-40 * d)); // ten copies over a year and more: all newest ten
        QTest::newRow("ten or fewer: all stay") << few << QStringList();

        QStringList daily;
        QStringList oldDaily;
        for (int d = 1; d <= 11; ++d)
            daily << copyName(QDate(2026, 12, d));
        oldDaily << copyName(QDate(2026, 12, 1));
        QTest::newRow("eleven this month: the oldest goes") << daily << oldDaily;

        QStringList year = daily.mid(1); // Dec 2..11: the ten newest
        QStringList yearRemoved;
        for (int m = 1; m <= 11; ++m) {
            year << copyName(QDate(2026, m, 20)) << copyName(QDate(2026, m, 5));
            yearRemoved << copyName(QDate(2026, m, 5));
        }
        year << copyName(QDate(2025, 12, 31)) << copyName(QDate(2024, 6, 1));
        yearRemoved << copyName(QDate(2025, 12, 31)) << copyName(QDate(2024, 6, 1));
        year << copyName(QDate(2026, 12, 1)); // December's newest is among the ten already
        yearRemoved << copyName(QDate(2026, 12, 1));
        QTest::newRow("monthly for a year, older go") << year << yearRemoved;

        QStringList sameSecond = daily.mid(1);
        sameSecond << QStringLiteral("client-000003-20260320-100000.dbz")
                   << QStringLiteral("client-000003-20260320-100000-2.dbz")
                   << QStringLiteral("client-000003-20260319-230000.dbz");
        QTest::newRow("two copies in one second: the numbered is newer")
            << sameSecond
            << QStringList{QStringLiteral("client-000003-20260320-100000.dbz"),
                           QStringLiteral("client-000003-20260319-230000.dbz")};

        QStringList clockBack = daily.mid(1);
        clockBack << copyName(QDate(2027, 5, 1));
        QTest::newRow("a copy dated after today counts as new")
            << clockBack << QStringList{copyName(QDate(2026, 12, 2))};
    }
    void thinningOut() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, removed);
        QList<BackupCopy> copies;
        for (const QString& n : names) {
            const std::optional<QDateTime> moment = backupMomentOf(n, kClient);
            QVERIFY2(moment, qPrintable(n));
            copies.append({n, *moment});
        }
        QStringList got = backupsToRemove(copies, QDateTime(QDate(2026, 12, 11), QTime(12, 0)));
        got.sort();
        removed.sort();
        QCOMPARE(got, removed);
    }

    // On a folder: only the file's own automatic copies are removed; a deleted client's file, another
    // file's copies, an unfinished copy and foreign files stay whatever their age.
    void pruningTouchesOnlyTheFilesCopies() {
        QTemporaryDir dir;
        const QString folder = dir.path();
        QStringList own;
        for (int d = 0; d < 14; ++d)
            own << copyName(QDate(2026, 12, 11).addDays(-d));
        const QStringList others = {
            QStringLiteral("王芳-client-000003-已删除-20200101-000000.dbz"),
            QStringLiteral("client-000003-已删除-20200101-000000.dbz"),
            QStringLiteral("client-000004-20200101-000000.dbz"),
            QStringLiteral("yfdb-20200101-000000.dbz"),
            QStringLiteral("client-000003-20200101-000000.dbz.part-12"),
            QStringLiteral("client-000003-说明.txt"),
        };
        for (const QString& n : own + others)
            touch(QDir(folder).filePath(n));
        QStringList removed = pruneBackups(folder, kClient, QDateTime(QDate(2026, 12, 11), QTime(12, 0)));
        // Dec 11 back to Dec 2 are the ten newest, Nov 30 the newest of November.
        QStringList gone = {copyName(QDate(2026, 12, 1)), copyName(QDate(2026, 11, 29)),
                            copyName(QDate(2026, 11, 28))};
        removed.sort();
        gone.sort();
        QCOMPARE(removed, gone);
        for (const QString& n : own + others)
            QCOMPARE(QFileInfo::exists(QDir(folder).filePath(n)), !gone.contains(n));
    }

    // One copy a day: the first call of the day makes one, a second the same day none, the next day one
    // again. A deleted client's file dated today is no copy of the day.
    void oneCopyADay() {
        FixtureDb f;
        const QString folder = backupFolderFor(f.path());
        QVERIFY(QDir().mkpath(folder));
        const QString clientName = QFileInfo(f.clientPath()).completeBaseName();
        touch(QDir(folder).filePath(QStringLiteral("王芳-%1-已删除-20261211-080000.dbz").arg(clientName)));

        const DailyBackup first = backupIfDue(f.clientPath(), databasePassword(), folder,
                                              QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        QVERIFY2(first.problem.isEmpty(), qPrintable(first.problem));
        QCOMPARE(QFileInfo(first.path).fileName(), clientName + QStringLiteral("-20261211-090000.dbz"));
        QCOMPARE(contentsOf(first.path), contentsOf(f.clientPath()));

        const DailyBackup again = backupIfDue(f.clientPath(), databasePassword(), folder,
                                              QDateTime(QDate(2026, 12, 11), QTime(23, 59)));
        QVERIFY(again.path.isEmpty());
        QVERIFY(again.problem.isEmpty());

        const DailyBackup next = backupIfDue(f.clientPath(), databasePassword(), folder,
                                             QDateTime(QDate(2026, 12, 12), QTime(0, 1)));
        QCOMPARE(QFileInfo(next.path).fileName(), clientName + QStringLiteral("-20261212-000100.dbz"));
        QCOMPARE(filesIn(folder).size(), 3);

        // A file that is not there is left to whoever opens it.
        const DailyBackup missing = backupIfDue(f.folder() + QStringLiteral("/none.dbz"), databasePassword(),
                                                folder, QDateTime(QDate(2026, 12, 12), QTime(9, 0)));
        QVERIFY(missing.path.isEmpty() && missing.problem.isEmpty());
    }

    // The daily copy thins out the copies it finds: after eleven days in one month ten copies remain.
    void dailyCopyThinsOut() {
        FixtureDb f;
        const QString folder = backupFolderFor(f.path());
        const QString name = QFileInfo(f.clientPath()).fileName();
        QStringList removed;
        for (int d = 1; d <= 11; ++d)
            removed += backupIfDue(f.clientPath(), databasePassword(), folder,
                                   QDateTime(QDate(2026, 12, d), QTime(9, 0)))
                           .removed;
        QCOMPARE(removed,
                 QStringList{QFileInfo(name).completeBaseName() + QStringLiteral("-20261201-090000.dbz")});
        QCOMPARE(filesIn(folder).size(), 10);
    }
};

QTEST_GUILESS_MAIN(TstBackups)
#include "tst_backups.moc"
