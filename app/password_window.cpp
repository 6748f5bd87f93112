// The counsellor's own password: asked at start, set and changed from the settings window.

#include "password_window.h"

#include "data/clock.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/password.h"
#include "ui/artwork.h"
#include "ui/messages.h"
#include "ui/window_builder.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

namespace nc::app {

namespace {

using ui::art::Glyph;
using ui::art::Tone;

const QSize kAskClient(460, 250);

const QString kForgotten = QStringLiteral("请牢记这个密码：忘记后将无法打开这些数据。");

QLineEdit* passwordField(QLineEdit* e) {
    e->setEchoMode(QLineEdit::Password);
    e->setAttribute(Qt::WA_InputMethodEnabled, false); // typed as keys, never composed
    return e;
}

void soften(QLabel* l) {
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, ui::art::colour::inkSoft);
    l->setPalette(pal);
    l->setAttribute(Qt::WA_TransparentForMouseEvents); // the background's hover rule goes on
}

// Empties a password field and puts the cursor in it, for the next try.
void again(QLineEdit* e) {
    e->clear();
    e->setFocus();
}

} // namespace

// ---------------------------------------------------------------------------------------------------

TFormPassword::TFormPassword(const QString& databasePath, QWidget* parent)
    : QDialog(parent), path_(databasePath) {
    ui::art::Backdrop b;
    b.title = QStringLiteral("输入密码");
    ui::WindowBuilder build(this, {.name = "TFormPassword",
                                   .title = QStringLiteral("输入密码"),
                                   .client = kAskClient,
                                   .frame = ui::Frame::Dialog,
                                   .background = ui::art::windowBackground(kAskClient, b)});
    Image1 = build.background();
    hover_ = build.hover();

    Label1 = build.make<QLabel>("Label1", QRect(24, 52, 412, 44), ui::art::font(14));
    Label1->setWordWrap(true);
    Label1->setText(
        QStringLiteral("这台电脑上的咨询数据（共用数据和每位客户的档案）\n设置了密码。请输入密码："));
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label2 = build.make<QLabel>("Label2", QRect(24, 150, 412, 20), ui::art::font(11));
    soften(Label2);
    const QString shown = QDir::toNativeSeparators(databasePath);
    Label2->setText(QStringLiteral("数据文件：") +
                    Label2->fontMetrics().elidedText(shown, Qt::ElideMiddle, Label2->width() - 70));
    Label2->setToolTip(shown);

    Edit1 = passwordField(build.make<QLineEdit>("Edit1", QRect(24, 106, 412, 34), ui::art::font(15)));
    build.on(Edit1, &QLineEdit::returnPressed, [this] { Image2Click(); });

    Button1 = build.pushButton("Button1", QRect(24, 194, 150, 32), QStringLiteral("没有设置过密码"),
                               &TFormPassword::Button1Click);
    Button1->setFlat(true);
    Button1->setFont(ui::art::font(12));
    Button1->setCursor(Qt::PointingHandCursor);
    Button1->setAutoDefault(false);

    // clang-format off
    const auto pictures = build.pictures({
        {"Image2", {228, 190, 100, 40}, 190, 187, ui::face::button(QStringLiteral("确定"), Tone::Rose, Glyph::Ok),     &TFormPassword::Image2Click},
        {"Image3", {336, 190, 100, 40}, 190, 187, ui::face::button(QStringLiteral("退出"), Tone::Lavender, Glyph::Exit), &TFormPassword::Image3Click},
    });
    // clang-format on
    Image2 = pictures.at(0);
    Image3 = pictures.at(1);
    Edit1->setFocus();
}

void TFormPassword::Image2Click() {
    const QString typed = Edit1->text();
    if (typed.isEmpty()) {
        ui::Messages::inform(QStringLiteral("请输入密码。"));
        again(Edit1);
        return;
    }
    if (!data::opensWith(path_, typed)) {
        ui::Messages::inform(QStringLiteral("密码不正确，请重新输入。"));
        again(Edit1);
        return;
    }
    password_ = typed;
    outcome_ = Outcome::Entered;
    Edit1->clear();
    accept();
}

void TFormPassword::Image3Click() {
    reject();
}

void TFormPassword::reject() {
    outcome_ = Outcome::Quit;
    QDialog::reject();
}

void TFormPassword::Button1Click() {
    ui::Messages::inform(
        QStringLiteral("如果从没有设置过密码，数据文件可能已经损坏。程序将照常启动并检查数据文件，"
                       "有备份时会提出用备份恢复。"));
    outcome_ = Outcome::NoPassword;
    accept();
}

void TFormPassword::Image1MouseMove() {
    hover_->restoreAll();
}

bool askPasswordAtStart(data::Connection& c) {
    const QString path = c.databasePath();
    if (data::checkKey(path, c.password()) != data::KeyCheck::WrongKey)
        return true;
    TFormPassword w(path);
    w.exec();
    switch (w.outcome()) {
    case TFormPassword::Outcome::Entered:
        c.setPassword(w.password());
        return true;
    case TFormPassword::Outcome::NoPassword:
        return true;
    case TFormPassword::Outcome::Quit:
        break;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------

TFormChangePassword::TFormChangePassword(QWidget* parent)
    : QDialog(parent), own_(data::hasOwnPassword(data::Connection::required())) {
    const QString title = own_ ? QStringLiteral("更改密码") : QStringLiteral("设置密码");
    // The rows of fields, the current password first when she has one.
    const QStringList captions =
        own_ ? QStringList{QStringLiteral("当前密码"), QStringLiteral("新密码"), QStringLiteral("再输入一次")}
             : QStringList{QStringLiteral("新密码"), QStringLiteral("再输入一次")};
    const auto rowTop = [](int row) { return 58 + row * 44; };
    // Under the fields a note, then the buttons; the window is as tall as its rows need.
    const int noteTop = rowTop(int(captions.size())) + 4;
    const int buttonTop = noteTop + 62;
    const QSize client(460, buttonTop + 58);
    ui::art::Backdrop b;
    b.title = title;
    for (int i = 0; i < captions.size(); ++i)
        b.labels.append(
            {QRect(24, rowTop(i), 110, 34), captions.at(i), 15, Qt::AlignLeft | Qt::AlignVCenter});
    ui::WindowBuilder build(this, {.name = "TFormChangePassword",
                                   .title = title,
                                   .client = client,
                                   .frame = ui::Frame::Dialog,
                                   .background = ui::art::windowBackground(client, b)});
    Image1 = build.background();
    hover_ = build.hover();

    int row = 0;
    const auto field = [&](const char* name) {
        return passwordField(
            build.make<QLineEdit>(name, QRect(136, rowTop(row++), 300, 34), ui::art::font(15)));
    };
    if (own_)
        Edit1 = field("Edit1");
    Edit2 = field("Edit2");
    Edit3 = field("Edit3");
    build.on(Edit3, &QLineEdit::returnPressed, [this] { Image2Click(); });

    Label1 = build.make<QLabel>("Label1", QRect(24, noteTop, 412, 54), ui::art::font(12));
    Label1->setWordWrap(true);
    soften(Label1);
    Label1->setText(
        QStringLiteral(
            "密码保护共用数据和每位客户的档案，每次启动程序时都要输入。程序不保存密码，忘记后无法找回。") +
        (own_ ? QStringLiteral("新密码留空：改回程序自带的密码。") : QString()));

    // clang-format off
    const auto pictures = build.pictures({
        {"Image2", {228, buttonTop, 100, 40}, buttonTop, buttonTop - 3, ui::face::button(QStringLiteral("确定"), Tone::Rose, Glyph::Ok),         &TFormChangePassword::Image2Click},
        {"Image3", {336, buttonTop, 100, 40}, buttonTop, buttonTop - 3, ui::face::button(QStringLiteral("取消"), Tone::Lavender, Glyph::Cancel), &TFormChangePassword::Image3Click},
    });
    // clang-format on
    Image2 = pictures.at(0);
    Image3 = pictures.at(1);
    (Edit1 ? Edit1 : Edit2)->setFocus();
}

// The backup copies under the password before (or the program's) take the new one as well, so none
// stays readable with a password no longer in use. Returns the sentence about them for the message.
QString TFormChangePassword::rekeyCopies(data::Connection& c, const QString& before, const QString& after) {
    QProgressDialog progress(QStringLiteral("正在为备份文件夹中的备份换用新的密码……"), QString(), 0, 0, this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const data::BackupsRekeyed done =
        data::rekeyBackups(data::backupFolderFor(c.databasePath()), {before, data::programPassword()}, after,
                           [&progress](int n, int total) {
                               progress.setMaximum(total);
                               progress.setValue(n);
                               return true;
                           });
    QString text;
    if (done.rekeyed > 0)
        text += QStringLiteral("备份文件夹中的 %1 份备份也已换用新的密码。").arg(done.rekeyed);
    if (!done.skipped.isEmpty())
        text += QStringLiteral("另有 %1 份备份无法换用（已损坏，或用的是更早的密码），保持原样。")
                    .arg(done.skipped.size());
    return text.isEmpty() ? text : QStringLiteral("\n\n") + text;
}

void TFormChangePassword::Image2Click() {
    data::Connection& c = data::Connection::required();
    if (own_ && Edit1->text() != c.password()) {
        ui::Messages::inform(QStringLiteral("当前密码不正确，请重新输入。"));
        again(Edit1);
        return;
    }
    const QString next = Edit2->text();
    if (next != Edit3->text()) {
        ui::Messages::inform(QStringLiteral("两次输入的新密码不一致，请重新输入。"));
        Edit3->clear();
        again(Edit2);
        return;
    }
    if (next.isEmpty()) {
        if (!own_) {
            ui::Messages::inform(QStringLiteral("请输入新密码。"));
            again(Edit2);
            return;
        }
        if (!ui::Messages::confirm(QStringLiteral(
                "新密码是空的：所有数据文件将改回程序自带的密码，任何装有本程序的电脑都能打开它们。"
                "确定要取消您设置的密码吗？")))
            return;
    } else if (next == c.password()) {
        ui::Messages::inform(QStringLiteral("新密码与当前密码相同，请换一个。"));
        Edit3->clear();
        again(Edit2);
        return;
    }
    const QString target = next.isEmpty() ? data::programPassword() : next;
    const QString before = c.password();
    const int files = data::changePassword(c, target, data::Clock::now()); // throws: nothing changed
    Edit2->clear();
    Edit3->clear();
    const QString copies = rekeyCopies(c, before, target);
    if (next.isEmpty())
        ui::Messages::inform(
            QStringLiteral("已取消您设置的密码，数据文件（共 %1 个）改回了程序自带的密码。").arg(files) +
            copies);
    else
        ui::Messages::inform(
            QStringLiteral("%1数据文件（共 %2 个）现在受这个密码保护，每次启动程序时都要输入它。")
                .arg(own_ ? QStringLiteral("密码已更改。") : QStringLiteral("密码已设置。"))
                .arg(files) +
            copies + QStringLiteral("\n\n") + kForgotten);
    accept();
}

void TFormChangePassword::Image3Click() {
    reject();
}

void TFormChangePassword::Image1MouseMove() {
    hover_->restoreAll();
}

} // namespace nc::app
