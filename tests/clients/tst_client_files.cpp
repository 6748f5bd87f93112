// One file per client: attaching her file, the index kept in step by every save, all-or-nothing across
// the shared file and hers, the conversion of a file made before clients were kept apart, and the
// client list's operations (new, open, delete, export, import, the client opened at start).

#include "clients/client_store.h"
#include "data/client_file.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/password.h"
#include "person/record_store.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"

#include <QtTest>

using namespace nc;
using clients::ClientEntry;
using test::FailureSweep;
using test::FixtureDb;
using test::RunOutcome;

namespace {

QString clientsFolder(const FixtureDb& db) {
    return data::clientsFolderFor(db.path());
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// Her record as the personal record window saves it.
void saveRecord(const QString& name, const QString& category = QStringLiteral("孕妇")) {
    person::RecordInput in;
    in.name = name;
    in.age = QStringLiteral("29");
    in.height = QStringLiteral("162");
    in.weight1 = QStringLiteral("55");
    in.weight2 = QStringLiteral("61");
    in.category = category;
    in.activity = QStringLiteral("轻");
    in.lmp = QDate(2026, 6, 1);
    person::saveRecord(in, QDate(2026, 11, 20));
}

QString herName(data::Connection& c) {
    data::Query q(&c);
    q.setSql(QStringLiteral("select name from personinf"));
    q.open();
    return q.field(0).toText();
}

// The contents of both files: the shared one and the attached client's.
QString bothFiles(data::Connection& c) {
    return test::databaseContents(c);
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString clientFileContents(const QString& path) {
    data::Connection own(data::connectionStringForFile(path, test::databasePassword()));
    return test::databaseContents(own);
}

} // namespace

class TestClientFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Her tables are in her file and only there; every statement of the program reaches them unchanged,
    // also after the connection has closed and opened again.
    void herTablesAreInHerFile() {
        FixtureDb db;
        auto& c = db.connection();
        QCOMPARE(data::attachedClientId(c), 1);
        QCOMPARE(data::attachedClientFile(c), db.clientPath());
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from main.sqlite_master where name='personinf'"))
                     .toInteger(),
                 0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from client.sqlite_master where type='table' and "
                                          "name not like 'sqlite_%'"))
                     .toInteger(),
                 qint64(data::clientTables().size()));
        db.exec(QStringLiteral("update personinf set name='林晓雯'"));
        c.close();
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        QCOMPARE(db.scalar(QStringLiteral("pragma client.user_version")).toInteger(),
                 qint64(data::kClientFileVersion));
    }

    // Every save of her record or diet record is written to her row of the index in the same
    // statement: what the list shows, and when.
    void indexFollowsEverySave() {
        FixtureDb db(
            FixtureDb::Content::FixedRows,
            {test::seed(QStringLiteral("Foodnurti"), {QStringLiteral("foodid"), QStringLiteral("foodname")},
                        {{QStringLiteral("19001"), QStringLiteral("牛奶")}})});
        auto& c = db.connection();
        db.exec(QStringLiteral("update clients set saved = '2000-01-01 00:00:00', initials = 'old'"));
        saveRecord(QStringLiteral("林晓雯"));
        auto e = clients::readClient(c, 1);
        QVERIFY(e);
        QCOMPARE(e->name, QStringLiteral("林晓雯"));
        QCOMPARE(e->initials, QStringLiteral("lxw")); // read from the name once it changed
        QCOMPARE(e->category, QStringLiteral("孕妇"));
        QCOMPARE(e->week, QStringLiteral("25"));
        QCOMPARE(e->stage, QStringLiteral("中期"));
        QVERIFY(e->saved.secsTo(QDateTime::currentDateTime()) < 60);
        QCOMPARE(clients::clientSummary(*e), QStringLiteral("林晓雯 · 孕妇 · 孕25周（中期）"));

        // Not pregnant any more: no week shown. A diet record day and food count as saves too.
        saveRecord(QStringLiteral("林晓雯"), QStringLiteral("乳母"));
        e = clients::readClient(c, 1);
        QCOMPARE(e->category, QStringLiteral("乳母"));
        QVERIFY(e->week.isEmpty() && e->stage.isEmpty());
        for (const char* sql : {"insert into ts (tsid) values (1)",
                                "insert into foodcheck (tc, swname, zl) values (1, '牛奶', 250)",
                                "update foodcheck set zl = 200", "delete from foodcheck", "delete from ts"}) {
            db.exec(QStringLiteral("update clients set saved = '2000-01-01 00:00:00'"));
            db.exec(QString::fromUtf8(sql));
            QVERIFY2(clients::readClient(c, 1)->saved.date() == QDate::currentDate(), sql);
        }
    }

    // A save is one with its index row: when the index cannot be written, her record is not changed
    // either, and a failure at any statement of the save leaves both files as they were.
    void saveIsAllOrNothingAcrossTheTwoFiles() {
        FixtureDb db;
        auto& c = db.connection();
        saveRecord(QStringLiteral("林晓雯"));
        db.exec(QStringLiteral(
            "create trigger keep before update on clients begin select raise(abort, 'refused'); end"));
        const QString before = bothFiles(c);
        QVERIFY_THROWS_EXCEPTION(data::DbError, saveRecord(QStringLiteral("王芳")));
        QCOMPARE(bothFiles(c), before);
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        db.exec(QStringLiteral("drop trigger keep"));

        FailureSweep sweep(c);
        sweep.snapshot = [&c] { return bothFiles(c); };
        QVERIFY(sweep.run([] {
            saveRecord(QStringLiteral("王芳"));
            return RunOutcome::Completed;
        }));
        QVERIFY(sweep.brokenRuns() > 5);
        QCOMPARE(herName(c), QStringLiteral("王芳"));
        QCOMPARE(clients::readClient(c, 1)->name, QStringLiteral("王芳"));
    }

    // A file that is not a usable client's file is refused with a sentence naming it, and the client
    // before stays current.
    void unusableFilesAreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("missing") << "missing"
                                 << "找不到客户档案文件";
        QTest::newRow("garbage") << "garbage"
                                 << "不是本系统的客户档案";
        QTest::newRow("other password") << "password"
                                        << "密码不正确";
        QTest::newRow("shared file, not a client's") << "shared"
                                                     << "缺少表 personinf";
        QTest::newRow("made by a later program") << "newer"
                                                 << "较新版本";
    }
    void unusableFilesAreRefused() {
        QFETCH(QString, kind);
        QFETCH(QString, phrase);
        FixtureDb db;
        auto& c = db.connection();
        db.exec(QStringLiteral("update personinf set name='林晓雯'"));
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("other.dbz"));
        if (kind == QLatin1String("garbage")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, 'x'));
        } else if (kind == QLatin1String("password")) {
            data::createClientFile(path, QStringLiteral("another password"));
        } else if (kind == QLatin1String("shared")) {
            path = db.path();
        } else if (kind == QLatin1String("newer")) {
            data::createClientFile(path, test::databasePassword());
            data::Connection own(data::connectionStringForFile(path, test::databasePassword()));
            own.exec(QStringLiteral("pragma user_version = %1").arg(data::kClientFileVersion + 1));
        }
        try {
            data::attachClientFile(c, path, 7);
            QFAIL("the file was taken");
        } catch (const data::Error& e) {
            QVERIFY2(e.text().contains(phrase), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(path)), qPrintable(e.text()));
        }
        QCOMPARE(data::attachedClientId(c), 1);
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        db.exec(QStringLiteral("update personinf set name='林晓雯2'")); // her index triggers still work
        QCOMPARE(clients::readClient(c, 1)->name, QStringLiteral("林晓雯2"));
    }

    // Update step 5 on a file of the release before: her record, days, foods and evaluations move to
    // the first client's file exactly as they were; the food table with her edits, the recipes and
    // texts stay in the shared file; a backup copy of the old file is kept.
    void conversionOfTheReleaseBefore() {
        FixtureDb db(FixtureDb::Content::ThirdRelease);
        auto& c = db.connection();
        db.exec(
            QStringLiteral("update personinf set name='周雨桐', age=31, high=160, csjd='孕妇', yq_week=22, "
                           "yq_jd='孕中期', yltz=52, yftz=57.5, rmtz='', hdsp='轻', ycq='2027-04-01'"));
        db.exec(
            QStringLiteral("update lstzpj set y=20.31, csdate='2026-11-02', week_add=0.4, week_dj='正常'"));
        db.exec(QStringLiteral("update lsyysfx set srl=1800.5, ckl=2100, ul=null where id=1"));
        db.exec(QStringLiteral("insert into ts (tsid) values (1), (2), (5)"));
        db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl, meal, portion) values "
                               "(1, '牛奶', 250, '早餐', '1杯'), (1, '自家熏鱼', 80, '午餐', ''), "
                               "(2, '米饭', 150, null, null), (5, '猪肝', 30.25, '晚餐', null)"));
        db.exec(QStringLiteral("delete from foodcheck where swname='猪肝'")); // the highest number, freed
        // Her own food edits and her own food.
        db.exec(QStringLiteral("update Foodnurti set energy=66 where foodid='19001'"));
        db.exec(QStringLiteral("insert into Foodnurti (foodid, foodname, foodkind, energy) "
                               "values ('12999', '自家熏鱼', '12', 210)"));
        db.exec(QStringLiteral(
            "insert into sps (spname, sptime, swname, zl) values ('她的早餐', '2026-11-01', '牛奶', 250)"));
        const QStringList hers = data::clientTables();
        const QString herBefore = test::databaseContents(c, hers);
        const QStringList shared = {QStringLiteral("Foodnurti"),   QStringLiteral("foodkind"),
                                    QStringLiteral("sps"),         QStringLiteral("app_pj"),
                                    QStringLiteral("foodportion"), QStringLiteral("settings")};
        const QString sharedBefore = test::databaseContents(c, shared);

        const data::UpdateOutcome out = data::updateDatabase(c);
        QCOMPARE(out.status, data::UpdateOutcome::Status::Updated);
        QCOMPARE(out.fromVersion, 4);
        QVERIFY(QFileInfo::exists(out.backupPath));
        // The shared file: no record of hers any more, the index with her row.
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from main.sqlite_master where name in "
                                          "('personinf','lstzpj','lsyysfx','sdrn','ts','foodcheck')"))
                     .toInteger(),
                 0);
        QCOMPARE(filesIn(clientsFolder(db)), QStringList{data::clientFileName(1)});
        const std::optional<ClientEntry> e = clients::readClient(c, 1);
        QVERIFY(e);
        QCOMPARE(e->file, data::clientFileName(1));
        QCOMPARE(clients::clientSummary(*e), QStringLiteral("周雨桐 · 孕妇 · 孕22周（孕中期）"));
        QVERIFY(e->saved.isValid());
        QCOMPARE(test::databaseContents(c, shared).mid(9), sharedBefore.mid(9)); // all but the version line

        // Her file, opened as the program opens her at start, holds her tables exactly.
        const clients::StartOutcome start = clients::openClientAtStart(c);
        QVERIFY(start.problems.isEmpty());
        QVERIFY(!start.created);
        QCOMPARE(start.client->id, 1);
        QCOMPARE(test::databaseContents(c, hers).mid(9), herBefore.mid(9));
        // The auto-number goes on after the freed number.
        db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (1, '鸡蛋', 50)"));
        QCOMPARE(db.scalar(QStringLiteral("select max(foodid) from foodcheck")).toInteger(), 5);

        // The backup copy is the old file, whole.
        QTemporaryDir copy;
        QVERIFY(QFile::copy(out.backupPath, copy.filePath(QStringLiteral("yfdb.dbz"))));
        data::Connection old(data::connectionStringForFolder(copy.path()));
        QCOMPARE(test::databaseContents(old, hers), herBefore);
    }

    // A failure anywhere in the conversion leaves the old file exactly as it was and no client's file
    // behind; the next start converts it.
    void failedConversionLeavesTheOldFile() {
        FixtureDb db(FixtureDb::Content::ThirdRelease);
        auto& c = db.connection();
        db.exec(QStringLiteral("update personinf set name='周雨桐', csjd='乳母'"));
        db.exec(QStringLiteral("insert into ts (tsid) values (1)"));
        db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (1, '牛奶', 250)"));
        data::UpdateOutcome out;
        FailureSweep sweep(c);
        sweep.snapshot = [&c] { return test::databaseContents(c); };
        sweep.afterRun = [&](int failing, RunOutcome) {
            if (failing == 1)
                return; // the version read
            QCOMPARE(out.status, data::UpdateOutcome::Status::Failed);
            QVERIFY(filesIn(clientsFolder(db)).isEmpty());
        };
        QVERIFY(sweep.run([&] {
            out = data::updateDatabase(c);
            return out.status == data::UpdateOutcome::Status::Updated ? RunOutcome::Completed
                                                                      : RunOutcome::Failed;
        }));
        QVERIFY(sweep.brokenRuns() > 10);
        QCOMPARE(filesIn(clientsFolder(db)), QStringList{data::clientFileName(1)});
        clients::openClientAtStart(c);
        QCOMPARE(herName(c), QStringLiteral("周雨桐"));
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 1);
    }

    // New, open, and the client opened at start.
    void newOpenAndStart() {
        FixtureDb db;
        auto& c = db.connection();
        saveRecord(QStringLiteral("林晓雯"));
        const ClientEntry second = clients::newClient(c);
        QCOMPARE(data::attachedClientId(c), second.id);
        QVERIFY(herName(c).isEmpty()); // a new, empty record
        QCOMPARE(db.count(QStringLiteral("lsyysfx")), 14);
        saveRecord(QStringLiteral("王芳"), QStringLiteral("乳母"));
        QCOMPARE(clients::clientTitle(*clients::currentClient(c)), QStringLiteral("王芳"));
        QCOMPARE(clients::readClients(c).size(), 2);

        clients::openClient(c, *clients::readClient(c, 1));
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));

        // The next start opens the one used last, whichever was saved last.
        c.close();
        data::detachClientFile(c);
        clients::StartOutcome start = clients::openClientAtStart(c);
        QCOMPARE(start.client->id, 1);
        QVERIFY(start.problems.isEmpty());

        // Her file gone: told, and the other client opens.
        data::detachClientFile(c);
        QVERIFY(QFile::remove(db.clientPath()));
        start = clients::openClientAtStart(c);
        QCOMPARE(start.client->id, second.id);
        QCOMPARE(start.problems.size(), 1);
        QVERIFY2(start.problems[0].contains(QStringLiteral("找不到客户档案文件")),
                 qPrintable(start.problems[0]));
        QCOMPARE(herName(c), QStringLiteral("王芳"));

        // No client's file can be used: none is current and no empty client is made in their stead,
        // so they can be restored first.
        data::detachClientFile(c);
        QVERIFY(QFile::remove(clients::clientPath(c, second)));
        start = clients::openClientAtStart(c);
        QVERIFY(!start.client && !start.created);
        QCOMPARE(start.failed.size(), 2);
        QCOMPARE(data::attachedClientId(c), 0);
        QCOMPARE(clients::readClients(c).size(), 2);

        // No client at all: a new empty one.
        db.exec(QStringLiteral("delete from clients"));
        data::detachClientFile(c);
        start = clients::openClientAtStart(c);
        QVERIFY(start.created);
        QVERIFY(herName(c).isEmpty());
    }

    // Opening a client makes the day's copy of her file, holding her file as it was before she is
    // worked on; a new client's empty file gets none; a copy that cannot be made is reported and she is
    // opened all the same.
    void openingMakesTheDaysCopy() {
        FixtureDb db;
        auto& c = db.connection();
        const QString backups = data::backupFolderFor(db.path());
        saveRecord(QStringLiteral("林晓雯"));
        const QString herFile = QFileInfo(db.clientPath()).completeBaseName();
        std::optional<test::FixedClock> clock(std::in_place, QDate(2026, 12, 11), QTime(8, 30));
        const ClientEntry second = clients::newClient(c);
        QCOMPARE(filesIn(backups), QStringList());

        QCOMPARE(clients::openClient(c, *clients::readClient(c, 1)), QString());
        QCOMPARE(filesIn(backups), QStringList{herFile + QStringLiteral("-20261211-083000.dbz")});
        QCOMPARE(clientFileContents(QDir(backups).filePath(filesIn(backups).first())),
                 clientFileContents(db.clientPath()));
        clients::openClient(c, second);
        clients::openClient(c, *clients::readClient(c, 1)); // the same day again: no second copy
        QCOMPARE(filesIn(backups).size(), 2);

        clock.emplace(QDate(2026, 12, 12), QTime(9, 0));
        QVERIFY(QDir(backups).removeRecursively());
        QFile blocker(backups); // a file where the backups folder would be: it cannot be made
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString problem = clients::openClient(c, *clients::readClient(c, 1));
        QVERIFY2(problem.contains(QStringLiteral("未能备份")), qPrintable(problem));
        QCOMPARE(data::attachedClientId(c), 1);
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        clock.reset();
    }

    // Deleting moves her file into the backups and her row out of the index, both or neither.
    void deleteKeepsHerFileInTheBackups() {
        FixtureDb db;
        auto& c = db.connection();
        saveRecord(QStringLiteral("林晓雯"));
        const QString before = clientFileContents(db.clientPath());
        const ClientEntry other = clients::newClient(c);
        clients::openClient(c, *clients::readClient(c, 1));

        // The row cannot go: her file stays where it was, and she stays current.
        db.exec(QStringLiteral(
            "create trigger keep before delete on clients begin select raise(abort, 'refused'); end"));
        QVERIFY_THROWS_EXCEPTION(data::Error, clients::deleteClient(c, *clients::readClient(c, 1)));
        QVERIFY(QFileInfo::exists(db.clientPath()));
        QCOMPARE(data::attachedClientId(c), 1);
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        db.exec(QStringLiteral("drop trigger keep"));

        const QString moved = clients::deleteClient(c, *clients::readClient(c, 1));
        QVERIFY(!QFileInfo::exists(db.clientPath()));
        QCOMPARE(QFileInfo(moved).absolutePath(), data::backupFolderFor(db.path()));
        QVERIFY2(QFileInfo(moved).fileName().startsWith(QStringLiteral("林晓雯-client-000001-已删除-")),
                 qPrintable(moved));
        QCOMPARE(clientFileContents(moved), before);
        QVERIFY(!clients::readClient(c, 1));
        QCOMPARE(data::attachedClientId(c), 0); // the caller opens another
        clients::openClient(c, other);
        QVERIFY(herName(c).isEmpty());
    }

    // Export one client and import her into another data folder: her record there, under a number of
    // that folder; a file that is no client's is refused and leaves nothing behind.
    void exportAndImport() {
        FixtureDb here;
        saveRecord(QStringLiteral("林晓雯"));
        here.exec(QStringLiteral("insert into ts (tsid) values (1)"));
        QTemporaryDir out;
        const QString exported = out.filePath(QStringLiteral("林晓雯.dbz"));
        clients::exportClient(here.connection(), *clients::currentClient(here.connection()), exported);
        const QString herFile = clientFileContents(here.clientPath());

        FixtureDb there;
        auto& c = there.connection();
        clients::newClient(c); // number 2 there
        const ClientEntry imported = clients::importClient(c, exported);
        QCOMPARE(imported.id, 3);
        QCOMPARE(imported.file, data::clientFileName(3));
        QCOMPARE(clients::clientSummary(imported), QStringLiteral("林晓雯 · 孕妇 · 孕25周（中期）"));
        QVERIFY(QFileInfo::exists(exported)); // the source is left as it was
        clients::openClient(c, imported);
        QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        QCOMPARE(clientFileContents(clients::clientPath(c, imported)), herFile);

        const QStringList filesBefore = filesIn(data::clientsFolderFor(there.path()));
        for (const QString& bad : {there.path(), out.filePath(QStringLiteral("none.dbz"))}) {
            try {
                clients::importClient(c, bad);
                QFAIL("imported");
            } catch (const data::Error& e) {
                QVERIFY2(e.text().contains(QDir::toNativeSeparators(bad)), qPrintable(e.text()));
            }
        }
        QCOMPARE(filesIn(data::clientsFolderFor(there.path())), filesBefore);
        QCOMPARE(clients::readClients(c).size(), 3);
    }

    // Under a password of her own: a new client's file is made with it; a client's file under the
    // program's password or hers is imported and the copy opens with hers; one under someone else's
    // password is refused and leaves nothing. An export keeps the password of the file it copies.
    void clientFilesUnderHerPassword_data() {
        QTest::addColumn<QString>("exportedWith"); // "": the program's password
        QTest::addColumn<bool>("accepted");
        QTest::newRow("program's password") << QString() << true;
        QTest::newRow("her password") << QStringLiteral("她的密码") << true;
        QTest::newRow("someone else's password") << QStringLiteral("别人的密码") << false;
    }
    void clientFilesUnderHerPassword() {
        QFETCH(QString, exportedWith);
        QFETCH(bool, accepted);
        const QString hers = QStringLiteral("她的密码");
        const QString key = exportedWith.isEmpty() ? data::programPassword() : exportedWith;
        QTemporaryDir out;
        const QString exported = out.filePath(QStringLiteral("林晓雯.dbz"));
        {
            FixtureDb here;
            saveRecord(QStringLiteral("林晓雯"));
            if (!exportedWith.isEmpty())
                data::changePassword(here.connection(), exportedWith, QDateTime::currentDateTime());
            clients::exportClient(here.connection(), *clients::currentClient(here.connection()), exported);
        }
        QVERIFY(data::opensWith(exported, key));
        const QByteArray source = bytesOf(exported);

        FixtureDb there;
        auto& c = there.connection();
        data::changePassword(c, hers, QDateTime::currentDateTime());
        const ClientEntry made = clients::newClient(c);
        QVERIFY(data::opensWith(clients::clientPath(c, made), hers));
        const QStringList filesBefore = filesIn(data::clientsFolderFor(there.path()));
        if (accepted) {
            const ClientEntry imported = clients::importClient(c, exported);
            QVERIFY(data::opensWith(clients::clientPath(c, imported), hers));
            clients::openClient(c, imported);
            QCOMPARE(herName(c), QStringLiteral("林晓雯"));
        } else {
            try {
                clients::importClient(c, exported);
                QFAIL("imported");
            } catch (const data::Error& e) {
                QVERIFY2(e.text().contains(QDir::toNativeSeparators(exported)), qPrintable(e.text()));
            }
            QCOMPARE(filesIn(data::clientsFolderFor(there.path())), filesBefore);
            QCOMPARE(clients::readClients(c).size(), 2);
        }
        QCOMPARE(bytesOf(exported), source); // the source is left as it was
    }
};

QTEST_MAIN(TestClientFiles)
#include "tst_client_files.moc"
