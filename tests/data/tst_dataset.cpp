// Editable data sets: browse/edit/insert states, storing on cursor moves, master and detail, and the
// grid model that mirrors them.

#include "data/dataset.h"
#include "data/datasetmodel.h"
#include "support/fixture_db.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace nc::data;
using nc::test::FixtureDb;
using nc::test::seed;
using State = DataSet::State;

namespace {

QList<nc::data::SeedTable> threeFoods() {
    return {seed(
        QStringLiteral("Foodnurti"),
        {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("foodkind"),
         QStringLiteral("energy")},
        {{QStringLiteral("01001"), QStringLiteral("小麦"), QStringLiteral("01"), QStringLiteral("338")},
         {QStringLiteral("01002"), QStringLiteral("稻米"), QStringLiteral("01"), QStringLiteral("346")},
         {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("10"), QStringLiteral("54")}})};
}

QList<nc::data::SeedTable> twoDays() {
    return {
        seed(QStringLiteral("ts"), {QStringLiteral("tsid")}, {{QStringLiteral("1")}, {QStringLiteral("2")}}),
        seed(QStringLiteral("foodcheck"),
             {QStringLiteral("tc"), QStringLiteral("swname"), QStringLiteral("zl")},
             {{QStringLiteral("1"), QStringLiteral("小麦"), QStringLiteral("100")},
              {QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("250")},
              {QStringLiteral("2"), QStringLiteral("稻米"), QStringLiteral("150")}})};
}

// The days of the diet record and, as their detail, the foods of the current day.
struct DaysAndFoods {
    DataSet days, foods;
    DaysAndFoods() {
        days.setSql(QStringLiteral("select * from ts"));
        foods.setSql(QStringLiteral("select * from foodcheck"));
        foods.setMaster(&days, QStringLiteral("tsid"), QStringLiteral("tc"));
    }
};

void openFoods(DataSet& ds) {
    ds.setSql(QStringLiteral("select * from Foodnurti"));
    ds.open();
}

} // namespace

class TestDataSet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editAndPostUpdatesTheRow() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(ds.recordCount(), 3);
        ds.moveTo(1);
        ds.setFieldText(QStringLiteral("energy"), QStringLiteral("347.5"));
        QCOMPARE(ds.state(), State::Edit);
        QCOMPARE(ds.field(QStringLiteral("energy")).toReal(), 347.5);
        // Not stored until posted.
        QCOMPARE(db.scalar(QStringLiteral("select energy from Foodnurti where foodid='01002'")).toReal(),
                 346.0);
        ds.post();
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(db.scalar(QStringLiteral("select energy from Foodnurti where foodid='01002'")).toReal(),
                 347.5);
        QCOMPARE(db.scalar(QStringLiteral("select energy from Foodnurti where foodid='01001'")).toReal(),
                 338.0);
    }

    void appendPostGetsAutoNumberAtTheEnd() {
        FixtureDb db(FixtureDb::Content::FixedRows, twoDays());
        DataSet ds;
        ds.setSql(QStringLiteral("select * from foodcheck"));
        ds.open();
        ds.append();
        QCOMPARE(ds.state(), State::Insert);
        QCOMPARE(ds.currentRow(), 3);
        QCOMPARE(ds.rowCount(), 4);
        QCOMPARE(ds.recordCount(), 3);
        QVERIFY(ds.field(QStringLiteral("foodid")).isNull());
        ds.setField(QStringLiteral("tc"), 2);
        ds.setField(QStringLiteral("swname"), QStringLiteral("鸡蛋"));
        ds.setFieldText(QStringLiteral("zl"), QStringLiteral("60"));
        ds.post();
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(ds.field(QStringLiteral("foodid")).toText(), QStringLiteral("4"));
        QCOMPARE(ds.field(QStringLiteral("zl")).toReal(), 60.0);
        QCOMPARE(db.scalar(QStringLiteral("select swname from foodcheck where foodid=4")).toText(),
                 QStringLiteral("鸡蛋"));
    }

    void cancelPutsBackAndDrops() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        ds.moveTo(2);
        ds.setField(QStringLiteral("foodname"), QStringLiteral("羊奶"));
        ds.cancel();
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(ds.field(QStringLiteral("foodname")).toText(), QStringLiteral("牛奶"));

        ds.moveTo(1);
        ds.append();
        ds.setField(QStringLiteral("foodname"), QStringLiteral("燕麦"));
        ds.cancel();
        QCOMPARE(ds.rowCount(), 3);
        QCOMPARE(ds.currentRow(), 1); // back where the cursor was before the new row
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 3);
    }

    // Leaving a row stores it when changed and drops an untouched new row.
    void cursorMovesStoreOrDrop() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        ds.setFieldText(QStringLiteral("energy"), QStringLiteral("340"));
        ds.next();
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(db.scalar(QStringLiteral("select energy from Foodnurti where foodid='01001'")).toReal(),
                 340.0);

        ds.append();
        ds.first();
        QCOMPARE(ds.rowCount(), 3);
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 3);

        ds.append();
        ds.setField(QStringLiteral("foodid"), QStringLiteral("02001"));
        ds.setField(QStringLiteral("foodname"), QStringLiteral("马铃薯"));
        ds.moveTo(0);
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 4);
        QCOMPARE(ds.rowCount(), 4);

        // An edit started but nothing changed: moving away writes nothing.
        ds.edit();
        ds.moveTo(1);
        QCOMPARE(ds.state(), State::Browse);
    }

    void closeAndReopenDropPendingChanges() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        ds.setField(QStringLiteral("foodname"), QStringLiteral("面粉"));
        ds.setSql(QStringLiteral("select * from Foodnurti where foodkind=:lskind"));
        ds.setParam(QStringLiteral("lskind"), QStringLiteral("01"));
        ds.open();
        QCOMPARE(ds.recordCount(), 2);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from Foodnurti where foodname='面粉'")).toInteger(), 0);
        ds.append();
        ds.setField(QStringLiteral("foodname"), QStringLiteral("玉米"));
        ds.close();
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 3);
    }

    void editOnEmptySetStartsNewRow() {
        FixtureDb db;
        DataSet ds;
        openFoods(ds);
        QVERIFY(ds.isEmpty());
        QVERIFY(ds.field(QStringLiteral("foodname")).isNull());
        ds.edit();
        QCOMPARE(ds.state(), State::Insert);
        QCOMPARE(ds.rowCount(), 1);
        ds.remove(); // a pending new row is only dropped
        QCOMPARE(ds.rowCount(), 0);
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 0);
    }

    void removeDeletesAndMovesToNeighbour() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        ds.moveTo(1);
        ds.remove();
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 2);
        QCOMPARE(ds.field(QStringLiteral("foodname")).toText(), QStringLiteral("牛奶"));
        ds.remove(); // the last row: the cursor moves to the one before
        QCOMPARE(ds.field(QStringLiteral("foodname")).toText(), QStringLiteral("小麦"));
        ds.remove();
        QVERIFY(ds.isEmpty());
        QCOMPARE(ds.currentRow(), -1);
        ds.remove(); // nothing left: nothing happens
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 0);
    }

    // clang-format off
    void malformedTextChangesNothing_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters in a real") << "energy" << "abc";
        QTest::newRow("two points") << "energy" << "1.2.3";
        QTest::newRow("lone point") << "energy" << ".";
        QTest::newRow("comma") << "energy" << "3,5";
    }
    // clang-format on
    void malformedTextChangesNothing() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        try {
            ds.setFieldText(field, text);
            QFAIL("the text should have been refused");
        } catch (const ConversionError& e) {
            QVERIFY(e.text().contains(text));
        }
        QCOMPARE(ds.state(), State::Browse);
        QCOMPARE(ds.field(field).toReal(), 338.0);
        // An empty text clears the field to null.
        ds.setFieldText(field, QStringLiteral(" "));
        QVERIFY(ds.field(field).isNull());
    }

    // clang-format off
    void typedKeys_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<QString>("refused");
        QTest::newRow("real") << "energy" << "0123456789.-+eE" << "a,x 中";
        QTest::newRow("text") << "foodname" << "a中 1.-" << "";
    }
    // clang-format on
    void typedKeys() {
        QFETCH(QString, field);
        QFETCH(QString, accepted);
        QFETCH(QString, refused);
        FixtureDb db;
        DataSet ds;
        openFoods(ds);
        for (QChar c : accepted)
            QVERIFY2(ds.acceptsChar(field, c), qPrintable(QString(c)));
        for (QChar c : refused)
            QVERIFY2(!ds.acceptsChar(field, c), qPrintable(QString(c)));
    }

    void failedPostKeepsTheEdit() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        ds.setField(QStringLiteral("energy"), 1.0);
        db.connection().failStatementAfter(1);
        QVERIFY_THROWS_EXCEPTION(DbError, ds.post());
        QCOMPARE(ds.state(), State::Edit);
        QCOMPARE(ds.field(QStringLiteral("energy")).toReal(), 1.0);
        QVERIFY_THROWS_EXCEPTION(DbError, (db.connection().failStatementAfter(1), ds.next()));
        QCOMPARE(ds.currentRow(), 0); // the cursor did not leave the unsaved row
        ds.post();
        QCOMPARE(db.scalar(QStringLiteral("select energy from Foodnurti where foodid='01001'")).toReal(),
                 1.0);
    }

    void duplicateFoodNumberIsRefused() {
        FixtureDb db(FixtureDb::Content::FixedRows, threeFoods());
        DataSet ds;
        openFoods(ds);
        ds.append();
        ds.setField(QStringLiteral("foodid"), QStringLiteral("01001"));
        ds.setField(QStringLiteral("foodname"), QStringLiteral("重复"));
        try {
            ds.post();
            QFAIL("a second food under one number should be refused");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(QStringLiteral("数据库拒绝")));
        }
        QCOMPARE(ds.state(), State::Insert);
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 3);
    }

    void detailFollowsMaster() {
        FixtureDb db(FixtureDb::Content::FixedRows, twoDays());
        DaysAndFoods set;
        DataSet& days = set.days;
        DataSet& foods = set.foods;
        days.open();
        foods.open();
        QCOMPARE(foods.recordCount(), 2); // day 1
        days.last();
        QCOMPARE(foods.recordCount(), 1);
        QCOMPARE(foods.field(QStringLiteral("swname")).toText(), QStringLiteral("稻米"));

        // A new food gets the current day.
        foods.append();
        QCOMPARE(foods.field(QStringLiteral("tc")).toInteger(), 2);
        foods.setField(QStringLiteral("swname"), QStringLiteral("牛奶"));
        foods.setField(QStringLiteral("zl"), 200.0);
        foods.post();
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from foodcheck where tc=2")).toInteger(), 2);

        // A changed food is stored when another day is selected.
        foods.first();
        foods.setField(QStringLiteral("zl"), 175.0);
        days.first();
        QCOMPARE(db.scalar(QStringLiteral("select zl from foodcheck where swname='稻米'")).toReal(), 175.0);
        QCOMPARE(foods.recordCount(), 2);

        // A new day: its food list is empty and new foods go to it once the day is stored.
        days.append();
        QCOMPARE(foods.recordCount(), 0);
        days.setField(QStringLiteral("tsid"), 3);
        days.post();
        foods.append();
        QCOMPARE(foods.field(QStringLiteral("tc")).toInteger(), 3);
        foods.setField(QStringLiteral("swname"), QStringLiteral("小麦"));
        foods.post();
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from foodcheck where tc=3")).toInteger(), 1);

        // An untouched new food is dropped, not stored, when the day changes.
        foods.append();
        days.first();
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 5);
    }

    // A detail row that cannot be stored keeps the master where it is, so nothing typed is lost.
    void masterStaysWhenTheDetailCannotBeStored() {
        FixtureDb db(FixtureDb::Content::FixedRows, twoDays());
        DaysAndFoods set;
        DataSet& days = set.days;
        DataSet& foods = set.foods;
        days.open();
        foods.open();
        foods.setField(QStringLiteral("zl"), 111.0);
        db.connection().failStatementAfter(1);
        QVERIFY_THROWS_EXCEPTION(DbError, days.next());
        QCOMPARE(days.currentRow(), 0);
        QCOMPARE(foods.state(), State::Edit);
        QCOMPARE(foods.field(QStringLiteral("zl")).toReal(), 111.0);
        days.next(); // now it stores, then moves
        QCOMPARE(db.scalar(QStringLiteral("select zl from foodcheck where foodid=1")).toReal(), 111.0);
        QCOMPARE(foods.field(QStringLiteral("swname")).toText(), QStringLiteral("稻米"));
    }

    void detailThatCannotFollowIsClosed() {
        FixtureDb db(FixtureDb::Content::FixedRows, twoDays());
        DaysAndFoods set;
        DataSet& days = set.days;
        DataSet& foods = set.foods;
        QSignalSpy failed(&foods, &DataSet::failed);
        days.open();
        foods.open();
        db.connection().failStatementAfter(1);
        days.next();
        QCOMPARE(failed.count(), 1);
        QVERIFY(!foods.isOpen()); // never the foods of the day before
        QVERIFY_THROWS_EXCEPTION(Error, foods.append());
    }

    void emptyMasterGivesEmptyDetail() {
        FixtureDb db;
        DaysAndFoods set;
        DataSet& days = set.days;
        DataSet& foods = set.foods;
        days.open();
        foods.open();
        QVERIFY(foods.isEmpty());
    }

    // The grid model stays consistent through every kind of change, and refuses bad edits.
    void gridModelMirrorsTheDataSet() {
        FixtureDb db(FixtureDb::Content::FixedRows, twoDays());
        DaysAndFoods set;
        DataSet& days = set.days;
        DataSet& foods = set.foods;
        DataSetModel model(
            &foods,
            {{QStringLiteral("swname"), QStringLiteral("食物名称")},
             {QStringLiteral("zl"), QStringLiteral("重量 (克/毫升)"), Qt::AlignRight | Qt::AlignVCenter}},
            true);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy rejected(&model, &DataSetModel::editRejected);
        days.open();
        foods.open();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("重量 (克/毫升)"));
        QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("250"));

        QVERIFY(model.setData(model.index(1, 1), QStringLiteral("300")));
        QCOMPARE(foods.state(), State::Edit);
        QVERIFY(!model.setData(model.index(1, 1), QStringLiteral("abc")));
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("300"));
        // Editing another row stores the first.
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("全麦粉")));
        QCOMPARE(db.scalar(QStringLiteral("select zl from foodcheck where swname='牛奶'")).toReal(), 300.0);

        foods.append();
        QCOMPARE(model.rowCount(), 3);
        foods.cancel();
        QCOMPARE(model.rowCount(), 2);
        foods.remove();
        QCOMPARE(model.rowCount(), 1);
        days.last();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("稻米"));
        foods.close();
        QCOMPARE(model.rowCount(), 0);
    }

    // A grid may outlive the data set it shows (a window's members are destroyed before its child
    // grids): the model then shows no rows and never touches the destroyed data set.
    void gridModelOutlivesItsDataSet() {
        FixtureDb db(FixtureDb::Content::FixedRows, twoDays());
        auto* foods = new DataSet;
        foods->setSql(QStringLiteral("select * from foodcheck"));
        foods->open();
        DataSetModel model(foods, {{QStringLiteral("swname"), QStringLiteral("食物名称")}}, true);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(model.rowCount() > 0);

        delete foods;
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.dataSet(), nullptr);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.data(model.index(0, 0)).isValid());
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("稻米")));
    }

    void readOnlyGridAndDates() {
        FixtureDb db;
        db.exec(QStringLiteral("insert into sps (spname, sptime, swname, zl) values "
                               "('早餐', '2026-12-01 07:30:05.120', '牛奶', 250)"));
        DataSet ds;
        ds.setSql(QStringLiteral("select * from sps where spname=:n"));
        ds.setParam(QStringLiteral("n"), QStringLiteral("早餐"));
        DataSetModel model(&ds, {{QStringLiteral("sptime"), QStringLiteral("配餐时间")}}, false);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        ds.open();
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("2026-12-01 07:30:05"));
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("2026-12-02")));
    }
};

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
