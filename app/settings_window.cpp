// The settings window (TFormSettings): the standard the physique reports judge by.

#include "settings_window.h"

#include "data/connection.h"
#include "data/password.h"
#include "person/standards.h"
#include "ui/artwork.h"
#include "ui/window_builder.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

namespace nc::app {

namespace {

using person::Standard;
using ui::art::Glyph;
using ui::art::Tone;

const QSize kClient(560, 262);

ui::art::Backdrop backdrop() {
    ui::art::Backdrop b;
    b.title = QStringLiteral("设置");
    b.labels = {{QRect(24, 52, 512, 26), QStringLiteral("体格评价标准（体格评价报告按所选标准评价）"), 15,
                 Qt::AlignLeft | Qt::AlignVCenter, true}};
    return b;
}

} // namespace

TFormSettings::TFormSettings(QWidget* parent, const ui::WindowRegistry& windows)
    : QDialog(parent), windows_(windows) {
    ui::WindowBuilder build(this, {.name = "TFormSettings",
                                   .title = QStringLiteral("设置"),
                                   .client = kClient,
                                   .frame = ui::Frame::Dialog,
                                   .background = ui::art::windowBackground(kClient, backdrop())});
    Image1 = build.background();
    hover_ = build.hover();

    // Each choice: the standard's name, and under it one line on what it grades by.
    const auto choice = [&build](const char* radio, const char* label, int top, Standard standard) {
        auto* r =
            build.make<QRadioButton>(radio, QRect(30, top, 460, 26), ui::art::font(15, QFont::DemiBold));
        r->setText(person::standardName(standard));
        auto* l = build.make<QLabel>(label, QRect(56, top + 26, 484, 20), ui::art::font(12));
        l->setText(person::standardDescription(standard));
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, ui::art::colour::inkSoft);
        l->setPalette(pal);
        l->setAttribute(Qt::WA_TransparentForMouseEvents); // the background's hover rule goes on
        return std::pair{r, l};
    };
    std::tie(RadioButton1, Label1) = choice("RadioButton1", "Label1", 86, Standard::Original);
    std::tie(RadioButton2, Label2) = choice("RadioButton2", "Label2", 142, Standard::National);
    auto* group = new QButtonGroup(this);
    group->addButton(RadioButton1);
    group->addButton(RadioButton2);

    // clang-format off
    const auto pictures = build.pictures({
        {"Image2", {328, 206, 100, 40}, 206, 203, ui::face::button(QStringLiteral("保存"), Tone::Rose, Glyph::Save),     &TFormSettings::Image2Click},
        {"Image3", {440, 206, 100, 40}, 206, 203, ui::face::button(QStringLiteral("取消"), Tone::Lavender, Glyph::Cancel), &TFormSettings::Image3Click},
    });
    // clang-format on
    Image2 = pictures.at(0);
    Image3 = pictures.at(1);

    // The password of the data files, at the left of the foot: the button and a line on the state.
    Image4 = build.picture({"Image4",
                            {24, 206, 120, 40},
                            206,
                            203,
                            ui::face::button(QString(), Tone::Sage),
                            &TFormSettings::Image4Click});
    Label3 = build.make<QLabel>("Label3", QRect(152, 200, 168, 52), ui::art::font(11));
    Label3->setWordWrap(true);
    QPalette pal = Label3->palette();
    pal.setColor(QPalette::WindowText, ui::art::colour::inkSoft);
    Label3->setPalette(pal);
    Label3->setAttribute(Qt::WA_TransparentForMouseEvents);

    FormCreate();
}

// Shows the standard the file holds (the program's own when none is stored).
void TFormSettings::FormCreate() {
    const Standard chosen = person::chosenStandard();
    (chosen == Standard::National ? RadioButton2 : RadioButton1)->setChecked(true);
    showPassword();
}

void TFormSettings::showPassword() {
    const data::Connection* c = data::Connection::current();
    const bool own = c && data::hasOwnPassword(*c);
    Image4->setPicture(ui::face::button(own ? QStringLiteral("更改密码") : QStringLiteral("设置密码"),
                                        Tone::Sage)(Image4->size()));
    Label3->setText(own ? QStringLiteral("数据文件受您设置的密码保护。")
                        : QStringLiteral("数据文件没有设置自己的密码，装有本程序的电脑都能打开。"));
}

void TFormSettings::Image2Click() {
    person::chooseStandard(RadioButton2->isChecked() ? Standard::National : Standard::Original);
    accept();
}

void TFormSettings::Image3Click() {
    reject();
}

// The password is changed on the files at once, whatever 保存 or 取消 does afterwards.
void TFormSettings::Image4Click() {
    ui::openWindow(QStringLiteral("TFormChangePassword"), this, windows_);
    showPassword();
}

void TFormSettings::Image1MouseMove() {
    hover_->restoreAll();
}

} // namespace nc::app
