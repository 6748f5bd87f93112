#pragma once
// The save-recipe dialog (TForm4): names the diet record's current day and stores its foods as a
// recipe.

#include "diet_record.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace nc::diet {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(CurrentDay& day, QWidget* parent = nullptr);

    void xpButton1Click();
    void Edit1KeyPress(); // Enter in the name box

private:
    CurrentDay& day_;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* xpButton1;
};

} // namespace nc::diet
