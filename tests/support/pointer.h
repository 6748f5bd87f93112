#pragma once
// Pointer moves as the window system delivers them: a move with no button held, sent to the widget
// under the pointer. (Clicks go through QTest::mouseClick, which does the same for presses.)

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace nc::test {

// Moves the pointer over `widget` at `pos` (its centre by default).
inline void movePointer(QWidget* widget, QPoint pos = QPoint(-1, -1)) {
    if (pos == QPoint(-1, -1))
        pos = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace nc::test
