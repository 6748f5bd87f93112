// Damaged client files noticed when they are opened, the list of a file's backup copies, and putting a
// copy back in place of a client's file or of the shared file.

#include "clients/client_store.h"
#include "clients/restore.h"
#include "data/backups.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/file_check.h"
#include "data/password.h"
#include "data/settings.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace nc;
using clients::BackupInfo;
using data::FileState;
using test::FixtureDb;

namespace {

const QDateTime kFirst(QDate(2026, 11, 2), QTime(9, 30));

// The current client's record, as the personal record window saves it.
void fillRecord(FixtureDb& db, const QString& name, const QString& category = QStringLiteral("育龄"),
                const data::Value& week = {}, const data::Value& stage = {}) {
    db.exec(QStringLiteral(
                "update personinf set name = :name, csjd = :category, yq_week = :week, yq_jd = :stage"),
            {{QStringLiteral("name"), name},
             {QStringLiteral("category"), category},
             {QStringLiteral("week"), week},
             {QStringLiteral("stage"), stage}});
}

// Days of fifteen foods each, numbered on from the current client's last day.
void addDays(FixtureDb& db, int days) {
    data::Transaction t(db.connection());
    const qint64 last = db.scalar(QStringLiteral("select coalesce(max(tsid), 0) from ts")).toInteger();
    for (qint64 day = last + 1; day <= last + days; ++day) {
        db.exec(QStringLiteral("insert into ts (tsid) values (:d)"), {{QStringLiteral("d"), day}});
        for (int f = 0; f < 15; ++f)
            db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:d, :f, :g)"),
                    {{QStringLiteral("d"), day},
                     {QStringLiteral("f"), QStringLiteral("食物%1").arg(f)},
                     {QStringLiteral("g"), 50 + f}});
    }
    t.commit();
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString hashOf(const QString& path) {
    return QString::fromLatin1(QCryptographicHash::hash(bytesOf(path), QCryptographicHash::Sha1).toHex());
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Overwrites bytes in the middle of the file, as a failing disk would.
void damageMiddle(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.size() > 16384);
    f.seek(f.size() / 2);
    f.write(QByteArray(4096, '\x5a'));
}

// Spoils a client's file the way the row names.
void spoil(const QString& path, const QString& kind) {
    const QByteArray whole = bytesOf(path);
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("other.dbz"));
    if (kind == QLatin1String("missing")) {
        QVERIFY(QFile::remove(path));
    } else if (kind == QLatin1String("empty")) {
        writeBytes(path, {});
    } else if (kind == QLatin1String("truncated")) {
        writeBytes(path, whole.left(whole.size() - 700));
    } else if (kind == QLatin1String("truncated at a page")) {
        writeBytes(path, whole.left(whole.size() - 3 * 1024));
    } else if (kind == QLatin1String("plain")) {
        // What an unencrypted SQLite file starts with; the rest of its first page does not matter.
        writeBytes(path, QByteArray("SQLite format 3\0", 16) + QByteArray(4096 - 16, '\0'));
    } else if (kind == QLatin1String("password")) {
        data::createClientFile(other, QStringLiteral("另一个密码"));
        writeBytes(path, bytesOf(other));
    } else if (kind == QLatin1String("damaged")) {
        damageMiddle(path);
    }
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QString backupsOf(FixtureDb& db) {
    return data::backupFolderFor(db.path());
}

} // namespace

class TestRestore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A client's file that cannot be used is refused when she is opened, with the case and her file
    // named; the client before stays current and the other clients open as before.
    void unusableFileAtOpen_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("missing") << "missing" << int(FileState::Missing) << "找不到";
        QTest::newRow("empty") << "empty" << int(FileState::Empty) << "是空的";
        QTest::newRow("cut short") << "truncated" << int(FileState::Truncated) << "不完整";
        // Whole pages missing: the engine finds pages its first page counts missing, which reads as
        // damage.
        QTest::newRow("cut short at a page") << "truncated at a page" << int(FileState::Damaged) << "已损坏";
        QTest::newRow("plain SQLite") << "plain" << int(FileState::Plain) << "未加密";
        QTest::newRow("other password") << "password" << int(FileState::WrongPassword) << "密码不正确";
        QTest::newRow("damaged pages") << "damaged" << int(FileState::Damaged) << "已损坏";
    }
    void unusableFileAtOpen() {
        QFETCH(QString, kind);
        QFETCH(int, state);
        QFETCH(QString, phrase);
        FixtureDb db;
        auto& c = db.connection();
        fillRecord(db, QStringLiteral("林晓雯"));
        const clients::ClientEntry wang = clients::newClient(c);
        fillRecord(db, QStringLiteral("王芳"));
        addDays(db, 40);
        const clients::ClientEntry zhang = clients::newClient(c);
        fillRecord(db, QStringLiteral("张丽"));
        clients::openClient(c, *clients::readClient(c, 1));
        const QString path = clients::clientPath(c, wang);
        spoil(path, kind);

        try {
            clients::openClient(c, wang);
            QFAIL("the file was taken");
        } catch (const data::FileProblem& e) {
            QCOMPARE(int(e.state()), state);
            QVERIFY2(e.text().contains(phrase), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(path)), qPrintable(e.text()));
            QVERIFY2(!e.text().contains(c.password()), "the key is never shown");
        }
        QCOMPARE(data::attachedClientId(c), qint64(1));
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("林晓雯"));
        clients::openClient(c, zhang);
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("张丽"));

        // At start, with her the client used last: she is named, and another client opens.
        data::writeSetting(c, QStringLiteral("current_client"), QString::number(wang.id));
        data::detachClientFile(c);
        const clients::StartOutcome start = clients::openClientAtStart(c);
        QVERIFY(start.client && start.client->id != wang.id);
        QCOMPARE(start.failed.size(), 1);
        QCOMPARE(start.failed.first().id, wang.id);
        QVERIFY2(start.problems.first().contains(QDir::toNativeSeparators(path)),
                 qPrintable(start.problems.first()));
    }

    // The copies of a file, newest first: what each holds, and which cannot be used and why. Copies of
    // other files and other files of the folder are not listed.
    void listingTheCopies() {
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"));
        addDays(db, 2);
        (void)data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
        fillRecord(db, QStringLiteral("林晓雯（复诊）"));
        addDays(db, 3);
        (void)data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst.addDays(1));
        addDays(db, 30);
        damageMiddle(data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst.addDays(2)));
        data::createClientFile(
            data::backupPathIn(folder, QStringLiteral("client-000001.dbz"), kFirst.addDays(3)),
            QStringLiteral("另一个密码"));
        (void)data::backupDatabaseFile(c, QStringLiteral("main"), folder, kFirst.addDays(4));
        writeBytes(QDir(folder).filePath(QStringLiteral("client-000001-notes.txt")), "x");

        const QList<BackupInfo> list =
            clients::listBackups(db.clientPath(), folder, clients::restorePasswords(c));
        QCOMPARE(list.size(), 4);
        QCOMPARE(list[0].moment, kFirst.addDays(3));
        QCOMPARE(list[0].state, BackupInfo::State::OtherPassword);
        QVERIFY(!list[0].problem.isEmpty());
        QCOMPARE(list[1].state, BackupInfo::State::Damaged);
        QVERIFY2(list[1].problem.contains(QDir::toNativeSeparators(list[1].path)),
                 qPrintable(list[1].problem));
        QCOMPARE(list[2].state, BackupInfo::State::Good);
        QCOMPARE(list[2].name, QStringLiteral("林晓雯（复诊）"));
        QCOMPARE(list[2].days, 5);
        QCOMPARE(list[2].foods, 75);
        QCOMPARE(list[3].moment, kFirst);
        QCOMPARE(list[3].name, QStringLiteral("林晓雯"));
        QCOMPARE(list[3].days, 2);
        QCOMPARE(list[3].foods, 30);
        QCOMPARE(list[3].clients, -1);

        const std::optional<BackupInfo> newest =
            clients::newestGoodBackup(db.clientPath(), folder, clients::restorePasswords(c));
        QVERIFY(newest);
        QCOMPARE(newest->moment, kFirst.addDays(1));

        // The shared file's copies count the clients of their index.
        clients::newClient(c);
        (void)data::backupDatabaseFile(c, QStringLiteral("main"), folder, kFirst.addDays(5));
        const QList<BackupInfo> shared =
            clients::listBackups(db.path(), folder, clients::restorePasswords(c));
        QCOMPARE(shared.size(), 2);
        QCOMPARE(shared[0].clients, 2);
        QCOMPARE(shared[1].clients, 1);
        QCOMPARE(shared[0].days, -1);
    }

    // The current client's file goes back to a copy: the file before is kept as a backup copy, she
    // stays current, her index row follows the restored record and her later saves still reach it.
    void restoringTheCurrentClient() {
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"), QStringLiteral("孕妇"), data::Value(24),
                   data::Value(QStringLiteral("孕中期")));
        addDays(db, 2);
        const QString copy = data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
        fillRecord(db, QStringLiteral("林晓"), QStringLiteral("乳母"));
        addDays(db, 3);

        const clients::RestoreOutcome out = clients::restoreClientFile(c, *clients::currentClient(c), copy);
        QCOMPARE(data::attachedClientId(c), qint64(1));
        QVERIFY(out.reopenProblem.isEmpty());
        QCOMPARE(db.count(QStringLiteral("ts")), 2);
        const clients::ClientEntry row = *clients::readClient(c, 1);
        QCOMPARE(row.name, QStringLiteral("林晓雯"));
        QCOMPARE(row.category, QStringLiteral("孕妇"));
        QCOMPARE(row.week, QStringLiteral("24"));
        QCOMPARE(row.stage, QStringLiteral("孕中期"));

        // The file before is one of her automatic copies, holding what she had before the restore.
        QVERIFY(data::backupMomentOf(QFileInfo(out.keptAt).fileName(), QStringLiteral("client-000001.dbz")));
        const QList<BackupInfo> list =
            clients::listBackups(db.clientPath(), folder, clients::restorePasswords(c));
        QCOMPARE(list.first().path, out.keptAt);
        QCOMPARE(list.first().name, QStringLiteral("林晓"));
        QCOMPARE(list.first().days, 5);

        fillRecord(db, QStringLiteral("林晓雯2"));
        QCOMPARE(clients::readClient(c, 1)->name, QStringLiteral("林晓雯2"));
    }

    // A copy that cannot be used is refused before anything is touched.
    void unusableCopyIsRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("damaged pages") << "damaged";
        QTest::newRow("other password") << "password";
        QTest::newRow("the shared file's copy") << "shared";
    }
    void unusableCopyIsRefused() {
        QFETCH(QString, kind);
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"));
        addDays(db, 30);
        QString copy;
        if (kind == QLatin1String("shared")) {
            copy = data::backupDatabaseFile(c, QStringLiteral("main"), folder, kFirst);
        } else {
            copy = data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
            spoil(copy, kind);
        }
        const QString before = hashOf(db.clientPath());
        const QStringList files = filesIn(folder);
        try {
            clients::restoreClientFile(c, *clients::currentClient(c), copy);
            QFAIL("the copy was used");
        } catch (const data::Error& e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(copy)), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("不能用来恢复")), qPrintable(e.text()));
        }
        QCOMPARE(hashOf(db.clientPath()), before);
        QCOMPARE(filesIn(folder), files);
        QCOMPARE(filesIn(QFileInfo(db.clientPath()).absolutePath()),
                 QStringList{QStringLiteral("client-000001.dbz")});
        QCOMPARE(data::attachedClientId(c), qint64(1));
        QCOMPARE(db.count(QStringLiteral("ts")), 30);
    }

    // A file that can no longer be read is moved into the backups whole, never destroyed, and the copy
    // takes its place; she opens again.
    void damagedFileIsKeptAndReplaced() {
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"));
        const clients::ClientEntry wang = clients::newClient(c);
        fillRecord(db, QStringLiteral("王芳"));
        addDays(db, 30);
        const QString copy = data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
        clients::openClient(c, *clients::readClient(c, 1));
        const QString path = clients::clientPath(c, wang);
        damageMiddle(path);
        const QByteArray damaged = bytesOf(path);
        QVERIFY_THROWS_EXCEPTION(data::FileProblem, clients::openClient(c, wang));

        const clients::RestoreOutcome out = clients::restoreClientFile(c, wang, copy);
        QVERIFY2(QFileInfo(out.keptAt).fileName().startsWith(QStringLiteral("client-000002-已损坏-")),
                 qPrintable(out.keptAt));
        QCOMPARE(bytesOf(out.keptAt), damaged);
        QCOMPARE(data::attachedClientId(c), qint64(1)); // the client before stays current
        clients::openClient(c, wang);
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("王芳"));
        QCOMPARE(db.count(QStringLiteral("ts")), 30);
    }

    // A failure anywhere while the copy is put in place, a statement or the rename, leaves her file,
    // her index row and the backups folder as they were, and she stays current.
    void failureWhilePuttingInPlaceChangesNothing() {
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"));
        addDays(db, 2);
        const QString copy = data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
        fillRecord(db, QStringLiteral("林晓"), QStringLiteral("乳母"));
        addDays(db, 3);
        const auto state = [&] {
            const clients::ClientEntry row = *clients::readClient(c, 1);
            return QStringList{hashOf(db.clientPath()), row.name, row.category,
                               filesIn(folder).join(QLatin1Char(','))}
                .join(QLatin1Char('|'));
        };
        const QString before = state();

        clients::setBeforePutInPlace(
            [](const QString&, const QString&) { throw data::Error(QStringLiteral("无法改名。")); });
        QVERIFY_THROWS_EXCEPTION(data::Error,
                                 clients::restoreClientFile(c, *clients::currentClient(c), copy));
        clients::setBeforePutInPlace({});
        QCOMPARE(state(), before);
        QCOMPARE(data::attachedClientId(c), qint64(1));
        QCOMPARE(db.count(QStringLiteral("ts")), 5);

        test::FailureSweep sweep(c);
        sweep.snapshot = state;
        sweep.afterRun = [&](int, test::RunOutcome) {
            if (data::attachedClientId(c) != 1)
                clients::openClient(c, *clients::readClient(c, 1));
        };
        QVERIFY(sweep.run([&] {
            const clients::RestoreOutcome out =
                clients::restoreClientFile(c, *clients::currentClient(c), copy);
            return out.reopenProblem.isEmpty() ? test::RunOutcome::Completed : test::RunOutcome::Recovered;
        }));
        QVERIFY(sweep.brokenRuns() > 0);
        QCOMPARE(db.count(QStringLiteral("ts")), 2);
    }

    // A copy made with the program's password, while the session uses the counsellor's own, is given
    // hers before it goes in place.
    void copyWithTheProgramPasswordIsRekeyed() {
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"));
        addDays(db, 2);
        const QString copy = data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
        addDays(db, 1);
        // She sets her own password: both files take it, and the connection opens them with it.
        const QString hers = QStringLiteral("她自己的密码");
        data::detachClientFile(c);
        c.close();
        data::rekeyFile(db.path(), c.password(), hers);
        data::rekeyFile(db.clientPath(), c.password(), hers);
        c.setConnectionString(data::connectionStringForFile(db.path(), hers));
        data::attachClientFile(c, db.clientPath(), 1);

        const QList<BackupInfo> list =
            clients::listBackups(db.clientPath(), folder, clients::restorePasswords(c));
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].state, BackupInfo::State::Good);
        QCOMPARE(list[0].password, data::programPassword());

        clients::restoreClientFile(c, *clients::currentClient(c), copy);
        QCOMPARE(db.count(QStringLiteral("ts")), 2);
        QVERIFY(data::checkDatabaseFile(db.clientPath(), {hers}).good());
        QCOMPARE(data::checkDatabaseFile(db.clientPath(), {data::programPassword()}).state,
                 FileState::WrongPassword);
        QCOMPARE(data::checkDatabaseFile(copy, {data::programPassword()}).state, FileState::Good);
    }

    // The shared file goes back to a copy: its later changes are gone, a client made after the copy is
    // added back to the index from her record under her own number, and the client current before
    // stays current. New clients number on after her.
    void restoringTheSharedFile() {
        FixtureDb db;
        auto& c = db.connection();
        const QString folder = backupsOf(db);
        fillRecord(db, QStringLiteral("林晓雯"));
        const QString copy = data::backupDatabaseFile(c, QStringLiteral("main"), folder, kFirst);
        const clients::ClientEntry wang = clients::newClient(c);
        fillRecord(db, QStringLiteral("王芳"), QStringLiteral("乳母"));
        clients::openClient(c, *clients::readClient(c, 1));
        data::writeSetting(c, QStringLiteral("probe"), QStringLiteral("later"));

        const clients::RestoreOutcome out = clients::restoreSharedFile(c, copy);
        QCOMPARE(out.readded, QStringList{QStringLiteral("王芳")});
        QVERIFY(QFileInfo::exists(out.keptAt));
        QCOMPARE(data::readSetting(c, QStringLiteral("probe")), QString());
        QCOMPARE(data::attachedClientId(c), qint64(1));
        const std::optional<clients::ClientEntry> back = clients::readClient(c, wang.id);
        QVERIFY(back);
        QCOMPARE(back->name, QStringLiteral("王芳"));
        QCOMPARE(back->category, QStringLiteral("乳母"));
        QCOMPARE(back->file, wang.file);
        clients::openClient(c, *back);
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("王芳"));
        QCOMPARE(clients::newClient(c).id, wang.id + 1);
    }

    // A failure while the shared file's copy is put in place leaves the file as it was, and the
    // program goes on with it and her.
    void failedSharedRestoreChangesNothing() {
        FixtureDb db;
        auto& c = db.connection();
        fillRecord(db, QStringLiteral("林晓雯"));
        const QString copy = data::backupDatabaseFile(c, QStringLiteral("main"), backupsOf(db), kFirst);
        data::writeSetting(c, QStringLiteral("probe"), QStringLiteral("later"));
        c.close();
        const QString before = hashOf(db.path());
        const QStringList files = filesIn(backupsOf(db));
        clients::setBeforePutInPlace(
            [](const QString&, const QString&) { throw data::Error(QStringLiteral("无法改名。")); });
        QVERIFY_THROWS_EXCEPTION(data::Error, clients::restoreSharedFile(c, copy));
        clients::setBeforePutInPlace({});
        QCOMPARE(hashOf(db.path()), before);
        QCOMPARE(filesIn(backupsOf(db)), files);
        QCOMPARE(data::readSetting(c, QStringLiteral("probe")), QStringLiteral("later"));
        QCOMPARE(data::attachedClientId(c), qint64(1));
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("林晓雯"));
    }
};

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
