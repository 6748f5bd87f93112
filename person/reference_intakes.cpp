#include "reference_intakes.h"

#include "data/errors.h"
#include "data/numeric.h"
#include "data/values.h"

#include <array>

namespace nc::person {

using namespace nc::data;

namespace {

struct ActivityFactors {
    double energyPerKg;
    double proteinPerKg;
};

ActivityFactors factorsOf(const QString& activity) {
    if (activity == kActivityLight)
        return {35, 1.16};
    if (activity == kActivityModerate)
        return {39, 1.3};
    if (activity == kActivityHeavy)
        return {46, 1.5};
    throw Error(QStringLiteral("活动水平“%1”无效，应为“轻”、“中”或“重”。").arg(activity));
}

// The periods that decide supplements and micronutrient references.
enum class Period { Childbearing, PregnantEarly, PregnantMiddle, PregnantLate, Nursing };

Period periodOf(const QString& category, int dayCount) {
    if (category == kCategoryChildbearing)
        return Period::Childbearing;
    if (category == kCategoryNursing)
        return Period::Nursing;
    if (category == kCategoryPregnant) {
        // Day 94, not the stage boundary 84, starts the middle-period references.
        if (dayCount < 94)
            return Period::PregnantEarly;
        if (dayCount <= 186)
            return Period::PregnantMiddle;
        return Period::PregnantLate;
    }
    throw Error(QStringLiteral("人群类别“%1”无效，应为“育龄”、“孕妇”或“乳母”。").arg(category));
}

struct Supplement {
    double energy;
    double protein;
};

Supplement supplementOf(Period p) {
    switch (p) {
    case Period::Childbearing:
        return {0, 0};
    case Period::PregnantEarly:
        return {150, 5};
    case Period::PregnantMiddle:
        return {200, 15};
    case Period::PregnantLate:
        return {200, 25};
    case Period::Nursing:
        return {500, 25};
    }
    return {0, 0};
}

// Rows 5 to 14: vitamin A, E, C, B1, B2, niacin, calcium, iron, zinc, selenium.
using Micro = std::array<double, 10>;
constexpr Micro kChildbearing{800, 14, 100, 1.3, 1.2, 13, 800, 20, 11.5, 50};
constexpr Micro kPregnantMiddle{900, 14, 130, 1.5, 1.7, 15, 1200, 25, 16.5, 50};
constexpr Micro kPregnantLate{900, 14, 130, 1.5, 1.7, 15, 1200, 35, 16.5, 50};
constexpr Micro kNursing{1200, 14, 130, 1.8, 1.7, 18, 1200, 25, 21.5, 65};

const Micro& microOf(Period p) {
    switch (p) {
    case Period::PregnantMiddle:
        return kPregnantMiddle;
    case Period::PregnantLate:
        return kPregnantLate;
    case Period::Nursing:
        return kNursing;
    default: // childbearing age, and pregnant before day 94
        return kChildbearing;
    }
}

} // namespace

double referenceWeight(double bmi, double heightCm, double weightKg) {
    if (bmi < 19.8 || bmi > 26)
        return heightCm - 105;
    return weightKg;
}

QList<ReferenceIntake> referenceIntakes(const QString& category, const QString& activity, double heightCm,
                                        double weightKg, double bmi, int dayCount) {
    const ActivityFactors f = factorsOf(activity);
    const Period period = periodOf(category, dayCount);
    const Supplement s = supplementOf(period);
    // Weight, factors and supplements are four-decimal figures: computed in exact decimal, the sum is
    // the decimal it stands for (1.16 x 48.5 + 15 = 71.26), and only then cut to two decimals.
    const Decimal4 weight = referenceWeight(bmi, heightCm, weightKg);
    const Decimal4 energy = weight * Decimal4(f.energyPerKg) + Decimal4(s.energy);
    const Decimal4 protein = weight * Decimal4(f.proteinPerKg) + Decimal4(s.protein);

    QList<ReferenceIntake> out;
    out.append({1, trunc2(energy.toDouble())});
    out.append({2, trunc2(protein.toDouble())});
    const Micro& m = microOf(period);
    for (int i = 0; i < 10; ++i)
        out.append({5 + i, trunc2(m[std::size_t(i)])});
    return out;
}

} // namespace nc::person
