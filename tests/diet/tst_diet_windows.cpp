// The diet record window and the recipe windows, driven as a counsellor would: typing, clicking,
// answering questions, then reading back what the database holds and what was said.

#include "data/query.h"
#include "diet/diet_record_window.h"
#include "diet/import_recipe_dialog.h"
#include "diet/recipe_details_window.h"
#include "diet/save_recipe_dialog.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/pointer.h"
#include "support/widgets.h"
#include "ui/picture_button.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace nc::diet;
using nc::test::child;
using nc::test::click;
using nc::test::clickRow;
using nc::test::column;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixedClock;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::test::ProbeWindow;
using nc::test::RunOutcome;
using nc::test::seed;
using nc::ui::PictureButton;

namespace {

const QString kQuoted = QStringLiteral("酸奶\"原味\"");
// What a weight above the 5000 g an entry may hold is refused with.
const QString kTooHeavy = QStringLiteral("重量超出范围，每种食物应在 0～5000 克之间（可食部），请重新输入。");

// Four foods in two categories, one with double quotes in its name.
QList<nc::data::SeedTable> foods() {
    return {seed(QStringLiteral("Foodnurti"),
                 {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("foodkind")},
                 {{QStringLiteral("01001"), QStringLiteral("小麦"), QStringLiteral("01")},
                  {QStringLiteral("01002"), QStringLiteral("稻米"), QStringLiteral("01")},
                  {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("10")},
                  {QStringLiteral("10002"), kQuoted, QStringLiteral("10")}})};
}

// The record a counsellor left behind: days 1 to n, with foods (day, name, weight).
struct Entry {
    int day;
    const char* name;
    double weight;
};
void fill(FixtureDb& db, int days, std::initializer_list<Entry> entries) {
    nc::data::Query day(&db.connection());
    day.setSql(QStringLiteral("insert into ts (tsid) values (:d)"));
    for (int d = 1; d <= days; ++d) {
        day.setParam(QStringLiteral("d"), d);
        day.execute();
    }
    nc::data::Query food(&db.connection());
    food.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:day, :name, :weight)"));
    for (const Entry& e : entries) {
        food.setParam(QStringLiteral("day"), e.day);
        food.setParam(QStringLiteral("name"), QString::fromUtf8(e.name));
        food.setParam(QStringLiteral("weight"), e.weight);
        food.execute();
    }
}

QStringList storedFoods(FixtureDb& db, int day) {
    QStringList out;
    nc::data::Query q(&db.connection());
    q.setSql(QStringLiteral("select swname, zl from foodcheck where tc=:d order by foodid"));
    q.setParam(QStringLiteral("d"), day);
    q.open();
    for (q.first(); !q.eof(); q.next())
        out << q.field(0).toText() + QLatin1Char(' ') + q.field(1).toText();
    return out;
}

QStringList recipeLines(FixtureDb& db) {
    QStringList out;
    nc::data::Query q(&db.connection());
    q.setSql(QStringLiteral("select spname, swname, zl from sps order by sptime"));
    q.open();
    for (q.first(); !q.eof(); q.next())
        out << q.field(0).toText() + QLatin1Char('|') + q.field(1).toText() + QLatin1Char(' ') +
                   q.field(2).toText();
    return out;
}

// The diet record window as the main window opens it, shown, with a script for the recipe windows.
struct Window {
    TForm8 w;
    QAbstractItemModelTester daysTester{child<QTableView>(w, QStringLiteral("DBGrid2"))->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest};
    QAbstractItemModelTester foodsTester{child<QTableView>(w, QStringLiteral("DBGrid1"))->model(),
                                         QAbstractItemModelTester::FailureReportingMode::QtTest};
    std::function<void(QDialog&)> script;
    QStringList recipeWindows;

    Window() {
        w.setRecipeWindowRunner([this](QDialog& d) {
            recipeWindows << d.objectName();
            d.show();
            if (script)
                script(d);
        });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    QTableView* days() { return child<QTableView>(w, QStringLiteral("DBGrid2")); }
    QTableView* foods() { return child<QTableView>(w, QStringLiteral("DBGrid1")); }
    QComboBox* box(const char* name) { return child<QComboBox>(w, QString::fromLatin1(name)); }
    QLineEdit* weight() { return child<QLineEdit>(w, QStringLiteral("LabeledEdit1")); }
    QString focus() { return w.focusWidget() ? w.focusWidget()->objectName() : QString(); }
};

} // namespace

class TestDietWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // The windows of later subsystems, by the class names the buttons ask for.
        for (const char* name : {"TForm11", "TForm13", "TForm14", "TForm15"}) {
            const QString className = QString::fromLatin1(name);
            ProbeWindow::addTo(nc::ui::WindowRegistry::program(), {className});
        }
    }
    void init() {
        ProbeWindow::reset();
        ProbeWindow::note = [] { return lsfoodname(); }; // the name handed over to the food query
        lsfoodname().clear();
    }
    void opensOnTheLastDay() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 3, {{1, "小麦", 50}, {3, "牛奶", 250}, {3, "稻米", 150.5}});
        Window t;
        QAbstractItemModelTester days(t.days()->model());
        QAbstractItemModelTester foodsTester(t.foods()->model());
        QCOMPARE(t.w.size(), QSize(798, 618));
        QVERIFY(t.w.windowFlags() & Qt::FramelessWindowHint);

        QCOMPARE(t.box("ComboBox1")->count(), 14);
        QCOMPARE(t.box("ComboBox1")->currentText(), QStringLiteral("01 谷类及制品"));
        QCOMPARE(t.box("ComboBox2")->count(), 2);
        // The category's foods used most recently come first: 稻米 was entered after 小麦.
        QCOMPARE(t.box("ComboBox2")->itemText(0), QStringLiteral("稻米"));
        QCOMPARE(t.box("ComboBox2")->itemText(1), QStringLiteral("小麦"));
        QCOMPARE(t.box("ComboBox2")->currentText(), QString());

        QCOMPARE(t.days()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("天次"));
        QCOMPARE(t.days()->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignCenter);
        QVERIFY(!(t.days()->model()->flags(t.days()->model()->index(0, 0)) & Qt::ItemIsEditable));
        QCOMPARE(column(t.days(), 0),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        QCOMPARE(t.days()->currentIndex().row(), 2);

        QCOMPARE(t.foods()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("食物名称"));
        QCOMPARE(t.foods()->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("重量 (克/毫升)"));
        QCOMPARE(column(t.foods(), 0), (QStringList{QStringLiteral("牛奶"), QStringLiteral("稻米")}));
        QCOMPARE(column(t.foods(), 1), (QStringList{QStringLiteral("250"), QStringLiteral("150.5")}));
        QCOMPARE(t.foods()->currentIndex().row(), 1);

        // Clicking a day shows its foods.
        clickRow(t.days(), 0);
        QCOMPARE(t.w.record().currentDay(), 1);
        QCOMPARE(column(t.foods(), 0), QStringList{QStringLiteral("小麦")});
        clickRow(t.days(), 1);
        QCOMPARE(t.foods()->model()->rowCount(), 0);
    }

    void categoryPickListsItsFoods() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Window t;
        QComboBox* kinds = t.box("ComboBox1");
        QComboBox* names = t.box("ComboBox2");
        names->setEditText(QStringLiteral("小"));
        kinds->setCurrentIndex(kinds->findText(QStringLiteral("10 乳类及制品")));
        QCOMPARE(names->count(), 2);
        QCOMPARE(names->itemText(1), kQuoted);
        QCOMPARE(names->currentText(), QString()); // the food box starts empty again
        // Typing into the category box picks nothing: the food list stays.
        QTest::keyClicks(kinds->lineEdit(), QStringLiteral("x"));
        QCOMPARE(names->count(), 2);
        QCOMPARE(names->itemText(0), QStringLiteral("牛奶"));
        // A category without foods empties the list.
        kinds->setCurrentIndex(kinds->findText(QStringLiteral("02 薯类淀粉及制品")));
        QCOMPARE(names->count(), 0);
    }

    // clang-format off
    void addFood_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no days comes first") << 0 << "牛奶" << "250" << "请先增加天数！" << "" << "";
        QTest::newRow("empty name") << 1 << "" << "250" << "请输入食物名称！" << "ComboBox2" << "";
        QTest::newRow("blank name") << 1 << "   " << "250" << "请输入食物名称！" << "ComboBox2" << "";
        QTest::newRow("unknown food") << 1 << "面包" << "250" << "无此食物！" << "ComboBox2" << "";
        QTest::newRow("name checked before weight") << 1 << "面包" << "" << "无此食物！" << "ComboBox2" << "";
        QTest::newRow("empty weight") << 1 << "牛奶" << "" << "请输入正确的重量！" << "LabeledEdit1" << "";
        QTest::newRow("lone point") << 1 << "牛奶" << "." << "请输入正确的重量！" << "LabeledEdit1" << "";
        QTest::newRow("two points") << 1 << "牛奶" << "1.2.3" << "请输入正确的重量！" << "LabeledEdit1" << "";
        QTest::newRow("pasted text") << 1 << "牛奶" << "二两" << "请输入正确的重量！" << "LabeledEdit1" << "";
        QTest::newRow("pasted negative") << 1 << "牛奶" << "-50" << "请输入正确的重量！" << "LabeledEdit1" << "";
        QTest::newRow("over 5000 g") << 1 << "牛奶" << "5000.5" << kTooHeavy << "LabeledEdit1" << "";
        QTest::newRow("10^20 g") << 1 << "牛奶" << "100000000000000000000" << kTooHeavy << "LabeledEdit1" << "";
        QTest::newRow("5000 g") << 1 << "牛奶" << "5000" << "" << "DBGrid1" << "牛奶 5000";
        QTest::newRow("trimmed") << 1 << "  牛奶 " << "250" << "" << "DBGrid1" << "牛奶 250";
        QTest::newRow("another category") << 1 << "牛奶" << "0" << "" << "DBGrid1" << "牛奶 0";
        QTest::newRow("double quotes") << 1 << kQuoted << "125.5"
            << "" << QStringLiteral("DBGrid1") << kQuoted + QStringLiteral(" 125.5");
    }
    // clang-format on
    void addFood() {
        QFETCH(int, days);
        QFETCH(QString, name);
        QFETCH(QString, weight);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, stored);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, days, {});
        MessagesRecorder messages;
        Window t;
        t.box("ComboBox2")->setEditText(name);
        t.weight()->setText(weight); // as pasted: the key filter is not in the way
        click(t.w, QStringLiteral("Image8"));

        QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!focus.isEmpty())
            QCOMPARE(t.focus(), focus);
        QCOMPARE(storedFoods(db, 1), stored.isEmpty() ? QStringList() : QStringList{stored});
        QCOMPARE(t.foods()->model()->rowCount(), stored.isEmpty() ? 0 : 1);
        // The boxes keep what was typed, so the same food can be added again at once.
        QCOMPARE(t.box("ComboBox2")->currentText(), name);
        QCOMPARE(t.weight()->text(), weight);
    }

    void sameFoodTwiceGivesTwoEntries() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 2, {{2, "稻米", 100}});
        MessagesRecorder messages;
        Window t;
        QTest::keyClicks(t.weight(), QStringLiteral("2a5-0.5")); // only digits and points arrive
        QCOMPARE(t.weight()->text(), QStringLiteral("250.5"));
        t.box("ComboBox2")->setEditText(QStringLiteral("牛奶"));
        click(t.w, QStringLiteral("Image8"));
        click(t.w, QStringLiteral("Image8"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(storedFoods(db, 2), (QStringList{QStringLiteral("稻米 100"), QStringLiteral("牛奶 250.5"),
                                                  QStringLiteral("牛奶 250.5")}));
        QCOMPARE(column(t.foods(), 0),
                 (QStringList{QStringLiteral("稻米"), QStringLiteral("牛奶"), QStringLiteral("牛奶")}));
        QCOMPARE(t.foods()->currentIndex().row(), 2); // the new entry is selected
        QCOMPARE(storedFoods(db, 1), QStringList());
    }

    void addAndDeleteDays() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        MessagesRecorder messages;
        Window t;
        for (int i = 0; i < 4; ++i)
            click(t.w, QStringLiteral("Image12"));
        QCOMPARE(column(t.days(), 0), (QStringList{QStringLiteral("1"), QStringLiteral("2"),
                                                   QStringLiteral("3"), QStringLiteral("4")}));
        QCOMPARE(t.days()->currentIndex().row(), 3);

        clickRow(t.days(), 1);
        messages.answerNext(true);
        click(t.w, QStringLiteral("Image13"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("确定要删除 第2天 食谱吗?")});
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Confirm);
        QCOMPARE(t.focus(), QStringLiteral("DBGrid2"));
        QCOMPARE(column(t.days(), 0),
                 (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4")}));
        click(t.w, QStringLiteral("Image12"));
        QCOMPARE(column(t.days(), 0), (QStringList{QStringLiteral("1"), QStringLiteral("3"),
                                                   QStringLiteral("4"), QStringLiteral("5")}));
        QCOMPARE(t.w.record().currentDay(), 5);
    }

    void deleteDayConfirmation_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deleteDayConfirmation() {
        QFETCH(bool, yes);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 12, {{11, "小麦", 50}, {12, "牛奶", 250}, {12, "稻米", 150}});
        MessagesRecorder messages;
        Window t;
        // An entry that reached the database behind the window's back shows after either answer.
        db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (12, '小麦', 80)"));
        messages.answerNext(yes);
        click(t.w, QStringLiteral("Image13"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("确定要删除 第12天 食谱吗?")});
        if (yes) {
            QCOMPARE(db.count(QStringLiteral("ts")), 11);
            QCOMPARE(storedFoods(db, 12), QStringList());
            QCOMPARE(storedFoods(db, 11), QStringList{QStringLiteral("小麦 50")});
            QCOMPARE(t.days()->model()->rowCount(), 11);
            QCOMPARE(column(t.foods(), 0), QStringList{QStringLiteral("小麦")}); // the cursor lands on day 11
        } else {
            QCOMPARE(db.count(QStringLiteral("ts")), 12);
            QCOMPARE(db.count(QStringLiteral("foodcheck")), 4);
            QCOMPARE(t.w.record().currentDay(), 12);
            QCOMPARE(column(t.foods(), 0),
                     (QStringList{QStringLiteral("牛奶"), QStringLiteral("稻米"), QStringLiteral("小麦")}));
        }
    }

    void deletingTheOnlyDayAndWithoutDays() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 1, {{1, "牛奶", 250}});
        MessagesRecorder messages;
        Window t;
        messages.answerNext(true);
        click(t.w, QStringLiteral("Image13"));
        QCOMPARE(db.count(QStringLiteral("ts")), 0);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 0);
        QCOMPARE(t.foods()->model()->rowCount(), 0);
        messages.clear();
        click(t.w, QStringLiteral("Image13")); // nothing left: no question
        QVERIFY(messages.isEmpty());
        click(t.w, QStringLiteral("Image12"));
        QCOMPARE(column(t.days(), 0), QStringList{QStringLiteral("1")});
    }

    void deleteFood() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 2, {{1, "牛奶", 250}, {1, "稻米", 150}, {1, "小麦", 50}});
        MessagesRecorder messages;
        Window t;
        click(t.w, QStringLiteral("Image9")); // day 2 has no foods: nothing happens
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 3);
        clickRow(t.days(), 0);
        clickRow(t.foods(), 1);
        click(t.w, QStringLiteral("Image9"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(storedFoods(db, 1), (QStringList{QStringLiteral("牛奶 250"), QStringLiteral("小麦 50")}));
        QCOMPARE(column(t.foods(), 0), (QStringList{QStringLiteral("牛奶"), QStringLiteral("小麦")}));
        QCOMPARE(t.focus(), QStringLiteral("DBGrid1"));
    }

    // clang-format off
    void gridWeightEdit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        const QString bad = QStringLiteral("请输入正确的重量！");
        QTest::newRow("a number") << "300" << "300" << "";
        QTest::newRow("a decimal") << "12.5" << "12.5" << "";
        QTest::newRow("letters") << "abc" << "" << bad;
        QTest::newRow("unchanged") << "250" << "250" << "";
        QTest::newRow("empty") << "" << "" << bad;
        QTest::newRow("two points") << "1.2.3" << "" << bad;
        QTest::newRow("negative") << "-20" << "" << bad;
        QTest::newRow("5000 g") << "5000" << "5000" << "";
        QTest::newRow("over 5000 g") << "5000.1" << "" << kTooHeavy;
        QTest::newRow("10^20 g") << "1e20" << "" << kTooHeavy;
    }
    // clang-format on
    void gridWeightEdit() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 2, {{2, "牛奶", 250}, {2, "稻米", 150}});
        MessagesRecorder messages;
        Window t;
        QTableView* grid = t.foods();
        const QModelIndex cell = grid->model()->index(0, 1);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key_Return);
        const QPointer<QLineEdit> open(editor);
        QTRY_VERIFY(!open); // the editor has committed its text and closed
        const bool refused = stored.isEmpty();
        // The message comes once the editor has closed.
        QTRY_VERIFY(!refused || !messages.isEmpty());
        QCOMPARE(messages.texts(), refused ? QStringList{message} : QStringList());
        QCOMPARE(cell.data().toString(), refused ? QStringLiteral("250") : stored);
        // The edit is stored when the cursor leaves the row.
        QCOMPARE(storedFoods(db, 2).first(), QStringLiteral("牛奶 250"));
        clickRow(grid, 1);
        QCOMPARE(storedFoods(db, 2),
                 (QStringList{QStringLiteral("牛奶 ") + (refused ? QStringLiteral("250") : stored),
                              QStringLiteral("稻米 150")}));
        QCOMPARE(t.w.record().foods().state(), nc::data::DataSet::State::Browse);
    }

    void gridEditStoredOnDaySwitchAndOnClose() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 2, {{1, "牛奶", 250}, {2, "稻米", 150}});
        MessagesRecorder messages;
        {
            Window t;
            QAbstractItemModel* m = t.foods()->model();
            QVERIFY(m->setData(m->index(0, 0), QStringLiteral("小麦"))); // names are not checked here
            clickRow(t.days(), 0);
            QCOMPARE(storedFoods(db, 2), QStringList{QStringLiteral("小麦 150")});
            QVERIFY(m->setData(m->index(0, 1), QStringLiteral("260")));
            click(t.w, QStringLiteral("Image5"));
            QVERIFY(!t.w.isVisible());
        }
        QCOMPARE(storedFoods(db, 1), QStringList{QStringLiteral("牛奶 260")});
        QVERIFY(messages.isEmpty());
    }

    void recordSurvivesReopening() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        MessagesRecorder messages;
        {
            Window t;
            for (int i = 0; i < 3; ++i)
                click(t.w, QStringLiteral("Image12"));
            t.box("ComboBox2")->setCurrentIndex(1); // 稻米, picked from the first category
            t.weight()->setText(QStringLiteral("150"));
            click(t.w, QStringLiteral("Image8"));
            t.box("ComboBox2")->setEditText(QStringLiteral("牛奶")); // typed
            click(t.w, QStringLiteral("Image8"));
            click(t.w, QStringLiteral("Image2"));
        }
        Window again;
        QCOMPARE(column(again.days(), 0),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        QCOMPARE(column(again.foods(), 0), (QStringList{QStringLiteral("稻米"), QStringLiteral("牛奶")}));
        QVERIFY(messages.isEmpty());
    }

    // clang-format off
    void buttonsCheckThenOpen_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("foods");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("opens");
        QTest::newRow("composition, no days") << "Image3" << 0 << false << "没有选定食物或食物录入为空！" << "";
        QTest::newRow("composition, day without foods") << "Image3" << 2 << false << "没有选定食物或食物录入为空！" << "";
        QTest::newRow("composition") << "Image3" << 1 << true << "" << "TForm11";
        QTest::newRow("quick query") << "Image4" << 0 << false << "" << "TForm15";
        QTest::newRow("analysis, no entries") << "Image6" << 2 << false << "没有食物数据可以处理！" << "";
        QTest::newRow("analysis, entries on another day") << "Image6" << 2 << true << "" << "TForm13";
        QTest::newRow("print") << "Image7" << 0 << false << "" << "TForm14";
        QTest::newRow("history, no days") << "Button1" << 0 << false << "请先增加天数！" << "";
        QTest::newRow("history") << "Button1" << 1 << false << "" << "TForm16";
        QTest::newRow("save recipe, no days") << "xpBitBtn1" << 0 << false << "" << "TForm4";
        QTest::newRow("import, no days") << "xpBitBtn2" << 0 << false << "请先增加天数！" << "";
        QTest::newRow("import") << "xpBitBtn2" << 1 << false << "" << "TForm10";
    }
    // clang-format on
    void buttonsCheckThenOpen() {
        QFETCH(QString, button);
        QFETCH(int, days);
        QFETCH(bool, foods);
        QFETCH(QString, message);
        QFETCH(QString, opens);
        FixtureDb db(FixtureDb::Content::FixedRows, ::foods());
        fill(db, days, {});
        if (foods) {
            db.exec(QStringLiteral(
                "insert into foodcheck (tc, swname, zl) values (1, '牛奶', 250), (1, '稻米', 150)"));
        }
        MessagesRecorder messages;
        Window t;
        t.script = [](QDialog& d) { d.close(); };
        if (foods)
            clickRow(t.foods(), 0); // the first of two entries is the selected one
        click(t.w, button);
        QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QStringList classes = t.recipeWindows;
        for (const ProbeWindow::Seen& o : ProbeWindow::seen) {
            classes << o.className;
            QCOMPARE(o.parent, &t.w);
        }
        QCOMPARE(classes, opens.isEmpty() ? QStringList() : QStringList{opens});
        if (opens == QLatin1String("TForm11"))
            QCOMPARE(ProbeWindow::seen.first().note, days == 1 ? QStringLiteral("牛奶") : QString());
        if (button == QLatin1String("Image3") && opens.isEmpty())
            QCOMPARE(lsfoodname(), QString());
    }

    void foodQueryHandsOverAName() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        {
            Window t;
            setFoodBoxText(QStringLiteral("牛奶"));
            QCOMPARE(t.box("ComboBox2")->currentText(), QStringLiteral("牛奶"));
        }
        setFoodBoxText(QStringLiteral("稻米")); // the window is gone: nothing happens
    }

    void picturesRiseAndSettle() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Window t;
        const struct {
            const char* name;
            int left, rest, raised;
        } tops[] = {{"Button1", 56, 513, 510}, {"Image3", 195, 513, 510}, {"Image4", 335, 513, 510},
                    {"Image5", 471, 513, 510}, {"Image8", 506, 404, 401}, {"Image9", 637, 404, 401},
                    {"Image6", 606, 483, 480}, {"Image7", 608, 543, 541}, {"Image2", 732, 28, 25},
                    {"Image12", 59, 436, 433}, {"Image13", 142, 436, 433}};
        auto* background = child<PictureButton>(t.w, QStringLiteral("Image1"));
        for (const auto& b : tops) {
            auto* button = child<PictureButton>(t.w, QString::fromLatin1(b.name));
            QCOMPARE(button->pos(), QPoint(b.left, b.rest));
            nc::test::movePointer(button);
            QCOMPARE(button->y(), b.raised);
        }
        nc::test::movePointer(background);
        for (const auto& b : tops)
            QCOMPARE(child<PictureButton>(t.w, QString::fromLatin1(b.name))->y(), b.rest);
        // The arrows over the drop-down boxes stay put.
        auto* arrow = child<PictureButton>(t.w, QStringLiteral("Image10"));
        nc::test::movePointer(arrow);
        QCOMPARE(arrow->pos(), QPoint(676, 141));
        QVERIFY(!child<QPushButton>(t.w, QStringLiteral("Button2"))->isVisible());
        QVERIFY(!child<QPushButton>(t.w, QStringLiteral("Button3"))->isVisible());
    }

    // Recipes.

    // clang-format off
    void saveRecipe_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        QTest::newRow("button") << " 早餐 " << false << "" << "早餐";
        QTest::newRow("Enter saves") << "早餐" << true << "" << "早餐";
        QTest::newRow("double quotes") << "妈妈的\"拿手\"菜" << false << "" << "妈妈的\"拿手\"菜";
        QTest::newRow("blank name") << "   " << false << "食谱名称不能为空！" << "";
        QTest::newRow("Enter with no name") << "" << true << "食谱名称不能为空！" << "";
    }
    // clang-format on
    void saveRecipe() {
        QFETCH(QString, name);
        QFETCH(bool, enter);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 2, {{1, "牛奶", 250}, {1, "稻米", 150}, {2, "小麦", 50}});
        MessagesRecorder messages;
        Window t;
        clickRow(t.days(), 0);
        bool stillOpen = false;
        t.script = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("保存为食谱"));
            QCOMPARE(d.size(), QSize(355, 80));
            QCOMPARE(child<QLabel>(d, QStringLiteral("Label1"))->text(), QStringLiteral("请为食谱起名字："));
            QCOMPARE(child<QPushButton>(d, QStringLiteral("xpButton1"))->text(), QStringLiteral("保   存"));
            auto* edit = child<QLineEdit>(d, QStringLiteral("Edit1"));
            edit->insert(name);
            if (enter)
                QTest::keyClick(edit, Qt::Key_Return);
            else
                click(d, QStringLiteral("xpButton1"));
            stillOpen = d.isVisible();
            if (stillOpen)
                QCOMPARE(d.focusWidget(), edit);
        };
        click(t.w, QStringLiteral("xpBitBtn1"));
        QCOMPARE(t.recipeWindows, QStringList{QStringLiteral("TForm4")});
        QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(stillOpen, !message.isEmpty());
        const QStringList lines = stored.isEmpty() ? QStringList()
                                                   : QStringList{stored + QStringLiteral("|牛奶 250"),
                                                                 stored + QStringLiteral("|稻米 150")};
        QCOMPARE(recipeLines(db), lines);
    }

    void sameNameTwiceGivesOneRecipe() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        const FixedClock clock(QDate(2026, 3, 2), QTime(8, 0), FixedClock::Reading::MillisecondOn);
        fill(db, 2, {{1, "牛奶", 250}, {1, "稻米", 150}, {2, "小麦", 50}});
        MessagesRecorder messages;
        Window t;
        const auto saveAs = [&t](const QString& name) {
            t.script = [name](QDialog& d) {
                child<QLineEdit>(d, QStringLiteral("Edit1"))->insert(name);
                click(d, QStringLiteral("xpButton1"));
            };
            click(t.w, QStringLiteral("xpBitBtn1"));
        };
        saveAs(QStringLiteral("早餐")); // day 2, the current one
        clickRow(t.days(), 0);
        saveAs(QStringLiteral("早餐"));
        QCOMPARE(recipeLines(db),
                 (QStringList{QStringLiteral("早餐|小麦 50"), QStringLiteral("早餐|牛奶 250"),
                              QStringLiteral("早餐|稻米 150")}));

        // A day without foods stores nothing, and its name is offered nowhere.
        click(t.w, QStringLiteral("Image12"));
        saveAs(QStringLiteral("空的一天"));
        QCOMPARE(db.count(QStringLiteral("sps")), 3);
        QStringList offered;
        t.script = [&offered](QDialog& d) {
            auto* box = child<QComboBox>(d, QStringLiteral("ComboBox1"));
            for (int i = 0; i < box->count(); ++i)
                offered << box->itemText(i);
            d.close();
        };
        click(t.w, QStringLiteral("xpBitBtn2"));
        QCOMPARE(offered, QStringList{QStringLiteral("早餐")});
        QVERIFY(messages.isEmpty());
        // The recipe stays when the day it came from is deleted.
        clickRow(t.days(), 0);
        messages.answerNext(true);
        click(t.w, QStringLiteral("Image13"));
        QCOMPARE(db.count(QStringLiteral("sps")), 3);
    }

    void importRecipe() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 1, {{1, "小麦", 50}});
        // Stored out of order; loading follows the times. Names are taken as stored, unchecked.
        db.exec(QStringLiteral("insert into sps (spname, sptime, foodid, swname, zl) values "
                               "('午餐', '2026-03-02 12:00:00.002', '7', '自制汤', 300),"
                               "('午餐', '2026-03-02 12:00:00.000', '5', '稻米', 150),"
                               "('早\"餐\"', '2026-03-02 08:00:00.000', '6', '牛奶', 250),"
                               "('午餐', '2026-03-02 12:00:00.001', '6', '牛奶', 200)"));
        MessagesRecorder messages;
        Window t;
        const auto load = [&t](const QString& name) {
            t.script = [name](QDialog& d) {
                QCOMPARE(d.windowTitle(), QStringLiteral("导出食谱"));
                QCOMPARE(d.size(), QSize(345, 46));
                auto* box = child<QComboBox>(d, QStringLiteral("ComboBox1"));
                QCOMPARE(box->currentText(), QString());
                box->setCurrentIndex(box->findText(name));
                click(d, QStringLiteral("xpButton1"));
                QVERIFY(!d.isVisible());
            };
            click(t.w, QStringLiteral("xpBitBtn2"));
        };
        load(QStringLiteral("午餐"));
        QCOMPARE(column(t.foods(), 0), (QStringList{QStringLiteral("小麦"), QStringLiteral("稻米"),
                                                    QStringLiteral("牛奶"), QStringLiteral("自制汤")}));
        load(QStringLiteral("午餐"));
        load(QStringLiteral("早\"餐\""));
        QCOMPARE(storedFoods(db, 1), (QStringList{QStringLiteral("小麦 50"), QStringLiteral("稻米 150"),
                                                  QStringLiteral("牛奶 200"), QStringLiteral("自制汤 300"),
                                                  QStringLiteral("稻米 150"), QStringLiteral("牛奶 200"),
                                                  QStringLiteral("自制汤 300"), QStringLiteral("牛奶 250")}));
        QCOMPARE(t.foods()->model()->rowCount(), 8);
        QVERIFY(messages.isEmpty());
    }

    void importNeedsARecipeChosen_data() {
        QTest::addColumn<bool>("recipes");
        QTest::addColumn<QString>("typed");
        QTest::newRow("no recipes saved") << false << "";
        QTest::newRow("nothing chosen") << true << "";
        QTest::newRow("a name not in the list") << true << "晚餐";
    }
    void importNeedsARecipeChosen() {
        QFETCH(bool, recipes);
        QFETCH(QString, typed);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 1, {});
        if (recipes)
            db.exec(QStringLiteral(
                "insert into sps (spname, sptime, swname, zl) values ('午餐', '2026-03-02', '稻米', 1)"));
        MessagesRecorder messages;
        Window t;
        t.script = [&](QDialog& d) {
            auto* box = child<QComboBox>(d, QStringLiteral("ComboBox1"));
            QCOMPARE(box->count(), recipes ? 1 : 0);
            box->lineEdit()->insert(typed);
            click(d, QStringLiteral("xpButton1"));
            QVERIFY(d.isVisible());
        };
        click(t.w, QStringLiteral("xpBitBtn2"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("请选择食谱！")});
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 0);
    }

    // A failure at any statement of an import is reported, adds nothing and leaves the dialog open
    // for another try; once nothing fails, the lines are in the day.
    void failedImportAddsNothingAndStaysOpen() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 1, {});
        db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values "
                               "('午餐', '2026-03-02 12:00:00.000', '稻米', 150), ('午餐', '2026-03-02 "
                               "12:00:00.001', '牛奶', 200)"));
        MessagesRecorder messages;
        Window t;
        bool clicked = false;
        bool stayedOpen = false;
        t.script = [&](QDialog& d) {
            child<QComboBox>(d, QStringLiteral("ComboBox1"))->setCurrentIndex(0);
            click(d, QStringLiteral("xpButton1"));
            clicked = true;
            stayedOpen = d.isVisible();
        };
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] { return databaseContents(db.connection(), {"ts", "foodcheck", "sps"}); };
        sweep.afterRun = [&](int, RunOutcome) {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
            QVERIFY(!clicked || stayedOpen);
            QCOMPARE(t.foods()->model()->rowCount(), 0);
            messages.clear();
        };
        QVERIFY(sweep.run([&] {
            clicked = stayedOpen = false;
            click(t.w, QStringLiteral("xpBitBtn2"));
            return messages.isEmpty() ? RunOutcome::Completed : RunOutcome::Failed;
        }));
        QVERIFY(clicked && !stayedOpen);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 2);
        QCOMPARE(t.foods()->model()->rowCount(), 2);
    }

    // Saving a recipe through its dialog: a failure at any statement is reported, stores nothing and
    // leaves the dialog open.
    void failedSaveStoresNothing() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 1, {{1, "牛奶", 250}, {1, "稻米", 150}});
        db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values ('早餐', '2026-03-01 "
                               "08:00:00.000', '小麦', 50)"));
        const FixedClock clock(QDate(2026, 3, 2), QTime(8, 0), FixedClock::Reading::MillisecondOn);
        MessagesRecorder messages;
        Window t;
        bool stayedOpen = false;
        t.script = [&](QDialog& d) {
            child<QLineEdit>(d, QStringLiteral("Edit1"))->insert(QStringLiteral("午餐"));
            click(d, QStringLiteral("xpButton1"));
            stayedOpen = d.isVisible();
        };
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] { return databaseContents(db.connection(), {"ts", "foodcheck", "sps"}); };
        sweep.afterRun = [&](int, RunOutcome) {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
            QVERIFY(stayedOpen);
            messages.clear();
        };
        QVERIFY(sweep.run([&] {
            click(t.w, QStringLiteral("xpBitBtn1"));
            const bool failed = !messages.isEmpty() && messages.last().kind == MessagesRecorder::Kind::Error;
            return failed ? RunOutcome::Failed : RunOutcome::Completed;
        }));
        QVERIFY(!stayedOpen);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from sps where spname='午餐'")).toInteger(), 2);
        QCOMPARE(db.count(QStringLiteral("sps")), 3);
    }

    void recipeDetails() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 2, {{2, "小麦", 50}});
        db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values "
                               "('早餐', '2026-03-02 08:00:00.000', '牛奶', 250),"
                               "('午餐', '2026-03-02 12:00:00.001', '牛奶', 200),"
                               "('午餐', '2026-03-02 12:00:00.000', '稻米', 150)"));
        MessagesRecorder messages;
        Window t;
        t.script = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("食谱明细"));
            QCOMPARE(d.size(), QSize(697, 478));
            auto* names = child<QTableView>(d, QStringLiteral("DBGrid1"));
            auto* lines = child<QTableView>(d, QStringLiteral("DBGrid2"));
            QAbstractItemModelTester tester(lines->model());
            QAbstractItemModelTester namesTester(names->model());
            QCOMPARE(names->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("食谱名称"));
            QStringList titles;
            for (int c = 0; c < lines->model()->columnCount(); ++c)
                titles << lines->model()->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(titles, (QStringList{QStringLiteral("配餐时间"), QStringLiteral("食物名称"),
                                          QStringLiteral("重量（克/毫升）")}));
            // Each name once, in the order the database gives them; the first one's lines show.
            QCOMPARE(column(names, 0), (QStringList{QStringLiteral("午餐"), QStringLiteral("早餐")}));
            QCOMPARE(names->currentIndex().row(), 0);
            QStringList first = column(lines, 1);
            first.sort();
            QCOMPARE(first, (QStringList{QStringLiteral("牛奶"), QStringLiteral("稻米")}));
            clickRow(names, 1);
            QCOMPARE(column(lines, 1), QStringList{QStringLiteral("牛奶")});
            QCOMPARE(column(lines, 0), QStringList{QStringLiteral("2026-03-02 08:00:00")});
            clickRow(names, 0);
            QCOMPARE(lines->model()->rowCount(), 2);
            click(d, QStringLiteral("xpButton1"));
            QVERIFY(!d.isVisible());
        };
        click(t.w, QStringLiteral("Button1"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(storedFoods(db, 2), (QStringList{QStringLiteral("小麦 50"), QStringLiteral("稻米 150"),
                                                  QStringLiteral("牛奶 200")}));
        QCOMPARE(column(t.foods(), 0),
                 (QStringList{QStringLiteral("小麦"), QStringLiteral("稻米"), QStringLiteral("牛奶")}));
    }

    void recipeDetailsWithNoRecipes() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        fill(db, 1, {{1, "小麦", 50}});
        MessagesRecorder messages;
        Window t;
        t.script = [&](QDialog& d) {
            QCOMPARE(child<QTableView>(d, QStringLiteral("DBGrid1"))->model()->rowCount(), 0);
            QCOMPARE(child<QTableView>(d, QStringLiteral("DBGrid2"))->model()->rowCount(), 0);
            click(d, QStringLiteral("xpButton1"));
            QVERIFY(d.isVisible());
        };
        click(t.w, QStringLiteral("Button1"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("食谱为空！")});
        QCOMPARE(storedFoods(db, 1), QStringList{QStringLiteral("小麦 50")});
    }
};

QTEST_MAIN(TestDietWindows)
#include "tst_diet_windows.moc"
