#include "splash_window.h"

#include "titles.h"
#include "ui/artwork.h"
#include "ui/picture_button.h"
#include "ui/window_setup.h"

#include <QTimer>

namespace nc::app {

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(kApplicationTitle);
    ui::setUpWindow(this, QSize(459, 319), ui::Frame::Borderless);

    // The picture is a little larger than the window and is cut at the right and bottom edges.
    const QRect picture(0, 0, 465, 321);
    Image1 = new ui::PictureButton(QStringLiteral("Image1"), picture,
                                   ui::art::splashPicture(picture.size(), kApplicationTitle, kSplashSubtitle),
                                   this);
    connect(Image1, &ui::PictureButton::clicked, this, &TForm5::Image1Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kShowMs);
    connect(Timer1, &QTimer::timeout, this, &TForm5::Timer1Timer);
    Timer1->start();
}

// Both ends switch the timer off first, so the splash ends exactly once.
void TForm5::Image1Click() {
    Timer1->stop();
    accept();
}

void TForm5::Timer1Timer() {
    Timer1->stop();
    accept();
}

} // namespace nc::app
