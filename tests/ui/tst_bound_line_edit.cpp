// Bound line edits: they show the current row's value and follow the row, typing edits the row and a
// move stores it, keys a column cannot hold are refused, pasted text the column cannot hold is kept
// for correction, and Esc takes the field back.

#include "data/dataset.h"
#include "support/fixture_db.h"
#include "support/typing.h"
#include "ui/bound_line_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using nc::data::DataSet;
using nc::test::FixtureDb;
using nc::test::seed;
using nc::ui::BoundLineEdit;
using State = DataSet::State;

namespace {

QList<nc::data::SeedTable> foods() {
    return {seed(
        QStringLiteral("Foodnurti"),
        {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("energy"),
         QStringLiteral("vitc")},
        {{QStringLiteral("01001"), QStringLiteral("稻米"), QStringLiteral("346"), QStringLiteral("0.05")},
         {QStringLiteral("01002"), QStringLiteral("小麦粉"), QStringLiteral(""), QStringLiteral("")}})};
}

// A data set over the foods with an edit on each of three columns.
struct Bound {
    DataSet ds;
    BoundLineEdit id{QStringLiteral("DBEdit1")};
    BoundLineEdit name{QStringLiteral("DBEdit2")};
    BoundLineEdit energy{QStringLiteral("DBEdit5")};
    BoundLineEdit vitc{QStringLiteral("DBEdit14")};
    Bound() {
        ds.setSql(QStringLiteral("select * from Foodnurti order by foodid"));
        ds.open();
        id.bind(&ds, QStringLiteral("foodid"));
        name.bind(&ds, QStringLiteral("foodname"));
        energy.bind(&ds, QStringLiteral("energy"));
        energy.setDisplayName(QStringLiteral("能量"));
        vitc.bind(&ds, QStringLiteral("vitc"));
    }
};

QVariant stored(FixtureDb& db, const QString& column, const QString& foodid) {
    nc::data::Query q(&db.connection());
    q.setSql(QStringLiteral("select %1 as v from Foodnurti where foodid=:id").arg(column));
    q.setParam(QStringLiteral("id"), foodid);
    q.open();
    const nc::data::Value v = q.field(QStringLiteral("v"));
    return v.isNull() ? QVariant() : QVariant(v.toText());
}

void paste(QLineEdit& edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

class TestBoundLineEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsAndFollowsTheCurrentRow() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        QCOMPARE(b.name.text(), QStringLiteral("稻米"));
        QCOMPARE(b.energy.text(), QStringLiteral("346"));
        QCOMPARE(b.vitc.text(), QStringLiteral("0.05"));
        b.ds.next();
        QCOMPARE(b.name.text(), QStringLiteral("小麦粉"));
        QCOMPARE(b.energy.text(), QString()); // no value shows empty, not 0
        b.ds.append();
        QCOMPARE(b.id.text(), QString());
        b.ds.cancel();
        QCOMPARE(b.name.text(), QStringLiteral("小麦粉"));
        b.ds.close();
        QCOMPARE(b.name.text(), QString());
    }

    void typingEditsTheRowAndAMoveStoresIt() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        b.energy.selectAll();
        nc::test::typeText(&b.energy, QStringLiteral("350.5"));
        QCOMPARE(b.ds.state(), State::Edit);
        QCOMPARE(b.ds.field(QStringLiteral("energy")).toReal(), 350.5); // holds what is shown
        QCOMPARE(b.energy.text(), QStringLiteral("350.5"));
        nc::test::typeText(&b.name, QStringLiteral("（粳）"));
        QCOMPARE(b.energy.text(), QStringLiteral("350.5")); // another field's change leaves this one
        b.ds.next();
        QCOMPARE(stored(db, QStringLiteral("energy"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("350.5")));
        QCOMPARE(stored(db, QStringLiteral("foodname"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("稻米（粳）")));
    }

    void emptiedFieldStoresNoValue() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        b.energy.selectAll();
        QTest::keyClick(&b.energy, Qt::Key_Delete);
        b.name.selectAll();
        QTest::keyClick(&b.name, Qt::Key_Delete);
        b.ds.post();
        QCOMPARE(stored(db, QStringLiteral("energy"), QStringLiteral("01001")), QVariant());
        QCOMPARE(stored(db, QStringLiteral("foodname"), QStringLiteral("01001")), QVariant());
    }

    // clang-format off
    void keysTheColumnCannotHoldAreRefused_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters in a number") << "energy" << "1a2b" << "12";
        QTest::newRow("full-width digits") << "energy" << "１2" << "2";
        QTest::newRow("point and sign pass") << "energy" << "-1.5" << "-1.5";
        QTest::newRow("text takes anything") << "foodname" << "米a1." << "米a1.";
    }
    // clang-format on
    void keysTheColumnCannotHoldAreRefused() {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        BoundLineEdit& edit = column == QLatin1String("energy") ? b.energy : b.name;
        edit.clear();
        nc::test::typeText(&edit, typed);
        QCOMPARE(edit.text(), shown);
    }

    void refusedKeyStartsNoEdit() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        nc::test::typeText(&b.energy, QStringLiteral("x"));
        QCOMPARE(b.energy.text(), QStringLiteral("346"));
        QCOMPARE(b.ds.state(), State::Browse);
    }

    void pastedTextTheColumnCannotHoldIsKeptAndNamed() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        paste(b.energy, QStringLiteral("1.2.3"));
        QCOMPARE(b.energy.text(), QStringLiteral("1.2.3"));
        QVERIFY(b.energy.hasUnreadableText());
        QCOMPARE(b.ds.state(), State::Edit);
        QVERIFY(b.energy.unreadableTextMessage().contains(QStringLiteral("能量")));
        QVERIFY(b.energy.unreadableTextMessage().contains(QStringLiteral("1.2.3")));
        // Typing in another field keeps the text for correction.
        nc::test::typeText(&b.name, QStringLiteral("饭"));
        QCOMPARE(b.energy.text(), QStringLiteral("1.2.3"));
        // Corrected, it is read again.
        b.energy.selectAll();
        nc::test::typeText(&b.energy, QStringLiteral("12"));
        QVERIFY(!b.energy.hasUnreadableText());
        QCOMPARE(b.ds.field(QStringLiteral("energy")).toReal(), 12.0);
    }

    void escPutsBackTheStoredValue() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        nc::test::typeText(&b.name, QStringLiteral("饭"));
        paste(b.energy, QStringLiteral("abc"));
        QTest::keyClick(&b.energy, Qt::Key_Escape);
        QCOMPARE(b.energy.text(), QStringLiteral("346"));
        QVERIFY(!b.energy.hasUnreadableText());
        QCOMPARE(b.name.text(), QStringLiteral("稻米饭")); // only the field itself goes back
        QTest::keyClick(&b.name, Qt::Key_Escape);
        QCOMPARE(b.name.text(), QStringLiteral("稻米"));
        QVERIFY(!b.ds.isModified());
        b.ds.next();
        QCOMPARE(stored(db, QStringLiteral("foodname"), QStringLiteral("01001")),
                 QVariant(QStringLiteral("稻米")));
    }

    void newRowTakenBackByEscIsDroppedOnMove() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        b.ds.append();
        nc::test::typeText(&b.id, QStringLiteral("01003"));
        QTest::keyClick(&b.id, Qt::Key_Escape);
        QCOMPARE(b.id.text(), QString());
        b.ds.first();
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 2);
        QCOMPARE(b.ds.rowCount(), 2);
    }

    void typingIntoAnEmptyListStartsANewRow() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DataSet ds;
        ds.setSql(QStringLiteral("select * from Foodnurti where foodid='none'"));
        ds.open();
        BoundLineEdit name(QStringLiteral("DBEdit2"));
        name.bind(&ds, QStringLiteral("foodname"));
        nc::test::typeText(&name, QStringLiteral("新食物"));
        QCOMPARE(ds.state(), State::Insert);
        QCOMPARE(name.text(), QStringLiteral("新食物"));
        ds.post();
        QCOMPARE(db.count(QStringLiteral("Foodnurti")), 3);
    }

    void readOnlyOnlyShows() {
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        Bound b;
        b.energy.setReadOnly(true);
        nc::test::typeText(&b.energy, QStringLiteral("9"));
        QTest::keyClick(&b.energy, Qt::Key_Backspace);
        QCOMPARE(b.energy.text(), QStringLiteral("346"));
        QCOMPARE(b.ds.state(), State::Browse);
    }
};

QTEST_MAIN(TestBoundLineEdit)
#include "tst_bound_line_edit.moc"
