// The food query: lists by category, name and nutrient condition, the six messages in their order,
// the condition's value bound (never pasted into the statement), 取消 keeping the grid, and the
// double click that hands a food's name to the diet record window.

#include "diet/diet_record.h"
#include "food_fixture.h"
#include "foods/food_grid.h"
#include "foods/food_query_window.h"
#include "foods/nutrient_condition.h"
#include "support/pointer.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

using nc::foods::FoodGrid;
using nc::foods::TForm15;
using nc::test::child;
using nc::test::click;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;

namespace {

// Foods of the current list by number, in list order.
QStringList listed(TForm15& w) {
    QStringList ids;
    nc::data::DataSet& ds = w.foodList();
    const int id = ds.fieldIndex(QStringLiteral("foodid"));
    for (int r = 0; r < ds.rowCount(); ++r)
        ids << ds.value(r, id).toText();
    return ids;
}

void setCondition(TForm15& w, int nutrient, int op, const QString& value) {
    child<QComboBox>(w, QStringLiteral("ComboBox2"))->setCurrentIndex(nutrient);
    child<QComboBox>(w, QStringLiteral("ComboBox3"))->setCurrentIndex(op);
    child<QLineEdit>(w, QStringLiteral("Edit2"))->setText(value);
}

const QStringList kAll = {QStringLiteral("01001"), QStringLiteral("01002"), QStringLiteral("02001"),
                          QStringLiteral("10001"), QStringLiteral("10002"), QStringLiteral("10003")};
constexpr int kEnergy = 0;
constexpr int kCalcium = 10;
constexpr int kEquals = 0, kAtLeast = 1, kAtMost = 2;

} // namespace

class TestFoodQuery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { nc::diet::setFoodBoxSetter({}); }

    void opensWithEveryFoodAndNoChoice() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        QCOMPARE(w.size(), QSize(865, 616));
        QCOMPARE(listed(w), kAll);
        for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3"})
            QCOMPARE(child<QComboBox>(w, QString::fromLatin1(name))->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(w, QStringLiteral("ComboBox2"))->count(), 14);
        QCOMPARE(child<QComboBox>(w, QStringLiteral("ComboBox3"))->itemText(1), QStringLiteral(">="));
        // The grid's numbers stand right, values not there show empty.
        auto* grid = child<FoodGrid>(w, QStringLiteral("DBGrid1"));
        const QModelIndex energy = grid->model()->index(0, 4);
        QVERIFY(Qt::Alignment(energy.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignRight);
        QCOMPARE(grid->model()->index(1, 15).data().toString(), QString()); // 小麦粉 has no calcium
        QCOMPARE(grid->model()->headerData(15, Qt::Horizontal).toString(), QStringLiteral("钙"));
    }

    // clang-format off
    void conditionMessagesInOrder_data() {
        QTest::addColumn<int>("nutrient");
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("valueAfter");
        const QString noNutrient = QStringLiteral("请选择要过滤的 ‘营养成份’！");
        const QString noOp = QStringLiteral("请选择过滤符号！");
        const QString noValue = QStringLiteral("请选择要过滤的条件！");
        const QString notNumber = QStringLiteral("请输入数值！");
        QTest::newRow("nothing chosen") << -1 << -1 << "" << noNutrient << "ComboBox2" << "";
        QTest::newRow("nutrient first") << -1 << kAtLeast << "300" << noNutrient << "ComboBox2" << "300";
        QTest::newRow("operator") << kCalcium << -1 << "300" << noOp << "ComboBox3" << "300";
        QTest::newRow("blank value") << kCalcium << kAtLeast << "   " << noValue << "Edit2" << "   ";
        QTest::newRow("decimal") << kCalcium << kAtLeast << "3.5" << notNumber << "Edit2" << "";
        QTest::newRow("trailing blank") << kCalcium << kAtLeast << "300 " << notNumber << "Edit2" << "";
        QTest::newRow("unit") << kCalcium << kAtLeast << "300mg" << notNumber << "Edit2" << "";
        QTest::newRow("beyond 32 bits") << kCalcium << kAtLeast << "2147483648" << notNumber << "Edit2" << "";
        QTest::newRow("statement text") << kCalcium << kAtLeast << "0 or 1=1" << notNumber << "Edit2" << "";
    }
    // clang-format on
    void conditionMessagesInOrder() {
        QFETCH(int, nutrient);
        QFETCH(int, op);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, valueAfter);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        child<QLineEdit>(w, QStringLiteral("Edit1"))->setText(QStringLiteral("奶"));
        click(w, QStringLiteral("Image6"));
        const QStringList before = listed(w);
        setCondition(w, nutrient, op, value);
        click(w, QStringLiteral("Image7"));
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), child(w, focus));
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("Edit2"))->text(), valueAfter);
        QCOMPARE(listed(w), before);
    }

    // clang-format off
    void conditionFindsFoods_data() {
        QTest::addColumn<int>("nutrient");
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("ca>=300") << kCalcium << kAtLeast << QStringLiteral("300")
                                 << QStringList{QStringLiteral("02001")};
        QTest::newRow("leading blanks")
            << kCalcium << kAtLeast << QStringLiteral("  300") << QStringList{QStringLiteral("02001")};
        QTest::newRow("= is exact") << kEnergy << kEquals << QStringLiteral("0")
                                    << QStringList{QStringLiteral("02001")};
        QTest::newRow("no value never matches") << kCalcium << kAtMost << QStringLiteral("100000")
            << QStringList{QStringLiteral("01001"), QStringLiteral("02001"), QStringLiteral("10001"),
                           QStringLiteral("10002"), QStringLiteral("10003")};
        QTest::newRow("signed value") << kEnergy << kAtLeast << "-5" << kAll;
        QTest::newRow("nothing found") << kCalcium << kAtLeast << "+100000" << QStringList{};
    }
    // clang-format on
    void conditionFindsFoods() {
        QFETCH(int, nutrient);
        QFETCH(int, op);
        QFETCH(QString, value);
        QFETCH(QStringList, found);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        setCondition(w, nutrient, op, value);
        click(w, QStringLiteral("Image7"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(listed(w), found);
    }

    void conditionValueIsBoundNotPasted() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        setCondition(w, kCalcium, kAtLeast, QStringLiteral(" 300"));
        click(w, QStringLiteral("Image7"));
        QCOMPARE(w.foodList().sql(), QStringLiteral("select * from Foodnurti where\nca>=:lsvalue"));
        // The column each item of the nutrient list tests; water, cu, mg, na and foodish none.
        const QStringList columns = {
            QStringLiteral("energy"),     QStringLiteral("protein"), QStringLiteral("fat"),
            QStringLiteral("carbohydra"), QStringLiteral("vita"),    QStringLiteral("vite"),
            QStringLiteral("vitc"),       QStringLiteral("vitb1"),   QStringLiteral("vitb2"),
            QStringLiteral("vitpp"),      QStringLiteral("ca"),      QStringLiteral("fe"),
            QStringLiteral("zn"),         QStringLiteral("se")};
        for (int i = 0; i < columns.size(); ++i)
            QCOMPARE(nc::foods::nutrientColumn(i), columns[i]);
        QCOMPARE(nc::foods::nutrientColumn(14), QString());
        QCOMPARE(nc::foods::nutrientItems().value(13), QStringLiteral("硒"));
    }

    void readConditionValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "300" << true << 300;
        QTest::newRow("leading blanks and sign") << "  -12" << true << -12;
        QTest::newRow("plus") << "+7" << true << 7;
        QTest::newRow("lowest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("highest") << "2147483647" << true << 2147483647;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("blank inside") << "3 00" << false << 0;
        QTest::newRow("full-width digits") << "３００" << false << 0;
        QTest::newRow("huge") << "99999999999999999999" << false << 0;
    }
    void readConditionValue() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        int got = 0;
        QCOMPARE(nc::foods::readConditionValue(text, &got), ok);
        if (ok)
            QCOMPARE(got, value);
    }

    void categoryAndNameLists() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        click(w, QStringLiteral("Image5"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("选择食物类别！")});
        QCOMPARE(QApplication::focusWidget(), child(w, QStringLiteral("ComboBox1")));
        QCOMPARE(listed(w), kAll);

        auto* kinds = child<QComboBox>(w, QStringLiteral("ComboBox1"));
        kinds->setCurrentIndex(kinds->findText(QStringLiteral("10"), Qt::MatchStartsWith));
        QCOMPARE(listed(w), kAll); // choosing does nothing by itself
        click(w, QStringLiteral("Image5"));
        QCOMPARE(listed(w),
                 (QStringList{QStringLiteral("10001"), QStringLiteral("10002"), QStringLiteral("10003")}));

        child<QLineEdit>(w, QStringLiteral("Edit1"))->setText(QStringLiteral(" 米 "));
        click(w, QStringLiteral("Image6"));
        QCOMPARE(listed(w), QStringList{QStringLiteral("01001")});
        child<QLineEdit>(w, QStringLiteral("Edit1"))->clear();
        click(w, QStringLiteral("Image6"));
        QCOMPARE(listed(w), kAll); // an empty name lists every food, like 全部

        click(w, QStringLiteral("Image5"));
        click(w, QStringLiteral("Image2"));
        QCOMPARE(listed(w), kAll);
        QCOMPARE(messages.size(), 1);
    }

    // The name search and the category list rank as the diet record's type-ahead: the food meant
    // first, pinyin initials too, the foods used lately first within a category; the text is taken
    // as typed (no wildcards).
    // clang-format off
    void rankedLists_data() {
        QTest::addColumn<QString>("category"); // empty: search by the name box
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("banana before the apple named after it") << "" << QStringLiteral("香蕉")
            << QStringList{QStringLiteral("06168"), QStringLiteral("06166"), QStringLiteral("06002")};
        QTest::newRow("initials, the one used lately first")
            << "" << QStringLiteral("fq") << QStringList{QStringLiteral("04127"), QStringLiteral("04137")};
        QTest::newRow("alias inside brackets")
            << "" << QStringLiteral("西红柿") << QStringList{QStringLiteral("04137")};
        QTest::newRow("wildcard typed is a character") << "" << "%" << QStringList{};
        QTest::newRow("nothing found") << "" << "桂花糕" << QStringList{};
        QTest::newRow("category: used lately first, then shorter")
            << "04" << QString() << QStringList{QStringLiteral("04127"), QStringLiteral("04137")};
        QTest::newRow("category, names of one length in table order") << "10" << QString()
            << QStringList{QStringLiteral("10001"), QStringLiteral("10002"), QStringLiteral("10003")};
    }
    // clang-format on
    void rankedLists() {
        QFETCH(QString, category);
        QFETCH(QString, text);
        QFETCH(QStringList, ids);
        QList<nc::data::SeedTable> table = nc::test::smallFoodTable();
        table.first().data.rows += QList<QStringList>{
            {QStringLiteral("06002"), QStringLiteral("红香蕉苹果"), QStringLiteral("HXJPG"),
             QStringLiteral("06"), QString(), QString(), QString()},
            {QStringLiteral("06166"), QStringLiteral("香蕉（红皮）（海南）"), QStringLiteral("XJ"),
             QStringLiteral("06"), QString(), QString(), QString()},
            {QStringLiteral("06168"), QStringLiteral("香蕉［甘蕉］"), QStringLiteral("XJ"),
             QStringLiteral("06"), QString(), QString(), QString()},
            {QStringLiteral("04127"), QStringLiteral("番茄（整个，罐头）"), QStringLiteral("FQ"),
             QStringLiteral("04"), QString(), QString(), QString()},
            {QStringLiteral("04137"), QStringLiteral("番茄［西红柿］"), QStringLiteral("FQ"),
             QStringLiteral("04"), QString(), QString(), QString()}};
        FixtureDb db(FixtureDb::Content::FixedRows, table);
        db.exec(
            QStringLiteral("insert into foodcheck (tc, swname, zl) values (1, '番茄（整个，罐头）', 100)"));
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        if (category.isEmpty()) {
            child<QLineEdit>(w, QStringLiteral("Edit1"))->setText(text);
            click(w, QStringLiteral("Image6"));
        } else {
            auto* kinds = child<QComboBox>(w, QStringLiteral("ComboBox1"));
            kinds->setCurrentIndex(kinds->findText(category, Qt::MatchStartsWith));
            click(w, QStringLiteral("Image5"));
        }
        QCOMPARE(listed(w), ids);
    }

    void clearKeepsTheGrid() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        setCondition(w, kCalcium, kAtLeast, QStringLiteral("200"));
        click(w, QStringLiteral("Image7"));
        child<QComboBox>(w, QStringLiteral("ComboBox1"))->setCurrentIndex(0);
        child<QLineEdit>(w, QStringLiteral("Edit1"))->setText(QStringLiteral("奶"));
        click(w, QStringLiteral("Image3"));
        for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3"})
            QCOMPARE(child<QComboBox>(w, QString::fromLatin1(name))->currentIndex(), -1);
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("Edit1"))->text(), QString());
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("Edit2"))->text(), QString());
        QCOMPARE(listed(w), (QStringList{QStringLiteral("02001"), QStringLiteral("10002")}));
    }

    void doubleClickHandsTheNameOver() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        QStringList handed;
        nc::diet::setFoodBoxSetter([&](const QString& name) { handed << name; });
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        auto* grid = child<FoodGrid>(w, QStringLiteral("DBGrid1"));

        // An empty result: the message, and the window stays.
        setCondition(w, kCalcium, kAtLeast, QStringLiteral("100000"));
        click(w, QStringLiteral("Image7"));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(40, 20));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("没有选定或无食物信息！")});
        QVERIFY(handed.isEmpty());
        QVERIFY(w.isVisible());

        // A food: its name goes to the food box and the window closes.
        click(w, QStringLiteral("Image2"));
        const QRect row = grid->visualRect(grid->model()->index(4, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(handed, QStringList{QStringLiteral("奶片")});
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
        QCOMPARE(messages.size(), 1);
    }

    void closingLeavesTheFoodBox_data() {
        QTest::addColumn<QString>("image");
        QTest::newRow("退出") << "Image4";
        QTest::newRow("close mark") << "Image8";
    }
    void closingLeavesTheFoodBox() {
        QFETCH(QString, image);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        QStringList handed;
        nc::diet::setFoodBoxSetter([&](const QString& name) { handed << name; });
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        click(w, image);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(handed.isEmpty());
    }

    void buttonsLiftUnderThePointer() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm15 w;
        const auto gridTester = nc::test::testGridModel(w);
        const QList<QPair<QString, int>> tops = {
            {QStringLiteral("Image5"), 96}, {QStringLiteral("Image6"), 96},  {QStringLiteral("Image7"), 152},
            {QStringLiteral("Image2"), 70}, {QStringLiteral("Image3"), 107}, {QStringLiteral("Image4"), 143},
            {QStringLiteral("Image8"), 29}};
        for (const auto& [name, top] : tops) {
            QWidget* b = child(w, name);
            QCOMPARE(b->y(), top);
            nc::test::movePointer(b);
            QCOMPARE(b->y(), top - 3);
        }
        nc::test::movePointer(child(w, QStringLiteral("Image1")), QPoint(5, 300));
        for (const auto& [name, top] : tops)
            QCOMPARE(child(w, name)->y(), top);
    }
};

QTEST_MAIN(TestFoodQuery)
#include "tst_food_query.moc"
