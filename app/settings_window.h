#pragma once
// The settings window (TFormSettings): the standard the physique reports judge by, chosen once for the
// database file in use, and the counsellor's own password (设置密码 / 更改密码 opens
// TFormChangePassword). Opened from the main window.

#include "ui/window_registry.h"

#include <QDialog>

class QLabel;
class QRadioButton;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::app {

class TFormSettings : public QDialog {
    Q_OBJECT
public:
    explicit TFormSettings(QWidget* parent = nullptr,
                           const ui::WindowRegistry& windows = ui::WindowRegistry::program());

    void FormCreate();
    void Image2Click(); // 保存: stores the choice and closes
    void Image3Click(); // 取消: closes, storing nothing
    void Image4Click(); // 设置密码 / 更改密码: opens TFormChangePassword
    void Image1MouseMove();

private:
    void showPassword(); // Image4's caption and Label3 say whether she has a password of her own

    const ui::WindowRegistry& windows_;
    ui::HoverLift* hover_;
    ui::PictureButton* Image1;
    ui::PictureButton* Image2;
    ui::PictureButton* Image3;
    ui::PictureButton* Image4;
    QRadioButton* RadioButton1; // 本程序原有标准
    QRadioButton* RadioButton2; // 现行国家标准
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3; // whether the data files are protected by her password
};

} // namespace nc::app
