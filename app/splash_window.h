#pragma once
// The splash window (TForm5): the product's picture for a moment at start, ended by its timer or a
// click on the picture. Any other end (Esc, the system's close) leaves it rejected.

#include <QDialog>

class QTimer;

namespace nc::ui {
class PictureButton;
}

namespace nc::app {

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    static constexpr int kShowMs = 2800;

    void Image1Click();
    void Timer1Timer();

private:
    ui::PictureButton* Image1;
    QTimer* Timer1;
};

} // namespace nc::app
