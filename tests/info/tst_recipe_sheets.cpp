// The recipe sheets as the build makes them: a readable picture within the picture area for every
// item of the list, menus made of foods of the shipped table whose energy and protein (from the
// program's own analysis) lie within 10 % of the reference woman's references, the menus shipped as
// saved recipes that load into a diet day, and the sheet sources' format.

#include "analysis/intake_analysis.h"
#include "data/csv.h"
#include "data/errors.h"
#include "data/values.h"
#include "diet/diet_record.h"
#include "diet/recipe_store.h"
#include "info/sheet_list.h"
#include "person/physique.h"
#include "person/reference_intakes.h"
#include "support/fixture_db.h"
#include "tools/render_sheets/menu_figures.h"
#include "tools/render_sheets/recipe_seed.h"
#include "tools/render_sheets/sheet_painter.h"
#include "tools/render_sheets/sheet_source.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTest>

using namespace nc;
using nc::test::FixtureDb;

namespace {

QList<sheets::Sheet> sources() {
    return sheets::readSheetFolder(test::sourceDir() + QStringLiteral("/info/sheets"));
}

// The reference intakes of each stage for a woman of 160 cm and 55 kg with light activity:
// 55 x 35 kcal and 55 x 1.16 g, plus the supplements of the stage.
struct Expected {
    const char* titleStart;
    double energy;
    double protein;
};
const Expected kReferences[] = {
    {"育龄", 1925, 63.8},   {"孕早期", 2075, 68.8}, {"孕中期", 2125, 78.8},
    {"孕后期", 2125, 88.8}, {"乳母", 2425, 88.8},
};

data::SeedTable shippedRecipes() {
    return {QStringLiteral("sps"), data::readCsvFile(QStringLiteral(NC_MENU_RECIPES))};
}

} // namespace

class TestRecipeSheets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyItemHasAReadableSheet_data() {
        QTest::addColumn<QString>("item");
        for (const QString& item : info::sheetItems())
            QTest::newRow(qPrintable(item)) << item;
    }
    void everyItemHasAReadableSheet() {
        QFETCH(QString, item);
        const QString path = info::sheetPath(QStringLiteral(NC_BIN_DIR), item);
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        QImageReader reader(path, "jpeg");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QVERIFY(image.width() <= 675 && image.height() <= 456);
        // Its sharper copy for scaled screens: the same sheet with twice the pixels each way.
        const QString sharpPath = QFileInfo(path).dir().filePath(info::sheetFileName(item, 2));
        QImageReader sharpReader(sharpPath, "jpeg");
        sharpReader.setAutoDetectImageFormat(false);
        const QImage sharp = sharpReader.read();
        QVERIFY2(!sharp.isNull(), qPrintable(sharpPath));
        QCOMPARE(sharp.size(), image.size() * 2);
    }

    void menusMeetTheReferences_data() {
        QTest::addColumn<int>("index");
        const QList<sheets::Sheet> all = sources();
        int menus = 0;
        for (int i = 0; i < all.size(); ++i)
            if (all[i].isMenu()) {
                QTest::newRow(qPrintable(all[i].title)) << i;
                ++menus;
            }
        QCOMPARE(menus, 12);
    }
    void menusMeetTheReferences() {
        QFETCH(int, index);
        const sheets::Sheet menu = sources()[index];
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        QCOMPARE(sheets::unknownFoods(menu), QStringList());

        const sheets::MenuFigures f = sheets::menuFigures(menu);
        // The stage in the source must be the one the title names.
        bool found = false;
        for (const Expected& e : kReferences) {
            if (menu.title.startsWith(QString::fromUtf8(e.titleStart))) {
                QCOMPARE(f.energyReference, e.energy);
                QCOMPARE(f.proteinReference, e.protein);
                found = true;
            }
        }
        QVERIFY(found);
        QVERIFY2(std::abs(f.energy / f.energyReference - 1) <= 0.10,
                 qPrintable(QStringLiteral("energy %1 of %2").arg(f.energy).arg(f.energyReference)));
        QVERIFY2(std::abs(f.protein / f.proteinReference - 1) <= 0.10,
                 qPrintable(QStringLiteral("protein %1 of %2").arg(f.protein).arg(f.proteinReference)));
        // The sheet prints these figures.
        QVERIFY(sheets::figuresLine(f).contains(QStringLiteral("能量 %1 kcal").arg(qRound(f.energy))));
        // No nutrient beyond five times its reference: a day of ordinary food cannot give that, a
        // figure in the wrong column of the food table can (pork liver's vitamin A read as B1).
        const double bmi = person::bodyMassIndex(sheets::kReferenceHeightCm, sheets::kReferenceWeightKg);
        for (const person::ReferenceIntake& r :
             person::referenceIntakes(menu.category, data::kActivityLight, sheets::kReferenceHeightCm,
                                      sheets::kReferenceWeightKg, bmi, menu.dayCount)) {
            const double intake = db.scalar(QStringLiteral("select srl from lsyysfx where id=:id"),
                                            {{QStringLiteral("id"), r.row}})
                                      .toReal();
            QVERIFY2(intake <= 5 * r.value,
                     qPrintable(QStringLiteral("row %1: %2 of %3").arg(r.row).arg(intake).arg(r.value)));
        }
    }

    void unknownFoodsAreNamed() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        const sheets::Sheet menu =
            sheets::parseSheet(QStringLiteral("标题：试\n版式：食谱\n类别：育龄\n## 早餐\n粥\n  小米 50\n  "
                                              "不存在的米 20\n  不存在的米 5\n"),
                               QStringLiteral("t.txt"));
        QCOMPARE(sheets::unknownFoods(menu), QStringList{QStringLiteral("不存在的米")});
    }

    // A counsellor loads 孕中期食谱1 into a diet day and analyses it: the same lines in menu order,
    // and the figures printed on the sheet.
    void shippedRecipesLoadIntoADay() {
        const QList<sheets::Sheet> all = sources();
        FixtureDb db(FixtureDb::Content::ShippedSeeds, {shippedRecipes()});
        QStringList menuTitles;
        for (const sheets::Sheet& s : all)
            if (s.isMenu())
                menuTitles << s.title;
        QStringList names = diet::recipeNames();
        names.sort();
        menuTitles.sort();
        QCOMPARE(names, menuTitles);

        const QString name = QStringLiteral("孕中期食谱1（4-6个月）");
        const sheets::Sheet menu =
            *std::find_if(all.begin(), all.end(), [&](const auto& s) { return s.title == name; });
        const sheets::MenuFigures printed = sheets::menuFigures(menu);
        db.exec(QStringLiteral("delete from foodcheck"));
        db.exec(QStringLiteral("delete from ts"));

        diet::DietRecord record;
        record.open();
        record.addDay();
        const QList<sheets::Ingredient> lines = menu.foodLines();
        QCOMPARE(diet::loadRecipe(name, record.foods(), record.currentDay()), int(lines.size()));
        data::DataSet& foods = record.foods();
        QCOMPARE(foods.rowCount(), int(lines.size()));
        for (int i = 0; i < lines.size(); ++i) {
            foods.moveTo(i);
            QCOMPARE(foods.field(QStringLiteral("swname")).toText(), lines[i].food);
            QCOMPARE(foods.field(QStringLiteral("zl")).toReal(), lines[i].grams);
        }
        const analysis::AnalysisResult r = analysis::runIntakeAnalysis();
        QCOMPARE(r.intakes[0], printed.energy);
        QCOMPARE(r.intakes[1], printed.protein);
    }

    // The recipes the build ships are the ones the sheet sources describe now.
    void shippedRecipesAreCurrent() {
        const data::CsvTable built = data::readCsvFile(QStringLiteral(NC_MENU_RECIPES));
        const data::CsvTable expected = sheets::recipeSeed(sources());
        QCOMPARE(built.header, expected.header);
        QCOMPARE(built.rows, expected.rows);
    }

    // clang-format off
    void malformedSourcesAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("complaint");
        const QString head = QStringLiteral("标题：试\n版式：食谱\n类别：育龄\n");
        QTest::newRow("no title") << QStringLiteral("版式：说明\n## 甲\n文字\n") << QStringLiteral("缺少标题");
        QTest::newRow("no layout") << QStringLiteral("标题：试\n## 甲\n文字\n") << QStringLiteral("缺少版式");
        QTest::newRow("unknown header") << QStringLiteral("标题：试\n版式：说明\n颜色：红\n") << QStringLiteral("未知表头");
        QTest::newRow("pregnant without day count") << QStringLiteral("标题：试\n版式：食谱\n类别：孕妇\n## 早餐\n粥\n  小米 50\n")
            << QStringLiteral("孕天");
        QTest::newRow("unknown category") << QStringLiteral("标题：试\n版式：食谱\n类别：老人\n") << QStringLiteral("未知类别");
        QTest::newRow("food without grams") << head + QStringLiteral("## 早餐\n粥\n  小米\n") << QStringLiteral("第 6 行");
        QTest::newRow("grams not a number") << head + QStringLiteral("## 早餐\n粥\n  小米 五十\n") << QStringLiteral("克数");
        QTest::newRow("grams zero") << head + QStringLiteral("## 早餐\n粥\n  小米 0\n") << QStringLiteral("克数");
        QTest::newRow("food before a dish") << head + QStringLiteral("## 早餐\n  小米 50\n") << QStringLiteral("菜名");
        QTest::newRow("dish without foods") << head + QStringLiteral("## 早餐\n粥\n") << QStringLiteral("没有食物");
    }
    // clang-format on
    void malformedSourcesAreRefused() {
        QFETCH(QString, text);
        QFETCH(QString, complaint);
        try {
            sheets::parseSheet(text, QStringLiteral("t.txt"));
            QFAIL("accepted");
        } catch (const data::Error& e) {
            QVERIFY2(e.text().contains(complaint), qPrintable(e.text()));
            QVERIFY(e.text().startsWith(QStringLiteral("t.txt")));
        }
    }

    void foodLinesKeepMenuOrderAndLabels() {
        const sheets::Sheet s = sheets::parseSheet(
            QStringLiteral("# 注释\n标题：试\n版式：食谱\n类别：孕妇\n孕天：130\n尾注：一\n尾注：二\n"
                           "## 早餐\n馒头\n  面粉=小麦粉（代表值） 75\n## 午餐\n汤\n  鸡蛋（代表值） 25.5\n  "
                           "番茄［西红柿］ 100\n"),
            QStringLiteral("t.txt"));
        QCOMPARE(s.dayCount, 130);
        QCOMPARE(s.footnotes, (QStringList{QStringLiteral("一"), QStringLiteral("二")}));
        const QList<sheets::Ingredient> lines = s.foodLines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].label, QStringLiteral("面粉"));
        QCOMPARE(lines[0].food, QStringLiteral("小麦粉（代表值）"));
        QCOMPARE(lines[1].label, QStringLiteral("鸡蛋"));
        QCOMPARE(lines[1].grams, 25.5);
        QCOMPARE(lines[2].label, QStringLiteral("番茄"));

        // As recipe lines: one name, times a second apart in menu order, amounts as written.
        const data::CsvTable seed = sheets::recipeSeed({s});
        QCOMPARE(seed.rows.size(), 3);
        QCOMPARE(seed.rows[0][0], QStringLiteral("试"));
        QVERIFY(seed.rows[0][1] < seed.rows[1][1] && seed.rows[1][1] < seed.rows[2][1]);
        QCOMPARE(seed.rows[1][4], QStringLiteral("25.5"));
        const data::CsvTable back = data::parseCsv(sheets::toCsv(seed));
        QCOMPARE(back.rows, seed.rows);
    }

    void textThatDoesNotFitIsRefused() {
        QString text = QStringLiteral("标题：试\n版式：说明\n## 甲\n");
        const sheets::Sheet fits =
            sheets::parseSheet(text + QStringLiteral("- 一行\n"), QStringLiteral("t.txt"));
        QCOMPARE(sheets::paintSheet(fits).size(), QSize(675, 456));
        const QImage sharp = sheets::paintSheet(fits, {}, 2);
        QCOMPARE(sharp.size(), QSize(1350, 912));
        QCOMPARE(sharp.deviceIndependentSize(), QSizeF(675, 456));
        for (int i = 0; i < 30; ++i)
            text += QStringLiteral("- 第 %1 条说明文字\n").arg(i);
        const sheets::Sheet tall = sheets::parseSheet(text, QStringLiteral("t.txt"));
        QVERIFY_THROWS_EXCEPTION(data::Error, sheets::paintSheet(tall));
    }
};

QTEST_MAIN(TestRecipeSheets)
#include "tst_recipe_sheets.moc"
