// Start-up: the splash ends on its timer or a click (the timer switched off first), any other end of
// it ends the program without a main window, and otherwise the main window follows.

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "app/titles.h"
#include "ui/picture_button.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using nc::app::TForm1;
using nc::app::TForm5;
using nc::ui::PictureButton;

namespace {

QTimer* timerOf(TForm5& s) {
    return s.findChild<QTimer*>(QStringLiteral("Timer1"));
}

// Watches the top-level windows while the program runs, acting on the splash and the main window.
class Driver : public QObject {
public:
    std::function<void(TForm5*)> onSplash;
    std::function<void(TForm1*)> onMain;
    bool sawMain = false;
    QString mainTitle;

    Driver() {
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* s = qobject_cast<TForm5*>(w); s && s->isVisible() && !splashDone_) {
                    splashDone_ = true;
                    onSplash(s);
                } else if (auto* m = qobject_cast<TForm1*>(w); m && m->isVisible() && !sawMain) {
                    sawMain = true;
                    mainTitle = m->windowTitle();
                    onMain(m);
                }
            }
        });
        poll_.start();
    }

private:
    QTimer poll_;
    bool splashDone_ = false;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splashShape() {
        TForm5 s;
        QCOMPARE(s.size(), QSize(459, 319));
        QCOMPARE(s.minimumSize(), s.maximumSize());
        QVERIFY(s.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(s.findChild<PictureButton*>(QStringLiteral("Image1"))->geometry(), QRect(0, 0, 465, 321));
        QCOMPARE(timerOf(s)->interval(), 2800);
        QVERIFY(timerOf(s)->isActive());
    }

    void clickEndsTheSplashAndTheTimerNeverFires() {
        TForm5 s;
        QTimer* timer = timerOf(s);
        QSignalSpy fired(timer, &QTimer::timeout);
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(200, &s, [&] {
            QTest::mouseClick(s.findChild<PictureButton*>(QStringLiteral("Image1")), Qt::LeftButton);
        });
        QCOMPARE(s.exec(), int(QDialog::Accepted));
        QVERIFY(clock.elapsed() < 2800);
        QVERIFY(!timer->isActive());
        QTest::qWait(3000);
        QCOMPARE(fired.count(), 0);
    }

    void timerEndsTheSplashOnce() {
        TForm5 s;
        QSignalSpy fired(timerOf(s), &QTimer::timeout);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(s.exec(), int(QDialog::Accepted));
        QVERIFY2(clock.elapsed() >= 2600, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(fired.count(), 1);
        QVERIFY(!timerOf(s)->isActive());
    }

    void otherEndsAreNotOk_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("closed") << false;
    }
    void otherEndsAreNotOk() {
        QFETCH(bool, escape);
        TForm5 s;
        QTimer::singleShot(100, &s, [&] {
            if (escape)
                QTest::keyClick(&s, Qt::Key_Escape);
            else
                s.close();
        });
        QCOMPARE(s.exec(), int(QDialog::Rejected));
    }

    void splashEndedOtherwiseEndsTheProgramSilently() {
        Driver d;
        d.onSplash = [](TForm5* s) { QTest::keyClick(s, Qt::Key_Escape); };
        d.onMain = [](TForm1* m) { m->close(); };
        QCOMPARE(nc::app::runProgram(), 0);
        QVERIFY(!d.sawMain);
    }

    void clickOnSplashLeadsToTheMainWindow() {
        Driver d;
        d.onSplash = [](TForm5* s) {
            QTest::mouseClick(s->findChild<PictureButton*>(QStringLiteral("Image1")), Qt::LeftButton);
        };
        d.onMain = [](TForm1* m) { m->close(); };
        QCOMPARE(nc::app::runProgram(), 0);
        QVERIFY(d.sawMain);
        QCOMPARE(d.mainTitle, nc::app::kProductTitleLine);
        QCOMPARE(QCoreApplication::applicationName(), nc::app::kApplicationTitle);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
