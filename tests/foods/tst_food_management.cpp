// The food composition management window: the new food pending at opening, the checks of a save in
// order, a number no other food has, the category a food takes from its number, text a nutrient
// cannot hold, figures no food can hold, storing on a move in the grid, lists by category and name,
// delete and cancel.

#include "app/working_windows.h"
#include "data/query.h"
#include "food_fixture.h"
#include "foods/food_grid.h"
#include "foods/food_management_window.h"
#include "support/pointer.h"
#include "support/typing.h"
#include "ui/bound_line_edit.h"
#include "ui/picture_button.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

using nc::foods::FoodGrid;
using nc::foods::TForm7;
using nc::test::child;
using nc::test::click;
using nc::test::FixtureDb;
using nc::test::foodCount;
using nc::test::MessagesRecorder;
using nc::test::typeText;
using nc::ui::BoundLineEdit;
using State = nc::data::DataSet::State;
using Kind = MessagesRecorder::Kind;

namespace {

BoundLineEdit* field(TForm7& w, int n) {
    return child<BoundLineEdit>(w, QStringLiteral("DBEdit%1").arg(n));
}

void typeInto(TForm7& w, int n, const QString& text) {
    BoundLineEdit* e = field(w, n);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
}

QVariant storedValue(FixtureDb& db, const QString& column, const QString& foodid) {
    const nc::data::Value v =
        // A column name cannot be bound; the number can.
        db.scalar(QStringLiteral("select %1 from Foodnurti where foodid=:id").arg(column),
                  {{QStringLiteral("id"), foodid}});
    return v.isNull() ? QVariant() : QVariant(v.toText());
}

// Clicks a row of the grid as the user would.
void clickRow(TForm7& w, int row) {
    nc::test::clickRow(child<FoodGrid>(w, QStringLiteral("DBGrid1")), row, 1);
}

void chooseCategory(TForm7& w, int index) {
    child<QComboBox>(w, QStringLiteral("ComboBox1"))->setCurrentIndex(index);
}

const QString kWrongNumber = QStringLiteral("食物编号不正确！");
const QString kNoName = QStringLiteral("请输入食物名称！");
const QString kTaken = QStringLiteral("食物编号已存在！");

} // namespace

class TestFoodManagement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithANewFoodPending() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QCOMPARE(w.size(), QSize(728, 614));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.foodList().state(), State::Insert);
        QCOMPARE(w.foodList().rowCount(), 7); // six foods and the empty new one at the end
        QCOMPARE(w.foodList().currentRow(), 6);
        for (int n = 1; n <= 22; ++n)
            QCOMPARE(field(w, n)->text(), QString());
        auto* kinds = child<QComboBox>(w, QStringLiteral("ComboBox1"));
        QCOMPARE(kinds->currentIndex(), -1);
        QCOMPARE(kinds->count(), db.count(QStringLiteral("foodkind")));
        QCOMPARE(kinds->itemText(0), QStringLiteral("01   谷类及制品"));
        QVERIFY(!kinds->isEditable());
    }

    // clang-format off
    void saveChecksInOrder_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // empty: stored
        QTest::addColumn<QString>("focus");
        QTest::newRow("21 passes") << "21001" << "新食物" << "" << "";
        QTest::newRow("two digits, three letters") << "21abc" << "新食物" << "" << "";
        // A number whose first two characters name no category: the food would be in no list.
        QTest::newRow("28 names no category") << "28001" << "新食物" << kWrongNumber << "DBEdit1";
        QTest::newRow("13 names no category") << "13001" << "新食物" << kWrongNumber << "DBEdit1";
        QTest::newRow("blank-only name") << "01009" << "   " << "" << "";
        QTest::newRow("29 refused") << "29001" << "新食物" << kWrongNumber << "DBEdit1";
        QTest::newRow("four characters") << "0100" << "新食物" << kWrongNumber << "DBEdit1";
        QTest::newRow("six characters") << "010011" << "新食物" << kWrongNumber << "DBEdit1";
        QTest::newRow("no number") << "" << "新食物" << kWrongNumber << "DBEdit1";
        QTest::newRow("empty name") << "01009" << "" << kNoName << "DBEdit2";
        QTest::newRow("number before name") << "29001" << "" << kWrongNumber << "DBEdit1";
        QTest::newRow("number taken") << "01001" << "新食物" << kTaken << "DBEdit1";
        QTest::newRow("name before taken number") << "01001" << "" << kNoName << "DBEdit2";
    }
    // clang-format on
    void saveChecksInOrder() {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        typeInto(w, 1, number);
        typeInto(w, 2, name);
        typeInto(w, 5, QStringLiteral("123.4"));
        click(w, QStringLiteral("Image2"));
        if (message.isEmpty()) {
            QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
            QCOMPARE(foodCount(db), 7);
            QCOMPARE(storedValue(db, QStringLiteral("foodname"), number), QVariant(name));
            QCOMPARE(storedValue(db, QStringLiteral("energy"), number), QVariant(QStringLiteral("123.4")));
            QCOMPARE(w.foodList().state(), State::Browse);
        } else {
            QCOMPARE(messages.texts(), QStringList{message});
            QCOMPARE(messages.last().caption, nc::ui::kCaptionHint);
            QCOMPARE(foodCount(db), 6);
            QCOMPARE(w.foodList().state(), State::Insert); // the typed food stays for correction
            QCOMPARE(field(w, 1)->text(), number);
            QCOMPARE(QApplication::focusWidget(), child(w, focus));
        }
    }

    void numberStartingWithLettersGivesTheConversionMessage() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        typeInto(w, 1, QStringLiteral("ab001"));
        typeInto(w, 2, QStringLiteral("新食物"));
        click(w, QStringLiteral("Image2"));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, Kind::Error);
        QCOMPARE(messages.last().text, QStringLiteral("“ab”不是有效的整数。"));
        QCOMPARE(foodCount(db), 6);
        QCOMPARE(w.foodList().state(), State::Insert);
    }

    void existingFoodKeepsItsOwnNumberButCannotTakeAnother() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        chooseCategory(w, 0); // 01001 稻米, 01002 小麦粉
        typeInto(w, 5, QStringLiteral("347"));
        click(w, QStringLiteral("Image2"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(storedValue(db, QStringLiteral("energy"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("347")));

        typeInto(w, 1, QStringLiteral("01002"));
        click(w, QStringLiteral("Image2"));
        QCOMPARE(messages.texts(), QStringList{kTaken});
        QCOMPARE(storedValue(db, QStringLiteral("foodname"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("稻米")));
        QCOMPARE(w.foodList().state(), State::Edit);
    }

    void newFoodTakesItsCategoryFromItsNumber_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QVariant>("kind");
        QTest::newRow("known category") << "01999" << QVariant(QStringLiteral("01"));
        QTest::newRow("letters after the code") << "21abc" << QVariant(QStringLiteral("21"));
    }
    void newFoodTakesItsCategoryFromItsNumber() {
        QFETCH(QString, number);
        QFETCH(QVariant, kind);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        typeInto(w, 1, number);
        typeInto(w, 2, QStringLiteral("自制米糕"));
        click(w, QStringLiteral("Image2"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(storedValue(db, QStringLiteral("foodkind"), number), kind);
        // Found by name either way.
        child<QLineEdit>(w, QStringLiteral("Edit2"))->setText(QStringLiteral("米糕"));
        click(w, QStringLiteral("Image6"));
        QCOMPARE(w.foodList().rowCount(), 1);
    }

    // A food given another category's number moves to that category's list; one given a number that
    // names no category is refused and keeps its place.
    void changedNumberMovesTheFoodToItsCategory() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        chooseCategory(w, 0); // 01001 稻米, 01002 小麦粉
        typeInto(w, 1, QStringLiteral("13001"));
        click(w, QStringLiteral("Image2"));
        QCOMPARE(messages.texts(), QStringList{kWrongNumber});
        QCOMPARE(storedValue(db, QStringLiteral("foodkind"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("01")));

        typeInto(w, 1, QStringLiteral("02009"));
        click(w, QStringLiteral("Image2"));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(storedValue(db, QStringLiteral("foodname"), QStringLiteral("02009")),
                 QVariant(QStringLiteral("稻米")));
        QCOMPARE(storedValue(db, QStringLiteral("foodkind"), QStringLiteral("02009")),
                 QVariant(QStringLiteral("02")));
        chooseCategory(w, 1);
        QCOMPARE(w.foodList().rowCount(), 2); // 藕粉 and the moved food
        chooseCategory(w, 0);
        QCOMPARE(w.foodList().rowCount(), 1);
    }

    // clang-format off
    void figuresBeyondAnyFoodAsk_data() {
        QTest::addColumn<QList<int>>("fields"); // DBEdit numbers, typed in order
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("named"); // in the question; empty: no question
        QTest::addColumn<int>("focus");     // the field focused on No
        QTest::newRow("protein above 100 g")
            << QList<int>{6} << QStringList{QStringLiteral("150")} << QStringLiteral("蛋白质为 150 g") << 6;
        QTest::newRow("fat above 100 g")
            << QList<int>{7} << QStringList{QStringLiteral("100.5")} << QStringLiteral("脂肪为 100.5 g") << 7;
        QTest::newRow("carbohydrate above 100 g")
            << QList<int>{8} << QStringList{QStringLiteral("120")} << QStringLiteral("碳水化物为 120 g") << 8;
        QTest::newRow("water above 100 g")
            << QList<int>{9} << QStringList{QStringLiteral("101")} << QStringLiteral("水份为 101 g") << 9;
        QTest::newRow("B1 above 20 mg") << QList<int>{12} << QStringList{QStringLiteral("6502")}
                                        << QStringLiteral("维生素B1为 6502 mg") << 12;
        QTest::newRow("energy above pure fat") << QList<int>{5} << QStringList{QStringLiteral("1200")}
                                               << QStringLiteral("能量为 1200 kcal") << 5;
        QTest::newRow("edible part above 100 %")
            << QList<int>{4} << QStringList{QStringLiteral("120")} << QStringLiteral("食部为 120 %") << 4;
        QTest::newRow("sum above 100 g") << QList<int>{6, 7, 8}
            << QStringList{QStringLiteral("40"), QStringLiteral("30"), QStringLiteral("35")}
            << "蛋白质、脂肪、碳水化物之和为 105 g" << 6;
        QTest::newRow("limits themselves pass") << QList<int>{5, 6, 7, 8, 12}
            << QStringList{QStringLiteral("900"), QStringLiteral("0"), QStringLiteral("100"),
                           QStringLiteral("0"), QStringLiteral("20")}
            << QString() << 0;
        QTest::newRow("sum of 100 g passes") << QList<int>{6, 7, 8}
            << QStringList{QStringLiteral("20.1"), QStringLiteral("9.9"), QStringLiteral("70")} << QString() << 0;
    }
    // clang-format on
    // A figure no food can hold is stored only after the counsellor confirms it; No leaves the food
    // as typed, with the focus on that field.
    void figuresBeyondAnyFoodAsk() {
        QFETCH(QList<int>, fields);
        QFETCH(QStringList, values);
        QFETCH(QString, named);
        QFETCH(int, focus);
        for (const bool yes : {false, true}) {
            FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
            MessagesRecorder messages;
            messages.answerNext(yes);
            TForm7 w;
            const auto gridTester = nc::test::testGridModel(w);
            QVERIFY(nc::test::showActive(w));
            typeInto(w, 1, QStringLiteral("01999"));
            typeInto(w, 2, QStringLiteral("自制米糕"));
            for (int i = 0; i < fields.size(); ++i)
                typeInto(w, fields[i], values[i]);
            click(w, QStringLiteral("Image2"));
            if (named.isEmpty()) {
                QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
                QCOMPARE(foodCount(db), 7);
                break;
            }
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages.last().kind, Kind::Confirm);
            QVERIFY2(messages.last().text.contains(named) &&
                         messages.last().text.contains(QStringLiteral("确定要保存吗")),
                     qPrintable(messages.last().text));
            QCOMPARE(foodCount(db), yes ? 7 : 6);
            if (!yes) {
                QCOMPARE(w.foodList().state(), State::Insert);
                QCOMPARE(field(w, fields.first())->text(), values.first());
                QCOMPARE(QApplication::focusWidget(), field(w, focus));
            }
        }
    }

    // A negative figure (pasted: the keys cannot type a minus) is refused naming the field.
    void negativeFigureIsRefused() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        typeInto(w, 1, QStringLiteral("01999"));
        typeInto(w, 2, QStringLiteral("自制米糕"));
        QApplication::clipboard()->setText(QStringLiteral("-3"));
        field(w, 16)->setFocus();
        QTest::keyClick(field(w, 16), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field(w, 16)->text(), QStringLiteral("-3"));
        field(w, 2)->setFocus();
        click(w, QStringLiteral("Image2"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("钙不能为负数！")});
        QCOMPARE(foodCount(db), 6);
        QCOMPARE(QApplication::focusWidget(), field(w, 16));
    }

    void unreadableNutrientIsRefusedNamingTheField() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        typeInto(w, 1, QStringLiteral("01999"));
        typeInto(w, 2, QStringLiteral("自制米糕"));
        QApplication::clipboard()->setText(QStringLiteral("1.2.3"));
        field(w, 5)->setFocus();
        QTest::keyClick(field(w, 5), Qt::Key_V, Qt::ControlModifier);
        click(w, QStringLiteral("Image2"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.last().text.contains(QStringLiteral("能量")));
        QVERIFY(messages.last().text.contains(QStringLiteral("1.2.3")));
        QCOMPARE(foodCount(db), 6);
        QCOMPARE(w.foodList().state(), State::Insert);
        QCOMPARE(field(w, 2)->text(), QStringLiteral("自制米糕"));
        QCOMPARE(field(w, 5)->text(), QStringLiteral("1.2.3"));
        QCOMPARE(QApplication::focusWidget(), field(w, 5));

        // A move in the grid is refused the same way and keeps the new food current.
        clickRow(w, 0);
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.last().text, messages.entries().first().text);
        QCOMPARE(w.foodList().currentRow(), 6);
        QCOMPARE(foodCount(db), 6);
    }

    void moveInTheGridStoresAfterTheChecks() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        chooseCategory(w, 0);
        typeInto(w, 5, QStringLiteral("400"));
        clickRow(w, 1);
        QVERIFY(messages.isEmpty());
        QCOMPARE(w.foodList().currentRow(), 1);
        QCOMPARE(storedValue(db, QStringLiteral("energy"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("400")));

        typeInto(w, 2, QString());
        clickRow(w, 0);
        QCOMPARE(messages.texts(), QStringList{kNoName});
        QCOMPARE(w.foodList().currentRow(), 1);
        QCOMPARE(w.foodList().state(), State::Edit);
        auto* grid = child<FoodGrid>(w, QStringLiteral("DBGrid1"));
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(storedValue(db, QStringLiteral("foodname"), QStringLiteral("01002")),
                 QVariant(QStringLiteral("小麦粉")));
    }

    void moveDropsAnUntouchedNewFood() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        clickRow(w, 0);
        QVERIFY(messages.isEmpty());
        QCOMPARE(w.foodList().rowCount(), 6);
        QCOMPARE(w.foodList().currentRow(), 0);
        QCOMPARE(field(w, 2)->text(), QStringLiteral("稻米"));
        QCOMPARE(foodCount(db), 6);
    }

    void categoryOrSearchDropsAHalfTypedFood_data() {
        QTest::addColumn<bool>("byCategory");
        QTest::newRow("category") << true;
        QTest::newRow("search") << false;
    }
    void categoryOrSearchDropsAHalfTypedFood() {
        QFETCH(bool, byCategory);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        typeInto(w, 1, QStringLiteral("01999"));
        typeInto(w, 2, QStringLiteral("自制米糕"));
        if (byCategory) {
            chooseCategory(w, 0);
        } else {
            child<QLineEdit>(w, QStringLiteral("Edit2"))->setText(QStringLiteral("奶"));
            click(w, QStringLiteral("Image6"));
        }
        QVERIFY(messages.isEmpty());
        QCOMPARE(foodCount(db), 6);
        QCOMPARE(w.foodList().state(), State::Browse);
        QCOMPARE(w.foodList().currentRow(), 0);
        QCOMPARE(field(w, 1)->text(), byCategory ? QStringLiteral("01001") : QStringLiteral("10001"));
    }

    void searchByName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("found");
        QTest::newRow("empty lists all") << "" << 6;
        QTest::newRow("blanks only list all") << "   " << 6;
        QTest::newRow("part of a name") << "奶" << 3;
        QTest::newRow("blanks around") << "  奶 " << 3;
        QTest::newRow("underscore matches one character") << "牛_" << 2;
        QTest::newRow("percent matches any text") << "小%粉" << 1;
        QTest::newRow("nothing") << "鱼" << 0;
    }
    void searchByName() {
        QFETCH(QString, text);
        QFETCH(int, found);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        chooseCategory(w, 1);
        child<QLineEdit>(w, QStringLiteral("Edit2"))->setText(text);
        click(w, QStringLiteral("Image6"));
        QCOMPARE(w.foodList().rowCount(), found);
        QCOMPARE(child<QComboBox>(w, QStringLiteral("ComboBox1"))->currentIndex(), 1); // left as it was
    }

    void deleteRightAfterOpeningOnlyDropsTheNewFood() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        messages.answerNext(true);
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        click(w, QStringLiteral("Image3"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("确定要删除食物    吗?")});
        QCOMPARE(messages.last().kind, Kind::Confirm);
        QCOMPARE(foodCount(db), 6);
        QCOMPARE(w.foodList().rowCount(), 6);
        QCOMPARE(w.foodList().state(), State::Browse);
    }

    void deleteAsksAndLeavesDietRecordsByName() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        db.exec(QStringLiteral("insert into ts (tsid) values (1)"));
        db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (1, '稻米', 100)"));
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        chooseCategory(w, 0);
        messages.answerNext(false);
        click(w, QStringLiteral("Image3"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("确定要删除食物  稻米  吗?")});
        QCOMPARE(foodCount(db), 6);
        messages.answerNext(true);
        click(w, QStringLiteral("Image3"));
        QCOMPARE(foodCount(db), 5);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from Foodnurti where foodid='01001'")).toInteger(),
                 0);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 1);
        QCOMPARE(field(w, 2)->text(), QStringLiteral("小麦粉")); // on to the neighbour
    }

    void gridKeepsItsListAfterASave() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        chooseCategory(w, 0);
        click(w, QStringLiteral("Image4"));
        typeInto(w, 1, QStringLiteral("10999"));
        typeInto(w, 2, QStringLiteral("羊奶"));
        click(w, QStringLiteral("Image2"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(w.foodList().rowCount(), 3); // the category's two foods, then the new one
        QCOMPARE(w.foodList().currentRow(), 2);
        QCOMPARE(w.foodList().state(), State::Browse);
        QCOMPARE(child<FoodGrid>(w, QStringLiteral("DBGrid1"))->model()->index(2, 1).data().toString(),
                 QStringLiteral("羊奶"));
        QCOMPARE(storedValue(db, QStringLiteral("foodkind"), QStringLiteral("10999")),
                 QVariant(QStringLiteral("10")));
    }

    void cancelUndoesEditsAndStartsANewFood() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        QVERIFY(nc::test::showActive(w));
        chooseCategory(w, 0);
        typeInto(w, 5, QStringLiteral("1"));
        click(w, QStringLiteral("Image4"));
        QCOMPARE(w.foodList().state(), State::Insert);
        QCOMPARE(w.foodList().rowCount(), 3);
        QCOMPARE(field(w, 5)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), field(w, 1));
        clickRow(w, 0);
        QCOMPARE(field(w, 5)->text(), QStringLiteral("346"));
        QCOMPARE(storedValue(db, QStringLiteral("energy"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("346")));
    }

    void closingDropsChanges_data() {
        QTest::addColumn<QString>("image");
        QTest::newRow("退出") << "Image5";
        QTest::newRow("close mark") << "Image1";
    }
    void closingDropsChanges() {
        QFETCH(QString, image);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        {
            TForm7 w;
            const auto gridTester = nc::test::testGridModel(w);
            typeInto(w, 1, QStringLiteral("01999"));
            typeInto(w, 2, QStringLiteral("自制米糕"));
            click(w, image);
            QCOMPARE(w.result(), int(QDialog::Rejected));
        }
        QVERIFY(messages.isEmpty());
        QCOMPARE(foodCount(db), 6);
    }

    void buttonsLiftUnderThePointer() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm7 w;
        const auto gridTester = nc::test::testGridModel(w);
        const QList<QPair<QString, int>> tops = {
            {QStringLiteral("Image2"), 540}, {QStringLiteral("Image3"), 540}, {QStringLiteral("Image4"), 540},
            {QStringLiteral("Image5"), 540}, {QStringLiteral("Image6"), 276}, {QStringLiteral("Image1"), 30}};
        for (const auto& [name, top] : tops) {
            QWidget* b = child(w, name);
            QCOMPARE(b->y(), top);
            nc::test::movePointer(b);
            QCOMPARE(b->y(), top - 3);
        }
        nc::test::movePointer(child(w, QStringLiteral("Background")), QPoint(5, 300));
        for (const auto& [name, top] : tops)
            QCOMPARE(child(w, name)->y(), top);
    }

    void windowsOpenByClassName() {
        nc::ui::WindowRegistry registry;
        nc::app::registerWorkingWindows(registry);
        for (const char* name : {"TForm7", "TForm11", "TForm15"})
            QVERIFY2(registry.contains(QString::fromLatin1(name)), name);
    }
};

QTEST_MAIN(TestFoodManagement)
#include "tst_food_management.moc"
