#include "splash_window.h"

#include "titles.h"
#include "ui/artwork.h"
#include "ui/window_builder.h"

#include <QTimer>

namespace nc::app {

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    // The picture is a little larger than the window and is cut at the right and bottom edges.
    const QRect picture(0, 0, 465, 321);
    ui::WindowBuilder build(
        this, {.name = "TForm5",
               .title = kApplicationTitle,
               .client = QSize(459, 319),
               .frame = ui::Frame::Borderless,
               .background = ui::art::splashPicture(picture.size(), kApplicationTitle, kSplashSubtitle),
               .backgroundPlace = picture});
    Image1 = build.background();
    build.onClick(Image1, &TForm5::Image1Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kShowMs);
    build.on(Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
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
