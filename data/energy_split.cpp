#include "energy_split.h"

#include "numeric.h"
#include "query.h"

namespace nc::data {

EnergySplit energySplit(double proteinGrams, double fatGrams, double carbohydrateGrams,
                        SplitRounding rounding) {
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

EnergySplit storeEnergySplit(SplitRounding rounding) {
    Query q;
    double grams[3] = {0, 0, 0};
    for (int id = 2; id <= 4; ++id) {
        q.setSql(QStringLiteral("select srl from lsyysfx where id=%1").arg(id));
        q.open();
        grams[id - 2] = q.field(QStringLiteral("srl")).toReal();
    }
    const EnergySplit split = energySplit(grams[0], grams[1], grams[2], rounding);
    const double shares[3] = {split.protein, split.fat, split.carbohydrate};
    for (int id = 1; id <= 3; ++id) {
        q.setSql(QStringLiteral("update sdrn set value1=:lszs1 where id=%1").arg(id));
        q.setParam(QStringLiteral("lszs1"), shares[id - 1]);
        q.execute();
    }
    return split;
}

} // namespace nc::data
