#pragma once
// The diet record as the diet record window holds it: the days (table ts, data set ADOTable_t) and the
// foods of the current day (table foodcheck, data set ADOTable_ts, a detail of the days), with the
// operations the window offers. The recipe windows work on the same two data sets.

#include "data/dataset.h"
#include "food_handover.h"
#include "portions.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace nc::diet {

// What the recipe windows use of the diet record while they are open over it: the number of the
// current day, and the current day's food entries (walked by a recipe save, appended to by a load).
// The diet record window hands its own record over as this.
class CurrentDay {
public:
    // The current day's number, 0 when there are no days.
    virtual int currentDay() const = 0;
    // The current day's food entries, in the foods grid's order (ADOTable_ts).
    virtual data::DataSet& currentDayFoods() = 0;

protected:
    ~CurrentDay() = default;
};

class DietRecord : public QObject, public CurrentDay {
    Q_OBJECT
public:
    explicit DietRecord(QObject* parent = nullptr);

    data::DataSet& days() { return days_; }   // ADOTable_t
    data::DataSet& foods() { return foods_; } // ADOTable_ts

    // Opens both data sets; the last day is current, and the last food of that day.
    void open();

    // Whether the diet record has days / food entries on any day (counted in the database).
    bool hasDays() const;
    bool hasFoodEntries() const;
    int currentDay() const override;
    data::DataSet& currentDayFoods() override { return foods_; }

    // Appends a day numbered one above the highest, or 1 for the first; it becomes current.
    void addDay();
    // Deletes the current day and all its food entries as one transaction, then moves the cursor one
    // day forward. Does nothing without days. The caller asks for confirmation first.
    void deleteCurrentDay();

    enum class AddFood { Added, NoDays, EmptyName, UnknownFood, BadWeight, WeightOutOfRange };
    // Appends a food entry to the current day: the name trimmed and found in the food table (any
    // category), the weight as checkWeight reads it (BadWeight for text that is no weight,
    // WeightOutOfRange above kMostGrams). With a portion the weight text is the number of units, and
    // the entry stores the grams of the edible part they stand for, within the same bounds, and the
    // portion as entered ("2个"); a meal (one of meals(), or empty for none) is stored with it. The day's
    // foods are ordered by meal, so the new entry takes its place in its meal and becomes the current row.
    AddFood addFood(const QString& name, const QString& weightText, const QString& meal = {},
                    const std::optional<Portion>& portion = {});
    // Deletes the selected food entry of the current day; false when the day has none.
    bool deleteCurrentFood();

    // The most one food entry may weigh, grams of the edible part: more than anyone eats of one food
    // in a day, so a larger figure is a typing mistake. The least is 0, which is kept (a weight to
    // fill in later). Both limits are allowed.
    static constexpr double kMostGrams = 5000;

    // Reads an amount as typed or pasted: a decimal number with "." and at most one point, not
    // negative (a negative weight would take nutrients away from the day). "", "." and "1.2.3" fail.
    static bool readAmount(const QString& text, double* amount);
    enum class Weight { Read, Malformed, OutOfRange };
    // Reads a weight in grams: an amount (readAmount) of at most kMostGrams.
    static Weight checkWeight(const QString& text, double* grams);
    // What the counsellor is told about a weight refused for `why`: "请输入正确的重量！" for text that
    // is no weight, the allowed range for one out of it.
    static QString weightMessage(Weight why);

    // Category list items "01 谷类及制品", ordered by code, and the food names of a category item.
    static QStringList categoryItems();
    static QStringList foodNamesOfCategory(const QString& item);

    // The confirmation text for deleting a day: 确定要删除 第12天 食谱吗?
    static QString deleteDayQuestion(int day);

private:
    data::DataSet days_;
    data::DataSet foods_;
};

} // namespace nc::diet
