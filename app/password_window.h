#pragma once
// The counsellor's own password in the windows (data/password.h holds the work on the files):
// TFormPassword asks for it at start when the shared file does not open with the program's password,
// and TFormChangePassword, opened from the settings window, sets, changes or removes it.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace nc::data {
class Connection;
}

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::app {

// 输入密码: a line naming the data, the masked Edit1, 确定 and 退出, and Button1 "没有设置过密码" for a
// counsellor who never set one (the file may then be damaged; the program goes on as without a password,
// so the start's check of the file reports it). Each password is tried on a read-only connection of its
// own; nothing is written to any file while the window asks.
class TFormPassword : public QDialog {
    Q_OBJECT
public:
    enum class Outcome { Entered, NoPassword, Quit };

    explicit TFormPassword(const QString& databasePath, QWidget* parent = nullptr);

    Outcome outcome() const { return outcome_; }
    QString password() const { return password_; } // the one that opened the file (Entered)

    void Image2Click();  // 确定: tries the password
    void Image3Click();  // 退出
    void Button1Click(); // 没有设置过密码
    void Image1MouseMove();

protected:
    void reject() override; // the close box and Esc are 退出

private:
    QString path_;
    QString password_;
    Outcome outcome_ = Outcome::Quit;
    ui::HoverLift* hover_;
    ui::PictureButton* Image1;
    ui::PictureButton* Image2;
    ui::PictureButton* Image3;
    QLabel* Label1; // what the password protects
    QLabel* Label2; // the data file
    QLineEdit* Edit1;
    QPushButton* Button1;
};

// At start, before anything uses the shared file: when the connection's file refuses the program's
// password and looks like a whole encrypted file (data::KeyCheck::WrongKey), shows TFormPassword and
// gives the connection the password she enters. Returns false when she chose 退出: the program ends
// without touching any file. Any other file (missing, damaged, locked) is left to the start's checks.
bool askPasswordAtStart(data::Connection& c);

// 设置密码 / 更改密码: the current password (Edit1, only when she has one), the new one (Edit2) and the
// new one again (Edit3). 确定 re-keys every file (data::changePassword), then the backup copies under
// the password before or the program's (data::rekeyBackups), and closes; an empty new password, once
// confirmed, gives the files back to the program's own password. 取消 changes nothing.
class TFormChangePassword : public QDialog {
    Q_OBJECT
public:
    explicit TFormChangePassword(QWidget* parent = nullptr);

    void Image2Click(); // 确定
    void Image3Click(); // 取消
    void Image1MouseMove();

private:
    QString rekeyCopies(data::Connection& c, const QString& before, const QString& after);

    bool own_; // she has a password of her own now
    ui::HoverLift* hover_;
    ui::PictureButton* Image1;
    ui::PictureButton* Image2;
    ui::PictureButton* Image3;
    QLineEdit* Edit1 = nullptr; // current password
    QLineEdit* Edit2;           // new password
    QLineEdit* Edit3;           // new password again
    QLabel* Label1;             // what happens to a forgotten password
};

} // namespace nc::app
