#include "pages.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/working_windows.h"
#include "data/clock.h"
#include "data/query.h"
#include "data/value.h"
#include "person/record_window.h"
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
    new ui::PictureButton(QStringLiteral("Image2"), QRect(516, 8, 26, 26), art::closeMark(QSize(26, 26)),
                          w.get());
    new ui::PictureButton(QStringLiteral("Image3"), QRect(440, 62, 18, 24), art::dropDownArrow(QSize(18, 24)),
                          w.get());
    new ui::PictureButton(QStringLiteral("Image4"), QRect(470, 58, 32, 32), art::magnifier(QSize(32, 32)),
                          w.get());
    const struct {
        const char* caption;
        art::Tone tone;
        art::Glyph glyph;
    } faces[] = {
        {"保存", art::Tone::Rose, art::Glyph::Save},    {"删除", art::Tone::Peach, art::Glyph::Delete},
        {"确定", art::Tone::Sage, art::Glyph::Ok},      {"取消", art::Tone::Lavender, art::Glyph::Cancel},
        {"退出", art::Tone::Neutral, art::Glyph::Exit},
    };
    int x = 30;
    for (const auto& f : faces) {
        new ui::PictureButton(QStringLiteral("Face"), QRect(x, 200, 92, 40),
                              art::buttonFace(QSize(92, 40), QString::fromUtf8(f.caption), f.tone, f.glyph),
                              w.get());
        new ui::PictureButton(QStringLiteral("Plain"), QRect(x, 256, 92, 36),
                              art::buttonFace(QSize(92, 36), QString::fromUtf8(f.caption), f.tone), w.get());
        x += 102;
    }
    return w;
}

// Made-up people, one per category, stored as the record before the personal record window opens.
void storeSampleRecord(const QString& category) {
    data::Query q;
    const QDate today = data::Clock::today();
    if (category == QStringLiteral("孕妇")) {
        q.setSql(
            QStringLiteral("update personinf set name='张小雨', age=28, high=162, csjd='孕妇', hdsp='轻', "
                           "yltz=54, yftz=62, rmtz=0, mcyjrq=:lmp"));
        q.setParam(QStringLiteral("lmp"), data::Value::fromDate(today.addDays(-150)));
    } else if (category == QStringLiteral("乳母")) {
        q.setSql(QStringLiteral("update personinf set name='刘芳', age=31, high=160, csjd='乳母', hdsp='中', "
                                "yltz=56, yftz=0, rmtz=60, yq_week=38, mcyjrq=:lmp"));
        q.setParam(QStringLiteral("lmp"), data::Value::fromDate(today.addDays(-400)));
    } else {
        q.setSql(QStringLiteral("update personinf set name='陈静', age=26, high=158, csjd='育龄', hdsp='中', "
                                "yltz=68, yftz=0, rmtz=0, mcyjrq=:lmp"));
        q.setParam(QStringLiteral("lmp"), data::Value::fromDate(today.addDays(-20)));
    }
    q.execute();
}

// The personal record window as it opens on a stored record of the category.
Page recordPage(const QString& file, const QString& category) {
    return {file, [category]() -> std::unique_ptr<QWidget> {
                storeSampleRecord(category);
                return std::make_unique<person::TForm3>();
            }};
}

// The physique report of the category: the window's 体格评价 on a stored record; the report itself
// is saved by the gallery's report sink.
Page physiqueReportPage(const QString& file, const QString& category) {
    return {file, [category]() -> std::unique_ptr<QWidget> {
                storeSampleRecord(category);
                person::TForm3 window;
                window.Image4Click();
                return nullptr;
            }};
}

} // namespace

QList<Page> pages() {
    // Windows that the main window's registry does not reach (the start-up windows, and the windows
    // opened from other windows) get their page here.
    QList<Page> list = {
        {QStringLiteral("splash"), [] { return std::make_unique<app::TForm5>(); }},
        {QStringLiteral("main"), [] { return std::make_unique<app::TForm1>(); }},
        {QStringLiteral("kit"), kitSample},
        recordPage(QStringLiteral("TForm3-childbearing"), QStringLiteral("育龄")),
        recordPage(QStringLiteral("TForm3-pregnant"), QStringLiteral("孕妇")),
        recordPage(QStringLiteral("TForm3-nursing"), QStringLiteral("乳母")),
        physiqueReportPage(QStringLiteral("tzbg"), QStringLiteral("育龄")),
        physiqueReportPage(QStringLiteral("yftzbg"), QStringLiteral("孕妇")),
        physiqueReportPage(QStringLiteral("rmtzbg"), QStringLiteral("乳母")),
    };
    ui::WindowRegistry& windows = ui::WindowRegistry::program();
    if (windows.classNames().isEmpty())
        app::registerWorkingWindows(windows);
    for (const QString& name : windows.classNames())
        list.append(
            {name, [&windows, name]() -> std::unique_ptr<QWidget> { return windows.create(name, nullptr); }});
    return list;
}

} // namespace nc::gallery
