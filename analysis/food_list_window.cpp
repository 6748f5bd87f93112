#include "food_list_window.h"

#include <QPalette>
#include <QTimer>

namespace nc::analysis {

TForm14::TForm14(QWidget* parent)
    : WaitingWindow(
          QStringLiteral("TForm14"),
          Shape{QSize(218, 22), QRect(16, 0, 182, 21), QPalette().color(QPalette::WindowText), kDelayMs},
          parent) {
    connect(Timer1, &QTimer::timeout, this, &TForm14::Timer1Timer);
}

void TForm14::Timer1Timer() {
    runOnce([this] { report_.run(); });
}

} // namespace nc::analysis
