#include "pages.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/working_windows.h"
#include "diet/diet_record.h"
#include "ui/artwork.h"
#include "ui/picture_button.h"

namespace nc::gallery {

namespace {

// A sample of the kit's artwork as later windows use it: a window background with its title and
// field labels, the button faces in every tone, the arrow, the close mark and the magnifier.
std::unique_ptr<QWidget> kitSample() {
    namespace art = ui::art;
    auto w = std::make_unique<QWidget>();
    w->setObjectName(QStringLiteral("kit"));
    w->setFixedSize(560, 330);
    art::Backdrop backdrop;
    backdrop.title = QStringLiteral("个人信息");
    backdrop.labels = {{QRect(30, 62, 60, 24), QStringLiteral("姓名")},
                       {QRect(30, 96, 60, 24), QStringLiteral("年龄")},
                       {QRect(30, 130, 60, 24), QStringLiteral("身高(cm)")},
                       {QRect(300, 62, 60, 24), QStringLiteral("类别")}};
    new ui::PictureButton(QStringLiteral("Image1"), QRect(0, 0, 560, 330),
                          art::windowBackground(QSize(560, 330), backdrop), w.get());
    new ui::PictureButton(QStringLiteral("Image2"), QRect(516, 8, 26, 26), art::closeMark(QSize(26, 26)), w.get());
    new ui::PictureButton(QStringLiteral("Image3"), QRect(440, 62, 18, 24), art::dropDownArrow(QSize(18, 24)),
                          w.get());
    new ui::PictureButton(QStringLiteral("Image4"), QRect(470, 58, 32, 32), art::magnifier(QSize(32, 32)), w.get());
    const struct {
        const char* caption;
        art::Tone tone;
        art::Glyph glyph;
    } faces[] = {
        {"保存", art::Tone::Rose, art::Glyph::Save},     {"删除", art::Tone::Peach, art::Glyph::Delete},
        {"确定", art::Tone::Sage, art::Glyph::Ok},       {"取消", art::Tone::Lavender, art::Glyph::Cancel},
        {"退出", art::Tone::Neutral, art::Glyph::Exit},
    };
    int x = 30;
    for (const auto& f : faces) {
        new ui::PictureButton(QStringLiteral("Face"), QRect(x, 200, 92, 40),
                              art::buttonFace(QSize(92, 40), QString::fromUtf8(f.caption), f.tone, f.glyph), w.get());
        new ui::PictureButton(QStringLiteral("Plain"), QRect(x, 256, 92, 36),
                              art::buttonFace(QSize(92, 36), QString::fromUtf8(f.caption), f.tone), w.get());
        x += 102;
    }
    return w;
}

} // namespace

QList<Page> pages() {
    // Windows that the main window's registry does not reach (the start-up windows, and the windows
    // opened from other windows) get their page here; so does a window that needs something set up
    // first, and its page here takes the place of the registry's plain one.
    QList<Page> list = {
        {QStringLiteral("splash"), [] { return std::make_unique<app::TForm5>(); }},
        {QStringLiteral("main"), [] { return std::make_unique<app::TForm1>(); }},
        {QStringLiteral("kit"), kitSample},
        // The viewer shows the food the diet record window selected: one of the shipped foods.
        {QStringLiteral("TForm11"),
         [] {
             diet::lsfoodname() = QStringLiteral("奶片");
             return ui::WindowRegistry::program().create(QStringLiteral("TForm11"), nullptr);
         }},
    };
    ui::WindowRegistry& windows = ui::WindowRegistry::program();
    if (windows.classNames().isEmpty())
        app::registerWorkingWindows(windows);
    QStringList listed;
    for (const Page& p : std::as_const(list))
        listed << p.file;
    for (const QString& name : windows.classNames())
        if (!listed.contains(name))
            list.append({name, [&windows, name]() -> std::unique_ptr<QWidget> { return windows.create(name, nullptr); }});
    return list;
}

} // namespace nc::gallery
