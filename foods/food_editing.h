#pragma once
// Editing the food composition table: the checks a food must pass before it is stored (number, name,
// a number no other food has), storing it with its category, starting a new food, and the delete
// question. The management window's 保存 and its grid moves both go through here.

#include "data/dataset.h"
#include "food_fields.h"

#include <optional>

namespace nc::foods {

inline const QString kWrongNumber = QStringLiteral("食物编号不正确！");
inline const QString kNameMissing = QStringLiteral("请输入食物名称！");
inline const QString kNumberTaken = QStringLiteral("食物编号已存在！");

// The number rule: exactly five characters whose first two read as a whole number of at most 28;
// the last three are not examined. First two characters that are no number at all throw
// ConversionError (the program's conversion message).
bool foodNumberValid(const QString& number);

// Whether a food other than the stored row `exceptRowId` (0 for none) has this number.
bool foodNumberTaken(const QString& number, qint64 exceptRowId);

// The category a food with this number belongs to: the foodkind id equal to its first two
// characters, or empty when there is none.
QString categoryOfNumber(const QString& number);

// The checks of a store, in order, on the current row of the food list: number (refused with
// kWrongNumber, or ConversionError thrown), a category with the number's first two characters
// (kWrongNumber: a food without one would be in no list), name not empty (blanks count), number not
// taken, no negative figure ("蛋白质不能为负数！"). Focus goes to the field refused.
std::optional<Refusal> checkFood(const data::DataSet& foods);

// A figure beyond what 100 g of any food can hold, as a question for the counsellor (she may have
// typed a unit too small, or a value into the wrong field).
struct Doubt {
    QString question; // names the field, its value and the limit; asks whether to store anyway
    QString control;  // objectName of the field's edit
};
// The first such figure of the current row, in field order, then the sum of protein, fat and
// carbohydrate: edible portion above 100 %, energy above 900 kcal (pure fat), protein, fat,
// carbohydrate or water above 100 g, their sum above 100 g, vitamin B1 above 20 mg.
std::optional<Doubt> doubtfulFigure(const data::DataSet& foods);

// Stores the current row as it stands (the caller checked it). The food's category is the one its
// number names, so a new food gets it and a food given another category's number moves there. The
// row stays current, in browse state.
void storeFood(data::DataSet& foods);

// Drops pending changes and appends an empty pending row.
void startNewFood(data::DataSet& foods);

// The delete question for a food: 确定要删除食物  <name>  吗?
QString deleteQuestion(const QString& foodName);

} // namespace nc::foods
