// The diet record's days and food entries, and recipes saved from and loaded into a day.

#include "data/errors.h"
#include "diet/diet_record.h"
#include "diet/recipe_store.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"

#include <QTest>

using namespace nc::diet;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixedClock;
using nc::test::FixtureDb;
using nc::test::RunOutcome;
using nc::test::seed;
using Add = DietRecord::AddFood;

namespace {

QList<nc::data::SeedTable> foods() {
    return {seed(QStringLiteral("Foodnurti"),
                 {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("foodkind")},
                 {{QStringLiteral("01001"), QStringLiteral("小麦"), QStringLiteral("01")},
                  {QStringLiteral("01002"), QStringLiteral("稻米"), QStringLiteral("01")},
                  {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("10")},
                  {QStringLiteral("10002"), QStringLiteral("酸奶\"原味\""), QStringLiteral("10")}})};
}

QList<int> dayNumbers(FixtureDb& db) {
    QList<int> out;
    nc::data::Query q(&db.connection());
    q.setSql(QStringLiteral("select tsid from ts order by tsid"));
    q.open();
    for (q.first(); !q.eof(); q.next())
        out << int(q.field(0).toInteger());
    return out;
}

} // namespace

class TestDietRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dayNumbersLeaveGaps() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        QVERIFY(!r.hasDays());
        for (int i = 0; i < 4; ++i)
            r.addDay();
        QCOMPARE(dayNumbers(db), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(r.currentDay(), 4);
        r.days().moveTo(1);
        r.deleteCurrentDay();
        QCOMPARE(dayNumbers(db), (QList<int>{1, 3, 4}));
        QCOMPARE(r.currentDay(), 4); // the cursor moves one day on after the deletion
        r.addDay();
        QCOMPARE(dayNumbers(db), (QList<int>{1, 3, 4, 5}));
        r.days().last();
        r.deleteCurrentDay();
        r.addDay();
        QCOMPARE(dayNumbers(db), (QList<int>{1, 3, 4, 5}));
    }

    void deletingADayRemovesItsFoods() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        r.addDay();
        QCOMPARE(r.addFood(QStringLiteral("牛奶"), QStringLiteral("250")), Add::Added);
        QCOMPARE(r.addFood(QStringLiteral("牛奶"), QStringLiteral("250")), Add::Added); // never merged
        r.addDay();
        QCOMPARE(r.addFood(QStringLiteral("稻米"), QStringLiteral("150")), Add::Added);
        QCOMPARE(r.foods().recordCount(), 1);
        r.days().first();
        QCOMPARE(r.foods().recordCount(), 2);
        r.deleteCurrentDay();
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from foodcheck where tc=1")).toInteger(), 0);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 1);
        QCOMPARE(r.currentDay(), 2);
        QCOMPARE(r.foods().recordCount(), 1);

        r.deleteCurrentDay(); // the only day left
        QVERIFY(!r.hasDays());
        QCOMPARE(r.currentDay(), 0);
        QVERIFY(r.foods().isEmpty());
        r.deleteCurrentDay(); // nothing to delete
        r.addDay();
        QCOMPARE(dayNumbers(db), QList<int>{1});
    }

    // A failure at any statement of a day's deletion keeps the day and its foods, in the database
    // and on screen; once nothing fails, both go. The foods list failing to follow the days list
    // half-way is said by the list itself and does not stop the deletion.
    void failedDayDeletionKeepsDayAndFoods() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        r.addDay();
        r.addFood(QStringLiteral("牛奶"), QStringLiteral("250"));
        const auto secondDay = [&r] {
            r.addDay();
            r.addFood(QStringLiteral("稻米"), QStringLiteral("150"));
            r.addFood(QStringLiteral("小麦"), QStringLiteral("50"));
        };
        secondDay();
        bool followFailed = false;
        QObject::connect(&r.foods(), &nc::data::DataSet::failed, [&followFailed] { followFailed = true; });
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] { return databaseContents(db.connection(), {"ts", "foodcheck"}); };
        sweep.afterRun = [&](int, RunOutcome outcome) {
            if (outcome == RunOutcome::Recovered) { // deleted, and the list shows the day now current
                QCOMPARE(dayNumbers(db), QList<int>{1});
                QCOMPARE(r.currentDay(), 1);
                QCOMPARE(r.foods().recordCount(), 1);
                secondDay(); // for the next run
                return;
            }
            QCOMPARE(dayNumbers(db), (QList<int>{1, 2}));
            QCOMPARE(r.currentDay(), 2);
            QCOMPARE(r.foods().recordCount(), 2);
        };
        QVERIFY(sweep.run([&] {
            followFailed = false;
            r.deleteCurrentDay();
            return followFailed ? RunOutcome::Recovered : RunOutcome::Completed;
        }));
        QCOMPARE(dayNumbers(db), QList<int>{1});
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 1);
    }

    // The database itself refusing to delete the entries, after the day row has gone.
    void refusedDayDeletionKeepsDayAndFoods() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        r.addDay();
        r.addFood(QStringLiteral("牛奶"), QStringLiteral("250"));
        db.exec(QStringLiteral("create trigger client.keep before delete on foodcheck begin select "
                               "raise(abort, 'refused'); end"));
        QVERIFY_THROWS_EXCEPTION(nc::data::DbError, r.deleteCurrentDay());
        QCOMPARE(dayNumbers(db), QList<int>{1});
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 1);
        QCOMPARE(r.currentDay(), 1);
        QCOMPARE(r.foods().recordCount(), 1);
    }

    // clang-format off
    void addFoodChecksInOrder_data() {
        QTest::addColumn<bool>("withDay");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<int>("result");
        QTest::newRow("no days comes first") << false << "牛奶" << "250" << int(Add::NoDays);
        QTest::newRow("empty name") << true << "" << "250" << int(Add::EmptyName);
        QTest::newRow("blank name") << true << "   " << "250" << int(Add::EmptyName);
        QTest::newRow("unknown food") << true << "不存在" << "250" << int(Add::UnknownFood);
        QTest::newRow("unknown food before weight") << true << "不存在" << "" << int(Add::UnknownFood);
        QTest::newRow("empty weight") << true << "牛奶" << "" << int(Add::BadWeight);
        QTest::newRow("lone point") << true << "牛奶" << "." << int(Add::BadWeight);
        QTest::newRow("several points") << true << "牛奶" << "1.2.3" << int(Add::BadWeight);
        QTest::newRow("pasted letters") << true << "牛奶" << "2两" << int(Add::BadWeight);
        QTest::newRow("pasted negative") << true << "牛奶" << "-5" << int(Add::BadWeight);
        QTest::newRow("zero is kept") << true << "牛奶" << "0" << int(Add::Added);
        QTest::newRow("5000 g is kept") << true << "牛奶" << "5000" << int(Add::Added);
        QTest::newRow("just over 5000 g") << true << "牛奶" << "5000.01" << int(Add::WeightOutOfRange);
        QTest::newRow("10^20 g") << true << "牛奶" << "100000000000000000000" << int(Add::WeightOutOfRange);
        QTest::newRow("unknown food before range") << true << "不存在" << "9000" << int(Add::UnknownFood);
        QTest::newRow("blanks around the name") << true << "  牛奶 " << "100" << int(Add::Added);
        QTest::newRow("another category") << true << "小麦" << "100" << int(Add::Added);
        QTest::newRow("quotes in the name") << true << "酸奶\"原味\"" << "125" << int(Add::Added);
        QTest::newRow("names ignore case") << true << "牛奶" << "100.5" << int(Add::Added);
    }
    // clang-format on
    void addFoodChecksInOrder() {
        QFETCH(bool, withDay);
        QFETCH(QString, name);
        QFETCH(QString, weight);
        QFETCH(int, result);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        if (withDay)
            r.addDay();
        QCOMPARE(int(r.addFood(name, weight)), result);
        const int stored = result == int(Add::Added) ? 1 : 0;
        QCOMPARE(db.count(QStringLiteral("foodcheck")), stored);
        QCOMPARE(r.foods().rowCount(), stored); // nothing half-entered stays in the grid
        if (stored) {
            QCOMPARE(r.foods().field(QStringLiteral("swname")).toText(), name.trimmed());
            QCOMPARE(r.foods().field(QStringLiteral("tc")).toInteger(), 1);
            double w = 0;
            nc::data::parseReal(weight, &w);
            QCOMPARE(r.foods().field(QStringLiteral("zl")).toReal(), w);
        }
    }

    void deleteFood() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        r.addDay();
        QVERIFY(!r.deleteCurrentFood());
        r.addFood(QStringLiteral("牛奶"), QStringLiteral("250"));
        r.addFood(QStringLiteral("稻米"), QStringLiteral("150"));
        r.foods().first();
        QVERIFY(r.deleteCurrentFood());
        QCOMPARE(db.scalar(QStringLiteral("select swname from foodcheck")).toText(), QStringLiteral("稻米"));
    }

    void categoriesAndTheirFoods() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        const QStringList items = DietRecord::categoryItems();
        QCOMPARE(items.size(), 14);
        QCOMPARE(items.first(), QStringLiteral("01 谷类及制品"));
        QCOMPARE(DietRecord::foodNamesOfCategory(items.first()),
                 (QStringList{QStringLiteral("小麦"), QStringLiteral("稻米")}));
        QCOMPARE(DietRecord::foodNamesOfCategory(QStringLiteral(" 10 乳类及制品")).size(), 2);
        QVERIFY(DietRecord::foodNamesOfCategory(QStringLiteral("99 无")).isEmpty());
        QCOMPARE(DietRecord::deleteDayQuestion(12), QStringLiteral("确定要删除 第12天 食谱吗?"));
    }

    void recipesSaveAndLoad() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        const FixedClock clock(QDate(2026, 12, 10), QTime(8, 0), FixedClock::Reading::MillisecondOn);
        DietRecord r;
        r.open();
        r.addDay();
        r.addFood(QStringLiteral("牛奶"), QStringLiteral("250"));
        r.addFood(QStringLiteral("稻米"), QStringLiteral("150"));
        QVERIFY(!saveRecipe(QStringLiteral("   "), r.foods()));
        QCOMPARE(db.count(QStringLiteral("sps")), 0);
        QVERIFY(saveRecipe(QStringLiteral(" 早餐 "), r.foods()));
        r.addFood(QStringLiteral("小麦"), QStringLiteral("50"));
        QVERIFY(saveRecipe(QStringLiteral("早餐"), r.foods())); // adds to the same recipe
        QCOMPARE(recipeNames(), QStringList{QStringLiteral("早餐")});
        QCOMPARE(db.count(QStringLiteral("sps")), 5);
        QCOMPARE(db.scalar(QStringLiteral("select sptime from sps order by sptime")).toText(),
                 QStringLiteral("2026-12-10 08:00:00.000"));

        // An empty day stores nothing, and its name is not listed.
        r.addDay();
        QVERIFY(saveRecipe(QStringLiteral("空"), r.foods()));
        QCOMPARE(recipeNames(), QStringList{QStringLiteral("早餐")});

        // Loading appends in saved order after the day's entries; loading again adds them again.
        r.addFood(QStringLiteral("牛奶"), QStringLiteral("100"));
        QCOMPARE(loadRecipe(QStringLiteral("早餐"), r.foods(), r.currentDay()), 5);
        QCOMPARE(r.foods().recordCount(), 6);
        QStringList names;
        for (int i = 0; i < r.foods().rowCount(); ++i) {
            r.foods().moveTo(i);
            names << r.foods().field(QStringLiteral("swname")).toText();
        }
        QCOMPARE(names,
                 (QStringList{QStringLiteral("牛奶"), QStringLiteral("牛奶"), QStringLiteral("稻米"),
                              QStringLiteral("牛奶"), QStringLiteral("稻米"), QStringLiteral("小麦")}));
        loadRecipe(QStringLiteral("早餐"), r.foods(), r.currentDay());
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from foodcheck where tc=2")).toInteger(), 11);

        // The recipe is independent of the day it came from.
        r.days().first();
        r.deleteCurrentDay();
        QCOMPARE(db.count(QStringLiteral("sps")), 5);
    }

    // A failure at any statement of a load adds nothing and shows the stored day again.
    void failedLoadAddsNothing() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values "
                               "('午餐', '2026-12-10 12:00:00.000', '稻米', 150), "
                               "('午餐', '2026-12-10 12:00:00.001', '牛奶', 200)"));
        DietRecord r;
        r.open();
        r.addDay();
        r.addFood(QStringLiteral("小麦"), QStringLiteral("50"));
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] { return databaseContents(db.connection(), {"ts", "foodcheck", "sps"}); };
        sweep.afterRun = [&](int, RunOutcome) {
            QCOMPARE(r.foods().rowCount(), 1);
            QCOMPARE(r.foods().state(), nc::data::DataSet::State::Browse);
        };
        QVERIFY(sweep.run([&] {
            loadRecipe(QStringLiteral("午餐"), r.foods(), r.currentDay());
            return RunOutcome::Completed;
        }));
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 3);
        QCOMPARE(r.foods().rowCount(), 3);
    }

    // A failure at any statement of saving a recipe leaves the saved recipes as they were, the day's
    // entries included; once nothing fails, every line is stored.
    void failedSaveStoresNothing() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values "
                               "('早餐', '2026-12-09 08:00:00.000', '牛奶', 250)"));
        const FixedClock clock(QDate(2026, 12, 10), QTime(12, 0), FixedClock::Reading::MillisecondOn);
        DietRecord r;
        r.open();
        r.addDay();
        r.addFood(QStringLiteral("稻米"), QStringLiteral("150"), QStringLiteral("午餐"));
        r.addFood(QStringLiteral("牛奶"), QStringLiteral("200"), QStringLiteral("午餐"));
        r.addFood(QStringLiteral("小麦"), QStringLiteral("50"), QStringLiteral("晚餐"));
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] { return databaseContents(db.connection(), {"sps", "ts", "foodcheck"}); };
        sweep.afterRun = [&](int, RunOutcome) {
            QCOMPARE(r.foods().state(), nc::data::DataSet::State::Browse);
            QCOMPARE(r.foods().rowCount(), 3);
        };
        QVERIFY(sweep.run([&] {
            return saveRecipe(QStringLiteral("午餐"), r.foods()) ? RunOutcome::Completed : RunOutcome::Failed;
        }));
        QVERIFY(sweep.brokenRuns() >= 3); // at least one statement per line
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from sps where spname='午餐'")).toInteger(), 3);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from sps where spname='早餐'")).toInteger(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDietRecord)
#include "tst_diet_record.moc"
