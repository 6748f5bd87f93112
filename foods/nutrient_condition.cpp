#include "nutrient_condition.h"

#include "data/errors.h"
#include "data/values.h"

#include <limits>

namespace nc::foods {

QStringList nutrientItems() {
    static const QStringList items = {
        QStringLiteral("能量"),     QStringLiteral("蛋白质"),   QStringLiteral("脂肪"),
        QStringLiteral("碳水化物"), QStringLiteral("维生素A"),  QStringLiteral("维生素E"),
        QStringLiteral("维生素C"),  QStringLiteral("维生素B1"), QStringLiteral("维生素B2"),
        QStringLiteral("尼克酸"),   QStringLiteral("钙"),       QStringLiteral("铁"),
        QStringLiteral("锌"),       QStringLiteral("硒"),
    };
    return items;
}

QString nutrientColumn(int position) {
    // The list follows the order of the fourteen analysed nutrients.
    if (position < 0 || position >= int(data::kNutrients.size()))
        return {};
    return QString::fromLatin1(data::kNutrients[std::size_t(position)].column);
}

QStringList operatorItems() {
    return {QStringLiteral("="), QStringLiteral(">="), QStringLiteral("<=")};
}

bool readConditionValue(const QString& text, int* value) {
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 n = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c - u'0');
        if (n > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        n = -n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return false;
    *value = int(n);
    return true;
}

std::optional<Refusal> checkCondition(int nutrient, int op, const QString& valueText) {
    if (nutrientColumn(nutrient).isEmpty())
        return Refusal{QStringLiteral("请选择要过滤的 ‘营养成份’！"), QStringLiteral("ComboBox2")};
    if (op < 0 || op >= operatorItems().size())
        return Refusal{QStringLiteral("请选择过滤符号！"), QStringLiteral("ComboBox3")};
    if (valueText.trimmed().isEmpty())
        return Refusal{QStringLiteral("请选择要过滤的条件！"), QStringLiteral("Edit2")};
    int v = 0;
    if (!readConditionValue(valueText, &v))
        return Refusal{QStringLiteral("请输入数值！"), QStringLiteral("Edit2"), true};
    return std::nullopt;
}

QString conditionLine(int nutrient, int op) {
    const QString column = nutrientColumn(nutrient);
    const QStringList ops = operatorItems();
    if (column.isEmpty() || op < 0 || op >= ops.size())
        throw data::Error(QStringLiteral("过滤条件不完整，无法查询。"));
    return column + ops[op] + QStringLiteral(":lsvalue");
}

void listByCondition(data::DataSet& foods, int nutrient, int op, const QString& valueText) {
    int value = 0;
    if (!readConditionValue(valueText, &value))
        throw data::ConversionError(QStringLiteral("“%1”不是有效的整数。").arg(valueText));
    const QString line = conditionLine(nutrient, op);
    foods.close();
    foods.setSql(QStringLiteral("select * from Foodnurti where") + QLatin1Char('\n') + line);
    foods.setParam(QStringLiteral("lsvalue"), data::Value(value));
    foods.open();
}

} // namespace nc::foods
