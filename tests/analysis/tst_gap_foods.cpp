// The foods suggested for each shortfall: the amounts rounded up to a weighable step, the normal
// portion of each category as the limit, one food per category, herbs, condiments and dried foods left
// out, and the candidates read from the saved recipes and her diet record only.

#include "analysis/gap_foods.h"
#include "support/fixture_db.h"

#include <QTest>

using namespace nc::analysis;
using nc::test::FixtureDb;
using nc::test::seed;

namespace {

// Row ids of lsyysfx.
constexpr int kEnergy = 1;
constexpr int kVitaminA = 5;
constexpr int kVitaminE = 6;
constexpr int kCalcium = 11;
constexpr int kIron = 12;
constexpr int kSelenium = 14;

CandidateFood food(const char* name, const char* kind, std::initializer_list<std::pair<int, double>> values,
                   double sodium = 0) {
    CandidateFood f;
    f.name = QString::fromUtf8(name);
    f.kind = QLatin1String(kind);
    for (const auto& [nutrient, value] : values)
        f.per100g[std::size_t(nutrient - 1)] = value;
    f.sodium = sodium;
    return f;
}

// A small food table. Its amounts for a gap of 150 mg calcium (gap / value x 100, then rounded up):
//   小白菜 04 (cap 500)  150/117 = 128.2 → 130 g, 0.26 of the cap
//   酸奶   10 (cap 500)  150/118 = 127.1 → 130 g, 0.26
//   牛奶   10 (cap 500)  150/107 = 140.2 → 150 g, 0.30 (second of its category)
//   北豆腐 03 (cap 100)  150/138 = 108.7 → 110 g, over the cap
//   豆腐干 03 (cap 100)  150/299 =  50.2 →  60 g, 0.60
//   芝麻   07 (cap 25)   150/780 =  19.2 →  20 g, 0.80 (fourth)
//   虾皮   12 (cap 100)  150/991 =  15.1 →  20 g, 0.20, but 20 g hold 5057.7 x 0.2 = 1011.5 mg sodium
//   黄芪片 04            150/500 =  30 g, 0.06: a herb
//   紫菜（干） 05 (cap 100) 150/264 = 56.8 → 60 g, 0.60 (before 豆腐干 by name): dried seaweed
//   牛蛙   21 (no cap)   150/1500 = 10 g
QList<CandidateFood> fixtureFoods() {
    return {
        food("稻米", "01", {{kEnergy, 346}}),
        food("挂面（代表值）", "01", {{kEnergy, 353}}, 184.5),
        food("马铃薯", "02", {{kEnergy, 81}}),
        food("酸奶", "10", {{kEnergy, 72}, {kCalcium, 118}}),
        food("牛奶", "10", {{kEnergy, 65}, {kCalcium, 107}}),
        food("北豆腐", "03", {{kCalcium, 138}}),
        food("豆腐干", "03", {{kCalcium, 299}}),
        food("小白菜", "04", {{kCalcium, 117}, {kVitaminE, 0.4}, {kSelenium, 1.17}}),
        food("芝麻", "07", {{kCalcium, 780}, {kEnergy, 559}}),
        food("虾皮", "12", {{kCalcium, 991}}, 5057.7),
        food("黄芪片", "04", {{kCalcium, 500}}),
        food("紫菜（干）", "05", {{kCalcium, 264}}),
        food("牛蛙", "21", {{kCalcium, 1500}}),
        food("豆油", "19", {{kVitaminE, 93.08}, {kEnergy, 899}}),
        food("核桃", "07", {{kVitaminE, 43.21}, {kEnergy, 646}}),
        food("猪肝", "08", {{kVitaminA, 6502}, {kIron, 23.2}}),
        food("猪血", "08", {{kIron, 8.7}}),
        food("胡萝卜", "04", {{kVitaminA, 688.3}}),
    };
}

QString describe(const QList<GapFood>& foods) {
    QStringList parts;
    for (const GapFood& f : foods)
        parts << QStringLiteral("%1 %2").arg(f.name).arg(f.grams);
    return parts.join(QStringLiteral(", "));
}

} // namespace

class TestGapFoods : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void friendlyGrams_data() {
        QTest::addColumn<double>("exact");
        QTest::addColumn<int>("grams");
        QTest::newRow("nothing")              << 0.0          << 0;
        QTest::newRow("negative")             << -5.0         << 0;
        QTest::newRow("a trace is one step")  << 0.3          << 5;
        QTest::newRow("on a 5 g step")        << 45.0         << 45;
        QTest::newRow("just past a 5 g step") << 45.01        << 50;
        QTest::newRow("just below 50")        << 49.99        << 50;
        QTest::newRow("50 itself")            << 50.0         << 50;
        QTest::newRow("past 50, 10 g steps")  << 50.01        << 60;
        QTest::newRow("a double's last digit") << 140.0000000001 << 140;
        QTest::newRow("just below 200")       << 199.5        << 200;
        QTest::newRow("200 itself")           << 200.0        << 200;
        QTest::newRow("past 200, 25 g steps") << 200.01       << 225;
        QTest::newRow("milk for 300 mg")      << 280.37       << 300;
        QTest::newRow("a trace value's amount") << 1e12        << 1000000;
    }
    // clang-format on
    void friendlyGrams() {
        QFETCH(double, exact);
        QFETCH(int, grams);
        QCOMPARE(nc::analysis::friendlyGrams(exact), grams);
    }

    // clang-format off
    void everydayFoods_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("everyday");
        QTest::newRow("rice")                << "稻米（代表值）"         << "01" << true;
        QTest::newRow("yam: 药 alone is no herb") << "山药（鲜）［薯蓣，大薯］" << "04" << true;
        QTest::newRow("sea cucumber: 参 alone")  << "海参"                << "12" << true;
        QTest::newRow("wolfberry")           << "枸杞子"                 << "06" << false;
        QTest::newRow("wolfberry leaves")    << "枸杞叶"                 << "04" << true;
        QTest::newRow("wolfberry greens")    << "枸杞菜（鲜）［枸杞，地骨］" << "04" << true;
        QTest::newRow("astragalus")          << "黄芪"                   << "04" << false;
        QTest::newRow("angelica in a name")  << "当归炖鸡"               << "09" << false;
        QTest::newRow("American ginseng")    << "西洋参"                 << "21" << false;
        QTest::newRow("donkey-hide gelatin") << "阿胶"                   << "21" << false;
        QTest::newRow("dried seaweed")       << "紫菜（干）"             << "05" << false;
        QTest::newRow("half-dried mushroom") << "榛蘑（半干）［假蜜环菌］" << "05" << false;
        QTest::newRow("dried jujube")        << "枣（干）"               << "06" << false;
        QTest::newRow("soaked wood ear")     << "木耳（水发）［黑木耳，云耳］" << "05" << true;
        QTest::newRow("walnut, dry as eaten") << "核桃（干）［胡桃］"     << "07" << true;
        QTest::newRow("dried beans")         << "绿豆（干）"             << "03" << true;
        QTest::newRow("pressed tofu")        << "豆腐干（酱油干）"       << "03" << true;
        QTest::newRow("salt")                << "精盐"                   << "21" << false;
        QTest::newRow("MSG")                 << "味精"                   << "21" << false;
        QTest::newRow("soda")                << "碱"                     << "21" << false;
        QTest::newRow("baking soda")         << "小苏打（食用）"         << "21" << false;
        QTest::newRow("salted duck is food") << "盐水鸭（熟）"           << "09" << true;
        QTest::newRow("gooseberry is food")  << "醋栗［灯笼果］"         << "06" << true;
        QTest::newRow("calcium tablets")     << "钙片"                   << "21" << false;
        QTest::newRow("protein powder")      << "蛋白粉（益力健乳铁乳清蛋白粉）" << "10" << false;
    }
    // clang-format on
    void everydayFoods() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(bool, everyday);
        QCOMPARE(isEverydayFood(name, kind), everyday);
    }

    // Worked answers on the fixture foods (amounts in the comment above fixtureFoods).
    // clang-format off
    void suggestions_data() {
        QTest::addColumn<int>("nutrient");
        QTest::addColumn<double>("intake");
        QTest::addColumn<double>("reference");
        QTest::addColumn<QString>("foods");
        // The tie at 0.26 goes by name (小 U+5C0F before 酸 U+9178); 牛奶 is a second dairy food,
        // 北豆腐 over its cap, 芝麻 fourth; 虾皮 (salt), 黄芪片 (herb), 紫菜（干） (dried) and 牛蛙 (no
        // cap) would otherwise come first.
        QTest::newRow("calcium, gap 150 mg") << kCalcium << 650.0 << 800.0
            << "小白菜 130, 酸奶 130, 豆腐干 60";
        // Staples only: 150/346 = 43.4 → 45 g and 150/353 = 42.5 → 45 g tie, 挂 (U+6302) before
        // 稻 (U+7A3B), one cereal; 马铃薯 150/81 = 185 → 190 g is over 100 g; 酸奶 225 g and 豆油 20 g
        // would fit their caps but are not staples.
        QTest::newRow("energy, gap 150 kcal") << kEnergy << 1850.0 << 2000.0 << "挂面（代表值） 45";
        // 8/93.08 = 8.6 → 10 g of 30 (0.33); 8/43.21 = 18.5 → 20 g of 25 (0.8); 小白菜 2000 g.
        QTest::newRow("vitamin E, gap 8 mg") << kVitaminE << 6.0 << 14.0 << "豆油 10, 核桃 20";
        // 30/93.08 = 32.2 → 35 g of oil, over 30 g; 30/43.21 = 69.4 → 70 g of walnuts, over 25 g.
        QTest::newRow("vitamin E, gap 30 mg: nothing fits") << kVitaminE << 0.0 << 30.0 << "";
        // 300/688.3 = 43.6 → 45 g of 500 (0.09); 300/6502 = 4.6 → 5 g of liver's own 10 g (0.5).
        QTest::newRow("vitamin A, gap 300 μg") << kVitaminA << 500.0 << 800.0 << "胡萝卜 45, 猪肝 5";
        // 5/23.2 = 21.6 → 25 g of liver is over its 10 g, though within the 100 g of meat; 5/8.7 =
        // 57.5 → 60 g of blood takes the meat place.
        QTest::newRow("iron, gap 5 mg: liver over its own cap") << kIron << 15.0 << 20.0 << "猪血 60";
        // 20/1.17 x 100 = 1709.4 g of 小白菜; no other food has selenium.
        QTest::newRow("selenium, nothing fits") << kSelenium << 30.0 << 50.0 << "";
    }
    // clang-format on
    void suggestions() {
        QFETCH(int, nutrient);
        QFETCH(double, intake);
        QFETCH(double, reference);
        QFETCH(QString, foods);
        const QList<GapSuggestion> out = suggestGapFoods({{nutrient, intake, reference}}, fixtureFoods());
        QCOMPARE(out.size(), 1);
        QCOMPARE(out.first().nutrient, nutrient);
        QCOMPARE(describe(out.first().foods), foods);
    }

    // A row without a gap gets no line at all; the others keep their order.
    void onlyRowsWithAGap() {
        const QList<GapSuggestion> out = suggestGapFoods(
            {{kSelenium, 50, 50}, {kCalcium, 650, 800}, {kEnergy, 2100, 2000}, {0, 0, 10}}, fixtureFoods());
        QCOMPARE(out.size(), 1);
        QCOMPARE(out.first().nutrient, kCalcium);
    }

    // Caps given by the caller decide: with cereals capped at 40 g no staple fits 150 kcal.
    void theCapsAreTheCallers() {
        QHash<QString, int> caps = defaultPortionCaps();
        QCOMPARE(caps.value(QStringLiteral("19")), 30);
        QVERIFY(!caps.contains(QStringLiteral("21")));
        QCOMPARE(portionCapFor(QStringLiteral("猪肝"), QStringLiteral("08"), caps), 10);
        QCOMPARE(portionCapFor(QStringLiteral("猪肉（瘦）"), QStringLiteral("08"), caps), 100);
        QCOMPARE(portionCapFor(QStringLiteral("阿胶"), QStringLiteral("21"), caps), 0);
        caps.insert(QStringLiteral("01"), 40);
        const QList<GapSuggestion> out = suggestGapFoods({{kEnergy, 1850, 2000}}, fixtureFoods(), caps);
        QCOMPARE(out.size(), 1);
        QVERIFY(out.first().foods.isEmpty());
    }

    // Two food rows of one name (a counsellor's copy in another category) are offered once.
    void aNameIsOfferedOnce() {
        QList<CandidateFood> foods = fixtureFoods();
        foods << food("酸奶", "04", {{kCalcium, 118}});
        const QList<GapSuggestion> out = suggestGapFoods({{kCalcium, 650, 800}}, foods);
        QCOMPARE(describe(out.first().foods), QStringLiteral("小白菜 130, 酸奶 130, 豆腐干 60"));
    }

    // clang-format off
    void printedNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("printed");
        QTest::newRow("plain")              << "稻米"                          << "稻米";
        QTest::newRow("representative")     << "鸡蛋（代表值）"                << "鸡蛋";
        QTest::newRow("representative, fat") << "纯牛奶（代表值，全脂）"       << "纯牛奶（全脂）";
        QTest::newRow("other names")        << "菠菜（鲜）［赤根菜］"          << "菠菜（鲜）";
        QTest::newRow("fat figure")         << "牛肉（代表值，瘦，fat 3g）"     << "牛肉（瘦）";
        QTest::newRow("fat figure alone")   << "猪肾（fat 8g）［猪腰子］"       << "猪肾";
        QTest::newRow("two notes")          << "桂圆（干）（福建）"            << "桂圆（干）（福建）";
    }
    // clang-format on
    void printedNames() {
        QFETCH(QString, name);
        QFETCH(QString, printed);
        QCOMPARE(printedFoodName(name), printed);
    }

    // One line per nutrient with foods, in row order; the nutrients no food closes share the last.
    void printedLines() {
        const QList<GapFoodLine> lines = gapFoodLines(
            {{kVitaminE, {}},
             {kCalcium,
              {{QStringLiteral("纯牛奶（代表值，全脂）"), 250}, {QStringLiteral("豆腐（北豆腐）"), 150}}},
             {kIron, {}},
             {kSelenium, {{QStringLiteral("带鱼［白带鱼、刀鱼］"), 35}}}});
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0).nutrient, QStringLiteral("钙"));
        QCOMPARE(lines.at(0).foods, QStringLiteral("每天再加 纯牛奶（全脂） 250 g 或 豆腐（北豆腐） 150 g"));
        QCOMPARE(lines.at(0).line,
                 QStringLiteral("钙：每天再加 纯牛奶（全脂） 250 g 或 豆腐（北豆腐） 150 g"));
        QCOMPARE(lines.at(1).line, QStringLiteral("硒：每天再加 带鱼 35 g"));
        QCOMPARE(lines.at(2).nutrient, QStringLiteral("维生素E、铁"));
        QCOMPARE(lines.at(2).line,
                 QStringLiteral(
                     "维生素E、铁：没有一种日常食物能在平常的份量内补足，请按上面的膳食评价调整饮食。"));
    }

    // The candidates are the foods named in the saved recipes and in her diet record that the food
    // table holds; a food only in the food table, or a name the table lacks, is never one.
    void candidatesComeFromRecipesAndRecord() {
        FixtureDb db(FixtureDb::Content::FixedRows,
                     {seed(QStringLiteral("Foodnurti"),
                           {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("foodkind"),
                            QStringLiteral("ca"), QStringLiteral("vite"), QStringLiteral("na")},
                           {{QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("10"),
                             QStringLiteral("107"), QString(), QStringLiteral("37.2")},
                            {QStringLiteral("03001"), QStringLiteral("北豆腐"), QStringLiteral("03"),
                             QStringLiteral("138"), QStringLiteral("8.4"), QString()},
                            {QStringLiteral("07001"), QStringLiteral("芝麻"), QStringLiteral("07"),
                             QStringLiteral("780"), QString(), QString()}}),
                      seed(QStringLiteral("sps"),
                           {QStringLiteral("spname"), QStringLiteral("swname"), QStringLiteral("zl")},
                           {{QStringLiteral("孕中期食谱1"), QStringLiteral("牛奶"), QStringLiteral("250")},
                            {QStringLiteral("孕中期食谱1"), QStringLiteral("面包"), QStringLiteral("50")}}),
                      seed(QStringLiteral("foodcheck"),
                           {QStringLiteral("tc"), QStringLiteral("swname"), QStringLiteral("zl")},
                           {{QStringLiteral("1"), QStringLiteral("北豆腐"), QStringLiteral("100")},
                            {QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("200")}})});
        const QList<CandidateFood> foods = readCandidateFoods();
        QCOMPARE(foods.size(), 2);
        QCOMPARE(foods.at(0).name, QStringLiteral("北豆腐"));
        QCOMPARE(foods.at(0).kind, QStringLiteral("03"));
        QCOMPARE(foods.at(0).per100g[kCalcium - 1], 138.0);
        QCOMPARE(foods.at(0).per100g[kVitaminE - 1], 8.4);
        QCOMPARE(foods.at(0).sodium, 0.0);
        QCOMPARE(foods.at(1).name, QStringLiteral("牛奶"));
        QCOMPARE(foods.at(1).per100g[kVitaminE - 1], 0.0);
        QCOMPARE(foods.at(1).sodium, 37.2);
    }

    // The shortfalls are the rows with a reference whose stored percentage is below 90, as the
    // evaluation texts "<90" take them.
    void shortfallsAreTheRowsBelow90() {
        FixtureDb db;
        db.exec(QStringLiteral("update lsyysfx set srl=10, ckl=0, dris=null"));
        db.exec(QStringLiteral("update lsyysfx set srl=500, ckl=800, dris=62.5 where id=11"));
        db.exec(QStringLiteral("update lsyysfx set srl=18, ckl=20, dris=90 where id=12"));
        db.exec(QStringLiteral("update lsyysfx set srl=2, ckl=0, dris=0 where id=3"));
        db.exec(QStringLiteral("update lsyysfx set srl=1500, ckl=2000, dris=75 where id=1"));
        const QList<Shortfall> rows = readShortfalls();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).nutrient, 1);
        QCOMPARE(rows.at(0).intake, 1500.0);
        QCOMPARE(rows.at(0).reference, 2000.0);
        QCOMPARE(rows.at(1).nutrient, 11);
    }
};

QTEST_GUILESS_MAIN(TestGapFoods)
#include "tst_gap_foods.moc"
