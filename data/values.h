#pragma once
// The shared vocabulary of the record and the analysis: the value sets stored as exact texts, and the
// fourteen nutrient rows of the analysis working table with the food-composition column behind each.

#include <QString>
#include <QStringList>
#include <array>

namespace nc::data {

// Person category (personinf.csjd), in the order the pickers list them.
inline const QString kCategoryChildbearing = QStringLiteral("育龄");
inline const QString kCategoryPregnant = QStringLiteral("孕妇");
inline const QString kCategoryNursing = QStringLiteral("乳母");
inline QStringList categories() {
    return {kCategoryChildbearing, kCategoryPregnant, kCategoryNursing};
}

// Activity level (personinf.hdsp).
inline const QString kActivityLight = QStringLiteral("轻");
inline const QString kActivityModerate = QStringLiteral("中");
inline const QString kActivityHeavy = QStringLiteral("重");
inline QStringList activityLevels() {
    return {kActivityLight, kActivityModerate, kActivityHeavy};
}

// Stage of pregnancy (personinf.yq_jd).
inline const QString kStageEarly = QStringLiteral("早期");
inline const QString kStageMiddle = QStringLiteral("中期");
inline const QString kStageLate = QStringLiteral("晚期");

// A stored category read back: "育龄" and "孕妇" by exact comparison, anything else (null and empty
// included) counts as "乳母".
inline QString categoryOf(const QString& stored) {
    if (stored == kCategoryChildbearing || stored == kCategoryPregnant)
        return stored;
    return kCategoryNursing;
}

// One analysed nutrient: its fixed row id in lsyysfx, the Foodnurti column that feeds it, and the
// Chinese name and unit printed beside it.
struct Nutrient {
    int id;
    const char* column;
    const char* name;
    const char* unit;
};

inline constexpr std::array<Nutrient, 14> kNutrients{{
    {1, "energy", "能量", "kcal"},
    {2, "protein", "蛋白质", "g"},
    {3, "fat", "脂肪", "g"},
    {4, "carbohydra", "碳水化合物", "g"},
    {5, "vita", "维生素A", "μgRE"},
    {6, "vite", "维生素E", "mg"},
    {7, "vitc", "维生素C", "mg"},
    {8, "vitb1", "维生素B1", "mg"},
    {9, "vitb2", "维生素B2", "mg"},
    {10, "vitpp", "尼克酸", "mg"},
    {11, "ca", "钙", "mg"},
    {12, "fe", "铁", "mg"},
    {13, "zn", "锌", "mg"},
    {14, "se", "硒", "μg"},
}};

// The three rows of the energy split table sdrn.
inline constexpr int kSplitProtein = 1;
inline constexpr int kSplitFat = 2;
inline constexpr int kSplitCarbohydrate = 3;

} // namespace nc::data
