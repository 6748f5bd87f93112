// The grid binding: the grid's current row and the data set's cursor follow each other, a move that
// cannot store its row leaves both on the old row with the error reported, a reset with an editor
// open keeps them together, and moves made while a move is handled end on one row.

#include "data/dataset.h"
#include "data/datasetmodel.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "ui/grid_binding.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>

using nc::data::DataSet;
using nc::data::DataSetModel;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::test::seed;
using nc::ui::GridBinding;
using State = DataSet::State;

namespace {

QList<nc::data::SeedTable> fourFoods() {
    return {seed(QStringLiteral("Foodnurti"), {QStringLiteral("foodid"), QStringLiteral("foodname")},
                 {{QStringLiteral("01001"), QStringLiteral("稻米")},
                  {QStringLiteral("01002"), QStringLiteral("小麦粉")},
                  {QStringLiteral("02001"), QStringLiteral("藕粉")},
                  {QStringLiteral("10001"), QStringLiteral("牛奶")}})};
}

QString storedName(FixtureDb& db, const QString& foodid) {
    return db.scalar(QStringLiteral("select foodname from Foodnurti where foodid='%1'").arg(foodid)).toText();
}

// An editable grid over the foods, shown, its model under the model tester. `beforeBinding` runs
// after the data set has opened and before the binding connects to it.
struct Grid {
    DataSet foods;
    DataSetModel model{&foods,
                       {{QStringLiteral("foodid"), QStringLiteral("编号")},
                        {QStringLiteral("foodname"), QStringLiteral("名称")}},
                       true};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    QTableView view;
    GridBinding* binding = nullptr;

    explicit Grid(QAbstractItemView::SelectionBehavior behaviour = QAbstractItemView::SelectRows,
                  const std::function<void(DataSet&)>& beforeBinding = {}) {
        foods.setSql(QStringLiteral("select * from Foodnurti order by foodid"));
        foods.open();
        view.setModel(&model);
        view.setSelectionBehavior(behaviour);
        view.setSelectionMode(QAbstractItemView::SingleSelection);
        if (beforeBinding)
            beforeBinding(foods);
        binding = new GridBinding(&view, &model);
        view.resize(320, 240);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    int gridRow() const { return view.currentIndex().row(); }
    // The rows that show as selected.
    QList<int> selectedRows() const {
        QList<int> rows;
        for (const QModelIndex& i : view.selectionModel()->selectedIndexes())
            if (!rows.contains(i.row()))
                rows << i.row();
        return rows;
    }
    void clickRow(int row, int column = 0) {
        const QRect cell = view.visualRect(model.index(row, column));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
        QApplication::processEvents(); // whatever the click leaves for later
    }
    // Grid and data set agree, and the grid shows that one row selected.
    void verifyTogether(int row) {
        QCOMPARE(foods.currentRow(), row);
        QCOMPARE(gridRow(), row);
        QCOMPARE(selectedRows(), QList<int>{row});
    }
};

} // namespace

class TestGridBinding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void followsTheCursorBothWays_data() {
        QTest::addColumn<int>("behaviour");
        QTest::newRow("row grid") << int(QAbstractItemView::SelectRows);
        QTest::newRow("cell grid") << int(QAbstractItemView::SelectItems);
    }
    void followsTheCursorBothWays() {
        QFETCH(int, behaviour);
        FixtureDb db(FixtureDb::Content::FixedRows, fourFoods());
        MessagesRecorder messages;
        Grid g{QAbstractItemView::SelectionBehavior(behaviour)};
        g.verifyTogether(0);

        // Moves made by code select the row; a cell grid keeps the column.
        g.view.setCurrentIndex(g.model.index(0, 1));
        g.foods.moveTo(2);
        g.verifyTogether(2);
        QCOMPARE(g.view.currentIndex().column(), 1);
        g.foods.last();
        g.verifyTogether(3);

        // A click and the arrow keys move the data set, at once.
        g.clickRow(1);
        g.verifyTogether(1);
        QTest::keyClick(&g.view, Qt::Key_Down);
        QCOMPARE(g.foods.currentRow(), 2);
        QTest::keyClick(&g.view, Qt::Key_Up);
        g.verifyTogether(1);

        // A new row is selected, and dropping it goes back; a closed set leaves no row current.
        g.foods.append();
        g.verifyTogether(4);
        g.foods.cancel();
        g.verifyTogether(1);
        g.foods.close();
        QCOMPARE(g.gridRow(), -1);
        QVERIFY(g.selectedRows().isEmpty());
        g.foods.open();
        g.verifyTogether(0);
        QVERIFY(messages.isEmpty());
    }

    void aMoveStoresTheChangedRow() {
        FixtureDb db(FixtureDb::Content::FixedRows, fourFoods());
        MessagesRecorder messages;
        Grid g;
        g.foods.setFieldText(QStringLiteral("foodname"), QStringLiteral("粳米"));
        g.clickRow(2);
        g.verifyTogether(2);
        QCOMPARE(storedName(db, QStringLiteral("01001")), QStringLiteral("粳米"));
        QCOMPARE(g.foods.state(), State::Browse);
        QVERIFY(messages.isEmpty());
    }

    // The rows moving under the grid (a row removed where the grid is, a pending row dropped) are no
    // moves of the user's: the data set stays where its own change put it.
    void changesOfTheRowsAreNoMoves() {
        FixtureDb db(FixtureDb::Content::FixedRows, fourFoods());
        MessagesRecorder messages;
        Grid g;
        g.foods.moveTo(1);
        g.foods.remove();
        g.verifyTogether(1);
        QCOMPARE(g.model.data(g.model.index(1, 1)).toString(), QStringLiteral("藕粉"));
        g.foods.last();
        g.foods.remove(); // the last row: the one before becomes current
        g.verifyTogether(1);
        g.foods.append();
        g.foods.moveTo(0); // the untouched new row is dropped on the way
        g.verifyTogether(0);
        QCOMPARE(g.model.rowCount(), 2);
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 2);
        QVERIFY(messages.isEmpty());
    }

    // The data set cannot leave its row: the store throws, or the window's handler says no (telling
    // the user itself) or throws. Grid and data set stay on the old row, the change kept pending.
    void aRefusedMoveKeepsTheOldRow_data() {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<bool>("reportedAsError");
        QTest::addColumn<QString>("message"); // empty: the database's own words
        QTest::newRow("store fails, click") << "store" << false << true << "";
        QTest::newRow("store fails, arrow key") << "store" << true << true << "";
        QTest::newRow("handler says no") << "no" << false << false << "请先改正编号！";
        QTest::newRow("handler throws") << "throw" << true << true << "编号已存在！";
    }
    void aRefusedMoveKeepsTheOldRow() {
        QFETCH(QString, refusal);
        QFETCH(bool, byKey);
        QFETCH(bool, reportedAsError);
        QFETCH(QString, message);
        FixtureDb db(FixtureDb::Content::FixedRows, fourFoods());
        MessagesRecorder messages;
        Grid g;
        g.foods.moveTo(1);
        // The number of the row below: the database refuses to store it.
        g.foods.setFieldText(QStringLiteral("foodid"), QStringLiteral("02001"));
        int asked = -1;
        if (refusal == QLatin1String("no")) {
            g.binding->setMoveHandler([&](int row) {
                asked = row;
                nc::ui::Messages::inform(QStringLiteral("请先改正编号！"));
                return false;
            });
        } else if (refusal == QLatin1String("throw")) {
            g.binding->setMoveHandler([&](int row) -> bool {
                asked = row;
                throw nc::data::Error(QStringLiteral("编号已存在！"));
            });
        }
        if (byKey)
            QTest::keyClick(&g.view, Qt::Key_Down);
        else
            g.clickRow(3);
        QApplication::processEvents();

        g.verifyTogether(1);
        QCOMPARE(g.foods.state(), State::Edit);
        QCOMPARE(g.foods.field(QStringLiteral("foodid")).toText(), QStringLiteral("02001"));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from Foodnurti where foodid='01002'")).toInteger(),
                 1);
        if (refusal != QLatin1String("store"))
            QCOMPARE(asked, byKey ? 2 : 3);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind,
                 reportedAsError ? MessagesRecorder::Kind::Error : MessagesRecorder::Kind::Inform);
        if (!message.isEmpty())
            QCOMPARE(messages.last().text, message);

        // Once the row can be stored, the same click moves.
        g.binding->setMoveHandler({});
        g.foods.setFieldText(QStringLiteral("foodid"), QStringLiteral("01009"));
        g.clickRow(3);
        g.verifyTogether(3);
        QCOMPARE(storedName(db, QStringLiteral("01009")), QStringLiteral("小麦粉"));
    }

    // The data set is reset while an editor is open in the grid: by code, or by a handler of the
    // store the closing editor makes. Nothing crashes, the typing is not stored into another row,
    // and grid and data set go on together.
    void aResetWithAnEditorOpen_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("fromTheStore");
        QTest::addColumn<int>("rowAfter");
        const QString all = QStringLiteral("select * from Foodnurti order by foodid");
        QTest::newRow("same rows") << all << false << 0;
        QTest::newRow("fewer rows") << QStringLiteral("select * from Foodnurti where foodid like '0%'")
                                    << false << 0;
        QTest::newRow("no rows") << QStringLiteral("select * from Foodnurti where foodid='x'") << false << -1;
        QTest::newRow("reset by the store") << all << true << 0;
    }
    void aResetWithAnEditorOpen() {
        QFETCH(QString, sql);
        QFETCH(bool, fromTheStore);
        QFETCH(int, rowAfter);
        FixtureDb db(FixtureDb::Content::FixedRows, fourFoods());
        MessagesRecorder messages;
        Grid g;
        g.clickRow(2);
        const QModelIndex cell = g.model.index(2, 1);
        g.view.edit(cell);
        QPointer<QLineEdit> editor = g.view.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("莲藕粉"));

        if (fromTheStore) {
            // The typing goes into the row; reading the list again drops it before it is stored.
            QObject::connect(&g.foods, &DataSet::rowChanged, &g.view, [&] {
                if (g.foods.state() != State::Edit)
                    return;
                g.foods.cancel();
                g.foods.close();
                g.foods.open();
            });
            QTest::keyClick(editor, Qt::Key_Return);
        } else {
            g.foods.setSql(sql);
            g.foods.open();
        }
        QTRY_VERIFY(!editor);
        QCOMPARE(g.foods.state(), State::Browse);
        QCOMPARE(storedName(db, QStringLiteral("02001")), QStringLiteral("藕粉"));
        if (rowAfter < 0) {
            QCOMPARE(g.gridRow(), -1);
            QCOMPARE(g.foods.currentRow(), -1);
        } else {
            g.verifyTogether(rowAfter);
            g.clickRow(g.model.rowCount() - 1);
            g.verifyTogether(g.model.rowCount() - 1);
        }
        QVERIFY(messages.isEmpty());
    }

    // A handler of the data set's cursor signal moves it on while a move is handled (connected
    // before or after the binding; the move made by a click or by code): grid and data set end on
    // the row it moved to.
    void aMoveDuringAMoveEndsTogether_data() {
        QTest::addColumn<bool>("handlerFirst");
        QTest::addColumn<bool>("byClick");
        QTest::newRow("handler first, click") << true << true;
        QTest::newRow("handler first, code") << true << false;
        QTest::newRow("binding first, click") << false << true;
        QTest::newRow("binding first, code") << false << false;
    }
    void aMoveDuringAMoveEndsTogether() {
        QFETCH(bool, handlerFirst);
        QFETCH(bool, byClick);
        FixtureDb db(FixtureDb::Content::FixedRows, fourFoods());
        MessagesRecorder messages;
        // Row 2 cannot be shown: the cursor bounces on to the last row.
        auto bounce = [](DataSet& foods) {
            QObject::connect(&foods, &DataSet::currentRowChanged, &foods, [&foods](int row) {
                if (row == 2)
                    foods.last();
            });
        };
        Grid g(QAbstractItemView::SelectRows, handlerFirst ? std::function<void(DataSet&)>(bounce) : nullptr);
        if (!handlerFirst)
            bounce(g.foods);
        if (byClick)
            g.clickRow(2);
        else
            g.foods.moveTo(2);
        QApplication::processEvents();
        g.verifyTogether(3);
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(TestGridBinding)
#include "tst_grid_binding.moc"
