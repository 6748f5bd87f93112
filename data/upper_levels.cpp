#include "upper_levels.h"

#include "query.h"
#include "values.h"

#include <array>

namespace nc::data {

namespace {

// A figure of the table per category; kNone where the table has no figure, or where the figure has
// not been checked against the printed table (it is then better to print nothing than a wrong level).
constexpr std::optional<double> kNone = std::nullopt;

struct UpperLevelRow {
    int row;
    std::optional<double> childbearing; // adult women 18–49, and any unknown category
    std::optional<double> pregnant;
    std::optional<double> nursing;
};

// clang-format off
// Rows of lsyysfx, in its units (vitamin A in μgRE, niacin in mg NE, selenium in μg, the others in mg).
// The sources of the figures are listed in data/seed/README.md.
constexpr std::array<UpperLevelRow, 4> kUpperLevels{{
    //  row     育龄    孕妇    乳母
    {   5,     3000,  kNone,  kNone},  // 维生素A
    {  10,       35,     35,     35},  // 尼克酸
    {  11,     2000,   2000,   2000},  // 钙
    {  14,      400,    400,    400},  // 硒
}};
// clang-format on

} // namespace

std::optional<double> upperLevel(int row, const QString& category) {
    for (const UpperLevelRow& r : kUpperLevels) {
        if (r.row != row)
            continue;
        if (category == kCategoryPregnant)
            return r.pregnant;
        if (category == kCategoryNursing)
            return r.nursing;
        return r.childbearing;
    }
    return std::nullopt;
}

bool holdsUpperLevels(Connection& c) {
    return tableHasColumn(c, QStringLiteral("lsyysfx"), QStringLiteral("ul"));
}

void storeUpperLevels(Connection& c, const QString& category) {
    if (!holdsUpperLevels(c))
        return;
    Query q(&c);
    q.setSql(QStringLiteral("update lsyysfx set ul=:ul where id=:id"));
    for (const Nutrient& n : kNutrients) {
        const std::optional<double> ul = upperLevel(n.id, category);
        q.setParam(QStringLiteral("ul"), ul ? Value(*ul) : Value::null());
        q.setParam(QStringLiteral("id"), n.id);
        q.execute();
    }
}

} // namespace nc::data
