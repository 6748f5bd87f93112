#pragma once
// The food query's nutrient condition: a nutrient from a fixed list, an operator from a fixed list
// and a whole number, checked in order and turned into a statement whose column and operator come
// only from the lists and whose number is a bound parameter: nothing typed reaches the SQL text.

#include "data/dataset.h"
#include "food_fields.h"

#include <optional>

namespace nc::foods {

// The nutrient list's items, in order, and the column each position tests.
QStringList nutrientItems();
QString nutrientColumn(int position); // empty when out of range
// The operator list's items: "=", ">=", "<=".
QStringList operatorItems();

// Reads the value box as typed: leading blanks, an optional sign, decimal digits and nothing after,
// within the 32-bit signed range.
bool readConditionValue(const QString& text, int* value);

// The checks in order: nutrient chosen, operator chosen, value not blank, value a whole number (then
// the value box is emptied). Positions are -1 when nothing is chosen.
std::optional<Refusal> checkCondition(int nutrient, int op, const QString& valueText);

// The statement's second line, such as "ca>=:lsvalue" (the value bound as lsvalue).
QString conditionLine(int nutrient, int op);

// Re-opens the food list on the foods meeting the condition (checked before).
void listByCondition(data::DataSet& foods, int nutrient, int op, const QString& valueText);

} // namespace nc::foods
