#include "analysis_reports.h"

#include "data/clock.h"
#include "data/numeric.h"
#include "data/values.h"
#include "report/chart_pictures.h"
#include "ui/messages.h"

namespace nc::analysis {

using data::Query;
using report::RvDataSetConnection;

namespace {

// The chart picture keeps its layout size and gets three times the pixels, so it prints sharp.
constexpr qreal kChartPixelRatio = 3;

void reopen(Query& q, const QString& sql) {
    q.close();
    q.setSql(sql);
    q.open();
}

} // namespace

QString analysisLayoutFor(const data::Value& category) {
    const QString text = category.isNull() ? QString() : category.toText();
    if (text == data::kCategoryChildbearing)
        return kLayoutChildbearing;
    if (text == data::kCategoryPregnant)
        return kLayoutPregnant;
    return kLayoutNursing;
}

EnergyShareGrams energyShareGrams(double energyReference) {
    if (!(energyReference > 0))
        return {};
    // Tenths of a gram, halves to the even neighbour like the program's other rounding.
    auto grams = [&](int lowPercent, int highPercent, int kcalPerGram) {
        auto g = [&](int percent) {
            return QString::number(data::roundHalfEven(energyReference * percent / 100.0 / kcalPerGram, 1), 'f', 1);
        };
        return g(lowPercent) + QStringLiteral("～") + g(highPercent);
    };
    return {grams(20, 30, 9), grams(55, 65, 4)};
}

QString reportDate() { return data::Clock::today().toString(QStringLiteral("yyyy年M月d日")); }

AnalysisReport::AnalysisReport() : RvProject1(&RvSystem2) {
    RvSystem2.setTitle(report::kTitleAnalysis);
    ADOQuery1.setSql(kEvaluationLowSql);
    ADOQuery2.setSql(kEvaluationHighSql);
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection1"), ADOQuery_gy));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection2"), ADOTable_ts));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection3"), ADOQuery1));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection4"), ADOQuery2));
}

void AnalysisReport::run() {
    const AnalysisResult result = runIntakeAnalysis();
    if (result.comparisonFailed)
        ui::Messages::inform(QStringLiteral("数据出错！"), ui::kCaptionHint);
    print(result);
}

void AnalysisReport::print(const AnalysisResult& result) {
    // The energy pie, from the shares just stored.
    reopen(ADOTable_yyfx1, QStringLiteral("select * from sdrn"));
    report::saveEnergyChart(ADOTable_yyfx1,
                            report::ChartPicture{report::kEnergyChartFile, report::kEnergyChartSize, kChartPixelRatio});

    // The evaluation texts follow the comparison just written.
    ADOQuery1.close();
    ADOQuery1.open();
    ADOQuery2.close();
    ADOQuery2.open();

    reopen(ADOQuery_gy, QStringLiteral("select * from personinf;"));
    ADOQuery_gy.first();
    const data::Value category = ADOQuery_gy.field(QStringLiteral("csjd"));
    reopen(ADOTable_ts, kNutrientRowsSql);

    RvProject1.setProjectFile(analysisLayoutFor(category));
    RvProject1.clearParams();
    // The days the intakes were divided by, so the report never states more days than it averaged.
    RvProject1.setParam(QStringLiteral("days"), QString::number(result.days));
    RvProject1.setParam(QStringLiteral("date"), reportDate());
    Query energy;
    energy.setSql(QStringLiteral("select ckl from lsyysfx where id=1"));
    energy.open();
    const double energyReference = energy.eof() ? 0 : energy.field(QStringLiteral("ckl")).toReal();
    const EnergyShareGrams grams = energyShareGrams(energyReference);
    if (!grams.fat.isEmpty()) {
        RvProject1.setParam(QStringLiteral("energy_reference"), QString::number(energyReference, 'g', 15));
        RvProject1.setParam(QStringLiteral("fat_grams"), grams.fat);
        RvProject1.setParam(QStringLiteral("carbohydrate_grams"), grams.carbohydrate);
    }
    // Only what was missing is set: the layout prints a note for each parameter present.
    const MissingDataNotes notes = missingDataNotes(result);
    if (!notes.unknownFoods.isEmpty())
        RvProject1.setParam(QStringLiteral("missing_foods"), notes.unknownFoods);
    if (!notes.withoutAmount.isEmpty())
        RvProject1.setParam(QStringLiteral("missing_amounts"), notes.withoutAmount);
    if (!notes.missingValues.isEmpty())
        RvProject1.setParam(QStringLiteral("missing_values"), notes.missingValues);
    RvProject1.execute();
}

FoodListReport::FoodListReport() : RvProject1(&RvSystem2) {
    RvSystem2.setTitle(report::kTitlePhysique); // the food list prints under the same job title
    ADOQuery1.setSql(kFoodListSql);
    ADOQuery1.addLine(kFoodListFromSql);
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection1"), ADOQuery1));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection2"), ADOQuery_gy));
}

void FoodListReport::run() {
    ADOQuery1.close();
    ADOQuery1.open();
    reopen(ADOQuery_gy, QStringLiteral("select * from personinf;"));
    RvProject1.setProjectFile(kLayoutFoodList);
    RvProject1.clearParams();
    RvProject1.setParam(QStringLiteral("date"), reportDate());
    RvProject1.execute();
}

} // namespace nc::analysis
