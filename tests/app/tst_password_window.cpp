// The counsellor's own password in the windows: asked at start (a wrong one refused without writing
// anything, the right one taken, 退出, 没有设置过密码), set, changed and given back in its own window,
// and opened from the settings window.

#include "app/password_window.h"
#include "app/settings_window.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/password.h"
#include "data/query.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/typing.h"
#include "support/widgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

using nc::app::TFormChangePassword;
using nc::app::TFormPassword;
using nc::data::opensWith;
using nc::data::programPassword;
using nc::test::child;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;

namespace {

const QString kHers = QStringLiteral("她的密码");
const QString kWrong = QStringLiteral("wrong-1");
const QString kForgotten = QStringLiteral("请牢记这个密码：忘记后将无法打开这些数据。");

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Types into a password field as she would, after emptying it.
void type(QWidget& w, const char* field, const QString& text) {
    auto* e = child<QLineEdit>(w, field);
    e->clear();
    nc::test::typeText(e, text);
}

// The two files of the fixture, and which of them open with the password.
QStringList filesOf(const FixtureDb& db) {
    return {db.path(), db.clientPath()};
}
// Whether every copy in the backups folder opens with the password (and there is at least one).
bool copiesOpenWith(const FixtureDb& db, const QString& password) {
    const QDir folder(nc::data::backupFolderFor(db.path()));
    const QStringList names = folder.entryList({QStringLiteral("*.dbz")}, QDir::Files);
    return !names.isEmpty() && std::all_of(names.cbegin(), names.cend(), [&](const QString& n) {
        return opensWith(folder.filePath(n), password);
    });
}

bool allOpenWith(const FixtureDb& db, const QString& password) {
    const QStringList files = filesOf(db);
    return std::all_of(files.cbegin(), files.cend(),
                       [&](const QString& f) { return opensWith(f, password); });
}

// Runs askPasswordAtStart, answering its window (when one opens) with `answer`, which gets the window.
// Returns what the call returned; `asked` says whether the window opened.
bool startWith(nc::data::Connection& c, const std::function<void(TFormPassword&)>& answer, bool& asked) {
    asked = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* w = qobject_cast<TFormPassword*>(QApplication::activeModalWidget())) {
            poll.stop();
            asked = true;
            answer(*w);
        }
    });
    poll.start();
    return nc::app::askPasswordAtStart(c);
}

} // namespace

class TestPasswordWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A wrong password is refused and she tries again; the files are not touched by any try; the right
    // one closes the window with it.
    void wrongThenRight() {
        FixtureDb db;
        nc::data::changePassword(db.connection(), kHers, QDateTime::currentDateTime());
        db.connection().close();
        QByteArray before;
        for (const QString& f : filesOf(db))
            before += bytesOf(f);
        MessagesRecorder messages;
        TFormPassword w(db.path());
        QVERIFY(nc::test::showActive(w));
        QCOMPARE(w.windowTitle(), QStringLiteral("输入密码"));
        QVERIFY(child<QLabel>(w, "Label2")->toolTip().endsWith(QStringLiteral("yfdb.dbz")));
        QCOMPARE(child<QLineEdit>(w, "Edit1")->echoMode(), QLineEdit::Password);

        nc::test::click(w, "Image2"); // nothing typed
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("请输入密码。")});
        for (const QString& wrong : {kWrong, programPassword()}) {
            messages.clear();
            type(w, "Edit1", wrong);
            nc::test::click(w, "Image2");
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("密码不正确，请重新输入。")});
            QVERIFY(w.isVisible());
            QVERIFY(child<QLineEdit>(w, "Edit1")->text().isEmpty());
        }
        messages.clear();
        type(w, "Edit1", kHers);
        QTest::keyClick(child<QLineEdit>(w, "Edit1"), Qt::Key_Return); // Enter is 确定
        QVERIFY(messages.isEmpty());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(w.outcome(), TFormPassword::Outcome::Entered);
        QCOMPARE(w.password(), kHers);
        QByteArray after;
        for (const QString& f : filesOf(db))
            after += bytesOf(f);
        QVERIFY(after == before);
    }

    // 退出, the close box and 没有设置过密码 end the window without a password.
    void leavingWithoutAPassword_data() {
        QTest::addColumn<QString>("control"); // "": the close box
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("told");
        QTest::newRow("退出") << QStringLiteral("Image3") << int(TFormPassword::Outcome::Quit) << false;
        QTest::newRow("close box") << QString() << int(TFormPassword::Outcome::Quit) << false;
        QTest::newRow("没有设置过密码")
            << QStringLiteral("Button1") << int(TFormPassword::Outcome::NoPassword) << true;
    }
    void leavingWithoutAPassword() {
        QFETCH(QString, control);
        QFETCH(int, outcome);
        QFETCH(bool, told);
        FixtureDb db;
        MessagesRecorder messages;
        TFormPassword w(db.path());
        w.show();
        type(w, "Edit1", kWrong);
        if (control.isEmpty())
            w.close();
        else
            nc::test::click(w, control);
        QVERIFY(!w.isVisible());
        QCOMPARE(int(w.outcome()), outcome);
        QVERIFY(w.password().isEmpty());
        QCOMPARE(messages.size(), told ? 1 : 0);
        if (told) {
            QCOMPARE(child<QPushButton>(w, "Button1")->text(), QStringLiteral("没有设置过密码"));
            QVERIFY(messages.last().text.contains(QStringLiteral("损坏")));
            QVERIFY(messages.last().text.contains(QStringLiteral("备份")));
        }
    }

    // At start the window opens only for a whole file that refuses the program's password: what she
    // enters becomes the connection's password; 退出 leaves the connection and the files as they were;
    // a file under the program's password, or a damaged one, goes on without asking.
    void startAsksOnlyWhenTheFileHasAnotherPassword_data() {
        QTest::addColumn<QString>("fileUnder"); // "program", "hers", "damaged"
        QTest::addColumn<QString>("answer");    // "right", "quit"
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QString>("sessionPassword"); // "" : the program's
        QTest::newRow("program's password") << "program"
                                            << "right" << false << true << QString();
        QTest::newRow("her password") << "hers"
                                      << "right" << true << true << kHers;
        QTest::newRow("her password, 退出") << "hers"
                                            << "quit" << true << false << QString();
        QTest::newRow("damaged file") << "damaged"
                                      << "right" << false << true << QString();
    }
    void startAsksOnlyWhenTheFileHasAnotherPassword() {
        QFETCH(QString, fileUnder);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, goesOn);
        QFETCH(QString, sessionPassword);
        FixtureDb db;
        if (fileUnder != QLatin1String("program"))
            nc::data::changePassword(db.connection(), kHers, QDateTime::currentDateTime());
        db.connection().close();
        if (fileUnder == QLatin1String("damaged")) {
            QFile f(db.path());
            QVERIFY(f.resize(f.size() - 100));
        }
        const QByteArray before = bytesOf(db.path());
        MessagesRecorder messages;
        // As the program starts: the connection of the folder, under the program's password.
        nc::data::Connection c(nc::data::connectionStringForFolder(db.folder()));
        bool windowOpened = false;
        const bool result = startWith(
            c,
            [&](TFormPassword& w) {
                if (answer == QLatin1String("quit")) {
                    nc::test::click(w, "Image3");
                    return;
                }
                type(w, "Edit1", kHers);
                nc::test::click(w, "Image2");
            },
            windowOpened);
        QCOMPARE(windowOpened, asked);
        QCOMPARE(result, goesOn);
        QCOMPARE(c.password(), sessionPassword.isEmpty() ? programPassword() : sessionPassword);
        QVERIFY(!c.isOpen());
        QCOMPARE(bytesOf(db.path()), before);
        if (fileUnder == QLatin1String("hers") && goesOn) {
            nc::data::Query q(&c);
            q.setSql(QStringLiteral("select count(*) from clients"));
            q.open();
            QCOMPARE(q.field(0).toInteger(), 1);
        }
    }

    // What the change window refuses: nothing changes and the window stays for another try.
    void changeRefusals_data() {
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        const QString mismatch = QStringLiteral("两次输入的新密码不一致，请重新输入。");
        QTest::newRow("no password yet, different twice") << false << QString() << "abc1"
                                                          << "abc2" << mismatch;
        QTest::newRow("no password yet, nothing typed")
            << false << QString() << QString() << QString() << QStringLiteral("请输入新密码。");
        QTest::newRow("wrong current password") << true << QStringLiteral("猜的") << "abc1"
                                                << "abc1" << QStringLiteral("当前密码不正确，请重新输入。");
        QTest::newRow("her password, different twice") << true << kHers << "abc1"
                                                       << "abc2" << mismatch;
        QTest::newRow("same as the current one")
            << true << kHers << kHers << kHers << QStringLiteral("新密码与当前密码相同，请换一个。");
        QTest::newRow("removal not confirmed")
            << true << kHers << QString() << QString() << QStringLiteral("确定要取消您设置的密码吗？");
    }
    void changeRefusals() {
        QFETCH(bool, own);
        QFETCH(QString, current);
        QFETCH(QString, next);
        QFETCH(QString, again);
        QFETCH(QString, message);
        FixtureDb db;
        if (own)
            nc::data::changePassword(db.connection(), kHers, QDateTime::currentDateTime());
        const QString key = own ? kHers : programPassword();
        MessagesRecorder messages; // a question is answered No
        TFormChangePassword w;
        w.show();
        QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("Edit1")) != nullptr, own);
        if (own)
            type(w, "Edit1", current);
        type(w, "Edit2", next);
        type(w, "Edit3", again);
        nc::test::click(w, "Image2");
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.last().text.contains(message), qPrintable(messages.last().text));
        QVERIFY(w.isVisible());
        QCOMPARE(db.connection().password(), key);
        QVERIFY(allOpenWith(db, key));
    }

    // Set, changed, given back to the program's password, each in a window of its own; the message
    // after setting or changing says that a forgotten password cannot be recovered.
    void setChangeAndGiveBack() {
        FixtureDb db;
        MessagesRecorder messages;
        const auto run = [&](const QString& current, const QString& next, const char* title) {
            messages.clear();
            TFormChangePassword w;
            w.show();
            QCOMPARE(w.windowTitle(), QString::fromUtf8(title));
            if (!current.isEmpty())
                type(w, "Edit1", current);
            type(w, "Edit2", next);
            type(w, "Edit3", next);
            nc::test::click(w, "Image2");
            QCOMPARE(w.result(), int(QDialog::Accepted));
        };
        run(QString(), QStringLiteral("abc1"), "设置密码");
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.last().text.contains(kForgotten));
        QVERIFY(allOpenWith(db, QStringLiteral("abc1")));
        QCOMPARE(db.connection().password(), QStringLiteral("abc1"));
        // The copies made before the change, under the program's password, take hers too.
        QVERIFY(copiesOpenWith(db, QStringLiteral("abc1")));
        QVERIFY2(messages.last().text.contains(QStringLiteral("份备份也已换用新的密码")),
                 qPrintable(messages.last().text));

        run(QStringLiteral("abc1"), kHers, "更改密码");
        QVERIFY(messages.last().text.contains(kForgotten));
        QVERIFY(allOpenWith(db, kHers));
        QVERIFY(copiesOpenWith(db, kHers));

        messages.answerNext(true);
        run(kHers, QString(), "更改密码");
        QCOMPARE(messages.size(), 2); // the question, then what was done
        QCOMPARE(messages.entries().at(0).kind, MessagesRecorder::Kind::Confirm);
        QVERIFY(messages.last().text.contains(QStringLiteral("程序自带的密码")));
        QVERIFY(allOpenWith(db, programPassword()));
        QVERIFY(copiesOpenWith(db, programPassword()));
        QVERIFY(!nc::data::hasOwnPassword(db.connection()));
    }

    // A file that fails half-way: the error names it, nothing changed, the window stays with what she
    // typed, so she can try again.
    void failedChangeKeepsTheWindow() {
        FixtureDb db;
        MessagesRecorder messages;
        TFormChangePassword w;
        w.show();
        type(w, "Edit2", QStringLiteral("abc1"));
        type(w, "Edit3", QStringLiteral("abc1"));
        nc::data::failRekeyAtFile(2);
        nc::test::click(w, "Image2");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QVERIFY(messages.last().text.contains(QDir::toNativeSeparators(db.clientPath())));
        QVERIFY(messages.last().text.contains(QStringLiteral("密码没有更改")));
        QVERIFY(w.isVisible());
        QVERIFY(allOpenWith(db, programPassword()));
        nc::test::click(w, "Image2");
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(allOpenWith(db, QStringLiteral("abc1")));
    }

    // The settings window says whether the files have her password and opens the password window.
    void settingsOpensThePasswordWindow_data() {
        QTest::addColumn<bool>("own");
        QTest::newRow("program's password") << false;
        QTest::newRow("her password") << true;
    }
    void settingsOpensThePasswordWindow() {
        QFETCH(bool, own);
        FixtureDb db;
        if (own)
            nc::data::changePassword(db.connection(), kHers, QDateTime::currentDateTime());
        nc::test::ProbeWindow::reset();
        const nc::ui::WindowRegistry windows = nc::test::ProbeWindow::registry({"TFormChangePassword"});
        nc::app::TFormSettings w(nullptr, windows);
        w.show();
        QCOMPARE(child<QLabel>(w, "Label3")->text().contains(QStringLiteral("您设置的密码")), own);
        nc::test::click(w, "Image4");
        QCOMPARE(nc::test::ProbeWindow::seen.size(), 1);
        QCOMPARE(nc::test::ProbeWindow::seen.first().className, QStringLiteral("TFormChangePassword"));
        QVERIFY(nc::test::ProbeWindow::seen.first().modal);
        QVERIFY(w.isVisible()); // the settings window stays open
    }
};

QTEST_MAIN(TestPasswordWindow)
#include "tst_password_window.moc"
