#include "picture_button.h"

#include <QMouseEvent>
#include <QPainter>

namespace nc::ui {

PictureButton::PictureButton(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    // Pointer moves arrive without a button held, for the hover rule.
    setMouseTracking(true);
}

PictureButton::PictureButton(const QString& name, const QRect& geometry, const QPixmap& face, QWidget* parent)
    : PictureButton(name, parent) {
    setGeometry(geometry);
    setPicture(face);
}

void PictureButton::setPicture(const QPixmap& face) {
    face_ = face;
    update();
}

QSize PictureButton::sizeHint() const {
    return face_.isNull() ? QWidget::sizeHint() : face_.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    if (face_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), face_);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The press of the second click: it makes the double click, and its release clicks nothing.
    pressed_ = false;
    Q_EMIT doubleClicked();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT pointerMoved(event->position().toPoint());
}

} // namespace nc::ui
