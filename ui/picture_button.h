#pragma once
// A picture control: shows a painted face (a button with its caption, or a window's background) and
// answers click, double-click and pointer moves. Used for every picture button and background.

#include <QPixmap>
#include <QWidget>

namespace nc::ui {

class PictureButton : public QWidget {
    Q_OBJECT
public:
    // name becomes the objectName (the control's name, such as "Image8").
    explicit PictureButton(const QString& name, QWidget* parent = nullptr);
    PictureButton(const QString& name, const QRect& geometry, const QPixmap& face, QWidget* parent);

    // The face is drawn stretched over the whole control.
    void setPicture(const QPixmap& face);
    const QPixmap& picture() const { return face_; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // Left button pressed and released over the control. A double click gives clicked, then
    // doubleClicked, and no second clicked.
    void clicked();
    void doubleClicked();
    // The pointer moved over the control (with or without a button held); pos in control coordinates.
    void pointerMoved(QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap face_;
    bool pressed_ = false;
};

} // namespace nc::ui
