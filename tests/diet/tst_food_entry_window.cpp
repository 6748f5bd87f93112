// Entering a day's food in the diet record window by keyboard only: the type-ahead under the name
// box, the weight box with household portions, Enter to add and back to the name, meals by key; then
// the grid that shows it, by meal, every name whole.

#include "data/query.h"
#include "diet/diet_record_window.h"
#include "diet/type_ahead.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/typing.h"
#include "support/widgets.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>
#include <QTest>

using namespace nc::diet;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::test::seed;

namespace {

// Foods a day is made of, with the initials and edible shares of the table; the portions are the
// shipped ones.
QList<nc::data::SeedTable> dayFoods() {
    return {seed(QStringLiteral("Foodnurti"),
                 {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("dm"),
                  QStringLiteral("foodish"), QStringLiteral("foodkind")},
                 {{QStringLiteral("10126"), QStringLiteral("纯牛奶（代表值，全脂）"), QStringLiteral("CNN"),
                   QStringLiteral("100"), QStringLiteral("10")},
                  {QStringLiteral("11001"), QStringLiteral("鸡蛋（代表值）"), QStringLiteral("JD"),
                   QStringLiteral("87"), QStringLiteral("11")},
                  {QStringLiteral("11002"), QStringLiteral("鸡蛋白"), QStringLiteral("JDB"),
                   QStringLiteral("100"), QStringLiteral("11")},
                  {QStringLiteral("01093"), QStringLiteral("馒头"), QStringLiteral("MT"),
                   QStringLiteral("100"), QStringLiteral("01")},
                  {QStringLiteral("01040"), QStringLiteral("面条（生，代表值）"), QStringLiteral("MT"),
                   QStringLiteral("100"), QStringLiteral("01")},
                  {QStringLiteral("06001"), QStringLiteral("苹果（代表值）"), QStringLiteral("PG"),
                   QStringLiteral("85"), QStringLiteral("06")},
                  {QStringLiteral("06002"), QStringLiteral("红香蕉苹果"), QStringLiteral("HXJPG"),
                   QStringLiteral("85"), QStringLiteral("06")},
                  {QStringLiteral("01001"), QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("MF"),
                   QStringLiteral("100"), QStringLiteral("01")},
                  {QStringLiteral("04127"), QStringLiteral("番茄（整个，罐头）"), QStringLiteral("FQ"),
                   QStringLiteral("100"), QStringLiteral("04")},
                  {QStringLiteral("04137"), QStringLiteral("番茄［西红柿］"), QStringLiteral("FQ"),
                   QStringLiteral("97"), QStringLiteral("04")},
                  {QStringLiteral("08001"), QStringLiteral("猪肉（瘦）"), QStringLiteral("ZR"),
                   QStringLiteral("100"), QStringLiteral("08")},
                  {QStringLiteral("19001"), QStringLiteral("花生油"), QStringLiteral("HSY"),
                   QStringLiteral("100"), QStringLiteral("19")},
                  {QStringLiteral("06168"), QStringLiteral("香蕉［甘蕉］"), QStringLiteral("XJ"),
                   QStringLiteral("59"), QStringLiteral("06")},
                  {QStringLiteral("01050"), QStringLiteral("小米粥"), QStringLiteral("XMZ"),
                   QStringLiteral("100"), QStringLiteral("01")},
                  {QStringLiteral("04038"), QStringLiteral("菠菜（鲜）［赤根菜］"), QStringLiteral("BC"),
                   QStringLiteral("89"), QStringLiteral("04")},
                  {QStringLiteral("03001"), QStringLiteral("豆腐（代表值）"), QStringLiteral("DF"),
                   QStringLiteral("100"), QStringLiteral("03")}})};
}

struct Window {
    TForm8 w;
    QAbstractItemModelTester gridTester{w.findChild<QTableView*>(QStringLiteral("DBGrid1"))->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest};
    Window() {
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    template <class T> T* child(const char* name) { return nc::test::child<T>(w, QString::fromLatin1(name)); }
    QComboBox* nameBox() { return child<QComboBox>("ComboBox2"); }
    QTableView* grid() { return child<QTableView>("DBGrid1"); }
    TypeAheadList* list() { return w.findChild<TypeAheadList*>(); }
    QWidget* focus() { return QApplication::focusWidget(); }
    bool inNameBox() { return focus() == nameBox() || focus() == nameBox()->lineEdit(); }

    // Keys go wherever the focus is, as from a keyboard.
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(focus(), k, m); }
    void type(const QString& text) { nc::test::typeText(focus(), text); }
};

QStringList stored(FixtureDb& db) {
    QStringList out;
    nc::data::Query q(&db.connection());
    q.setSql(QStringLiteral("select meal, swname, zl, portion from foodcheck order by foodid"));
    q.open();
    for (q.first(); !q.eof(); q.next())
        out << QStringList{q.field(0).toText(), q.field(1).toText(), q.field(2).toText(), q.field(3).toText()}
                   .join(QLatin1Char('|'));
    return out;
}

} // namespace

class TestFoodEntryWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A realistic day of twelve foods in six meals without the mouse: the meal by Ctrl+number, the
    // food by characters or initials (Down to the next match), the amount, Down for the household
    // unit, Enter to add.
    void aWholeDayByKeyboard() {
        FixtureDb db(FixtureDb::Content::FixedRows, dayFoods());
        db.exec(QStringLiteral("insert into ts (tsid) values (1)"));
        MessagesRecorder messages;
        Window t;
        t.nameBox()->setFocus();
        QVERIFY(t.inNameBox());

        struct Food {
            int meal; // Ctrl+meal before the food, 0 for the same meal as before
            const char* typed;
            int downs; // Down presses in the list
            const char* amount;
            int unitDowns; // Down presses in the weight box: 0 grams, 1 the first portion
        };
        const Food day[] = {
            {1, "cnn", 0, "1", 1},    {0, "鸡蛋", 0, "2", 1},   {0, "MT", 1, "1", 1},
            {2, "苹果", 0, "1", 1},   {3, "米饭", 0, "1.5", 1}, {0, "番茄", 0, "150", 0},
            {0, "猪肉", 0, "50", 0},  {0, "HSY", 0, "1", 1},    {4, "xj", 0, "1", 1},
            {5, "小米粥", 0, "1", 1}, {0, "菠菜", 0, "100", 0}, {0, "豆腐", 0, "1", 1},
        };
        QElapsedTimer clock;
        clock.start();
        for (const Food& f : day) {
            if (f.meal)
                t.key(Qt::Key(Qt::Key_0 + f.meal), Qt::ControlModifier);
            QVERIFY(t.inNameBox());
            t.type(QString::fromUtf8(f.typed));
            QVERIFY2(t.list()->isVisible(), f.typed);
            for (int i = 0; i < f.downs; ++i)
                t.key(Qt::Key_Down);
            t.key(Qt::Key_Return);
            QCOMPARE(t.focus(), t.child<QLineEdit>("LabeledEdit1"));
            QVERIFY(!t.list()->isVisible());
            t.type(QString::fromLatin1(f.amount));
            for (int i = 0; i < f.unitDowns; ++i)
                t.key(Qt::Key_Down);
            t.key(Qt::Key_Return);
            QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char(' '))));
            QVERIFY2(t.inNameBox(), f.typed);
            QCOMPARE(t.nameBox()->lineEdit()->selectedText(),
                     t.nameBox()->currentText()); // typing replaces it
        }
        qInfo("twelve foods entered by keyboard in %lld ms", qint64(clock.elapsed()));

        QCOMPARE(stored(db),
                 (QStringList{
                     QStringLiteral("早餐|纯牛奶（代表值，全脂）|250|1杯"),
                     QStringLiteral("早餐|鸡蛋（代表值）|104.4|2个"), QStringLiteral("早餐|馒头|100|1个"),
                     QStringLiteral("早加餐|苹果（代表值）|170|1个"),
                     QStringLiteral("午餐|米饭（蒸，代表值）|225|1.5碗"),
                     QStringLiteral("午餐|番茄［西红柿］|150|"), QStringLiteral("午餐|猪肉（瘦）|50|"),
                     QStringLiteral("午餐|花生油|10|1勺"), QStringLiteral("午加餐|香蕉［甘蕉］|70.8|1根"),
                     QStringLiteral("晚餐|小米粥|250|1碗"), QStringLiteral("晚餐|菠菜（鲜）［赤根菜］|100|"),
                     QStringLiteral("晚餐|豆腐（代表值）|100|1块")}));

        // The grid: grouped by meal, the meal beside the first food of each, the portion beside the
        // grams; every name whole (columns as wide as their text), the grid where it always was.
        QTableView* grid = t.grid();
        QCOMPARE(grid->geometry(), QRect(262, 127, 228, 337));
        QStringList titles;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            titles << grid->model()->headerData(r, Qt::Vertical).toString();
        QCOMPARE(titles,
                 (QStringList{QStringLiteral("早餐"), QString(), QString(), QStringLiteral("早加餐"),
                              QStringLiteral("午餐"), QString(), QString(), QString(),
                              QStringLiteral("午加餐"), QStringLiteral("晚餐"), QString(), QString()}));
        QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("2个"));
        // A name wraps in its column and its row is tall enough for every line of it.
        const QFontMetrics metrics(grid->font());
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const QString name = grid->model()->index(r, 0).data().toString();
            const QRect needed = metrics.boundingRect(QRect(0, 0, grid->columnWidth(0) - 2 * margin, 1000),
                                                      Qt::TextWordWrap, name);
            QVERIFY2(grid->rowHeight(r) >= needed.height(), qPrintable(name));
            QVERIFY2(needed.width() <= grid->columnWidth(0) - 2 * margin, qPrintable(name));
            QCOMPARE(grid->model()->index(r, 0).data(Qt::ToolTipRole).toString(), name);
        }
        QVERIFY(grid->rowHeight(0) > grid->rowHeight(2)); // 纯牛奶（代表值，全脂） takes more lines than 馒头
        QCOMPARE(grid->currentIndex().row(), 11); // the last food entered
    }

    // The keys of the name box besides the happy path.
    void typeAheadKeys() {
        FixtureDb db(FixtureDb::Content::FixedRows, dayFoods());
        db.exec(QStringLiteral("insert into ts (tsid) values (1)"));
        db.exec(QStringLiteral(
            "insert into foodcheck (tc, swname, zl) values (1, '豆腐（代表值）', 100), (1, '小米粥', 250)"));
        MessagesRecorder messages;
        Window t;
        t.nameBox()->setFocus();

        // Down on an empty box offers the foods used lately, newest first.
        t.key(Qt::Key_Down);
        QVERIFY(t.list()->isVisible());
        QCOMPARE(t.list()->item(0)->text(), QStringLiteral("小米粥"));
        QCOMPARE(t.list()->item(1)->text(), QStringLiteral("豆腐（代表值）"));

        // Esc closes the list and leaves the window open.
        t.key(Qt::Key_Escape);
        QVERIFY(!t.list()->isVisible());
        QVERIFY(t.w.isVisible());

        // Up stops at the top; the ranking puts the food meant first.
        t.type(QStringLiteral("香蕉"));
        QCOMPARE(t.list()->item(0)->text(), QStringLiteral("香蕉［甘蕉］"));
        QCOMPARE(t.list()->item(1)->text(), QStringLiteral("红香蕉苹果"));
        t.key(Qt::Key_Up);
        QCOMPARE(t.list()->currentRow(), 0);
        t.key(Qt::Key_Down);
        t.key(Qt::Key_Down);
        QCOMPARE(t.list()->currentRow(), 1);

        // Text that matches nothing: no list, and Enter says so as the add button does.
        t.nameBox()->lineEdit()->selectAll();
        t.type(QStringLiteral("桂花糕"));
        QVERIFY(!t.list()->isVisible());
        t.key(Qt::Key_Return);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("无此食物！")});
        QVERIFY(t.inNameBox());

        // A bad amount is refused in the weight box, nothing is stored, the focus stays there.
        t.nameBox()->lineEdit()->selectAll();
        t.type(QStringLiteral("馒头"));
        t.key(Qt::Key_Return);
        auto* weight = t.child<QLineEdit>("LabeledEdit1");
        QCOMPARE(t.focus(), weight);
        weight->setText(QStringLiteral("1.2.3"));
        t.key(Qt::Key_Return);
        QCOMPARE(messages.texts().last(), QStringLiteral("请输入正确的重量！"));
        QCOMPARE(t.focus(), weight);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 2);
    }

    // The unit box offers the food's portions; the label says what a portion stores.
    void portionsBesideTheWeight() {
        FixtureDb db(FixtureDb::Content::FixedRows, dayFoods());
        Window t;
        auto* units = t.child<QComboBox>("ComboBox3");
        auto* grams = t.child<QLabel>("Label2");
        QCOMPARE(units->count(), 1);
        QVERIFY(grams->text().contains(QStringLiteral("可食部")));
        setFoodBoxText(QStringLiteral("鸡蛋（代表值）")); // as the food query hands a name over
        QCOMPARE(units->count(), 2);
        QCOMPARE(units->itemText(1), QStringLiteral("个"));
        units->setCurrentIndex(1);
        t.child<QLineEdit>("LabeledEdit1")->setText(QStringLiteral("2"));
        QCOMPARE(grams->text(), QStringLiteral("= 104.4 克 可食部"));
        t.nameBox()->setEditText(QStringLiteral("鸡蛋白")); // another food: grams again
        QCOMPARE(units->count(), 1);
        QCOMPARE(units->currentText(), QStringLiteral("克"));
    }

    // A weight changed in the grid no longer is the portion entered, so the portion goes.
    void gridWeightEditDropsThePortion() {
        FixtureDb db(FixtureDb::Content::FixedRows, dayFoods());
        db.exec(QStringLiteral("insert into ts (tsid) values (1)"));
        db.exec(QStringLiteral(
            "insert into foodcheck (tc, swname, zl, meal, portion) values (1, '馒头', 100, '早餐', '1个')"));
        Window t;
        QAbstractItemModel* m = t.grid()->model();
        QVERIFY(!(m->flags(m->index(0, 2)) & Qt::ItemIsEditable));
        QVERIFY(m->setData(m->index(0, 1), QStringLiteral("100"))); // unchanged: the portion stays
        QCOMPARE(m->index(0, 2).data().toString(), QStringLiteral("1个"));
        QVERIFY(m->setData(m->index(0, 1), QStringLiteral("150")));
        t.w.record().foods().checkBrowseMode();
        QCOMPARE(stored(db), QStringList{QStringLiteral("早餐|馒头|150|")});
    }
};

QTEST_MAIN(TestFoodEntryWindow)
#include "tst_food_entry_window.moc"
