// The about window (TForm9): a picture about the system and the maker's web address and telephone.

#include "about_window.h"

#include "about_settings.h"

#include "data/places.h"
#include "ui/artwork.h"
#include "ui/window_builder.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>

namespace nc::info {

namespace {
const QSize kClient(342, 260);
const QRect kOk(250, 209, 82, 40);
constexpr int kOkRaised = 206;
} // namespace

TForm9::TForm9(QWidget* parent, const QString& productTitle, const QString& programFolder)
    : QDialog(parent), programFolder_(programFolder) {
    // The caption comes with the contact lines (FormCreate).
    ui::WindowBuilder build(
        this, {.name = "TForm9",
               .client = kClient,
               .frame = ui::Frame::Dialog,
               .background = ui::art::aboutPicture(
                   kClient, productTitle,
                   QStringLiteral("本系统供家庭使用，用于育龄妇女、孕妇和乳母的体格评价与膳食营养分析。"),
                   QStringLiteral("本系统开发组"))});
    Image1 = build.background();
    hover_ = build.hover();
    Image2 = build.picture({"Image2", kOk, kOk.top(), kOkRaised,
                            ui::face::button(QStringLiteral("确定"), ui::art::Tone::Sage, ui::art::Glyph::Ok),
                            &TForm9::Image2Click});

    const auto line = [&build](const char* name, int top) {
        auto* l = build.make<QLabel>(name, QRect(14, top, kOk.left() - 20, 20), ui::art::font(12));
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, ui::art::colour::ink);
        l->setPalette(pal);
        return l;
    };
    Label1 = line("Label1", 207);
    Label2 = line("Label2", 228);

    FormCreate();
}

// The two lines and the caption come from the settings file beside the program.
void TForm9::FormCreate() {
    const QString folder = !programFolder_.isEmpty() ? programFolder_
                           : data::placesSet()       ? data::shippedFolder()
                                                     : QCoreApplication::applicationDirPath();
    const ContactData c = readContactData(QDir(folder).filePath(kAboutSettingsFile));
    Label1->setText(websiteLine(c));
    Label2->setText(telephoneLine(c));
    setWindowTitle(Label1->text() + QLatin1Char(' ') + Label2->text());
}

void TForm9::Image2Click() {
    close();
}
void TForm9::Image1MouseMove() {
    hover_->restoreAll();
}

} // namespace nc::info
