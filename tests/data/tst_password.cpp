// The counsellor's own password on the files: telling a refused key from a damaged file, re-keying the
// shared file and every client's file all or nothing, and client files still under the program's
// password taken over when they are attached.

#include "data/backups.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/password.h"
#include "data/query.h"
#include "data/settings.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using nc::data::changePassword;
using nc::data::Connection;
using nc::data::KeyCheck;
using nc::data::opensWith;
using nc::data::programPassword;
using nc::test::FixtureDb;

namespace {

const QDateTime kMoment(QDate(2026, 12, 11), QTime(9, 30));

// Puts a name in the record of a client's file, on a connection of its own.
void nameClient(const QString& path, const QString& password, const QString& name) {
    Connection own(nc::data::connectionStringForFile(path, password));
    nc::data::Query q(&own);
    q.setSql(QStringLiteral("update personinf set name = :name"));
    q.setParam(QStringLiteral("name"), name);
    q.execute();
}

// A fixture of three clients: the one FixtureDb attaches (named 林晓雯 here) and two more files in the
// index (王芳, 张丽), each with her name in her record, and a setting in the shared file.
struct ThreeClients {
    FixtureDb db;
    QStringList files; // shared, then the clients in index order

    ThreeClients() {
        Connection& c = db.connection();
        nc::data::writeSetting(c, QStringLiteral("marker"), QStringLiteral("共享文件"));
        db.exec(QStringLiteral("update personinf set name = :n"),
                {{QStringLiteral("n"), QStringLiteral("林晓雯")}});
        files << db.path() << db.clientPath();
        const QString folder = nc::data::clientsFolderFor(db.path());
        qint64 id = 2;
        for (const QString& name : {QStringLiteral("王芳"), QStringLiteral("张丽")}) {
            const QString path = QDir(folder).filePath(nc::data::clientFileName(id));
            nc::data::createClientFile(path, c.password());
            nameClient(path, c.password(), name);
            db.exec(QStringLiteral("insert into clients (id, file, name) values (:id, :file, :name)"),
                    {{QStringLiteral("id"), id},
                     {QStringLiteral("file"), nc::data::clientFileName(id)},
                     {QStringLiteral("name"), name}});
            files << path;
            ++id;
        }
    }

    // What each file holds, read on a connection of its own with the password.
    QStringList contents(const QString& password) const {
        QStringList out;
        for (const QString& f : files) {
            Connection own(nc::data::connectionStringForFile(f, password));
            out << nc::test::databaseContents(own);
        }
        return out;
    }

    // The files that open with the password, by their names.
    QStringList opening(const QString& password) const {
        QStringList out;
        for (const QString& f : files)
            if (opensWith(f, password))
                out << QFileInfo(f).fileName();
        return out;
    }
    QStringList names() const {
        QStringList out;
        for (const QString& f : files)
            out << QFileInfo(f).fileName();
        return out;
    }

    QStringList backups() const {
        return QDir(nc::data::backupFolderFor(db.path())).entryList({QStringLiteral("*.dbz")}, QDir::Files);
    }
};

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestPassword : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The start asks for a password only for a whole encrypted file that refuses the key; a damaged
    // file goes on to the start's check of the file.
    void checkKeyTellsARefusedKeyFromADamagedFile_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("expected");
        // clang-format off
        QTest::newRow("right password")         << "none"      << "program" << int(KeyCheck::Opens);
        QTest::newRow("wrong password")         << "none"      << "other"   << int(KeyCheck::WrongKey);
        QTest::newRow("cut short")              << "truncate"  << "other"   << int(KeyCheck::NotWhole);
        QTest::newRow("empty")                  << "empty"     << "program" << int(KeyCheck::NotWhole);
        QTest::newRow("plain SQLite file")      << "plain"     << "program" << int(KeyCheck::NotWhole);
        QTest::newRow("missing")                << "missing"   << "program" << int(KeyCheck::Unreadable);
        // clang-format on
    }
    void checkKeyTellsARefusedKeyFromADamagedFile() {
        QFETCH(QString, damage);
        QFETCH(QString, password);
        QFETCH(int, expected);
        FixtureDb db;
        const QString path = db.path();
        db.connection().close();
        const QByteArray bytes = bytesOf(path);
        QVERIFY(bytes.size() % 1024 == 0 && bytes.size() > 0);
        if (damage == QLatin1String("truncate"))
            writeBytes(path, bytes.left(bytes.size() - 100));
        else if (damage == QLatin1String("empty"))
            writeBytes(path, {});
        else if (damage == QLatin1String("plain"))
            writeBytes(path, QByteArray("SQLite format 3\0", 16) + QByteArray(2048 - 16, '\0'));
        else if (damage == QLatin1String("missing"))
            QVERIFY(QFile::remove(path));
        const QByteArray before = bytesOf(path);
        const QString key =
            password == QLatin1String("program") ? programPassword() : QStringLiteral("别的密码");
        QCOMPARE(int(nc::data::checkKey(path, key)), expected);
        QCOMPARE(bytesOf(path), before); // asking writes nothing
    }

    // Set, changed, given back: every file follows, the connection goes on with the current client,
    // and each change first copies every file under its old key. Passwords with the characters a
    // connection string quotes and with Chinese survive the round trip through it.
    void changeRekeysEveryFile_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("plain") << QStringLiteral("secret1") << QStringLiteral("secret2");
        QTest::newRow("quotes and separators") << QStringLiteral("a;b=\"c'd") << QStringLiteral("'x';");
        QTest::newRow("Chinese and spaces") << QStringLiteral(" 我的 密码 ") << QStringLiteral("另一个密码");
    }
    void changeRekeysEveryFile() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        ThreeClients f;
        Connection& c = f.db.connection();
        const QStringList before = f.contents(programPassword());

        QCOMPARE(changePassword(c, first, kMoment), 4);
        QCOMPARE(f.opening(first), f.names());
        QVERIFY(f.opening(programPassword()).isEmpty());
        QCOMPARE(c.password(), first);
        QVERIFY(nc::data::hasOwnPassword(c));
        QCOMPARE(f.contents(first), before);
        // Still the same client, read through the connection.
        QCOMPARE(nc::data::attachedClientFile(c), QFileInfo(f.db.clientPath()).absoluteFilePath());
        QCOMPARE(f.db.scalar(QStringLiteral("select name from personinf")).toText(),
                 QStringLiteral("林晓雯"));
        // A copy of each file, under the program's password.
        QCOMPARE(f.backups().size(), 4);
        for (const QString& copy : f.backups())
            QVERIFY2(
                opensWith(QDir(nc::data::backupFolderFor(f.db.path())).filePath(copy), programPassword()),
                qPrintable(copy));

        QCOMPARE(changePassword(c, second, kMoment.addSecs(60)), 4);
        QCOMPARE(f.opening(second), f.names());
        QVERIFY(f.opening(first).isEmpty());
        QCOMPARE(f.contents(second), before);

        QCOMPARE(changePassword(c, programPassword(), kMoment.addSecs(120)), 4);
        QCOMPARE(f.opening(programPassword()), f.names());
        QVERIFY(!nc::data::hasOwnPassword(c));
        QCOMPARE(f.contents(programPassword()), before);
        QCOMPARE(f.db.scalar(QStringLiteral("select name from personinf")).toText(),
                 QStringLiteral("林晓雯"));
    }

    // A failure at any file: the files re-keyed before it go back, every file opens with its old key
    // holding what it held, the message names the file, and the connection goes on with the old key.
    void failureAtAnyFileChangesNothing_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("failAt");
        QTest::newRow("program's password, shared file") << QString() << 1;
        QTest::newRow("program's password, first client") << QString() << 2;
        QTest::newRow("program's password, middle client") << QString() << 3;
        QTest::newRow("program's password, last client") << QString() << 4;
        QTest::newRow("her own password, last client") << QStringLiteral("旧密码") << 4;
    }
    void failureAtAnyFileChangesNothing() {
        QFETCH(QString, from);
        QFETCH(int, failAt);
        ThreeClients f;
        Connection& c = f.db.connection();
        const QString old = from.isEmpty() ? programPassword() : from;
        if (!from.isEmpty())
            changePassword(c, from, kMoment.addDays(-1));
        const QStringList before = f.contents(old);
        const int copiesBefore = int(f.backups().size());

        nc::data::failRekeyAtFile(failAt);
        try {
            changePassword(c, QStringLiteral("新密码"), kMoment);
            QFAIL("the change went through");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(f.files.at(failAt - 1))),
                     qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("密码没有更改")), qPrintable(e.text()));
        }
        QCOMPARE(f.opening(old), f.names());
        QCOMPARE(f.contents(old), before);
        QCOMPARE(c.password(), old);
        QCOMPARE(f.db.scalar(QStringLiteral("select name from personinf")).toText(),
                 QStringLiteral("林晓雯"));
        QCOMPARE(int(f.backups().size()), copiesBefore + 4); // made before anything was re-keyed

        // The failure is used up: the next change goes through.
        QCOMPARE(changePassword(c, QStringLiteral("新密码"), kMoment.addSecs(60)), 4);
        QCOMPARE(f.opening(QStringLiteral("新密码")), f.names());
    }

    // A client's file that is missing or does not open stops the change before any file is touched.
    void unusableClientFileStopsTheChange_data() {
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing") << true;
        QTest::newRow("damaged") << false;
    }
    void unusableClientFileStopsTheChange() {
        QFETCH(bool, missing);
        ThreeClients f;
        Connection& c = f.db.connection();
        const QString broken = f.files.at(2);
        if (missing) {
            QVERIFY(QFile::remove(broken));
        } else {
            QByteArray bytes = bytesOf(broken);
            writeBytes(broken, bytes.left(bytes.size() / 2));
        }
        try {
            changePassword(c, QStringLiteral("新密码"), kMoment);
            QFAIL("the change went through");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(broken)), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("密码没有更改")), qPrintable(e.text()));
        }
        for (const QString& file : {f.files.at(0), f.files.at(1), f.files.at(3)})
            QVERIFY(opensWith(file, programPassword()));
        QCOMPARE(c.password(), programPassword());
        QCOMPARE(f.db.scalar(QStringLiteral("select name from personinf")).toText(),
                 QStringLiteral("林晓雯"));
        QCOMPARE(nc::data::readSetting(c, QStringLiteral("marker")), QStringLiteral("共享文件"));
    }

    // Under her own password, a client's file still under the program's (made before she set hers,
    // restored from an old copy) is attached all the same and takes her password, after a copy of it
    // as it was; a file under some other password is refused and left as it is. A change of password
    // takes a file still under the program's password along.
    void programKeyedClientFileTakesHerPassword() {
        ThreeClients f;
        Connection& c = f.db.connection();
        changePassword(c, QStringLiteral("她的密码"), kMoment);
        const QString folder = nc::data::clientsFolderFor(f.db.path());
        const QString old = QDir(folder).filePath(nc::data::clientFileName(7));
        nc::data::createClientFile(old, programPassword());
        nameClient(old, programPassword(), QStringLiteral("李娜"));
        f.db.exec(QStringLiteral("insert into clients (id, file) values (7, :file)"),
                  {{QStringLiteral("file"), nc::data::clientFileName(7)}});
        const int copiesBefore = int(f.backups().size());

        nc::data::attachClientFile(c, old, 7);
        QCOMPARE(f.db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("李娜"));
        QVERIFY(opensWith(old, QStringLiteral("她的密码")));
        QVERIFY(!opensWith(old, programPassword()));
        QCOMPARE(int(f.backups().size()), copiesBefore + 1);
        c.close(); // and at the next opening it is attached with her password
        QCOMPARE(f.db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("李娜"));

        // Some other password: refused, untouched, her client before stays current.
        const QString foreign = QDir(folder).filePath(nc::data::clientFileName(8));
        nc::data::createClientFile(foreign, QStringLiteral("别人的密码"));
        const QByteArray bytes = bytesOf(foreign);
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, nc::data::attachClientFile(c, foreign, 8));
        QCOMPARE(bytesOf(foreign), bytes);
        QCOMPARE(nc::data::attachedClientId(c), 7);

        // A file left under the program's password (a restored copy) goes along with the next change.
        nc::data::rekeyFile(f.files.at(3), QStringLiteral("她的密码"), programPassword());
        QCOMPARE(changePassword(c, QStringLiteral("新密码"), kMoment.addSecs(60)), 5);
        for (const QString& file : f.files + QStringList{old})
            QVERIFY2(opensWith(file, QStringLiteral("新密码")), qPrintable(file));
    }

    // After a change, the copies under the password before or the program's take the new one; a
    // damaged copy and one under an earlier password of hers are left byte for byte as they were;
    // stopping half-way leaves the rest under their old key.
    void backupCopiesTakeTheNewPassword() {
        QTemporaryDir dir;
        const QString folder = dir.path();
        const auto copy = [&](const QString& name, const QString& password) {
            const QString path = QDir(folder).filePath(name);
            nc::data::createClientFile(path, password);
            return path;
        };
        const QString program = copy(QStringLiteral("client-000001-20261201-090000.dbz"), programPassword());
        const QString before =
            copy(QStringLiteral("client-000001-20261210-090000.dbz"), QStringLiteral("旧密码"));
        const QString earlier =
            copy(QStringLiteral("client-000002-20261101-090000.dbz"), QStringLiteral("更早"));
        const QString damaged = copy(QStringLiteral("yfdb-20261211-090000.dbz"), programPassword());
        {
            QFile f(damaged);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.write(QByteArray(1024, '\x5a')); // its first page, salt and all
        }
        const auto bytes = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray earlierBytes = bytes(earlier);
        const QByteArray damagedBytes = bytes(damaged);

        // Stopped after the first copy: only that one changed.
        int calls = 0;
        nc::data::BackupsRekeyed out =
            nc::data::rekeyBackups(folder, {QStringLiteral("旧密码"), programPassword()},
                                   QStringLiteral("新密码"), [&calls](int done, int total) {
                                       ++calls;
                                       return total == 4 && done < 1;
                                   });
        QCOMPARE(out.rekeyed, 1);
        QVERIFY(opensWith(program, QStringLiteral("新密码")));
        QVERIFY(opensWith(before, QStringLiteral("旧密码")));

        out = nc::data::rekeyBackups(folder, {QStringLiteral("旧密码"), programPassword()},
                                     QStringLiteral("新密码"));
        QCOMPARE(out.rekeyed, 1);
        QCOMPARE(out.skipped, (QStringList{QFileInfo(earlier).fileName(), QFileInfo(damaged).fileName()}));
        QVERIFY(opensWith(program, QStringLiteral("新密码")));
        QVERIFY(opensWith(before, QStringLiteral("新密码")));
        QVERIFY(!opensWith(before, QStringLiteral("旧密码")));
        QCOMPARE(bytes(earlier), earlierBytes);
        QCOMPARE(bytes(damaged), damagedBytes);
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
