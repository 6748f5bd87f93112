#pragma once
// The picture area of the recommended recipes window: shows a sheet at its own size, centred,
// neither stretched nor shrunk; a picture larger than the area is cut at its edges.

#include <QImage>
#include <QWidget>

namespace nc::info {

class SheetPicture : public QWidget {
    Q_OBJECT
public:
    SheetPicture(const QString& name, const QRect& geometry, QWidget* parent);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Where the picture is drawn, in the area's coordinates (may reach beyond it).
    QRect pictureRect() const;

Q_SIGNALS:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

} // namespace nc::info
