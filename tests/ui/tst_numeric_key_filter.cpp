// Numeric text boxes: of the typed characters only digits and "." arrive, the rest beep; editing keys
// still work.

#include "ui/numeric_key_filter.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QtTest/qtestevent.h>

using nc::ui::NumericKeyFilter;

class TestNumericKeyFilter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void typing_data() {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("expected");

        auto typed = [](const QString& s) {
            QTestEventList l;
            l.addKeyClicks(s);
            return l;
        };
        auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QTestEventList l;
            l.addKeyClick(k, m);
            return l;
        };

        QTest::newRow("digits") << QString() << 0 << typed(QStringLiteral("0123456789")) << QStringLiteral("0123456789");
        QTest::newRow("point, even a second one") << QStringLiteral("1") << 1 << typed(QStringLiteral(".5.")) << QStringLiteral("1.5.");
        QTest::newRow("minus") << QStringLiteral("12") << 2 << typed(QStringLiteral("-")) << QStringLiteral("12");
        QTest::newRow("comma") << QStringLiteral("12") << 2 << typed(QStringLiteral(",5")) << QStringLiteral("125");
        QTest::newRow("letters") << QString() << 0 << typed(QStringLiteral("a1bZ2")) << QStringLiteral("12");
        QTest::newRow("space and plus") << QStringLiteral("3") << 1 << typed(QStringLiteral(" +")) << QStringLiteral("3");
        QTest::newRow("Backspace removes") << "123" << 3 << key(Qt::Key_Backspace) << "12";
        QTest::newRow("Backspace at the start") << "123" << 0 << key(Qt::Key_Backspace) << "123";
        QTest::newRow("Delete removes") << "123" << 0 << key(Qt::Key_Delete) << "23";
        QTest::newRow("Delete at the end") << "123" << 3 << key(Qt::Key_Delete) << "123";

        QTestEventList leftThenType;
        leftThenType.addKeyClick(Qt::Key_Left);
        leftThenType.addKeyClick(Qt::Key_Left);
        leftThenType.addKeyClicks(QStringLiteral("9"));
        QTest::newRow("cursor keys move") << "123" << 3 << leftThenType << "1923";

        QTestEventList homeThenType;
        homeThenType.addKeyClick(Qt::Key_Home);
        homeThenType.addKeyClicks(QStringLiteral("1"));
        QTest::newRow("Home") << "23" << 2 << homeThenType << "123";

        QTestEventList selectAllThenType;
        selectAllThenType.addKeyClick(Qt::Key_A, Qt::ControlModifier);
        selectAllThenType.addKeyClicks(QStringLiteral("7"));
        QTest::newRow("Ctrl+A selects, a digit replaces") << "55.5" << 0 << selectAllThenType << "7";
    }
    // clang-format on
    void typing() {
        QFETCH(QString, initial);
        QFETCH(int, cursor);
        QFETCH(QTestEventList, keys);
        QFETCH(QString, expected);
        QLineEdit edit(initial);
        NumericKeyFilter::install(&edit);
        edit.setCursorPosition(cursor);
        keys.simulate(&edit);
        QCOMPARE(edit.text(), expected);
    }

    // Every dropped key is announced (and beeps), once per key; editing keys and shortcuts never are.
    // clang-format off
    void refusedKeysBeep_data() {
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("refused");

        auto typed = [](const QString& s) {
            QTestEventList l;
            l.addKeyClicks(s);
            return l;
        };
        QTest::newRow("a comma between digits") << typed(QStringLiteral("12,5")) << "125" << 1;
        QTest::newRow("letters, minus and blank") << typed(QStringLiteral("a-1 b")) << "1" << 4;
        QTest::newRow("digits and points") << typed(QStringLiteral("1.5.")) << "1.5." << 0;

        QTestEventList editing;
        editing.addKeyClicks(QStringLiteral("123"));
        editing.addKeyClick(Qt::Key_Backspace);
        editing.addKeyClick(Qt::Key_Home);
        editing.addKeyClick(Qt::Key_Delete);
        editing.addKeyClick(Qt::Key_A, Qt::ControlModifier);
        editing.addKeyClick(Qt::Key_C, Qt::ControlModifier);
        editing.addKeyClick(Qt::Key_Tab);
        QTest::newRow("editing keys and shortcuts") << editing << "2" << 0;
    }
    // clang-format on
    void refusedKeysBeep() {
        QFETCH(QTestEventList, keys);
        QFETCH(QString, expected);
        QFETCH(int, refused);
        QLineEdit edit;
        QSignalSpy beeps(NumericKeyFilter::install(&edit), &NumericKeyFilter::refused);
        keys.simulate(&edit);
        QCOMPARE(edit.text(), expected);
        QCOMPARE(beeps.size(), refused);
    }

    // Characters that no key code names: Chinese text and full-width digits.
    void otherCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("passes");
        QTest::newRow("Chinese") << QStringLiteral("五") << false;
        QTest::newRow("full-width digit") << QStringLiteral("５") << false;
        QTest::newRow("full-width point") << QStringLiteral("。") << false;
        QTest::newRow("Arabic-Indic digit") << QStringLiteral("٣") << false;
        QTest::newRow("digits pasted by an input method") << QStringLiteral("42.5") << true;
    }
    void otherCharacters() {
        QFETCH(QString, text);
        QFETCH(bool, passes);
        QCOMPARE(NumericKeyFilter::passes(0, Qt::NoModifier, text), passes);

        QLineEdit edit;
        QSignalSpy beeps(NumericKeyFilter::install(&edit), &NumericKeyFilter::refused);
        QVERIFY(!edit.testAttribute(Qt::WA_InputMethodEnabled));
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(&edit, &commit);
        QCOMPARE(edit.text(), passes ? text : QString());
        QCOMPARE(beeps.size(), passes ? 0 : 1);
    }
};

QTEST_MAIN(TestNumericKeyFilter)
#include "tst_numeric_key_filter.moc"
