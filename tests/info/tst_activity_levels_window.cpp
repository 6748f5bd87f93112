// The activity-level table closes on a double click on the table or on 退出, and on nothing else.

#include "info/activity_levels_window.h"
#include "support/widgets.h"
#include "ui/picture_button.h"

#include <QTest>

using nc::info::TForm2;
using nc::test::child;
using nc::ui::PictureButton;

class TestActivityLevelsWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closing_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<bool>("closes");
        QTest::newRow("double click on the table") << "Image1" << true << true;
        QTest::newRow("click on the table") << "Image1" << false << false;
        QTest::newRow("exit") << "Image2" << false << true;
    }
    void closing() {
        QFETCH(QString, control);
        QFETCH(bool, doubleClick);
        QFETCH(bool, closes);
        TForm2 w;
        QCOMPARE(w.size(), QSize(619, 330));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        w.show();
        auto* picture = child<PictureButton>(w, control);
        QVERIFY(picture);
        if (doubleClick)
            QTest::mouseDClick(picture, Qt::LeftButton);
        else
            QTest::mouseClick(picture, Qt::LeftButton);
        QCOMPARE(w.isVisible(), !closes);
    }
};

QTEST_MAIN(TestActivityLevelsWindow)
#include "tst_activity_levels_window.moc"
