#include "menu_figures.h"

#include "analysis/intake_analysis.h"
#include "data/connection.h"
#include "data/errors.h"
#include "data/query.h"
#include "data/values.h"
#include "person/physique.h"
#include "person/reference_intakes.h"

#include <cmath>

namespace nc::sheets {

using data::Query;

QStringList unknownFoods(const Sheet& menu) {
    QStringList unknown;
    Query q;
    q.setSql(QStringLiteral("select count(*) as n from Foodnurti where foodname=:name"));
    for (const Ingredient& in : menu.foodLines()) {
        q.setParam(QStringLiteral("name"), in.food);
        q.open();
        if (q.field(QStringLiteral("n")).toInteger() == 0 && !unknown.contains(in.food))
            unknown << in.food;
    }
    return unknown;
}

MenuFigures menuFigures(const Sheet& menu) {
    if (!menu.isMenu())
        throw data::Error(QStringLiteral("%1 不是食谱").arg(menu.title));
    {
        data::Transaction t(data::Connection::required());
        Query q;
        q.setSql(QStringLiteral("delete from foodcheck"));
        q.execute();
        q.setSql(QStringLiteral("delete from ts"));
        q.execute();
        q.setSql(QStringLiteral("insert into ts (tsid) values (1)"));
        q.execute();
        q.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl) values (1, :name, :grams)"));
        for (const Ingredient& in : menu.foodLines()) {
            q.setParam(QStringLiteral("name"), in.food);
            q.setParam(QStringLiteral("grams"), in.grams);
            q.execute();
        }
        t.commit();
    }
    const analysis::AnalysisResult result = analysis::runIntakeAnalysis();

    const double bmi = person::bodyMassIndex(kReferenceHeightCm, kReferenceWeightKg);
    MenuFigures f;
    f.energy = result.intakes[0];
    f.protein = result.intakes[1];
    for (const person::ReferenceIntake& r :
         person::referenceIntakes(menu.category, data::kActivityLight, kReferenceHeightCm, kReferenceWeightKg,
                                  bmi, menu.dayCount)) {
        if (r.row == 1)
            f.energyReference = r.value;
        else if (r.row == 2)
            f.proteinReference = r.value;
    }
    return f;
}

QString figuresLine(const MenuFigures& f) {
    const auto percent = [](double v, double ref) { return qRound(v / ref * 100); };
    return QStringLiteral("全天合计：能量 %1 kcal（参考量的 %2%），蛋白质 %3 g（参考量的 %4%）")
        .arg(qRound(f.energy))
        .arg(percent(f.energy, f.energyReference))
        .arg(f.protein, 0, 'f', 1)
        .arg(percent(f.protein, f.proteinReference));
}

QString referenceBasisLine(const Sheet& menu, const MenuFigures& f) {
    const QString weight = menu.category == data::kCategoryPregnant  ? QStringLiteral("孕前体重")
                           : menu.category == data::kCategoryNursing ? QStringLiteral("非孕体重")
                                                                     : QStringLiteral("体重");
    return QStringLiteral("参考量 %1 kcal、%2 g：身高 %3 cm、%4 %5 kg、轻体力活动；食物为可食部生重。")
        .arg(qRound(f.energyReference))
        .arg(f.proteinReference, 0, 'f', 1)
        .arg(kReferenceHeightCm)
        .arg(weight)
        .arg(kReferenceWeightKg);
}

} // namespace nc::sheets
