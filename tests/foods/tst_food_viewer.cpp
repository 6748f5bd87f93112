// The food composition viewer: the first food of the handed-over name, read-only, and nothing at all
// (no message) for a name no food has.

#include "diet/diet_record.h"
#include "food_fixture.h"
#include "foods/food_viewer_window.h"
#include "support/pointer.h"
#include "support/typing.h"
#include "ui/bound_line_edit.h"

using nc::foods::TForm11;
using nc::test::child;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::ui::BoundLineEdit;

namespace {

BoundLineEdit* field(TForm11& w, int n) {
    return child<BoundLineEdit>(w, QStringLiteral("DBEdit%1").arg(n));
}

} // namespace

class TestFoodViewer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void showsTheFirstFoodOfTheName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("foodid");
        QTest::newRow("one food") << "藕粉" << "02001";
        QTest::newRow("two foods of one name: the first") << "牛奶" << "10001";
        QTest::newRow("no such food") << "鲸鱼" << "";
        QTest::newRow("name as handed over, not trimmed") << " 牛奶" << "";
        QTest::newRow("no name") << "" << "";
    }
    // clang-format on
    void showsTheFirstFoodOfTheName() {
        QFETCH(QString, name);
        QFETCH(QString, foodid);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        MessagesRecorder messages;
        nc::diet::lsfoodname() = name;
        TForm11 w;
        QVERIFY(messages.isEmpty());
        QCOMPARE(field(w, 1)->text(), foodid);
        if (foodid.isEmpty()) {
            for (int n = 1; n <= 22; ++n)
                QCOMPARE(field(w, n)->text(), QString());
        } else {
            QCOMPARE(field(w, 2)->text(), name);
        }
    }

    void fieldsStandInTwoColumnsAndShowValuesAsStored() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        nc::diet::lsfoodname() = QStringLiteral("藕粉");
        TForm11 w;
        QCOMPARE(w.size(), QSize(428, 582));
        QCOMPARE(field(w, 5)->text(), QStringLiteral("0"));     // energy 0 is a value
        QCOMPARE(field(w, 14)->text(), QStringLiteral("0.05")); // vitc
        QCOMPARE(field(w, 13)->text(), QString());              // vitb2: no value
        QCOMPARE(field(w, 16)->text(), QStringLiteral("300"));  // ca
        QCOMPARE(field(w, 11)->x(), field(w, 1)->x());          // vite: last of the left column
        QVERIFY(field(w, 12)->x() > field(w, 11)->x());         // vitb1 heads the right column
        QCOMPARE(field(w, 12)->y(), field(w, 1)->y());
    }

    void cannotEditAndClosingChangesNothing_data() {
        QTest::addColumn<QString>("image");
        QTest::newRow("确定") << "Image2";
        QTest::newRow("close mark") << "Image3";
    }
    void cannotEditAndClosingChangesNothing() {
        QFETCH(QString, image);
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        nc::diet::lsfoodname() = QStringLiteral("藕粉");
        TForm11 w;
        for (int n = 1; n <= 22; ++n)
            QVERIFY(field(w, n)->isReadOnly());
        nc::test::typeText(field(w, 2), QStringLiteral("x"));
        nc::test::typeText(field(w, 5), QStringLiteral("9"));
        QCOMPARE(field(w, 5)->text(), QStringLiteral("0"));
        QCOMPARE(w.foodList().state(), nc::data::DataSet::State::Browse);
        nc::test::click(w, image);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(db.scalar(QStringLiteral("select foodname || energy from Foodnurti where foodid='02001'"))
                     .toText(),
                 QStringLiteral("藕粉0.0"));
    }

    void buttonsLiftUnderThePointer() {
        FixtureDb db(FixtureDb::Content::FixedRows, nc::test::smallFoodTable());
        TForm11 w;
        QWidget* ok = child(w, QStringLiteral("Image2"));
        QWidget* close = child(w, QStringLiteral("Image3"));
        QCOMPARE(ok->y(), 527);
        QCOMPARE(close->y(), 11);
        nc::test::movePointer(ok);
        nc::test::movePointer(close);
        QCOMPARE(ok->y(), 524);
        QCOMPARE(close->y(), 8);
        nc::test::movePointer(child(w, QStringLiteral("Image1")), QPoint(5, 300));
        QCOMPARE(ok->y(), 527);
        QCOMPARE(close->y(), 11);
    }
};

QTEST_MAIN(TestFoodViewer)
#include "tst_food_viewer.moc"
