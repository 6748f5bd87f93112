// The intake analysis over a small diet record: averages per day, the comparison with the
// references, and the energy split.

#include "analysis/intake_analysis.h"
#include "data/errors.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QTest>

using namespace nc::analysis;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixtureDb;
using nc::test::RunOutcome;
using nc::test::seed;

namespace {

const QStringList kFoodColumns{QStringLiteral("foodid"), QStringLiteral("foodname"),
                               QStringLiteral("energy"), QStringLiteral("protein"),
                               QStringLiteral("fat"),    QStringLiteral("carbohydra"),
                               QStringLiteral("ca"),     QStringLiteral("se")};

// Three foods: rice, milk (no selenium measured) and an oil.
nc::data::SeedTable foods() {
    return seed(
        QStringLiteral("Foodnurti"), kFoodColumns,
        {{QStringLiteral("01001"), QStringLiteral("稻米"), QStringLiteral("346"), QStringLiteral("7.9"),
          QStringLiteral("0.9"), QStringLiteral("77.2"), QStringLiteral("8"), QStringLiteral("2.83")},
         {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("65"), QStringLiteral("3.3"),
          QStringLiteral("3.6"), QStringLiteral("4.9"), QStringLiteral("107"), QString()},
         {QStringLiteral("19001"), QStringLiteral("花生油"), QStringLiteral("899"), QString(),
          QStringLiteral("99.9"), QString(), QStringLiteral("12"), QString()}});
}

nc::data::SeedTable days(const QStringList& ids) {
    QList<QStringList> rows;
    for (const QString& id : ids)
        rows << QStringList{id};
    return seed(QStringLiteral("ts"), {QStringLiteral("tsid")}, rows);
}

nc::data::SeedTable entries(const QList<QStringList>& rows) {
    return seed(QStringLiteral("foodcheck"),
                {QStringLiteral("tc"), QStringLiteral("swname"), QStringLiteral("zl")}, rows);
}

double srl(FixtureDb& db, int id) {
    return db.scalar(QStringLiteral("select srl from lsyysfx where id=:id"), {{QStringLiteral("id"), id}})
        .toReal();
}

} // namespace

class TestIntakeAnalysis : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void averagesAreCutNotRounded() {
        // 1320.2 g of rice: 346 x 1320.2 / 100 = 4567.892 kcal over two days = 2283.946 -> 2283.94.
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {foods(), days({QStringLiteral("1"), QStringLiteral("2")}),
                      entries({{QStringLiteral("1"), QStringLiteral("稻米"), QStringLiteral("1000")},
                               {QStringLiteral("2"), QStringLiteral("稻米"), QStringLiteral("320.2")}})});
        const AnalysisResult r = runIntakeAnalysis();
        QCOMPARE(r.days, 2);
        QCOMPARE(srl(db, 1), 2283.94);
        QCOMPARE(r.intakes[0], 2283.94);
        QCOMPARE(srl(db, 2), 52.14);  // 7.9 x 1320.2 / 100 / 2 = 52.1479
        QCOMPARE(srl(db, 14), 18.68); // 2.83 x 13.202 / 2 = 18.68083
        QVERIFY(!r.comparisonFailed);
    }

    // Energy per 100 g of one food, grams eaten on day 1, number of days, the stored average.
    // clang-format off
    void averagesAreTruncatedToTwoDecimals_data() {
        QTest::addColumn<QString>("energy");
        QTest::addColumn<QString>("grams");
        QTest::addColumn<int>("dayCount");
        QTest::addColumn<double>("expected");
        QTest::newRow("4567.891 kcal over two days") << "4567.891" << "100" << 2 << 2283.94;
        QTest::newRow("0.999") << "0.999" << "100" << 1 << 0.99;
        QTest::newRow("12.5 stays") << "12.5" << "100" << 1 << 12.5;
        QTest::newRow("7.004") << "7.004" << "100" << 1 << 7.0;
        QTest::newRow("whole") << "3" << "100" << 1 << 3.0;
        QTest::newRow("multiplied before divided") << "0.07" << "3" << 1 << 0.0; // 0.0021
        QTest::newRow("a third") << "100" << "100" << 3 << 33.33;
    }
    // clang-format on
    void averagesAreTruncatedToTwoDecimals() {
        QFETCH(QString, energy);
        QFETCH(QString, grams);
        QFETCH(int, dayCount);
        QFETCH(double, expected);
        QStringList ids;
        for (int d = 1; d <= dayCount; ++d)
            ids << QString::number(d);
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {seed(QStringLiteral("Foodnurti"),
                           {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("energy")},
                           {{QStringLiteral("21001"), QStringLiteral("试验食物"), energy}}),
                      days(ids), entries({{QStringLiteral("1"), QStringLiteral("试验食物"), grams}})});
        QCOMPARE(runIntakeAnalysis().intakes[0], expected);
        QCOMPARE(srl(db, 1), expected);
    }

    void everyEntryCountsAndUnknownOrEmptyAddNothing() {
        FixtureDb db(
            FixtureDb::Content::FixedRows,
            {foods(), days({QStringLiteral("1"), QStringLiteral("2")}),
             entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("250")},
                      {QStringLiteral("2"), QStringLiteral(" 牛奶\t"), QStringLiteral("250")},
                      {QStringLiteral("7"), QStringLiteral("牛奶"), QStringLiteral("100")}, // day gone
                      {QStringLiteral("1"), QStringLiteral("不存在的食物"), QStringLiteral("500")},
                      {QStringLiteral("1"), QStringLiteral("花生油"), QString()}})}); // no amount
        runIntakeAnalysis();
        QCOMPARE(srl(db, 1), 195.0);  // 65 x 6 / 2
        QCOMPARE(srl(db, 11), 321.0); // 107 x 6 / 2
        QCOMPARE(srl(db, 14), 0.0);   // selenium not measured in milk
        QCOMPARE(srl(db, 3), 10.8);   // the oil had no amount
    }

    // The food table is read once; a name finds the first food row of that name, compared as the
    // database compares the column (Latin letters regardless of case, nothing else folded).
    void aNameFindsTheFirstFoodOfThatName_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<double>("energy");
        QTest::newRow("first of two rows") << "豆浆" << 30.0;
        QTest::newRow("Latin case ignored") << "tofu" << 80.0;
        QTest::newRow("full-width letters differ") << "ＴＯＦＵ" << 0.0;
        QTest::newRow("inner blank kept") << "豆 浆" << 0.0;
        QTest::newRow("control characters around") << "\x01豆浆\r\n" << 30.0;
    }
    void aNameFindsTheFirstFoodOfThatName() {
        QFETCH(QString, entry);
        QFETCH(double, energy);
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {seed(QStringLiteral("Foodnurti"),
                           {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("energy")},
                           {{QStringLiteral("03001"), QStringLiteral("豆浆"), QStringLiteral("30")},
                            {QStringLiteral("03002"), QStringLiteral("豆浆"), QStringLiteral("99")},
                            {QStringLiteral("03003"), QStringLiteral("TOFU"), QStringLiteral("80")},
                            {QStringLiteral("03004"), QStringLiteral("tofu"), QStringLiteral("70")}}),
                      days({QStringLiteral("1")}),
                      entries({{QStringLiteral("1"), entry, QStringLiteral("100")}})});
        runIntakeAnalysis();
        QCOMPARE(srl(db, 1), energy);
    }

    // Missing is not zero: what counted as 0 because it was missing is counted in the result.
    void missingDataIsCounted() {
        FixtureDb db(
            FixtureDb::Content::FixedRows,
            {foods(), days({QStringLiteral("1"), QStringLiteral("2")}),
             entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("250")}, // no Se
                      {QStringLiteral("2"), QStringLiteral("牛奶"), QStringLiteral("250")}, // no Se
                      {QStringLiteral("1"), QStringLiteral("花生油"), QString()},           // no weight
                      {QStringLiteral("1"), QStringLiteral("稻米"), QStringLiteral("100")},
                      {QStringLiteral("2"), QStringLiteral("桂花糕"), QStringLiteral("80")}, // unknown
                      {QStringLiteral("2"), QString(), QStringLiteral("80")}})});            // no name
        const AnalysisResult r = runIntakeAnalysis();
        QCOMPARE(r.entries, 6);
        QCOMPARE(r.unknownFoods, 2);
        QCOMPARE(r.withoutAmount, 1);
        // Milk and the oil lack the vitamins; the oil lacks protein, carbohydrate and selenium too.
        QCOMPARE(r.missingValues[0], 0);  // energy
        QCOMPARE(r.missingValues[1], 1);  // protein: the oil
        QCOMPARE(r.missingValues[3], 1);  // carbohydrate: the oil
        QCOMPARE(r.missingValues[4], 4);  // vitamin A: nobody measured it here
        QCOMPARE(r.missingValues[13], 3); // selenium: milk twice and the oil
        const MissingDataNotes notes = missingDataNotes(r);
        QCOMPARE(notes.unknownFoods, QStringLiteral("2 条记录的食物不在食物成分表中，按 0 计。"));
        QCOMPARE(notes.withoutAmount, QStringLiteral("1 条记录没有填写重量，按 0 计。"));
        QVERIFY(notes.missingValues.contains(QStringLiteral("蛋白质 1 条，碳水化合物 1 条，维生素A 4 条")));
        QVERIFY(notes.missingValues.endsWith(QStringLiteral("硒 3 条。")));
        QVERIFY(!notes.missingValues.contains(QStringLiteral("能量")));
    }

    void nothingMissingGivesNoNotes() {
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {foods(), days({QStringLiteral("1")}),
                      entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("100")}})});
        db.exec(QStringLiteral(
            "update Foodnurti set vita=1,vite=1,vitc=1,vitb1=1,vitb2=1,vitpp=1,fe=1,zn=1,se=1"));
        const MissingDataNotes notes = missingDataNotes(runIntakeAnalysis());
        QVERIFY(notes.unknownFoods.isEmpty());
        QVERIFY(notes.withoutAmount.isEmpty());
        QVERIFY(notes.missingValues.isEmpty());
    }

    void daysWithoutFoodsStillDivide() {
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {foods(), days({QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4")}),
                      entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("300")}})});
        const AnalysisResult r = runIntakeAnalysis();
        QCOMPARE(r.days, 3);
        QCOMPARE(srl(db, 1), 65.0);
    }

    // The analysis writes the upper levels of the stored category afresh (a file saved before there
    // were any, or a category changed since): vitamin A has one for 育龄 and for no category, none for
    // 孕妇; a stale figure is replaced.
    void upperLevelsOfTheStoredCategory_data() {
        QTest::addColumn<QString>("category"); // "-": null
        QTest::addColumn<double>("vitaminA");  // -1: none
        QTest::newRow("育龄") << "育龄" << 3000.0;
        QTest::newRow("孕妇") << "孕妇" << -1.0;
        QTest::newRow("no category") << "-" << 3000.0;
    }
    void upperLevelsOfTheStoredCategory() {
        QFETCH(QString, category);
        QFETCH(double, vitaminA);
        FixtureDb db;
        if (category != QLatin1String("-"))
            db.exec(QStringLiteral("update personinf set csjd=:c"), {{QStringLiteral("c"), category}});
        db.exec(QStringLiteral("update lsyysfx set ul=1"));
        runIntakeAnalysis();
        const nc::data::Value a = db.scalar(QStringLiteral("select ul from lsyysfx where id=5"));
        QCOMPARE(a.isNull(), vitaminA < 0);
        if (!a.isNull())
            QCOMPARE(a.toReal(), vitaminA);
        QCOMPARE(db.scalar(QStringLiteral("select ul from lsyysfx where id=11")).toReal(), 2000.0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from lsyysfx where ul is null")).toInteger(),
                 vitaminA < 0 ? 11 : 10);
    }

    void comparisonOnlyWhereThereIsAReference() {
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {foods(), days({QStringLiteral("1")}),
                      entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("1000")}})});
        db.exec(QStringLiteral("update lsyysfx set ckl=2000 where id=1"));
        db.exec(QStringLiteral("update lsyysfx set ckl=0, cz=-5, dris=95 where id=3"));
        db.exec(QStringLiteral("update lsyysfx set ckl=800 where id=11"));
        runIntakeAnalysis();
        QCOMPARE(db.scalar(QStringLiteral("select cz from lsyysfx where id=1")).toReal(), -1350.0);
        QCOMPARE(db.scalar(QStringLiteral("select dris from lsyysfx where id=1")).toReal(), 32.5);
        QCOMPARE(db.scalar(QStringLiteral("select dris from lsyysfx where id=11")).toReal(), 133.75);
        QCOMPARE(db.scalar(QStringLiteral("select cz from lsyysfx where id=3")).toReal(), -5.0);
        QCOMPARE(db.scalar(QStringLiteral("select dris from lsyysfx where id=3")).toReal(), 95.0);
    }

    void energySplitOfTheStoredIntakes_data() {
        QTest::addColumn<QString>("food");
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("f");
        QTest::addColumn<double>("c");
        QTest::newRow("milk") << "牛奶" << 20.24 << 49.69 << 30.06;
        QTest::newRow("oil: fat only") << "花生油" << 0.0 << 100.0 << 0.0;
        QTest::newRow("unknown food: nothing") << "无此食物" << 0.0 << 0.0 << 0.0;
    }
    void energySplitOfTheStoredIntakes() {
        QFETCH(QString, food);
        QFETCH(double, p);
        QFETCH(double, f);
        QFETCH(double, c);
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {foods(), days({QStringLiteral("1")}),
                      entries({{QStringLiteral("1"), food, QStringLiteral("100")}})});
        runIntakeAnalysis();
        QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=1")).toReal(), p);
        QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=2")).toReal(), f);
        QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=3")).toReal(), c);
    }

    void foodsWithoutDaysAreRefused() {
        FixtureDb db(
            FixtureDb::Content::FixedRows,
            {foods(), entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("100")}})});
        db.exec(QStringLiteral("update lsyysfx set srl=7"));
        try {
            runIntakeAnalysis();
            QFAIL("an analysis without days must not divide");
        } catch (const nc::data::Error& e) {
            QVERIFY(e.text().contains(QStringLiteral("没有任何天次")));
        }
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from lsyysfx where srl=7")).toInteger(), 14);
    }

    // A failure at any statement undoes the whole run, except at the comparison: that one is undone
    // alone and reported in the result, and the intakes and the split are stored all the same.
    void failureHalfWay() {
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {foods(), days({QStringLiteral("1")}),
                      entries({{QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("100")}})});
        const auto earlierResults = [&db] {
            db.exec(QStringLiteral("update lsyysfx set srl=7, ckl=100, cz=1, dris=2"));
            db.exec(QStringLiteral("update sdrn set value1=7"));
        };
        earlierResults();
        AnalysisResult r;
        int comparisonFailures = 0;
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&db] { return databaseContents(db.connection(), {"lsyysfx", "sdrn"}); };
        sweep.afterRun = [&](int, RunOutcome outcome) {
            if (outcome != RunOutcome::Recovered)
                return;
            ++comparisonFailures;
            QVERIFY(!r.comparisonError.isEmpty());
            QCOMPARE(
                db.scalar(QStringLiteral("select count(*) from lsyysfx where cz=1 and dris=2")).toInteger(),
                14);
            QCOMPARE(srl(db, 1), 65.0);
            QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=2")).toReal(), 49.69);
            earlierResults(); // the next run starts from the same results
        };
        QVERIFY(sweep.run([&] {
            r = runIntakeAnalysis();
            return r.comparisonFailed ? RunOutcome::Recovered : RunOutcome::Completed;
        }));
        QCOMPARE(comparisonFailures, 1);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from lsyysfx where cz=1 or dris=2")).toInteger(),
                 0);
        QCOMPARE(srl(db, 1), 65.0);
    }
};

QTEST_GUILESS_MAIN(TestIntakeAnalysis)
#include "tst_intake_analysis.moc"
