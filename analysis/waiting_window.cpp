#include "waiting_window.h"

#include "data/errors.h"
#include "ui/artwork.h"
#include "ui/guard.h"
#include "ui/window_setup.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace nc::analysis {

namespace {

// The waiting text drawn with its letters centred in the part of the label the window shows: the
// label is taller than the analysis window, and a 19-pixel Chinese line box is taller still, so
// placing the line box would cut the characters off at the bottom.
class WaitingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        const QFontMetricsF metrics(font());
        const QRectF ink = metrics.tightBoundingRect(text());
        const qreal visible =
            parentWidget() ? qMin<qreal>(height(), parentWidget()->height() - y()) : height();
        const qreal baseline = (visible - ink.height()) / 2 - ink.top();
        p.drawText(QPointF(0, baseline), text());
    }
};

} // namespace

const QString WaitingWindow::kWaitingText = QStringLiteral("请稍等，正在处理......");
const QColor WaitingWindow::kLimeGreen{0x32, 0xCD, 0x32};

WaitingWindow::WaitingWindow(const QString& className, const Shape& shape, QWidget* parent)
    : QDialog(parent) {
    setObjectName(className);
    ui::setUpWindow(this, shape.clientSize, ui::Frame::Borderless);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kLimeGreen);
    pal.setColor(QPalette::WindowText, shape.textColour);
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = new WaitingLabel(kWaitingText, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(shape.label);
    // 华文细黑 where it is installed; the program's own lettering otherwise.
    QFont font = ui::art::font(19);
    font.setFamilies({QStringLiteral("华文细黑"), QStringLiteral("STXihei"), font.family()});
    // The stand-in lettering runs a pixel or two wider than the label: close the letters up a little
    // rather than cut off the last dots.
    if (const int over = QFontMetrics(font).horizontalAdvance(kWaitingText) - shape.label.width(); over > 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, -(over + 1.0) / qreal(kWaitingText.size()));
    Label1->setFont(font);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(shape.delayMs);
    Timer1->setSingleShot(false);
    Timer1->start();
}

void WaitingWindow::runOnce(const std::function<void()>& work) {
    Timer1->stop();
    const bool done = ui::guard(work);
    done ? accept() : reject();
}

void WaitingWindow::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

} // namespace nc::analysis
