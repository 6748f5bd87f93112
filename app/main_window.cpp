#include "main_window.h"

#include "clients/client_store.h"
#include "data/errors.h"
#include "data/places.h"
#include "titles.h"
#include "ui/artwork.h"
#include "ui/window_builder.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>

namespace nc::app {

namespace {

using ui::art::Glyph;
using ui::art::Tone;
using ui::face::button;

const QRect kSettingsPlace(755, 14, 72, 30);
const QRect kClientsPlace(73, 408, 132, 40);

} // namespace

TForm1::TForm1(const ui::WindowRegistry& windows, QWidget* parent)
    : QWidget(parent), windows_(windows), quit_([] { QCoreApplication::exit(0); }) {
    const QSize client(843, 530);
    ui::WindowBuilder build(
        this, {.name = "TForm1",
               .title = kApplicationTitle,
               .client = client,
               .frame = ui::Frame::Tool,
               .background = ui::art::mainBackground(client, kApplicationTitle, kMainSubtitle)});
    Image1 = build.background();
    hover_ = build.hover();

    // The six buttons: where they start, their rest and raised tops, their faces and handlers. Image12
    // and Image13 start one and two pixels off their rest tops; the first pointer move over the
    // background puts them there.
    // clang-format off
    build.pictures({
        {"Image8",  {73, 161, 182, 82},  161, 158, button(QStringLiteral("个人信息\n体格评价"), Tone::Rose, Glyph::Person), &TForm1::Image8Click},
        {"Image9",  {332, 165, 213, 43}, 165, 162, button(QStringLiteral("食谱信息管理"), Tone::Peach, Glyph::Bowl),        &TForm1::Image9Click},
        {"Image10", {204, 253, 217, 43}, 253, 250, button(QStringLiteral("食物成分管理"), Tone::Sage, Glyph::Leaf),         &TForm1::Image10Click},
        {"Image11", {72, 344, 144, 42},  344, 341, button(QStringLiteral("推荐食谱"), Tone::Lavender, Glyph::Book),         &TForm1::Image11Click},
        {"Image12", {379, 343, 144, 41}, 344, 341, button(QStringLiteral("系统信息"), Tone::Rose, Glyph::Info),             &TForm1::Image12Click},
        {"Image13", {660, 471, 104, 54}, 469, 466, button(QStringLiteral("退出"), Tone::Neutral, Glyph::Exit),             &TForm1::Image13Click},
    });
    // clang-format on
    // The settings, a small plain button in the top right corner, out of the way of the six.
    build.picture({"Image14", kSettingsPlace, kSettingsPlace.top(), kSettingsPlace.top() - 2,
                   button(QStringLiteral("设置"), Tone::Neutral), &TForm1::Image14Click});

    // The client list, and beside it whose record every window works on.
    build.picture({"Image15", kClientsPlace, kClientsPlace.top(), kClientsPlace.top() - 3,
                   button(QStringLiteral("客户列表"), Tone::Peach, Glyph::Person), &TForm1::Image15Click});
    CurrentClient = build.make<QLabel>("CurrentClient", {220, 408, 420, 40}, ui::art::font(15, QFont::Bold));
    CurrentClient->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette clientPal = CurrentClient->palette();
    clientPal.setColor(QPalette::WindowText, ui::art::colour::roseDeep);
    CurrentClient->setPalette(clientPal);

    // Where the counsellor's data are kept, in small print under the motto at the foot.
    DataFolder = build.make<QLabel>("DataFolder", {73, 507, 570, 18}, ui::art::font(11));
    DataFolder->setAttribute(Qt::WA_TransparentForMouseEvents); // the background's hover rule goes on
    QPalette pal = DataFolder->palette();
    pal.setColor(QPalette::WindowText, ui::art::colour::inkSoft);
    DataFolder->setPalette(pal);

    FormCreate();
}

TForm1::~TForm1() {
    if (data::Connection::current() == &ADOConnection1)
        data::Connection::setCurrent(nullptr);
}

QString TForm1::windowOf(const QString& buttonName) {
    static const QHash<QString, QString> windows = {
        {QStringLiteral("Image8"), QStringLiteral("TForm3")},         // personal record
        {QStringLiteral("Image9"), QStringLiteral("TForm8")},         // diet record
        {QStringLiteral("Image10"), QStringLiteral("TForm7")},        // food composition management
        {QStringLiteral("Image11"), QStringLiteral("TForm6")},        // recommended recipes
        {QStringLiteral("Image12"), QStringLiteral("TForm9")},        // about
        {QStringLiteral("Image14"), QStringLiteral("TFormSettings")}, // settings
        {QStringLiteral("Image15"), QStringLiteral("TFormClients")},  // client list
    };
    return windows.value(buttonName);
}

// The caption becomes the product title line, and the connection learns where the database lies:
// in the data folder the start settled (data/places.h), else beside the program. It is not opened
// here; the first statement of any window opens it. The folder is shown at the foot of the window.
void TForm1::FormCreate() {
    setWindowTitle(kProductTitleLine);
    const QString folder =
        data::placesSet() ? data::places().writable : QCoreApplication::applicationDirPath();
    ADOConnection1.setConnectionString(data::connectionStringForFolder(folder));
    data::Connection::setCurrent(&ADOConnection1);
    const QString shown = QDir::toNativeSeparators(folder);
    DataFolder->setText(
        QStringLiteral("数据文件夹：") +
        DataFolder->fontMetrics().elidedText(shown, Qt::ElideMiddle, DataFolder->width() - 90));
}

void TForm1::Image1MouseMove() {
    hover_->restoreAll();
}

void TForm1::Image8Click() {
    openWindow(windowOf(QStringLiteral("Image8")));
}
void TForm1::Image9Click() {
    openWindow(windowOf(QStringLiteral("Image9")));
}
void TForm1::Image10Click() {
    openWindow(windowOf(QStringLiteral("Image10")));
}
void TForm1::Image11Click() {
    openWindow(windowOf(QStringLiteral("Image11")));
}
void TForm1::Image12Click() {
    openWindow(windowOf(QStringLiteral("Image12")));
}
void TForm1::Image13Click() {
    close();
}
void TForm1::Image14Click() {
    openWindow(windowOf(QStringLiteral("Image14")));
}

void TForm1::Image15Click() {
    openWindow(windowOf(QStringLiteral("Image15")));
    showCurrentClient();
}

void TForm1::showCurrentClient() {
    QString text;
    try {
        data::Connection* current = data::Connection::current();
        if (!current)
            return;
        data::Connection& c = *current;
        if (!clients::keepsClients(c)) {
            text.clear(); // a file whose update failed: its one record, as before
        } else if (const std::optional<clients::ClientEntry> e = clients::currentClient(c)) {
            text = QStringLiteral("当前客户：") + clients::clientSummary(*e);
        } else {
            text = QStringLiteral("当前没有打开的客户，请在客户列表中新建或打开");
        }
    } catch (const data::Error&) {
        text.clear(); // the database cannot be read; the windows say why
    }
    CurrentClient->setText(
        CurrentClient->fontMetrics().elidedText(text, Qt::ElideRight, CurrentClient->width()));
    CurrentClient->setToolTip(text);
}

void TForm1::openWindow(const QString& className) {
    ui::openWindow(className, this, windows_);
}

// Every close request ends the program at once, asking nothing.
void TForm1::FormCloseQuery() {
    quit_();
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    FormCloseQuery();
}

} // namespace nc::app
