// Entering foods fast: ranked matches by name or pinyin initials, the foods used lately first,
// household portions turned into grams of the edible part, meals stored and ordered, recipes keeping
// both, and the update that brings an older database file up to holding them.

#include "data/connection.h"
#include "data/database_builder.h"
#include "data/database_update.h"
#include "data/meals_portions_update.h"
#include "data/query.h"
#include "diet/diet_record.h"
#include "diet/food_search.h"
#include "diet/portions.h"
#include "diet/recipe_store.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace nc::diet;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixtureDb;
using nc::test::RunOutcome;
using nc::test::seed;

namespace {

// The program's update steps up to the one that adds meals and portions.
QList<nc::data::DatabaseUpdate> mealsAndPortionsSteps() {
    QList<nc::data::DatabaseUpdate> steps;
    for (const nc::data::DatabaseUpdate& s : nc::data::databaseUpdates())
        if (s.version <= 2)
            steps << s;
    return steps;
}

// A few foods as the table names them: varieties in brackets, representative values, aliases.
FoodIndex smallIndex() {
    return FoodIndex({{QStringLiteral("红香蕉苹果"), QStringLiteral("HXJPG")},
                      {QStringLiteral("香蕉（红皮）（海南）"), QStringLiteral("XJ")},
                      {QStringLiteral("香蕉［甘蕉］"), QStringLiteral("XJ")},
                      {QStringLiteral("番茄（整个，罐头）"), QStringLiteral("FQ")},
                      {QStringLiteral("番茄［西红柿］"), QStringLiteral("FQ")},
                      {QStringLiteral("鸡蛋白"), QStringLiteral("JDB")},
                      {QStringLiteral("鸡蛋（白皮）"), QStringLiteral("JD")},
                      {QStringLiteral("鸡蛋（代表值）"), QStringLiteral("JD")},
                      {QStringLiteral("馒头"), QStringLiteral("MT")},
                      {QStringLiteral("馒头（标准粉）"), QStringLiteral("MT")},
                      {QStringLiteral("面条（生，代表值）"), QStringLiteral("MT")},
                      {QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("MF")},
                      {QStringLiteral("小米粥"), QStringLiteral("XMZ")},
                      {QStringLiteral("VC饮料"), QStringLiteral("VCYL")}});
}

QList<nc::data::SeedTable> recordFoods() {
    return {seed(QStringLiteral("Foodnurti"),
                 {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("dm"),
                  QStringLiteral("foodish"), QStringLiteral("foodkind")},
                 {{QStringLiteral("11001"), QStringLiteral("鸡蛋（代表值）"), QStringLiteral("JD"),
                   QStringLiteral("87"), QStringLiteral("11")},
                  {QStringLiteral("06001"), QStringLiteral("苹果（代表值）"), QStringLiteral("PG"),
                   QStringLiteral("85"), QStringLiteral("06")},
                  {QStringLiteral("01001"), QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("MF"),
                   QStringLiteral("100"), QStringLiteral("01")},
                  {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("NN"), QString(),
                   QStringLiteral("10")}})};
}

QStringList rows(nc::data::Connection& c, const QString& sql) {
    QStringList out;
    nc::data::Query q(&c);
    q.setSql(sql);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
        QStringList cells;
        for (int c = 0; c < q.fieldNames().size(); ++c)
            cells << q.field(c).toText();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QStringList rows(FixtureDb& db, const QString& sql) {
    return rows(db.connection(), sql);
}

// The columns of a table, in order, with their declared types and collations left aside.
QString columns(nc::data::Connection& c, const QString& table) {
    QStringList names;
    for (const QString& row : rows(c, QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        names << row.section(QLatin1Char('|'), 1, 1);
    return names.join(QLatin1Char(' '));
}

} // namespace

class TestFoodEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void tiers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("initials");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tier");
        const int exact = int(MatchTier::Exact), base = int(MatchTier::BaseName),
                  prefix = int(MatchTier::Prefix), contains = int(MatchTier::Contains),
                  none = int(MatchTier::None);
        QTest::newRow("whole name") << "馒头" << "MT" << "馒头" << exact;
        QTest::newRow("blanks around") << "馒头" << "MT" << " 馒头 " << exact;
        QTest::newRow("name before bracket") << "番茄［西红柿］" << "FQ" << "番茄" << base;
        QTest::newRow("name before half-width bracket") << "鸡蛋(白皮)" << "JD" << "鸡蛋" << base;
        QTest::newRow("start of name") << "鸡蛋白" << "JDB" << "鸡蛋" << prefix;
        QTest::newRow("inside name") << "红香蕉苹果" << "HXJPG" << "香蕉" << contains;
        QTest::newRow("alias in brackets") << "番茄［西红柿］" << "FQ" << "西红柿" << contains;
        QTest::newRow("initials") << "馒头" << "MT" << "MT" << exact;
        QTest::newRow("initials lower case") << "馒头" << "MT" << "mt" << exact;
        QTest::newRow("start of initials") << "小米粥" << "XMZ" << "xm" << prefix;
        QTest::newRow("inside initials") << "小米粥" << "XMZ" << "MZ" << contains;
        QTest::newRow("Latin in the name") << "VC饮料" << "VCYL" << "vc饮" << prefix;
        QTest::newRow("Chinese never compared with initials") << "馒头" << "馒" << "馒" << prefix;
        QTest::newRow("no match") << "馒头" << "MT" << "米" << none;
        QTest::newRow("empty text") << "馒头" << "MT" << "  " << none;
        QTest::newRow("food without initials") << "馒头" << "" << "MT" << none;
    }
    // clang-format on
    void tiers() {
        QFETCH(QString, name);
        QFETCH(QString, initials);
        QFETCH(QString, text);
        QFETCH(int, tier);
        QCOMPARE(int(matchTier(name, initials, text)), tier);
    }

    // The food she means comes first: the complaints that led to ranking, and the order within a tier.
    // clang-format off
    void ranking_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QStringList>("first");
        QTest::newRow("banana, not the apple named after it") << QStringLiteral("香蕉") << QStringList()
            << QStringList{QStringLiteral("香蕉［甘蕉］"), QStringLiteral("香蕉（红皮）（海南）"),
                           QStringLiteral("红香蕉苹果")};
        QTest::newRow("tomato, not the canned one") << QStringLiteral("番茄") << QStringList()
            << QStringList{QStringLiteral("番茄［西红柿］"), QStringLiteral("番茄（整个，罐头）")};
        QTest::newRow("egg: representative value, then varieties, then the white")
            << QStringLiteral("鸡蛋") << QStringList()
            << QStringList{QStringLiteral("鸡蛋（代表值）"), QStringLiteral("鸡蛋（白皮）"),
                           QStringLiteral("鸡蛋白")};
        QTest::newRow("initials: exact before prefix, shorter first") << QStringLiteral("MT") << QStringList()
            << QStringList{QStringLiteral("面条（生，代表值）"), QStringLiteral("馒头"),
                           QStringLiteral("馒头（标准粉）")};
        QTest::newRow("used lately first within the tier")
            << QStringLiteral("MT") << QStringList{QStringLiteral("馒头（标准粉）")}
            << QStringList{QStringLiteral("馒头（标准粉）"), QStringLiteral("面条（生，代表值）"),
                           QStringLiteral("馒头")};
        QTest::newRow("used lately never above a better tier")
            << QStringLiteral("鸡蛋") << QStringList{QStringLiteral("鸡蛋白")}
            << QStringList{QStringLiteral("鸡蛋（代表值）"), QStringLiteral("鸡蛋（白皮）"),
                           QStringLiteral("鸡蛋白")};
        QTest::newRow("empty text offers the recent foods in the table") << QString()
            << QStringList{QStringLiteral("小米粥"), QStringLiteral("不在表中的食物"), QStringLiteral("馒头")}
            << QStringList{QStringLiteral("小米粥"), QStringLiteral("馒头")};
    }
    // clang-format on
    void ranking() {
        QFETCH(QString, text);
        QFETCH(QStringList, recent);
        QFETCH(QStringList, first);
        const QStringList got = smallIndex().match(text, RecentFoods(recent), 50);
        QCOMPARE(got.mid(0, first.size()), first);
    }

    void rankingKeepsToTheLimit() {
        const FoodIndex index = smallIndex();
        QCOMPARE(index.match(QStringLiteral("M"), {}, 2).size(), 2);
        QCOMPARE(index.match(QStringLiteral("M"), {}, 2), index.match(QStringLiteral("M"), {}, 50).mid(0, 2));
    }

    void categoryListOrder() {
        const QStringList table = {QStringLiteral("鸡蛋白"), QStringLiteral("鸡蛋（白皮）"),
                                   QStringLiteral("鸡蛋（代表值）"), QStringLiteral("鸭蛋")};
        QCOMPARE(rankNames(table, {}),
                 (QStringList{QStringLiteral("鸡蛋（代表值）"), QStringLiteral("鸭蛋"),
                              QStringLiteral("鸡蛋白"), QStringLiteral("鸡蛋（白皮）")}));
        QCOMPARE(rankNames(table, RecentFoods({QStringLiteral("鸭蛋"), QStringLiteral("鸡蛋白")})),
                 (QStringList{QStringLiteral("鸭蛋"), QStringLiteral("鸡蛋白"),
                              QStringLiteral("鸡蛋（代表值）"), QStringLiteral("鸡蛋（白皮）")}));
    }

    // This client's entries newest first, then saved recipes newest first, each name once.
    void recentFoodsFromTheRecord() {
        FixtureDb db(FixtureDb::Content::FixedRows, recordFoods());
        db.exec(QStringLiteral(
            "insert into foodcheck (tc, swname, zl) values (1, '牛奶', 250), (1, '米饭（蒸，代表值）', 150), "
            "(2, '牛奶', 200)"));
        db.exec(QStringLiteral(
            "insert into sps (spname, sptime, swname, zl) values ('早餐', '2026-01-01 08:00:00.000', "
            "'苹果（代表值）', 200), ('早餐', '2026-01-02 08:00:00.000', '鸡蛋（代表值）', 50), "
            "('早餐', '2026-01-03 08:00:00.000', '牛奶', 50)"));
        QCOMPARE(RecentFoods::load().names(),
                 (QStringList{QStringLiteral("牛奶"), QStringLiteral("米饭（蒸，代表值）"),
                              QStringLiteral("鸡蛋（代表值）"), QStringLiteral("苹果（代表值）")}));
        QCOMPARE(RecentFoods::load().rank(QStringLiteral("鸡蛋（代表值）")), 2);
        QCOMPARE(RecentFoods::load().rank(QStringLiteral("小麦")), -1);
    }

    // The whole shipped table: the foods a counsellor types most often come first.
    // clang-format off
    void shippedTableRanking_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::newRow("香蕉") << "香蕉" << "香蕉";
        QTest::newRow("番茄") << "番茄" << "番茄";
        QTest::newRow("鸡蛋") << "鸡蛋" << "鸡蛋（代表值）";
        QTest::newRow("米饭") << "米饭" << "米饭（蒸，代表值）";
        QTest::newRow("苹果") << "苹果" << "苹果（代表值）";
        QTest::newRow("JD") << "JD" << "鸡蛋（代表值）";
    }
    // clang-format on
    void shippedTableRanking() {
        QFETCH(QString, text);
        QFETCH(QString, first);
        static FixtureDb* db = nullptr;
        if (!db)
            db = new FixtureDb(FixtureDb::Content::ShippedSeeds); // one table for all rows; lives to the end
        const QStringList got = FoodIndex::load().match(text, {}, 5);
        QVERIFY2(!got.isEmpty(), qPrintable(text));
        // The first hit is the food itself (under whatever brackets the table gives its alias).
        QVERIFY2(baseName(got.first()) == baseName(first) &&
                     (got.first() == first || first == baseName(first)),
                 qPrintable(got.join(QLatin1Char(' '))));
    }

    // clang-format off
    void portionCoverage_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("food");
        QTest::addColumn<bool>("covers");
        QTest::newRow("same name") << "小米粥" << "小米粥" << true;
        QTest::newRow("variety in brackets") << "鸡蛋" << "鸡蛋（白皮）" << true;
        QTest::newRow("variety in square brackets") << "香蕉" << "香蕉［甘蕉］" << true;
        QTest::newRow("variety in half-width brackets") << "鸡蛋" << "鸡蛋(土鸡)" << true;
        QTest::newRow("another food starting alike") << "鸡蛋" << "鸡蛋白" << false;
        QTest::newRow("another food containing it") << "苹果" << "红香蕉苹果" << false;
        QTest::newRow("whole bracketed name") << "猪油（炼）" << "猪油（炼）" << true;
        QTest::newRow("empty key") << "" << "鸡蛋" << false;
    }
    // clang-format on
    void portionCoverage() {
        QFETCH(QString, key);
        QFETCH(QString, food);
        QFETCH(bool, covers);
        QCOMPARE(portionCovers(key, food), covers);
    }

    void portionsOfAFood() {
        const PortionTable table({{QStringLiteral("鸡蛋"), {QStringLiteral("个"), 60, false}},
                                  {QStringLiteral("鸡蛋（土鸡）"), {QStringLiteral("个"), 45, false}},
                                  {QStringLiteral("鸡蛋"), {QStringLiteral("盒"), 600, false}},
                                  {QStringLiteral("鸡"), {QStringLiteral("只"), 1000, false}}});
        QCOMPARE(table.portionsOf(QStringLiteral("鸡蛋（白皮）")),
                 (QList<Portion>{{QStringLiteral("个"), 60, false}, {QStringLiteral("盒"), 600, false}}));
        // The row naming the food most closely gives the weight of its unit.
        QCOMPARE(table.portionsOf(QStringLiteral("鸡蛋（土鸡）")),
                 (QList<Portion>{{QStringLiteral("个"), 45, false}, {QStringLiteral("盒"), 600, false}}));
        QVERIFY(table.portionsOf(QStringLiteral("鸡蛋白")).isEmpty());
    }

    void portionGramsOfTheEdiblePart_data() {
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("grams");
        QTest::addColumn<bool>("edible");
        QTest::addColumn<double>("share");
        QTest::addColumn<double>("stored");
        QTest::newRow("one bowl of rice") << 1.0 << 150.0 << true << 100.0 << 150.0;
        QTest::newRow("half a bowl") << 0.5 << 150.0 << true << 100.0 << 75.0;
        QTest::newRow("edible weight ignores the share") << 2.0 << 250.0 << true << 50.0 << 500.0;
        QTest::newRow("two eggs in their shells") << 2.0 << 60.0 << false << 87.0 << 104.4;
        QTest::newRow("one apple as bought") << 1.0 << 200.0 << false << 85.0 << 170.0;
        QTest::newRow("rounded to one decimal") << 1.0 << 10.0 << false << 87.55 << 8.8;
        QTest::newRow("none") << 0.0 << 60.0 << false << 87.0 << 0.0;
    }
    void portionGramsOfTheEdiblePart() {
        QFETCH(double, count);
        QFETCH(double, grams);
        QFETCH(bool, edible);
        QFETCH(double, share);
        QFETCH(double, stored);
        QCOMPARE(portionGrams(count, {QStringLiteral("个"), grams, edible}, share), stored);
    }

    void portionAndMealTexts() {
        QCOMPARE(portionText(2, QStringLiteral("个")), QStringLiteral("2个"));
        QCOMPARE(portionText(1.5, QStringLiteral("碗")), QStringLiteral("1.5碗"));
        QCOMPARE(meals().size(), 6);
        QCOMPARE(mealOrder(QStringLiteral("早餐")), 0);
        QCOMPARE(mealOrder(QStringLiteral("晚加餐")), 5);
        QCOMPARE(mealOrder(QString()), 6);
        QCOMPARE(mealOrder(QStringLiteral("夜宵")), 6);
    }

    // What an entry stores: grams of the edible part always; the portion and the meal beside them.
    void entriesStoreGramsPortionAndMeal() {
        FixtureDb db(FixtureDb::Content::FixedRows, recordFoods());
        DietRecord record;
        record.open();
        record.addDay();
        using A = DietRecord::AddFood;
        QCOMPARE(record.addFood(QStringLiteral("鸡蛋（代表值）"), QStringLiteral("2"), QStringLiteral("早餐"),
                                Portion{QStringLiteral("个"), 60, false}),
                 A::Added);
        QCOMPARE(record.addFood(QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("1.5"),
                                QStringLiteral("午餐"), Portion{QStringLiteral("碗"), 150, true}),
                 A::Added);
        // A food without an edible share counts whole; a portion of a bad count stores nothing.
        QCOMPARE(record.addFood(QStringLiteral("牛奶"), QStringLiteral("1"), QStringLiteral("早餐"),
                                Portion{QStringLiteral("杯"), 250, false}),
                 A::Added);
        QCOMPARE(record.addFood(QStringLiteral("牛奶"), QStringLiteral("."), QString(),
                                Portion{QStringLiteral("杯"), 250, true}),
                 A::BadWeight);
        QCOMPARE(record.addFood(QStringLiteral("苹果（代表值）"), QStringLiteral("120")), A::Added);
        QCOMPARE(rows(db, QStringLiteral("select swname, zl, portion, meal from foodcheck order by foodid")),
                 (QStringList{QStringLiteral("鸡蛋（代表值）|104.4|2个|早餐"),
                              QStringLiteral("米饭（蒸，代表值）|225|1.5碗|午餐"),
                              QStringLiteral("牛奶|250|1杯|早餐"), QStringLiteral("苹果（代表值）|120||")}));
        // The day reads by meal, in the order entered within a meal, unmarked entries last; the
        // entry just added is the current one.
        QStringList shown;
        for (int r = 0; r < record.foods().rowCount(); ++r)
            shown << record.foods().value(r, record.foods().fieldIndex(QStringLiteral("swname"))).toText();
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("鸡蛋（代表值）"), QStringLiteral("牛奶"),
                              QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("苹果（代表值）")}));
        QCOMPARE(record.foods().field(QStringLiteral("swname")).toText(), QStringLiteral("苹果（代表值）"));
        QCOMPARE(record.addFood(QStringLiteral("牛奶"), QStringLiteral("100"), QStringLiteral("早餐")),
                 A::Added);
        QCOMPARE(record.foods().currentRow(), 2);
        QCOMPARE(record.foods().field(QStringLiteral("swname")).toText(), QStringLiteral("牛奶"));
    }

    // A portion is held to the same 5000 g as a weight typed in grams, counted after the conversion:
    // a count well under 5000 can stand for more than that.
    // clang-format off
    void portionsWithinTheWeightBound_data() {
        QTest::addColumn<QString>("food");
        QTest::addColumn<QString>("count");
        QTest::addColumn<double>("unitGrams");
        QTest::addColumn<bool>("edible");
        QTest::addColumn<QString>("stored"); // empty: refused as out of range
        // 牛奶 has no edible share and counts whole: 20 × 250 = 5000 g.
        QTest::newRow("20 cups, 5000 g")       << "牛奶" << "20" << 250.0 << false << "5000";
        QTest::newRow("21 cups, 5250 g")       << "牛奶" << "21" << 250.0 << false << "";
        // Eggs as bought, 87 % edible: 95 × 60 × 0.87 = 4959 g; 96 × 60 × 0.87 = 5011.2 g.
        QTest::newRow("95 eggs, 4959 g")       << "鸡蛋（代表值）" << "95" << 60.0 << false << "4959";
        QTest::newRow("96 eggs, 5011.2 g")     << "鸡蛋（代表值）" << "96" << 60.0 << false << "";
        QTest::newRow("10^20 bowls")           << "米饭（蒸，代表值）" << "100000000000000000000" << 150.0 << true << "";
    }
    // clang-format on
    void portionsWithinTheWeightBound() {
        QFETCH(QString, food);
        QFETCH(QString, count);
        QFETCH(double, unitGrams);
        QFETCH(bool, edible);
        QFETCH(QString, stored);
        FixtureDb db(FixtureDb::Content::FixedRows, recordFoods());
        DietRecord record;
        record.open();
        record.addDay();
        using A = DietRecord::AddFood;
        QCOMPARE(record.addFood(food, count, QString(), Portion{QStringLiteral("份"), unitGrams, edible}),
                 stored.isEmpty() ? A::WeightOutOfRange : A::Added);
        QCOMPARE(rows(db, QStringLiteral("select zl from foodcheck")),
                 stored.isEmpty() ? QStringList() : QStringList{stored});
        QCOMPARE(record.foods().rowCount(), stored.isEmpty() ? 0 : 1);
    }

    void recipesKeepMealsAndPortions() {
        FixtureDb db(FixtureDb::Content::FixedRows, recordFoods());
        DietRecord record;
        record.open();
        record.addDay();
        record.addFood(QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("1"), QStringLiteral("午餐"),
                       Portion{QStringLiteral("碗"), 150, true});
        record.addFood(QStringLiteral("鸡蛋（代表值）"), QStringLiteral("1"), QStringLiteral("早餐"),
                       Portion{QStringLiteral("个"), 60, false});
        record.addFood(QStringLiteral("牛奶"), QStringLiteral("200"));
        QVERIFY(saveRecipe(QStringLiteral("一日三餐"), record.foods()));
        record.addDay();
        QCOMPARE(loadRecipe(QStringLiteral("一日三餐"), record.foods(), record.currentDay()), 3);
        QCOMPARE(
            rows(db, QStringLiteral(
                         "select swname, zl, portion, meal from foodcheck where tc=2 order by foodid")),
            (QStringList{QStringLiteral("鸡蛋（代表值）|52.2|1个|早餐"),
                         QStringLiteral("米饭（蒸，代表值）|150|1碗|午餐"), QStringLiteral("牛奶|200||")}));
    }

    // A file made before entries had meals and portions (the tables of version 0, its food table
    // already corrected by step 1, so it stands at version 1): the program's update up to step 2 adds
    // the columns and the shipped portions, after a backup copy, keeping every entry and recipe; the
    // file then holds what a new file holds in those tables. (Later steps have tests of their own.)
    void updateOfAnOlderFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromLatin1(nc::data::kDatabaseFileName));
        QList<nc::data::SeedTable> seeds;
        for (const nc::data::SeedTable& t : nc::data::readSeedFolder(
                 nc::test::sourceDir() + QStringLiteral("/tests/support/earlier_database")))
            if (t.table != QLatin1String("Foodnurti"))
                seeds << t;
        seeds << recordFoods();
        nc::data::createDatabase(
            path, nc::test::databasePassword(),
            nc::data::readTextFile(nc::test::sourceDir() +
                                   QStringLiteral("/tests/support/earlier_database/schema.sql")),
            seeds, 1);
        nc::data::Connection old(nc::data::connectionStringForFolder(dir.path()));
        nc::data::Connection::setCurrent(&old);
        for (const char* sql :
             {"insert into ts (tsid) values (1)",
              "insert into foodcheck (tc, swname, zl) values (1, '牛奶', 250)",
              "insert into sps (spname, sptime, swname, zl) values ('早餐', '2026-01-01', '牛奶', 250)"})
            old.exec(QString::fromUtf8(sql));

        // A failure at any statement leaves the file as it was; once nothing fails, it is updated.
        nc::data::UpdateOutcome outcome;
        FailureSweep sweep(old);
        sweep.snapshot = [&old] { return databaseContents(old); };
        sweep.afterRun = [&](int failing, RunOutcome) {
            if (failing == 1) { // the version read: the file is left to the windows to report
                QCOMPARE(outcome.status, nc::data::UpdateOutcome::Status::Unavailable);
                return;
            }
            QCOMPARE(outcome.status, nc::data::UpdateOutcome::Status::Failed);
            // The message names the step that failed: this one, or one after it.
            bool named = false;
            for (const nc::data::DatabaseUpdate& step : nc::data::databaseUpdates())
                named = named || (step.version >= 2 && outcome.message.contains(step.description));
            QVERIFY2(named, qPrintable(outcome.message));
        };
        QVERIFY(sweep.run([&] {
            outcome = nc::data::updateDatabase(old, mealsAndPortionsSteps());
            return outcome.status == nc::data::UpdateOutcome::Status::Updated ? RunOutcome::Completed
                                                                              : RunOutcome::Failed;
        }));
        QVERIFY(sweep.brokenRuns() > 4); // four new columns at least
        QVERIFY(QFileInfo::exists(outcome.backupPath));
        QCOMPARE(nc::data::databaseVersion(old), 2);
        QCOMPARE(rows(old, QStringLiteral("select foodid, tc, swname, zl, meal, portion from foodcheck")),
                 QStringList{QStringLiteral("1|1|牛奶|250||")});
        QCOMPARE(rows(old, QStringLiteral("select spname, swname, zl, meal, portion from sps")),
                 QStringList{QStringLiteral("早餐|牛奶|250||")});
        QCOMPARE(
            rows(old, QStringLiteral("select unit, grams, edible from foodportion where foodname='米饭'"))
                .first(),
            QStringLiteral("碗|150|1"));

        // The same tables and portions as a file made new.
        {
            FixtureDb fresh(FixtureDb::Content::FixedRows);
            for (const QString& table :
                 {QStringLiteral("foodcheck"), QStringLiteral("sps"), QStringLiteral("foodportion")})
                QCOMPARE(columns(old, table), columns(fresh.connection(), table));
            const QString portions =
                QStringLiteral("select foodname, unit, grams, edible from foodportion order by rowid");
            QCOMPARE(rows(old, portions), rows(fresh.connection(), portions));
        }
        nc::data::Connection::setCurrent(&old);

        // The diet record works on the updated file.
        DietRecord record;
        record.open();
        QCOMPARE(record.addFood(QStringLiteral("牛奶"), QStringLiteral("1"), QStringLiteral("早餐"),
                                Portion{QStringLiteral("杯"), 250, true}),
                 DietRecord::AddFood::Added);
        nc::data::Connection::setCurrent(nullptr);
    }

    // A counsellor's own portions are never replaced, and a file already holding the columns keeps them.
    void updateKeepsWhatIsThere() {
        FixtureDb db(FixtureDb::Content::FixedRows, recordFoods());
        db.exec(QStringLiteral("delete from foodportion where foodname<>'米饭'"));
        db.exec(QStringLiteral("update foodportion set grams=180 where foodname='米饭' and unit='碗'"));
        db.exec(
            QStringLiteral("insert into foodcheck (tc, swname, zl, meal) values (1, '牛奶', 250, '早餐')"));
        nc::data::addMealsAndPortions(db.connection());
        QCOMPARE(rows(db.connection(), QStringLiteral("select unit, grams from foodportion")),
                 (QStringList{QStringLiteral("碗|180"), QStringLiteral("两|50")}));
        QCOMPARE(rows(db.connection(), QStringLiteral("select meal from foodcheck")),
                 QStringList{QStringLiteral("早餐")});
    }
};

QTEST_GUILESS_MAIN(TestFoodEntry)
#include "tst_food_entry.moc"
