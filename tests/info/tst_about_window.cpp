// The about window: the contact lines and the caption from the settings file beside the program
// (未设置 where it or a value is missing), and its button.

#include "info/about_window.h"
#include "support/fixture_db.h"
#include "support/pointer.h"
#include "support/widgets.h"
#include "ui/picture_button.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using nc::info::TForm9;
using nc::test::child;
using nc::test::click;
using nc::ui::PictureButton;

class TestAboutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void contactLines_data() {
        QTest::addColumn<QByteArray>("settings"); // "-": no settings file
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::newRow("no settings file") << QByteArray("-") << "网址：未设置" << "电话：未设置";
        QTest::newRow("empty file") << QByteArray() << "网址：未设置" << "电话：未设置";
        QTest::newRow("both set") << QByteArray(
                                         "[contact]\nwebsite=https://example.org/\ntelephone=010-12345678\n")
                                  << "网址：https://example.org/" << "电话：010-12345678";
        QTest::newRow("blanks, comments, BOM, CRLF, a comma")
            << QByteArray("\xEF\xBB\xBF; 注释\r\n# website=wrong\r\n  Website =  www.example.cn  \r\n"
                          "telephone = 0571-1234567, 8008\r\n")
            << "网址：www.example.cn" << "电话：0571-1234567, 8008";
        QTest::newRow("one value missing") << QByteArray("telephone=400-000-0000\n") << "网址：未设置"
                                           << "电话：400-000-0000";
        QTest::newRow("a line without '='") << QByteArray("website\ntelephone=\n") << "网址：未设置" << "电话：未设置";
    }
    // clang-format on
    void contactLines() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QTemporaryDir dir;
        if (settings != "-") {
            QFile f(dir.filePath(QStringLiteral("about.ini")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(settings);
        }
        TForm9 w(nullptr, QStringLiteral("女性膳食营养咨询系统"), dir.path());
        QCOMPARE(child<QLabel>(w, QStringLiteral("Label1"))->text(), line1);
        QCOMPARE(child<QLabel>(w, QStringLiteral("Label2"))->text(), line2);
        QCOMPARE(w.windowTitle(), line1 + QLatin1Char(' ') + line2);
    }

    // The file the build installs beside the program reads as not set.
    void theShippedSettingsAreEmpty() {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(nc::test::sourceDir() + QStringLiteral("/info/about.ini"),
                            dir.filePath(QStringLiteral("about.ini"))));
        TForm9 w(nullptr, QStringLiteral("标题"), dir.path());
        QCOMPARE(w.windowTitle(), QStringLiteral("网址：未设置 电话：未设置"));
    }

    void okButtonLiftsAndCloses() {
        QTemporaryDir dir;
        TForm9 w(nullptr, QStringLiteral("标题"), dir.path());
        QCOMPARE(w.size(), QSize(342, 260));
        w.show();
        auto* ok = child<PictureButton>(w, QStringLiteral("Image2"));
        QCOMPARE(ok->y(), 209);
        nc::test::movePointer(ok);
        QCOMPARE(ok->y(), 206);
        nc::test::movePointer(child<QWidget>(w, QStringLiteral("Image1")), QPoint(20, 20));
        QCOMPARE(ok->y(), 209);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
