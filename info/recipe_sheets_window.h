#pragma once
// The recommended recipes window (TForm6): pick a sheet from the list and read its picture.

#include <QDialog>

class QComboBox;
class QLabel;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::info {

class SheetPicture;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    // programFolder: where the sp folder lies; empty means the shipped files' folder
    // of the running program (see data/places.h).
    explicit TForm6(QWidget* parent = nullptr, const QString& programFolder = {});

    void FormCreate();
    void FormActivate();
    void ComboBox1Change();
    void Image3Click();
    void Image4Click();
    void Label2DblClick();
    void Image2MouseMove();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Loads the picture of the list's current item; on failure the error report names the file and
    // the picture area keeps what it showed.
    void showSheet();
    void setLabel2Colour(const QColor& colour);

    QString programFolder_;
    ui::HoverLift* hover_;
    ui::PictureButton* Image2; // background
    ui::PictureButton* Image3; // arrow over the list
    ui::PictureButton* Image4; // close mark
    SheetPicture* Image1;
    QComboBox* ComboBox1;
    QLabel* Label2;
};

} // namespace nc::info
