#pragma once
// The diet record window (TForm8): the numbered days, the foods eaten on the selected day with their
// weights, entering foods by category or typed name, and the doors to the recipe windows, the food
// composition viewer, the food query, the nutrient analysis and the food-list report.

#include "diet_record.h"
#include "food_search.h"
#include "portions.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::data {
class DataSetModel;
}

namespace nc::diet {

class FoodEntriesModel;
class TypeAheadList;

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
    ~TForm8() override;

    // The days (ADOTable_t) and the current day's foods (ADOTable_ts), as the recipe windows use them.
    DietRecord& record() { return record_; }

    // Creates and runs a recipe window over this one (the save, import and details buttons use it).
    // Tests replace it to drive the recipe windows without a modal loop.
    using RecipeWindowRunner = std::function<void(QDialog& window)>;
    void setRecipeWindowRunner(RecipeWindowRunner run) { runRecipeWindow_ = std::move(run); }

    void FormCreate();
    void ComboBox1Change();
    void Image1MouseMove();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image5Click();
    void Image6Click();
    void Image7Click();
    void Image8Click();
    void Image9Click();
    void Image10Click();
    void Image11Click();
    void Image12Click();
    void Image13Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void xpBitBtn1Click();
    void xpBitBtn2Click();

    void done(int result) override;

    // The entry of one food by keyboard: a name picked in the type-ahead (or typed in full) moves to
    // the weight box with that food's portions offered; Enter there adds it and returns to the name.
    void foodChosen();
    // The household portion chosen beside the weight, none for grams.
    std::optional<Portion> chosenPortion() const;
    // The meal picked for the next entries, empty for none.
    QString chosenMeal() const;

private:
    void buildControls();
    // Days exist; otherwise "请先增加天数！" and false.
    bool checkDays();
    void reloadFoods();
    void showPortions(const QString& food);
    void showGrams();
    void addFromKeyboard();

    DietRecord record_;
    RecipeWindowRunner runRecipeWindow_;
    ui::HoverLift* hover_ = nullptr;

    ui::PictureButton* Image1 = nullptr;
    QTableView* DBGrid2 = nullptr;
    QTableView* DBGrid1 = nullptr;
    data::DataSetModel* daysModel_ = nullptr;
    FoodEntriesModel* foodsModel_ = nullptr;
    QPushButton* xpBitBtn1 = nullptr;
    QPushButton* xpBitBtn2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLineEdit* LabeledEdit1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QComboBox* ComboBox3 = nullptr; // unit of the weight: 克 or one of the food's portions
    QComboBox* ComboBox4 = nullptr; // meal
    QLabel* Label2 = nullptr;       // the grams a portion stands for
    TypeAheadList* typeAhead_ = nullptr;

    FoodIndex foodIndex_;
    RecentFoods recent_;
    PortionTable portionTable_;
    QList<Portion> portions_; // of the food in the name box, as listed in ComboBox3 after 克
};

} // namespace nc::diet
