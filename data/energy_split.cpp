#include "energy_split.h"

#include "numeric.h"

namespace nc::data {

EnergySplit energySplit(double proteinGrams, double fatGrams, double carbohydrateGrams, SplitRounding rounding) {
    const bool four = rounding == SplitRounding::FourDecimals;
    auto r4 = [four](double v) { return four ? roundHalfEven(v, 4) : v; };
    const double p = r4(proteinGrams * 4);
    const double f = r4(fatGrams * 9);
    const double c = r4(carbohydrateGrams * 4);
    double total = p + f + c;
    if (total <= 0)
        total = 1;
    return {trunc2(r4(p / total * 100)), trunc2(r4(f / total * 100)), trunc2(r4(c / total * 100))};
}

} // namespace nc::data
