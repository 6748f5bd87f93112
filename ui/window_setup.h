#pragma once
// How windows are set up: a fixed client size, the frame the window asks for, centred on the screen.

#include <QSize>

class QWidget;

namespace nc::ui {

enum class Frame {
    Borderless, // no frame at all (most windows, the splash)
    Tool,       // a small caption with only a close box, not resizable or maximisable (main window)
    Dialog,     // an ordinary caption with a close box, fixed size
};

// Sets the frame and the fixed client size, then centres the window on the screen it will show on.
void setUpWindow(QWidget* window, QSize clientSize, Frame frame);

// Places a top-level window in the middle of its screen's available area.
void centreOnScreen(QWidget* window);

} // namespace nc::ui
