#pragma once
// The meals a food entry may carry, in the order of the day.

#include <QString>
#include <QStringList>

namespace nc::data {

// 早餐, 早加餐, 午餐, 午加餐, 晚餐, 晚加餐.
const QStringList& meals();
// The place of a meal in the day (0 … 5), or 6 for none or an unknown text: entries without a meal
// come after the meals.
int mealOrder(const QString& meal);
// The same order as an SQL expression over a meal column ("meal", "foodcheck.meal").
QString mealOrderSql(const QString& column = QStringLiteral("meal"));

} // namespace nc::data
