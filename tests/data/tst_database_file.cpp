// The database file shipped beside the program: encrypted, holding the fixed rows of the working
// tables and every food of the seed files, and never overwritten once it exists.

#include "data/csv.h"
#include "data/database_builder.h"
#include "data/query.h"
#include "data/values.h"
#include "support/fixture_db.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace nc::data;
using nc::test::FixtureDb;

namespace {

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestDatabaseFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixedRows() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        QCOMPARE(db.count(QStringLiteral("personinf")), 1);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from personinf where name is null and csjd is null "
                                     "and hdsp is null and mcyjrq is null"))
                .toInteger(),
            1);
        QCOMPARE(db.count(QStringLiteral("lstzpj")), 1);
        // Every evaluation text of the seed file; among them two general ones (no group), below 90 %
        // and above 110 %, for every nutrient with a reference. tst_evaluation_texts checks the rest.
        QCOMPARE(qsizetype(db.count(QStringLiteral("app_pj"))),
                 readCsvFile(nc::test::sourceDir() + QStringLiteral("/data/seed/app_pj.csv")).rows.size());
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from app_pj where grp is null and range in "
                                          "('<90','>110')"))
                     .toInteger(),
                 24);
        QCOMPARE(db.scalar(QStringLiteral("select count(distinct z_id) from app_pj where range='<90' and "
                                          "grp is null and z_id in (1,2,5,6,7,8,9,10,11,12,13,14) and "
                                          "content<>'' and rg_name<>'' and appraise<>''"))
                     .toInteger(),
                 12);
        QCOMPARE(db.scalar(QStringLiteral("select count(distinct z_id) from app_pj where range='>110' and "
                                          "grp is null"))
                     .toInteger(),
                 12);
        QCOMPARE(db.count(QStringLiteral("ts")), 0);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 0);
        QCOMPARE(db.count(QStringLiteral("sps")), 0);

        Query q;
        q.setSql(QStringLiteral("select * from lsyysfx order by id"));
        q.open();
        QCOMPARE(q.recordCount(), 14);
        for (const Nutrient& n : kNutrients) {
            QCOMPARE(q.field(QStringLiteral("id")).toInteger(), n.id);
            QCOMPARE(q.field(QStringLiteral("yysmc")).toText(), QString::fromUtf8(n.name));
            QCOMPARE(q.field(QStringLiteral("dw")).toText(), QString::fromUtf8(n.unit));
            QCOMPARE(q.field(QStringLiteral("ckl")).toReal(), 0.0);
            QVERIFY(q.field(QStringLiteral("cz")).isNull());
            QVERIFY(q.field(QStringLiteral("dris")).isNull());
            q.next();
        }
        q.setSql(QStringLiteral("select id, value1 from sdrn order by id"));
        q.open();
        QCOMPARE(q.recordCount(), 3);
        QCOMPARE(q.field(QStringLiteral("id")).toInteger(), kSplitProtein);
    }

    // Every category and food of the seed files arrives with every value as written there.
    void foodsAsInTheSeedFiles() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        const QString seedDir = nc::test::sourceDir() + QStringLiteral("/data/seed/");
        for (const auto& [file, table] :
             {std::pair{"foods.csv", "Foodnurti"}, std::pair{"foodkind.csv", "foodkind"}}) {
            const CsvTable csv = readCsvFile(seedDir + QString::fromLatin1(file));
            Query q;
            q.setSql(QStringLiteral("select * from %1 order by rowid").arg(QString::fromLatin1(table)));
            q.open();
            QCOMPARE(q.recordCount(), csv.rows.size());
            for (const QStringList& row : csv.rows) {
                for (int c = 0; c < csv.header.size(); ++c) {
                    const Value v = q.field(csv.header[c]);
                    const QString& cell = row[c];
                    if (cell.isEmpty()) {
                        QVERIFY2(v.isNull(), qPrintable(row[0] + QLatin1Char(' ') + csv.header[c]));
                    } else if (v.type() == Value::Type::Real || v.type() == Value::Type::Integer) {
                        QCOMPARE(v.toReal(), cell.toDouble());
                    } else {
                        QCOMPARE(v.toText(), cell);
                    }
                }
                q.next();
            }
        }
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 1659);
        QCOMPARE(db.count(QStringLiteral("foodkind")), 14);
        // Codes keep their leading zero, so categories match their foods.
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from Foodnurti f join foodkind k "
                                          "on f.foodkind = substr(k.foodkindid, 1, 2)"))
                     .toInteger(),
                 1659);
    }

    void fileIsEncrypted() {
        FixtureDb db;
        QFile f(db.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(!f.read(16).startsWith("SQLite format 3"));
        f.close();
        // Without the password the file cannot be read.
        QString text = connectionStringForFolder(db.folder());
        text.replace(QStringLiteral("tkwrun3.8"), QString());
        Connection c(text);
        Query q(&c);
        q.setSql(QStringLiteral("select count(*) from Foodnurti"));
        QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    }

    // The database command-line tool opens the shared file and the client's file with the password and
    // reads every table, each in its file.
    void commandLineToolReadsIt() {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
        if (tool.isEmpty())
            QSKIP("the sqlcipher command-line tool is not installed");
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        QProcess p;
        p.start(tool, {db.path()});
        QVERIFY(p.waitForStarted());
        const QByteArray key = nc::test::databasePassword().toUtf8();
        p.write("PRAGMA key='" + key + "';\n");
        p.write("ATTACH DATABASE '" + db.clientPath().toUtf8() + "' AS client KEY '" + key + "';\n");
        for (const char* t : {"client.personinf", "client.lstzpj", "client.lsyysfx", "client.sdrn", "app_pj",
                              "client.ts", "client.foodcheck", "sps", "foodkind", "Foodnurti", "clients"})
            p.write(QByteArray("select '") + t + "', count(*) from " + t + ";\n");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished());
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Foodnurti|1659")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("client.lsyysfx|14")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("client.personinf|1")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("clients|1")), qPrintable(out));
    }

    void makeDatabaseToolNeverOverwrites() {
        QTemporaryDir dir;
        const QString source = nc::test::sourceDir();
        const QStringList args{dir.path(), source + QStringLiteral("/data/schema.sql"),
                               source + QStringLiteral("/data/seed")};
        QProcess p;
        p.start(QStringLiteral(NC_MAKE_DATABASE), args);
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        const QString file = dir.filePath(QStringLiteral("yfdb.dbz"));
        QVERIFY(QFileInfo::exists(file));

        // The shared file holds no client, and a counsellor's edit in it survives the next build.
        {
            Connection c(connectionStringForFolder(dir.path()));
            QCOMPARE(tableHasColumn(c, QStringLiteral("personinf"), QStringLiteral("name")), false);
            Query q(&c);
            q.setSql(QStringLiteral("update Foodnurti set foodname=:n where foodid='01101'"));
            q.setParam(QStringLiteral("n"), QStringLiteral("小麦（她改的名）"));
            QCOMPARE(q.execute(), 1);
        }
        const QByteArray before = fileHash(file);
        p.start(QStringLiteral(NC_MAKE_DATABASE), args);
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().contains("left untouched"));
        QCOMPARE(fileHash(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("yfdb.dbz")});
    }

    void failedBuildLeavesNoFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("yfdb.dbz"));
        QVERIFY_THROWS_EXCEPTION(
            Error, createDatabase(file, QStringLiteral("k"),
                                  QStringLiteral("create table t (a); create tabel broken;"), {}));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        // A seed row for a column the schema lacks fails the same way.
        QVERIFY_THROWS_EXCEPTION(
            Error, createDatabase(file, QStringLiteral("k"), QStringLiteral("create table t (a);"),
                                  {nc::test::seed(QStringLiteral("t"), {QStringLiteral("b")},
                                                  {{QStringLiteral("1")}})}));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void csvReading() {
        const CsvTable t =
            parseCsv(QStringLiteral("\xFEFF"
                                    "a,b,c\r\n1,\"x,y\",\r\n\"say \"\"hi\"\"\",2,\"line\nbreak\"\n"));
        QCOMPARE(t.header, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        QCOMPARE(t.rows.size(), 2);
        QCOMPARE(t.rows[0], (QStringList{QStringLiteral("1"), QStringLiteral("x,y"), QString()}));
        QCOMPARE(t.rows[1][0], QStringLiteral("say \"hi\""));
        QCOMPARE(t.rows[1][2], QStringLiteral("line\nbreak"));
        QVERIFY_THROWS_EXCEPTION(Error, parseCsv(QStringLiteral("a,b\n1\n")));
        QVERIFY_THROWS_EXCEPTION(Error, parseCsv(QStringLiteral("a,b\n\"1,2\n")));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_database_file.moc"
