#pragma once
// The settings window (TFormSettings): the standard the physique reports judge by, chosen once for the
// database file in use. Opened from the main window.

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
    explicit TFormSettings(QWidget* parent = nullptr);

    void FormCreate();
    void Image2Click(); // 保存: stores the choice and closes
    void Image3Click(); // 取消: closes, storing nothing
    void Image1MouseMove();

private:
    ui::HoverLift* hover_;
    ui::PictureButton* Image1;
    ui::PictureButton* Image2;
    ui::PictureButton* Image3;
    QRadioButton* RadioButton1; // 本程序原有标准
    QRadioButton* RadioButton2; // 现行国家标准
    QLabel* Label1;
    QLabel* Label2;
};

} // namespace nc::app
