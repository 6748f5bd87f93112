#pragma once
// The food query window (TForm15): finds foods by category, by part of the name or by a condition
// on one nutrient, and hands a double-clicked food's name to the diet record window's food box.

#include "data/dataset.h"
#include "diet/food_search.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace nc::ui {
class HoverLift;
} // namespace nc::ui

namespace nc::foods {

class FoodGrid;

class TForm15 : public QDialog {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);
    ~TForm15() override;

    data::DataSet& foodList() { return ADOQuery_swcf; }

    void FormCreate();
    void Image5Click();
    void Image6Click();
    void Image7Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image8Click();
    void Image9Click();
    void Image10Click();
    void Image11Click();
    void DBGrid1DblClick();

private:
    void listAll();

    data::DataSet ADOQuery_swcf;
    diet::FoodIndex foodIndex_; // the names searched, read once at creation
    diet::RecentFoods recent_;
    ui::HoverLift* hover_;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    FoodGrid* DBGrid1;
};

} // namespace nc::foods
