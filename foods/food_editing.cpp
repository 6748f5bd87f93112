#include "food_editing.h"

#include "data/query.h"

namespace nc::foods {

using data::DataSet;
using data::Query;
using data::Value;

bool foodNumberValid(const QString& number) {
    if (number.size() != 5)
        return false;
    return Value(number.left(2)).toInteger() <= 28; // throws ConversionError for letters
}

bool foodNumberTaken(const QString& number, qint64 exceptRowId) {
    Query q;
    q.setSql(
        QStringLiteral("select count(*) as n from Foodnurti where foodid=:foodid and rowid<>:exceptrow"));
    q.setParam(QStringLiteral("foodid"), number);
    q.setParam(QStringLiteral("exceptrow"), Value(exceptRowId));
    q.open();
    return q.field(QStringLiteral("n")).toInteger() > 0;
}

QString categoryOfNumber(const QString& number) {
    if (number.size() < 2)
        return {};
    Query q;
    q.setSql(QStringLiteral("select foodkindid from foodkind where foodkindid=:code"));
    q.setParam(QStringLiteral("code"), number.left(2));
    q.open();
    return q.recordCount() > 0 ? q.field(QStringLiteral("foodkindid")).toText() : QString();
}

std::optional<Refusal> checkFood(const DataSet& foods) {
    const QString number = foods.field(QStringLiteral("foodid")).toText();
    if (!foodNumberValid(number))
        return Refusal{kWrongNumber, QStringLiteral("DBEdit1")};
    if (foods.field(QStringLiteral("foodname")).toText().isEmpty())
        return Refusal{kNameMissing, QStringLiteral("DBEdit2")};
    const qint64 self = foods.state() == DataSet::State::Insert ? 0 : foods.rowId();
    if (foodNumberTaken(number, self))
        return Refusal{kNumberTaken, QStringLiteral("DBEdit1")};
    return std::nullopt;
}

void storeFood(DataSet& foods) {
    foods.edit();
    if (foods.state() == DataSet::State::Insert && foods.field(QStringLiteral("foodkind")).isNull()) {
        const QString kind = categoryOfNumber(foods.field(QStringLiteral("foodid")).toText());
        if (!kind.isEmpty())
            foods.setField(QStringLiteral("foodkind"), kind);
    }
    foods.post();
}

void startNewFood(DataSet& foods) {
    foods.cancel();
    foods.append();
}

QString deleteQuestion(const QString& foodName) {
    return QStringLiteral("确定要删除食物  ") + foodName + QStringLiteral("  吗?");
}

} // namespace nc::foods
