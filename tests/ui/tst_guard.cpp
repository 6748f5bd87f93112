// The application-wide error report: an exception from a handler is shown with its own text and the
// window stays open and usable.

#include "data/errors.h"
#include "support/messages_recorder.h"
#include "support/pointer.h"
#include "ui/guard.h"
#include "ui/picture_button.h"

#include <QDialog>
#include <QTest>

#include <functional>
#include <stdexcept>

using nc::test::MessagesRecorder;
using nc::ui::PictureButton;

Q_DECLARE_METATYPE(std::function<void()>)

class TestGuard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportsAndKeepsTheWindow_data() {
        QTest::addColumn<std::function<void()>>("fail");
        QTest::addColumn<QString>("shown");
        QTest::newRow("database error") << std::function<void()>([] {
            throw nc::data::DbError(QStringLiteral("无法打开数据库文件 /x/yfdb.dbz。"));
        }) << QStringLiteral("无法打开数据库文件 /x/yfdb.dbz。");
        QTest::newRow("conversion error") << std::function<void()>([] {
            throw nc::data::ConversionError(QStringLiteral("“abc”不是有效的数值。"));
        }) << QStringLiteral("“abc”不是有效的数值。");
        QTest::newRow("standard exception, UTF-8 text")
            << std::function<void()>([] { throw std::runtime_error("文件不存在：yyfx.rav"); })
            << QStringLiteral("文件不存在：yyfx.rav");
        QTest::newRow("anything else")
            << std::function<void()>([] { throw 42; }) << QStringLiteral("发生了未知错误，操作没有完成。");
    }
    void reportsAndKeepsTheWindow() {
        QFETCH(std::function<void()>, fail);
        QFETCH(QString, shown);
        MessagesRecorder messages;
        QDialog window;
        auto* button = new PictureButton(QStringLiteral("Image2"), &window);
        button->setGeometry(0, 0, 80, 30);
        int runs = 0;
        connect(button, &PictureButton::clicked, &window, nc::ui::guarded([&] {
                    ++runs;
                    fail();
                }));
        window.show();

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QCOMPARE(messages.last().text, shown);
        QVERIFY(window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected)); // nothing ended it

        QTest::mouseClick(button, Qt::LeftButton); // still answers
        QCOMPARE(runs, 2);
        QCOMPARE(messages.size(), 2);
    }

    void passesSignalArguments() {
        MessagesRecorder messages;
        PictureButton picture(QStringLiteral("Image1"));
        picture.resize(50, 50);
        QPoint seen;
        connect(&picture, &PictureButton::pointerMoved, &picture,
                nc::ui::guarded([&](QPoint p) { seen = p; }));
        nc::test::movePointer(&picture, QPoint(4, 5));
        QCOMPARE(seen, QPoint(4, 5));
        QVERIFY(messages.isEmpty());
    }

    // A handler may leave off the signal's trailing arguments, as with any connect().
    void handlerMayTakeFewerArguments() {
        MessagesRecorder messages;
        PictureButton picture(QStringLiteral("Image1"));
        picture.resize(50, 50);
        int moves = 0;
        connect(&picture, &PictureButton::pointerMoved, &picture, nc::ui::guarded([&] { ++moves; }));
        nc::test::movePointer(&picture, QPoint(4, 5));
        QCOMPARE(moves, 1);
        QVERIFY(messages.isEmpty());
    }

    void returnsWhetherItRan() {
        MessagesRecorder messages;
        QVERIFY(nc::ui::guard([] {}));
        QVERIFY(!nc::ui::guard([] { throw std::runtime_error("x"); }));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("x")});
    }
};

QTEST_MAIN(TestGuard)
#include "tst_guard.moc"
