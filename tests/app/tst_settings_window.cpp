// The settings window: it opens on the standard the file holds, 保存 stores the choice, 取消 and the
// close box store nothing.

#include "app/settings_window.h"
#include "data/settings.h"
#include "person/standards.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/widgets.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>

using nc::app::TFormSettings;
using nc::person::Standard;
using nc::test::child;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;

namespace {

QRadioButton* radio(QWidget& w, const char* name) {
    return child<QRadioButton>(w, name);
}

// Clicks a choice where a counsellor does: on its round mark at the left.
void choose(QWidget& w, const char* name) {
    QRadioButton* r = radio(w, name);
    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(9, r->height() / 2));
}

// What the file holds: null when no row is stored.
QString stored() {
    return nc::data::readSetting(nc::person::standardSettingKey());
}

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnTheStoredChoice_data() {
        QTest::addColumn<QString>("value"); // "": no row
        QTest::addColumn<bool>("national");
        QTest::newRow("nothing stored") << QString() << false;
        QTest::newRow("national stored") << QStringLiteral("national") << true;
        QTest::newRow("original stored") << QStringLiteral("original") << false;
    }
    void opensOnTheStoredChoice() {
        QFETCH(QString, value);
        QFETCH(bool, national);
        FixtureDb db;
        if (!value.isEmpty())
            nc::data::writeSetting(nc::person::standardSettingKey(), value);
        TFormSettings w;
        QCOMPARE(w.windowTitle(), QStringLiteral("设置"));
        QCOMPARE(radio(w, "RadioButton1")->text(), QStringLiteral("本程序原有标准"));
        QCOMPARE(radio(w, "RadioButton2")->text(), QStringLiteral("现行国家标准"));
        QCOMPARE(radio(w, "RadioButton2")->isChecked(), national);
        QCOMPARE(radio(w, "RadioButton1")->isChecked(), !national);
        QVERIFY(child<QLabel>(w, "Label2")->text().contains(QStringLiteral("WS/T 801")));
    }

    // 保存 stores the choice and closes; the next window shows it.
    void saveStoresTheChoice() {
        FixtureDb db;
        MessagesRecorder messages;
        {
            TFormSettings w;
            w.show();
            choose(w, "RadioButton2");
            nc::test::click(w, "Image2");
            QCOMPARE(w.result(), int(QDialog::Accepted));
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(stored(), QStringLiteral("national"));
        QCOMPARE(nc::person::chosenStandard(), Standard::National);
        {
            TFormSettings w;
            w.show();
            QVERIFY(radio(w, "RadioButton2")->isChecked());
            choose(w, "RadioButton1");
            nc::test::click(w, "Image2");
        }
        QCOMPARE(stored(), QStringLiteral("original"));
        QVERIFY(messages.isEmpty());
    }

    // 取消 and the close box leave the file as it was, even after a choice was clicked.
    void cancelStoresNothing() {
        FixtureDb db;
        MessagesRecorder messages;
        {
            TFormSettings w;
            w.show();
            choose(w, "RadioButton2");
            QVERIFY(radio(w, "RadioButton2")->isChecked());
            nc::test::click(w, "Image3");
            QCOMPARE(w.result(), int(QDialog::Rejected));
            QVERIFY(!w.isVisible());
        }
        QVERIFY(stored().isNull());
        {
            TFormSettings w;
            w.show();
            choose(w, "RadioButton2");
            w.close();
        }
        QVERIFY(stored().isNull());
        QCOMPARE(db.count(QStringLiteral("settings")), 0);
        QVERIFY(messages.isEmpty());
    }

    // A file whose update has not run: the window opens on the default, and 保存 says why it cannot
    // store the choice; the window stays open.
    void fileWithoutSettingsTable() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        MessagesRecorder messages;
        TFormSettings w;
        w.show();
        QVERIFY(radio(w, "RadioButton1")->isChecked());
        choose(w, "RadioButton2");
        QVERIFY(radio(w, "RadioButton2")->isChecked());
        nc::test::click(w, "Image2");
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.last().text.contains(QStringLiteral("设置无法保存")),
                 qPrintable(messages.last().text));
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settings_window.moc"
