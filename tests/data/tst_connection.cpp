// Opening the database file, the connection string, statements with bound values, transactions,
// and the table rules that every window relies on.

#include "data/connection.h"
#include "data/query.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace nc::data;
using nc::test::FixtureDb;

class TestConnection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectionStringRoundTrip_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "/opt/nutricounsel";
        QTest::newRow("trailing separator") << "/opt/nutricounsel/";
        QTest::newRow("Chinese and blanks") << "/home/王 芳/营养 咨询";
        QTest::newRow("semicolon") << "/data/a;b";
        QTest::newRow("double quote") << "/data/say \"hi\"";
        QTest::newRow("both quotes") << "/data/it's \"x\"";
    }
    void connectionStringRoundTrip() {
        QFETCH(QString, folder);
        const QString text = connectionStringForFolder(folder);
        const ConnectionString cs = ConnectionString::parse(text);
        QString expectedFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        QCOMPARE(cs.dataSource, expectedFolder + QStringLiteral("yfdb.dbz"));
        QCOMPARE(cs.provider, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
        QCOMPARE(cs.password.size(), 9);
    }

    void connectionStringShape() {
        QCOMPARE(connectionStringForFolder(QStringLiteral("/opt/nc/")),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/nc/yfdb.dbz;"
                                "Persist Security Info=False;Jet OLEDB:Database Password=tkwrun3.8"));
        QVERIFY_THROWS_EXCEPTION(Error, ConnectionString::parse(QStringLiteral("Provider=x;Password=y")));
    }

    void opensOnlyOnFirstStatement() {
        FixtureDb db;
        Connection c(connectionStringForFolder(db.folder()));
        QVERIFY(!c.isOpen());
        Query q(&c);
        q.setSql(QStringLiteral("select count(*) as n from foodkind"));
        QVERIFY(!c.isOpen());
        q.open();
        QVERIFY(c.isOpen());
        QCOMPARE(q.field(QStringLiteral("N")).toInteger(), 14);
    }

    // Each failure names the file in Chinese, carries the engine's text, never the key, and leaves
    // the connection closed so the next statement tries again.
    // clang-format off
    void openFailures_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("missing file") << "missing" << "文件不存在";
        QTest::newRow("wrong password") << "password" << "密码不正确";
        QTest::newRow("not a database") << "garbage" << "不是本系统的数据库";
    }
    // clang-format on
    void openFailures() {
        QFETCH(QString, kind);
        QFETCH(QString, phrase);
        FixtureDb good;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("yfdb.dbz"));
        QString text = connectionStringForFolder(dir.path());
        if (kind == QLatin1String("password")) {
            QFile::copy(good.path(), file);
            text.replace(QStringLiteral("tkwrun3.8"), QStringLiteral("wrong-key"));
        } else if (kind == QLatin1String("garbage")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        Connection c(text);
        Query q(&c);
        q.setSql(QStringLiteral("select count(*) from foodkind"));
        try {
            q.open();
            QFAIL("opening should have failed");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(phrase), qPrintable(e.text()));
            QVERIFY2(e.text().contains(file), qPrintable(e.text()));
            QVERIFY(e.text().contains(QStringLiteral("（")));
            QVERIFY(!e.text().contains(QStringLiteral("tkwrun")));
        }
        QVERIFY(!c.isOpen());

        // Mend the cause; the very next statement opens the file.
        if (kind == QLatin1String("password"))
            c.setConnectionString(connectionStringForFolder(dir.path()));
        else {
            QFile::remove(file);
            QVERIFY(QFile::copy(good.path(), file));
        }
        q.open();
        QCOMPARE(q.field(0).toInteger(), 14);
    }

    // A lock another program holds on the file when the connection first opens it is waited for, as
    // every later statement waits, instead of failing at once with "database is locked".
    void firstOpenWaitsForALockHeldAMoment() {
        FixtureDb db;
        std::atomic<bool> held = false;
        std::thread other([&db, &held] {
            Connection holder(connectionStringForFolder(db.folder()));
            holder.exec(QStringLiteral("BEGIN EXCLUSIVE"));
            holder.exec(QStringLiteral("UPDATE foodkind SET foodkindname = foodkindname"));
            held = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            holder.exec(QStringLiteral("COMMIT"));
        });
        while (!held)
            std::this_thread::yield();
        Connection c(connectionStringForFolder(db.folder()));
        Query q(&c);
        q.setSql(QStringLiteral("select count(*) from foodkind"));
        QString failure;
        try {
            q.open();
        } catch (const DbError& e) {
            failure = e.text();
        }
        other.join();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(q.field(0).toInteger(), 14);
    }

    void noConnectionRegistered() {
        Connection* before = Connection::current();
        Connection::setCurrent(nullptr);
        Query q;
        q.setSql(QStringLiteral("select 1"));
        QVERIFY_THROWS_EXCEPTION(DbError, q.open());
        Connection::setCurrent(before);
    }

    void statementErrorsAreReported() {
        FixtureDb db;
        Query q;
        q.setSql(QStringLiteral("select * from no_such_table"));
        try {
            q.open();
            QFAIL("should fail");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(QStringLiteral("no such table")));
        }
        // The connection stays usable.
        QCOMPARE(db.count(QStringLiteral("sdrn")), 3);
    }

    void tableNamesIgnoreCase() {
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {nc::test::seed(QStringLiteral("Foodnurti"),
                                     {QStringLiteral("foodid"), QStringLiteral("foodname")},
                                     {{QStringLiteral("01001"), QStringLiteral("小麦")}})});
        QCOMPARE(db.scalar(QStringLiteral("select foodname from foodnurti")).toText(),
                 QStringLiteral("小麦"));
        QCOMPARE(db.scalar(QStringLiteral("select FOODNAME from Foodnurti")).toText(),
                 QStringLiteral("小麦"));
        QCOMPARE(db.scalar(QStringLiteral("select [Foodnurti].[foodname] from [foodnurti]")).toText(),
                 QStringLiteral("小麦"));
    }

    void textComparisonIgnoresCase() {
        FixtureDb db;
        db.exec(QStringLiteral("insert into sps (spname, swname, zl) values ('Breakfast A', '牛奶', 250)"));
        Query q;
        q.setSql(QStringLiteral("select count(*) from sps where spname = :n"));
        q.setParam(QStringLiteral("n"), QStringLiteral("breakfast a"));
        q.open();
        QCOMPARE(q.field(0).toInteger(), 1);
    }

    void updateOfAbsentRowChangesNothing() {
        FixtureDb db;
        Query q;
        q.setSql(QStringLiteral("update lsyysfx set ckl=:lszs where id=15"));
        q.setParam(QStringLiteral("lszs"), 99.0);
        QCOMPARE(q.execute(), 0);
        q.setSql(QStringLiteral("update sdrn set value1=:lszs1 where id=0"));
        q.setParam(QStringLiteral("lszs1"), 1.0);
        QCOMPARE(q.execute(), 0);
        QCOMPARE(db.count(QStringLiteral("lsyysfx")), 14);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from lsyysfx where ckl = 99")).toInteger(), 0);
    }

    // The comparison statement of the analysis touches only rows with a reference intake.
    void zeroReferenceKeepsComparison() {
        FixtureDb db;
        db.exec(QStringLiteral("update lsyysfx set srl=50, ckl=0, cz=7, dris=8 where id=3"));
        db.exec(QStringLiteral("update lsyysfx set srl=50, ckl=null, cz=9, dris=10 where id=4"));
        db.exec(QStringLiteral("update lsyysfx set srl=45, ckl=60 where id=2"));
        db.exec(
            QStringLiteral("update lsyysfx set cz=round(srl-ckl,2),dris=round(srl/ckl*100,2) where ckl<>0"));
        QCOMPARE(db.scalar(QStringLiteral("select cz from lsyysfx where id=3")).toReal(), 7.0);
        QCOMPARE(db.scalar(QStringLiteral("select dris from lsyysfx where id=3")).toReal(), 8.0);
        QCOMPARE(db.scalar(QStringLiteral("select cz from lsyysfx where id=4")).toReal(), 9.0);
        QCOMPARE(db.scalar(QStringLiteral("select cz from lsyysfx where id=2")).toReal(), -15.0);
        QCOMPARE(db.scalar(QStringLiteral("select dris from lsyysfx where id=2")).toReal(), 75.0);
    }

    void transactionIsAllOrNothing() {
        FixtureDb db;
        Connection& c = db.connection();
        Query q;
        // Fail the second of three updates: the first must not stay written.
        try {
            Transaction t(c);
            c.failStatementAfter(2);
            for (int id = 1; id <= 3; ++id) {
                q.setSql(QStringLiteral("update sdrn set value1=:v where id=:id"));
                q.setParam(QStringLiteral("v"), 42.0);
                q.setParam(QStringLiteral("id"), id);
                q.execute();
            }
            t.commit();
            QFAIL("the injected failure should have stopped the transaction");
        } catch (const DbError&) {
        }
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from sdrn where value1=42")).toInteger(), 0);
        QVERIFY(!c.inTransaction());

        {
            Transaction t(c);
            q.setSql(QStringLiteral("update sdrn set value1=42"));
            q.execute();
            {
                Transaction inner(c); // left without commit: only the inner part is undone
                q.setSql(QStringLiteral("update sdrn set value1=7 where id=1"));
                q.execute();
            }
            t.commit();
        }
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from sdrn where value1=42")).toInteger(), 3);
    }

    // The sweep that breaks operations at every statement tells an all-or-nothing operation from one
    // that leaves some of its work, one that swallows the failure, and one that never gets through.
    void failureSweepFindsFaults_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("fault"); // empty: the sweep passes
        QTest::newRow("all or nothing") << 0 << QString();
        QTest::newRow("no transaction") << 1 << "statement 2 failed and the database changed";
        QTest::newRow("failure swallowed") << 2 << "statement 1 failed, yet the operation reported success";
        QTest::newRow("never gets through") << 3 << "still fails at statement 50";
    }
    void failureSweepFindsFaults() {
        QFETCH(int, kind);
        QFETCH(QString, fault);
        FixtureDb db;
        Connection& c = db.connection();
        const auto threeUpdates = [&c] {
            Query q(&c);
            q.setSql(QStringLiteral("update sdrn set value1=value1+1 where id=:id"));
            for (int id = 1; id <= 3; ++id) {
                q.setParam(QStringLiteral("id"), id);
                q.execute();
            }
        };
        nc::test::FailureSweep sweep(c);
        sweep.limit = 50;
        sweep.snapshot = [&c] { return nc::test::databaseContents(c, {QStringLiteral("sdrn")}); };
        QStringList faults;
        sweep.report = [&faults](const QString& text) { faults << text; };
        const bool passed = sweep.run([&] {
            switch (kind) {
            case 0: {
                Transaction t(c);
                threeUpdates();
                t.commit();
                break;
            }
            case 1:
                threeUpdates();
                break;
            case 2:
                try {
                    threeUpdates();
                } catch (const DbError&) {
                }
                break;
            default:
                throw DbError(QStringLiteral("数据库文件无法打开。"));
            }
            return nc::test::RunOutcome::Completed;
        });
        QCOMPARE(passed, fault.isEmpty());
        QCOMPARE(faults.size(), fault.isEmpty() ? 0 : 1);
        if (!fault.isEmpty())
            QVERIFY2(faults.first().contains(fault), qPrintable(faults.first()));
        else
            QCOMPARE(sweep.brokenRuns(), 3);
        QCOMPARE(sweep.statements(), fault.isEmpty() ? 3 : 0);
    }

    void chineseAndQuotesTravelAsValues() {
        FixtureDb db;
        const QString name = QStringLiteral("王\"小\"芳'); drop table ts; --");
        Query q;
        q.setSql(QStringLiteral("update personinf set name=:name"));
        q.setParam(QStringLiteral("name"), name);
        QCOMPARE(q.execute(), 1);
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), name);
        QCOMPARE(db.count(QStringLiteral("ts")), 0); // the table is still there
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
