// Picture buttons answer clicks, double clicks and pointer moves; the hover rule lifts and restores them.

#include "support/pointer.h"
#include "ui/hover_lift.h"
#include "ui/picture_button.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QtTest/qtestevent.h>

using nc::ui::HoverLift;
using nc::ui::PictureButton;

class TestPictureButton : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mouse_data() {
        QTest::addColumn<QTestEventList>("events");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("doubleClicks");
        const QPoint inside(10, 10), outside(200, 10);

        QTestEventList click;
        click.addMouseClick(Qt::LeftButton, {}, inside);
        QTest::newRow("left click") << click << 1 << 0;

        QTestEventList right;
        right.addMouseClick(Qt::RightButton, {}, inside);
        QTest::newRow("right click does nothing") << right << 0 << 0;

        QTestEventList dragOut;
        dragOut.addMousePress(Qt::LeftButton, {}, inside);
        dragOut.addMouseRelease(Qt::LeftButton, {}, outside);
        QTest::newRow("released outside") << dragOut << 0 << 0;

        QTestEventList releaseOnly;
        releaseOnly.addMouseRelease(Qt::LeftButton, {}, inside);
        QTest::newRow("release without press") << releaseOnly << 0 << 0;

        QTestEventList twice;
        twice.addMouseClick(Qt::LeftButton, {}, inside);
        twice.addMouseDClick(Qt::LeftButton, {}, inside);
        QTest::newRow("double click: one click, one double click") << twice << 1 << 1;
    }
    void mouse() {
        QFETCH(QTestEventList, events);
        QFETCH(int, clicks);
        QFETCH(int, doubleClicks);
        PictureButton b(QStringLiteral("Image8"));
        b.setGeometry(0, 0, 100, 40);
        QSignalSpy clicked(&b, &PictureButton::clicked);
        QSignalSpy doubled(&b, &PictureButton::doubleClicked);
        events.simulate(&b);
        QCOMPARE(clicked.count(), clicks);
        QCOMPARE(doubled.count(), doubleClicks);
    }

    void pointerMoveReportsPosition() {
        PictureButton b(QStringLiteral("Image1"));
        b.setGeometry(0, 0, 100, 40);
        QSignalSpy moved(&b, &PictureButton::pointerMoved);
        nc::test::movePointer(&b, QPoint(7, 9));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(7, 9));
        QVERIFY(b.hasMouseTracking()); // moves without a button held reach it
    }

    void hoverLiftsOnlyTheButtonUnderThePointer() {
        QWidget window;
        auto* background = new PictureButton(QStringLiteral("Image1"), &window);
        background->setGeometry(0, 0, 400, 300);
        auto* a = new PictureButton(QStringLiteral("ImageA"), &window);
        a->setGeometry(10, 100, 50, 20);
        auto* b = new PictureButton(QStringLiteral("ImageB"), &window);
        b->setGeometry(100, 52, 50, 20); // starts off its rest top
        HoverLift hover;
        hover.add(a, 100, 97);
        hover.add(b, 50, 47);
        hover.setBackground(background);

        nc::test::movePointer(a);
        QCOMPARE(a->y(), 97);
        QCOMPARE(b->y(), 52);
        nc::test::movePointer(a); // staying over it keeps it up
        QCOMPARE(a->y(), 97);
        nc::test::movePointer(b); // straight onto the next one: the first stays up
        QCOMPARE(a->y(), 97);
        QCOMPARE(b->y(), 47);
        nc::test::movePointer(background);
        QCOMPARE(a->y(), 100);
        QCOMPARE(b->y(), 50);
        QCOMPARE(a->x(), 10); // only the top moves
    }

    void hoverSurvivesADeletedButton() {
        QWidget window;
        auto* background = new PictureButton(QStringLiteral("Image1"), &window);
        auto* a = new PictureButton(QStringLiteral("ImageA"), &window);
        auto* b = new PictureButton(QStringLiteral("ImageB"), &window);
        b->move(0, 20);
        HoverLift hover;
        hover.add(a, 10, 7);
        hover.add(b, 30, 27);
        hover.setBackground(background);
        delete a;
        nc::test::movePointer(background);
        QCOMPARE(b->y(), 30);
    }
};

QTEST_MAIN(TestPictureButton)
#include "tst_picture_button.moc"
