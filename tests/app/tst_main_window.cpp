// The main window: its buttons and their hover tops, opening working windows anew and modally, the
// connection it sets up without opening, and ending the program on every kind of close.

#include "app/main_window.h"
#include "app/titles.h"
#include "app/working_windows.h"
#include "data/client_file.h"
#include "data/query.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/pointer.h"
#include "support/widgets.h"
#include "ui/picture_button.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

using nc::app::TForm1;
using nc::test::MessagesRecorder;
using nc::test::ProbeWindow;
using nc::ui::PictureButton;
using nc::ui::WindowRegistry;

namespace {

WindowRegistry probes() {
    return ProbeWindow::registry(
        {"TForm3", "TForm8", "TForm7", "TForm6", "TForm9", "TFormSettings", "TFormClients"});
}

PictureButton* button(QWidget& w, const QString& name) {
    return nc::test::child<PictureButton>(w, name);
}

const QStringList kButtons = {QStringLiteral("Image8"),  QStringLiteral("Image9"),  QStringLiteral("Image10"),
                              QStringLiteral("Image11"), QStringLiteral("Image12"), QStringLiteral("Image13"),
                              QStringLiteral("Image14"), QStringLiteral("Image15")};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ProbeWindow::reset(); }

    void frameCaptionAndConnection() {
        const WindowRegistry none;
        TForm1 w(none);
        QCOMPARE(w.windowTitle(), nc::app::kProductTitleLine);
        QCOMPARE(w.minimumSize(), QSize(843, 530));
        QCOMPARE(w.maximumSize(), QSize(843, 530));
        QVERIFY(w.isWindow());
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(button(w, QStringLiteral("Image1"))->geometry(), QRect(0, 0, 843, 530));

        // The database beside the program, registered for every window, and not opened yet.
        nc::data::Connection* c = nc::data::Connection::current();
        QVERIFY(c);
        QCOMPARE(QFileInfo(c->databasePath()).absoluteFilePath(),
                 QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("yfdb.dbz")));
        QVERIFY(!c->isOpen());
    }

    void hoverTops_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("start");
        QTest::addColumn<int>("raised");
        QTest::addColumn<int>("rest");
        QTest::newRow("Image8") << "Image8" << QRect(73, 161, 182, 82) << 158 << 161;
        QTest::newRow("Image9") << "Image9" << QRect(332, 165, 213, 43) << 162 << 165;
        QTest::newRow("Image10") << "Image10" << QRect(204, 253, 217, 43) << 250 << 253;
        QTest::newRow("Image11") << "Image11" << QRect(72, 344, 144, 42) << 341 << 344;
        QTest::newRow("Image12") << "Image12" << QRect(379, 343, 144, 41) << 341 << 344;
        QTest::newRow("Image13") << "Image13" << QRect(660, 471, 104, 54) << 466 << 469;
        QTest::newRow("Image14") << "Image14" << QRect(755, 14, 72, 30) << 12 << 14;
        QTest::newRow("Image15") << "Image15" << QRect(73, 408, 132, 40) << 405 << 408;
    }
    void hoverTops() {
        QFETCH(QString, name);
        QFETCH(QRect, start);
        QFETCH(int, raised);
        QFETCH(int, rest);
        const WindowRegistry none;
        TForm1 w(none);
        PictureButton* b = button(w, name);
        QCOMPARE(b->geometry(), start);

        QMap<QString, int> othersBefore;
        for (const QString& n : kButtons)
            othersBefore[n] = button(w, n)->y();
        nc::test::movePointer(b);
        QCOMPARE(b->y(), raised);
        for (const QString& n : kButtons)
            if (n != name)
                QCOMPARE(button(w, n)->y(), othersBefore[n]);

        nc::test::movePointer(button(w, QStringLiteral("Image1")));
        QCOMPARE(b->geometry(), QRect(start.x(), rest, start.width(), start.height()));
    }

    // Image12 and Image13 open one and two pixels off their rest tops and settle on the first move
    // over the background, for good.
    void firstBackgroundMoveSettlesTheOddTops() {
        const WindowRegistry none;
        TForm1 w(none);
        QCOMPARE(button(w, QStringLiteral("Image12"))->y(), 343);
        QCOMPARE(button(w, QStringLiteral("Image13"))->y(), 471);
        nc::test::movePointer(
            button(w, QStringLiteral("Image13"))); // over the button itself: raised, not settled
        QCOMPARE(button(w, QStringLiteral("Image13"))->y(), 466);
        QCOMPARE(button(w, QStringLiteral("Image12"))->y(), 343);
        nc::test::movePointer(button(w, QStringLiteral("Image1")));
        QCOMPARE(button(w, QStringLiteral("Image12"))->y(), 344);
        QCOMPARE(button(w, QStringLiteral("Image13"))->y(), 469);
        nc::test::movePointer(button(w, QStringLiteral("Image12")));
        nc::test::movePointer(button(w, QStringLiteral("Image1")));
        QCOMPARE(button(w, QStringLiteral("Image12"))->y(), 344);
    }

    // From one button straight onto its neighbour: both stay up until the pointer crosses the background.
    void onlyTheBackgroundRestores() {
        const WindowRegistry none;
        TForm1 w(none);
        nc::test::movePointer(button(w, QStringLiteral("Image11")));
        nc::test::movePointer(button(w, QStringLiteral("Image12")));
        QCOMPARE(button(w, QStringLiteral("Image11"))->y(), 341);
        QCOMPARE(button(w, QStringLiteral("Image12"))->y(), 341);
        nc::test::movePointer(button(w, QStringLiteral("Image1")));
        QCOMPARE(button(w, QStringLiteral("Image11"))->y(), 344);
        QCOMPARE(button(w, QStringLiteral("Image12"))->y(), 344);
    }

    // clang-format off
    void eachClickOpensAFreshModalWindow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::newRow("personal record")     << "Image8"  << "TForm3";
        QTest::newRow("diet record")         << "Image9"  << "TForm8";
        QTest::newRow("food composition")    << "Image10" << "TForm7";
        QTest::newRow("recommended recipes") << "Image11" << "TForm6";
        QTest::newRow("about")               << "Image12" << "TForm9";
        QTest::newRow("settings")            << "Image14" << "TFormSettings";
        QTest::newRow("client list")         << "Image15" << "TFormClients";
    }
    // clang-format on
    void eachClickOpensAFreshModalWindow() {
        QFETCH(QString, name);
        QFETCH(QString, className);
        MessagesRecorder messages;
        const WindowRegistry windows = probes();
        TForm1 w(windows);
        w.show();

        QTest::mouseClick(button(w, name), Qt::LeftButton);
        QCOMPARE(ProbeWindow::seen.size(), 1);
        QCOMPARE(ProbeWindow::alive, 0); // freed when its modal loop returned
        QTest::mouseClick(button(w, name), Qt::LeftButton);
        QCOMPARE(ProbeWindow::seen.size(), 2);
        QCOMPARE(ProbeWindow::alive, 0);

        QVERIFY(ProbeWindow::seen[0].serial != ProbeWindow::seen[1].serial);
        for (const ProbeWindow::Seen& s : ProbeWindow::seen) {
            QCOMPARE(s.className, className);
            QCOMPARE(s.parent, &w);
            QVERIFY(s.modal);
        }
        QVERIFY(messages.isEmpty());
        QVERIFY(w.isVisible());
    }

    // The main window names the current client, so no one enters a diet for the wrong woman; after
    // the client list closes it names whoever is current then.
    void namesTheCurrentClient() {
        const WindowRegistry none;
        TForm1 w(none);
        nc::test::FixtureDb db;
        db.exec(QStringLiteral("update personinf set name='林晓雯', csjd='孕妇', yq_week=24, yq_jd='中期'"));
        w.showCurrentClient();
        auto* label = nc::test::child<QLabel>(w, QStringLiteral("CurrentClient"));
        QCOMPARE(label->text(), QStringLiteral("当前客户：林晓雯 · 孕妇 · 孕24周（中期）"));
        db.exec(QStringLiteral("update personinf set name=null"));
        w.showCurrentClient();
        QCOMPARE(label->text(), QStringLiteral("当前客户：未填姓名的客户 · 孕妇 · 孕24周（中期）"));
        nc::data::detachClientFile(db.connection());
        w.showCurrentClient();
        QVERIFY(label->text().contains(QStringLiteral("当前没有打开的客户")));
    }

    // Each button names a window of the program's list, so none is missing when the program runs.
    void everyButtonNamesAListedWindow_data() { eachClickOpensAFreshModalWindow_data(); }
    void everyButtonNamesAListedWindow() {
        QFETCH(QString, name);
        QFETCH(QString, className);
        WindowRegistry windows;
        nc::app::registerWorkingWindows(windows);
        QCOMPARE(TForm1::windowOf(name), className);
        QVERIFY(windows.contains(className));
    }

    // Where assertions are off, a window missing from the list is reported as an error of the program
    // and the main window stays.
    void missingWindowIsReportedAsAnError() {
#ifndef QT_NO_DEBUG
        QSKIP("a debug build asserts instead");
#else
        MessagesRecorder messages;
        const WindowRegistry none;
        TForm1 w(none);
        w.show();
        QTest::mouseClick(button(w, QStringLiteral("Image8")), Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QVERIFY2(messages.last().text.contains(QStringLiteral("TForm3")), qPrintable(messages.last().text));
        QVERIFY(w.isVisible());
#endif
    }

    // With no database beside the program the main window still comes up; the first window that reads
    // gets the error, the main window stays, and the next click tries the connection again.
    void databaseAbsentErrsOnlyOnFirstRead() {
        const QString file =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("yfdb.dbz"));
        if (QFile::exists(file))
            QSKIP("a database lies beside the test program");
        MessagesRecorder messages;
        int attempts = 0;
        WindowRegistry windows;
        windows.add(QStringLiteral("TForm3"), [&](QWidget* parent) -> std::unique_ptr<QDialog> {
            ++attempts;
            nc::data::Query q;
            q.setSql(QStringLiteral("select count(*) from personinf"));
            q.open();
            return std::make_unique<ProbeWindow>(QStringLiteral("TForm3"), parent);
        });
        TForm1 w(windows);
        w.show();
        QVERIFY(messages.isEmpty());

        for (int click = 1; click <= 2; ++click) {
            QTest::mouseClick(button(w, QStringLiteral("Image8")), Qt::LeftButton);
            QCOMPARE(attempts, click);
            QCOMPARE(messages.size(), click);
            QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
            QVERIFY2(messages.last().text.contains(QStringLiteral("yfdb.dbz")),
                     qPrintable(messages.last().text));
            QVERIFY(w.isVisible());
        }
        QCOMPARE(ProbeWindow::seen.size(), 0);
    }

    void everyCloseEndsAtOnceAsking_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("退出 picture") << 0;
        QTest::newRow("close request from code") << 1;
        QTest::newRow("close box of the window system") << 2;
    }
    void everyCloseEndsAtOnceAsking() {
        QFETCH(int, how);
        MessagesRecorder messages;
        const WindowRegistry none;
        TForm1 w(none);
        int quits = 0;
        w.setQuit([&] { ++quits; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        switch (how) {
        case 0:
            QTest::mouseClick(button(w, QStringLiteral("Image13")), Qt::LeftButton);
            break;
        case 1:
            w.close();
            break;
        case 2:
            w.windowHandle()->close();
            break;
        }
        QCOMPARE(quits, 1);
        QVERIFY(messages.isEmpty());
    }

    // Without a stand-in, ending leaves the application's event loop at once.
    void closingLeavesTheEventLoop() {
        const WindowRegistry none;
        TForm1 w(none);
        // Closing the last window must not be what ends the loop here.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        w.show();
        QTimer::singleShot(0, &w,
                           [&] { QTest::mouseClick(button(w, QStringLiteral("Image13")), Qt::LeftButton); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // a hang shows as 99
        const int code = QCoreApplication::exec();
        QGuiApplication::setQuitOnLastWindowClosed(true);
        QCOMPARE(code, 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
