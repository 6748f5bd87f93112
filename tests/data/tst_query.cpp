// Queries: bound parameters, the static cursor, and reading fields by name with NULL kept apart.

#include "data/query.h"
#include "data/value.h"
#include "support/fixture_db.h"

#include <QTest>

using namespace nc::data;
using nc::test::FixtureDb;

class TestQuery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cursorWalk() {
        FixtureDb db;
        Query q;
        q.setSql(QStringLiteral("select id, mc from sdrn order by id"));
        q.open();
        QCOMPARE(q.recordCount(), 3);
        QVERIFY(!q.eof());
        QStringList seen;
        for (q.first(); !q.eof(); q.next())
            seen << q.field(QStringLiteral("mc")).toText();
        QCOMPARE(seen, (QStringList{QStringLiteral("蛋白质"), QStringLiteral("脂肪"),
                                    QStringLiteral("碳水化合物")}));
        QVERIFY(q.eof());
        QCOMPARE(q.field(QStringLiteral("id")).toInteger(), 3); // eof stays on the last row
        q.last();
        QVERIFY(!q.eof());
        QCOMPARE(q.field(QStringLiteral("ID")).toInteger(), 3);
        q.prior();
        QCOMPARE(q.field(QStringLiteral("id")).toInteger(), 2);
    }

    void emptyResultReadsNull() {
        FixtureDb db;
        Query q;
        q.setSql(QStringLiteral("select srl from lsyysfx where id=99"));
        q.open();
        QVERIFY(q.eof());
        QVERIFY(q.bof());
        QCOMPARE(q.recordCount(), 0);
        QVERIFY(q.field(QStringLiteral("srl")).isNull());
        QCOMPARE(q.field(QStringLiteral("srl")).toReal(), 0.0);
        QVERIFY_THROWS_EXCEPTION(Error, q.field(QStringLiteral("nosuch")));
    }

    void nullIsNotZeroOrEmpty() {
        FixtureDb db;
        db.exec(QStringLiteral("update personinf set name='', age=0, high=null"));
        Query q;
        q.setSql(QStringLiteral("select * from personinf"));
        q.open();
        QVERIFY(!q.field(QStringLiteral("name")).isNull());
        QCOMPARE(q.field(QStringLiteral("name")).toText(), QString());
        QVERIFY(!q.field(QStringLiteral("age")).isNull());
        QVERIFY(q.field(QStringLiteral("high")).isNull());
        QCOMPARE(q.field(QStringLiteral("high")).toText(), QString());
        // The empty date of the record reads as the zero date.
        QCOMPARE(q.field(QStringLiteral("mcyjrq")).toDate(), QDate(1899, 12, 30));
    }

    void valuesRoundTrip_data() {
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("real") << Value(21.48) << "21.48";
        QTest::newRow("whole real") << Value(55.0) << "55";
        QTest::newRow("integer") << Value(qint64(12)) << "12";
        QTest::newRow("negative integer") << Value(-1) << "-1";
        QTest::newRow("Chinese text") << Value(QStringLiteral("孕妇")) << "孕妇";
        QTest::newRow("date") << Value::fromDate(QDate(2007, 10, 17)) << "2007-10-17";
        QTest::newRow("moment") << Value::fromDateTime(QDateTime(QDate(2026, 1, 2), QTime(8, 30, 1, 250)))
                                << "2026-01-02 08:30:01.250";
        QTest::newRow("null") << Value() << "";
    }
    void valuesRoundTrip() {
        QFETCH(Value, value);
        QFETCH(QString, text);
        FixtureDb db;
        Query q;
        q.setSql(QStringLiteral("select :v as v"));
        q.setParam(QStringLiteral(":v"), value);
        q.open();
        QCOMPARE(q.field(QStringLiteral("v")).toText(), text);
        QCOMPARE(q.field(QStringLiteral("v")).isNull(), value.isNull());
    }

    void typedReads() {
        FixtureDb db;
        db.exec(QStringLiteral("update personinf set yq_week='12', ycq='2007-10-17', age=30.5"));
        Query q;
        q.setSql(QStringLiteral("select * from personinf"));
        q.open();
        QCOMPARE(q.field(QStringLiteral("yq_week")).type(), Value::Type::Integer); // column type converts
        QCOMPARE(q.field(QStringLiteral("yq_week")).toInteger(), 12);
        QCOMPARE(q.field(QStringLiteral("ycq")).toDate(), QDate(2007, 10, 17));
        QCOMPARE(q.field(QStringLiteral("age")).toReal(), 30.5);
        QCOMPARE(q.field(QStringLiteral("age")).toText(), QStringLiteral("30.5"));
        QVERIFY_THROWS_EXCEPTION(ConversionError, Value(QStringLiteral("abc")).toReal());
        QVERIFY_THROWS_EXCEPTION(ConversionError, Value(QStringLiteral("1.2.3")).toReal());
        QVERIFY_THROWS_EXCEPTION(ConversionError, Value(QStringLiteral("12.5")).toInteger());
        QVERIFY_THROWS_EXCEPTION(ConversionError, Value(QStringLiteral("2007-13-40")).toDate());
        QCOMPARE(Value(52.5).toInteger(), 52); // halves to even
        QCOMPARE(Value(53.5).toInteger(), 54);
    }

    void parameterMistakesAreCaught() {
        FixtureDb db;
        Query q;
        q.setSql(QStringLiteral("update lsyysfx set ckl=:lszs where id=1"));
        QVERIFY_THROWS_EXCEPTION(Error, q.execute()); // no value given
        q.setParam(QStringLiteral("lszs"), 1.0);
        q.setParam(QStringLiteral("other"), 2.0);
        QVERIFY_THROWS_EXCEPTION(Error, q.execute()); // value for a parameter the SQL lacks
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 0.0);
        // A new SQL text forgets the old values; names are matched without regard to case.
        q.setSql(QStringLiteral("update lsyysfx set ckl=:LSZS where id=1"));
        q.setParam(QStringLiteral("lszs"), 2145.0);
        QCOMPARE(q.execute(), 1);
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 2145.0);
    }

    void repeatedParameterAndTwoLines() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        Query q;
        q.setSql(QStringLiteral("select energy,protein from foodnurti "));
        q.addLine(QStringLiteral("where foodname=:lsfn or dm=:lsfn;"));
        q.setParam(QStringLiteral("lsfn"), QStringLiteral("奶片"));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.field(QStringLiteral("energy")).toReal(), 472.0);
        QCOMPARE(q.fieldNames(), (QStringList{QStringLiteral("energy"), QStringLiteral("protein")}));
    }

    void likeAndRound() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        Query q;
        q.setSql(QStringLiteral("select count(*) as n from Foodnurti where foodname like :lskind"));
        q.setParam(QStringLiteral("lskind"), QStringLiteral("%奶%"));
        q.open();
        QVERIFY(q.field(QStringLiteral("n")).toInteger() > 10);
        q.setSql(QStringLiteral("select round(346/100.0*150,2) as e, round(2.675,2) as r"));
        q.open();
        QCOMPARE(q.field(QStringLiteral("e")).toReal(), 519.0);
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
