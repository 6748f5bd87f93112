#include "pages.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/working_windows.h"
#include "info/recipe_sheets_window.h"
#include "ui/artwork.h"
#include "ui/picture_button.h"

#include <QComboBox>
#include <QCoreApplication>

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
    // opened from other windows) get their page here.
    QList<Page> list = {
        {QStringLiteral("splash"), [] { return std::make_unique<app::TForm5>(); }},
        {QStringLiteral("main"), [] { return std::make_unique<app::TForm1>(); }},
        {QStringLiteral("kit"), kitSample},
    };
    ui::WindowRegistry& windows = ui::WindowRegistry::program();
    if (windows.classNames().isEmpty())
        app::registerWorkingWindows(windows);
    for (const QString& name : windows.classNames())
        list.append({name, [&windows, name]() -> std::unique_ptr<QWidget> { return windows.create(name, nullptr); }});
    // The recipe sheets window over the sheets the build made beside the program (build/bin, two
    // folders up from the gallery's), at a menu, a diet-therapy sheet, the table and the guide; the
    // first page replaces the registry's, which finds no sheets beside the gallery.
    const QString programFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/../../bin");
    for (const int item : {0, 3, 12, 22, 23}) {
        const QString file = item ? QStringLiteral("TForm6-%1").arg(item) : QStringLiteral("TForm6");
        list.append({file, [item, programFolder]() -> std::unique_ptr<QWidget> {
                         auto w = std::make_unique<info::TForm6>(nullptr, programFolder);
                         w->show(); // opening selects the first sheet; then the page's own
                         w->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(item);
                         return w;
                     }});
    }
    return list;
}

} // namespace nc::gallery
