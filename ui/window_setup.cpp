#include "window_setup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace nc::ui {

void setUpWindow(QWidget* window, QSize clientSize, Frame frame) {
    Qt::WindowFlags flags = window->windowFlags() & Qt::WindowType_Mask;
    if (flags == Qt::Widget)
        flags = Qt::Window;
    switch (frame) {
    case Frame::Borderless:
        flags |= Qt::FramelessWindowHint;
        break;
    case Frame::Tool:
    case Frame::Dialog:
        // Only a caption and a close box; with the fixed size the window manager offers no resizing.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    }
    window->setWindowFlags(flags);
    window->setFixedSize(clientSize);
    centreOnScreen(window);
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), screen->availableGeometry())
            .topLeft());
}

} // namespace nc::ui
