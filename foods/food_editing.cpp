#include "food_editing.h"

#include "data/query.h"
#include "data/value.h"

#include <algorithm>

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

namespace {

QString editOf(int fieldIndex) {
    return QStringLiteral("DBEdit%1").arg(fieldIndex + 1);
}

// A numeric field's value, when it holds a number.
std::optional<double> figure(const DataSet& foods, const QString& column) {
    const Value v = foods.field(column);
    if (v.type() != Value::Type::Integer && v.type() != Value::Type::Real)
        return std::nullopt;
    return v.toReal();
}

struct Limit {
    const char* column;
    double most;
};
// What 100 g of edible portion can hold at most. Pure fat gives 900 kcal; no food in the tables
// comes near 20 mg of vitamin B1 (wheat germ, the richest, has 3.5 mg).
constexpr Limit kLimits[] = {
    {"foodish", 100},    {"energy", 900}, {"protein", 100}, {"fat", 100},
    {"carbohydra", 100}, {"water", 100},  {"vitb1", 20},
};

QString question(const QString& what, double value, double most, const QString& unit) {
    return QStringLiteral("%1为 %2 %4，超过了每100克食物可能含有的量（最多 %3 %4），确定要保存吗？")
        .arg(what, data::formatReal(value), data::formatReal(most), unit);
}

} // namespace

std::optional<Refusal> checkFood(const DataSet& foods) {
    const QString number = foods.field(QStringLiteral("foodid")).toText();
    if (!foodNumberValid(number) || categoryOfNumber(number).isEmpty())
        return Refusal{kWrongNumber, QStringLiteral("DBEdit1")};
    if (foods.field(QStringLiteral("foodname")).toText().isEmpty())
        return Refusal{kNameMissing, QStringLiteral("DBEdit2")};
    const qint64 self = foods.state() == DataSet::State::Insert ? 0 : foods.rowId();
    if (foodNumberTaken(number, self))
        return Refusal{kNumberTaken, QStringLiteral("DBEdit1")};
    const QList<FoodField>& fields = foodFields();
    for (int i = 0; i < fields.size(); ++i) {
        if (!fields[i].numeric)
            continue;
        if (const auto v = figure(foods, fields[i].column); v && *v < 0)
            return Refusal{fields[i].title + QStringLiteral("不能为负数！"), editOf(i)};
    }
    return std::nullopt;
}

std::optional<Doubt> doubtfulFigure(const DataSet& foods) {
    const QList<FoodField>& fields = foodFields();
    for (int i = 0; i < fields.size(); ++i) {
        for (const Limit& limit : kLimits) {
            if (fields[i].column != QLatin1String(limit.column))
                continue;
            if (const auto v = figure(foods, fields[i].column); v && *v > limit.most)
                return Doubt{question(fields[i].title, *v, limit.most, fields[i].unit), editOf(i)};
        }
    }
    double sum = 0;
    for (const char* column : {"protein", "fat", "carbohydra"})
        sum += figure(foods, QString::fromLatin1(column)).value_or(0);
    if (sum > 100 + 1e-9) {
        const int protein =
            int(std::find_if(fields.cbegin(), fields.cend(),
                             [](const FoodField& f) { return f.column == QLatin1String("protein"); }) -
                fields.cbegin());
        return Doubt{question(QStringLiteral("蛋白质、脂肪、碳水化物之和"), sum, 100, QStringLiteral("g")),
                     editOf(protein)};
    }
    return std::nullopt;
}

void storeFood(DataSet& foods) {
    foods.edit();
    // The number names the category: a new food joins it, a food given another category's number moves.
    const QString kind = categoryOfNumber(foods.field(QStringLiteral("foodid")).toText());
    if (!kind.isEmpty() && foods.field(QStringLiteral("foodkind")).toText() != kind)
        foods.setField(QStringLiteral("foodkind"), kind);
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
