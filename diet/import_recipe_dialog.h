#pragma once
// The import-recipe dialog (TForm10): picks a saved recipe and appends its lines to the diet
// record's current day.

#include "diet_record.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace nc::diet {

class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(CurrentDay& day, QWidget* parent = nullptr);

    void FormCreate();
    void xpButton1Click();

private:
    CurrentDay& day_;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* xpButton1;
};

} // namespace nc::diet
