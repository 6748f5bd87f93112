#include "sheet_picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace nc::info {

SheetPicture::SheetPicture(const QString& name, const QRect& geometry, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setGeometry(geometry);
}

void SheetPicture::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QRect SheetPicture::pictureRect() const {
    const QSize s = picture_.deviceIndependentSize().toSize(); // a sharper picture shows at the same size
    return QRect(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
}

void SheetPicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.drawImage(pictureRect().topLeft(), picture_);
}

void SheetPicture::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

} // namespace nc::info
