#pragma once
// The food composition management window (TForm7): lists foods by category or name, edits any food
// in 22 bound fields, enters new foods and deletes foods. The only window that writes Foodnurti.

#include "data/dataset.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLineEdit;

namespace nc::ui {
class BoundLineEdit;
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::foods {

class FoodGrid;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    data::DataSet& foodList() { return ADOQuery_swcf; }

    void FormCreate();
    void ComboBox1Change();
    void Image7Click();
    void Image6Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image5Click();
    void Image1Click();

    // What the grid does when the user picks another row: a changed row is stored first, after the
    // checks of 保存; a refused check keeps the changed row current. Returns whether it moved.
    bool moveToRow(int row);

private:
    // The checks of 保存 and the store; a refused check shows its message and focuses its field.
    bool storeCurrentRow();
    void focusControl(const QString& name);

    data::DataSet ADOQuery_swcf;
    ui::HoverLift* hover_;
    ui::PictureButton* background_;
    QComboBox* ComboBox1;
    QLineEdit* Edit2;
    FoodGrid* DBGrid1;
    QList<ui::BoundLineEdit*> edits_; // DBEdit1 … DBEdit22
};

} // namespace nc::foods
