#pragma once
// Typing as a user would, Chinese included: one key press per character, carrying the character as
// its text (QTest::keyClicks only takes Latin-1).

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace nc::test {

inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const int key = c.unicode() < 0x80 ? QKeySequence(QString(c)).operator[](0).key() : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace nc::test
