#include "meals.h"

namespace nc::data {

const QStringList& meals() {
    static const QStringList list = {QStringLiteral("早餐"), QStringLiteral("早加餐"),
                                     QStringLiteral("午餐"), QStringLiteral("午加餐"),
                                     QStringLiteral("晚餐"), QStringLiteral("晚加餐")};
    return list;
}

int mealOrder(const QString& meal) {
    const int i = int(meals().indexOf(meal.trimmed()));
    return i < 0 ? int(meals().size()) : i;
}

QString mealOrderSql(const QString& column) {
    QString sql = QStringLiteral("CASE trim(%1)").arg(column);
    for (int i = 0; i < meals().size(); ++i)
        sql += QStringLiteral(" WHEN '%1' THEN %2").arg(meals()[i]).arg(i);
    return sql + QStringLiteral(" ELSE %1 END").arg(meals().size());
}

} // namespace nc::data
