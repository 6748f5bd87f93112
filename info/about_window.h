#pragma once
// The about window (TForm9): a picture about the system and the maker's web address and telephone.

#include <QDialog>

class QLabel;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::info {

class TForm9 : public QDialog {
    Q_OBJECT
public:
    // productTitle is painted on the picture; programFolder holds about.ini (empty: the shipped
    // files' folder of the running program, see data/places.h).
    TForm9(QWidget* parent, const QString& productTitle, const QString& programFolder = {});

    void FormCreate();
    void Image2Click();
    void Image1MouseMove();

private:
    QString programFolder_;
    ui::HoverLift* hover_;
    ui::PictureButton* Image1;
    ui::PictureButton* Image2;
    QLabel* Label1;
    QLabel* Label2;
};

} // namespace nc::info
