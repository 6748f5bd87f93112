#pragma once
// The two reports of the nutrient analysis as the waiting windows run them: the analysis report
// (the analysis itself, the energy pie picture, the person, the nutrient table and the evaluation
// texts, with the layout for the person's category) and the food-list report (every food of the diet
// record by day with its weight and twelve nutrient amounts). No widgets: the windows only start them
// and close when they return, so they run in tests and in the gallery as they run in the program.

#include "data/meals.h"
#include "data/query.h"
#include "data/value.h"
#include "energy_split_review.h"
#include "evaluation_texts.h"
#include "gap_foods.h"
#include "intake_analysis.h"
#include "report/report_engine.h"

#include <QString>

namespace nc::analysis {

// Layouts of the analysis report, by category, and of the food list.
inline const QString kLayoutChildbearing = QStringLiteral("yyfx.rav");
inline const QString kLayoutPregnant = QStringLiteral("yyfx_yf.rav");
inline const QString kLayoutNursing = QStringLiteral("yyfx_rm.rav");
inline const QString kLayoutFoodList = QStringLiteral("sumrep.rav");

// The analysis layout for a stored category, compared as exact text: "育龄" and "孕妇" have their
// own, anything else (乳母, empty, null) prints the nursing mother's.
QString analysisLayoutFor(const data::Value& category);

// The nutrient rows as the analysis report prints them: a row without a reference (fat and
// carbohydrate, stored with reference 0) prints "—" as its reference, difference and percentage, so
// it never reads as "recommended: zero"; a row without a tolerable upper level prints "—" as its ul.
// The stored figures are left as they are.
inline const QString kNutrientRowsSql = QStringLiteral("select id, yysmc, dw, srl, "
                                                       "case when ckl=0 then '—' else ckl end as ckl, "
                                                       "case when ckl=0 then '—' else cz end as cz, "
                                                       "case when ckl=0 then '—' else dris end as dris, "
                                                       "case when ul is null then '—' else ul end as ul "
                                                       "from lsyysfx order by id");
// The same for a file whose update failed, which has no upper levels: "—" in every row.
inline const QString kNutrientRowsWithoutUpperLevelsSql =
    QStringLiteral("select id, yysmc, dw, srl, "
                   "case when ckl=0 then '—' else ckl end as ckl, "
                   "case when ckl=0 then '—' else cz end as cz, "
                   "case when ckl=0 then '—' else dris end as dris, "
                   "'—' as ul "
                   "from lsyysfx order by id");

// The daily grams of fat (20 %–30 % of the energy, 9 kcal/g) and carbohydrate (55 %–65 %, 4 kcal/g),
// the ranges of kEnergyShareRanges, for an energy reference in kcal, as printed under the nutrient table:
// "51.1～76.7". Empty for a reference of 0 or less (no record saved yet).
struct EnergyShareGrams {
    QString fat;
    QString carbohydrate;
};
EnergyShareGrams energyShareGrams(double energyReference);

// The analysis report's data sets and engine, named as the layouts know them. The layout gets
// RvDataSetConnection1 (personinf), 2 (lsyysfx, with the upper level ul), 3 (the evaluation lines of
// the shortfalls, key ones first) and 4 (those of the intakes above 110 % or at the upper level), both
// with the columns content, rg_name, sentence, appraise and key ("【重点】" for the key shortfalls, else
// ""; an empty text still opens a Mustache section, so the layouts print it as it is),
// evaluateStoredIntakes; the parameter "key_shortfalls" (the headline, "最需要改善：钙、铁", set only
// when there are shortfalls), "energy_split" (the energy split judged: nutrient, share, range,
// judgement; reviewEnergySplit), "energy_advice" (its lines of advice: advice) and "gap_foods" (the
// foods that close each shortfall: nutrient, foods, line; gapFoodLines), the parameters "days" (the
// number of days divided by), "date" (today), "energy_reference", "fat_grams" and
// "carbohydrate_grams" (energyShareGrams, when there is an energy reference), "gap_foods_present"
// when gap_foods has rows and, when something counted as 0 because it was missing,
// "missing_foods", "missing_amounts" and "missing_values", and the picture "lsbmp1.bmp" in the
// current directory.
class AnalysisReport {
public:
    AnalysisReport();
    AnalysisReport(const AnalysisReport&) = delete; // the connections refer to the members
    AnalysisReport& operator=(const AnalysisReport&) = delete;

    // Runs the analysis and prints its report; returns the analysis's result when the preview has
    // been closed. A failed comparison is only in the result (comparisonFailed): the report still
    // runs. Throws NoDaysError (nothing written, nothing printed) when the record has foods but no
    // days, nc::data::Error for anything else.
    AnalysisResult run();
    // The report alone, for the results of an analysis that has just run: prepare(), then the project
    // runs.
    void print(const AnalysisResult& result);
    // Everything print() does before the report runs: the pie picture drawn, the data sets opened,
    // the layout and the parameters set. The project can then run alone or as a part of another
    // report, as often as needed while nothing is written in between.
    void prepare(const AnalysisResult& result);

    data::Query ADOQuery_gy;    // the person
    data::Query ADOTable_ts;    // the fourteen nutrient rows
    data::Query ADOTable_yyfx1; // the energy split, for the chart
    report::RvSystem RvSystem2;
    report::RvProject RvProject1;

private:
    EnergySplitReview energyReview_; // of the shares the pie was drawn from
    Evaluation evaluation_;          // of the intakes just compared
    QList<GapFoodLine> gapFoods_;    // of the shortfalls just compared
};

// The food list: one row per food entry whose name is in the food table (a food once per food row of
// that name), ordered by day; an entry whose day was deleted has an empty day and comes first.
// Columns tsid, swname, zl, then per entry value / 100 x weight rounded to two decimals: energy,
// carbohydra, fat, protein, vita, vitb1, vitb2, vitc, ca, fe, zn, se.
inline const QString kFoodListSql =
    QStringLiteral("SELECT ts.tsid, foodcheck.meal, foodcheck.swname, foodcheck.zl, "
                   "round(Foodnurti.energy/100*foodcheck.zl,2) AS energy, "
                   "round(Foodnurti.carbohydra/100*foodcheck.zl,2) AS carbohydra, "
                   "round(Foodnurti.fat/100*foodcheck.zl,2) AS fat, "
                   "round(Foodnurti.protein/100*foodcheck.zl,2) AS protein, "
                   "round(Foodnurti.vita/100*foodcheck.zl,2) AS vita, "
                   "round(Foodnurti.vitb1/100*foodcheck.zl,2) AS vitb1, "
                   "round(Foodnurti.vitb2/100*foodcheck.zl,2) AS vitb2, "
                   "round(Foodnurti.vitc/100*foodcheck.zl,2) AS vitc, "
                   "round(Foodnurti.ca/100*foodcheck.zl,2) AS ca, "
                   "round(Foodnurti.fe/100*foodcheck.zl,2) AS fe, "
                   "round(Foodnurti.zn/100*foodcheck.zl,2) AS zn, "
                   "round(Foodnurti.se/100*foodcheck.zl,2) AS se");
// Each day's entries by meal (entries without one last), in the order entered within a meal.
inline const QString kFoodListFromSql =
    QStringLiteral("FROM foodcheck LEFT JOIN ts ON ts.tsid=foodcheck.tc INNER JOIN Foodnurti ON "
                   "foodcheck.swname=Foodnurti.foodname ORDER BY ts.tsid, ") +
    nc::data::mealOrderSql(QStringLiteral("foodcheck.meal")) + QStringLiteral(", foodcheck.foodid");

// The food list with its totals, as printed: after the rows of each day (consecutive rows of one
// tsid) a row "当日合计" (for entries whose day was deleted "无天次合计") with that day's total of
// every nutrient column, and at the end a row "每日平均（n 天）" with the average daily intakes the
// analysis stores. Totals and average are the analysis's own figures (readIntakeTotals,
// averageIntakes): totals rounded to two decimals, halves away from zero as the list's own amounts
// are, the average cut to two as the analysis stores it. Columns the totals do
// not cover (weight, any other) stay empty in these rows.
report::DataTable withDailyTotals(const report::DataTable& list, const IntakeTotals& totals, int days);

// The food-list report's data sets and engine: RvDataSetConnection1 the food list with its daily
// totals and average (withDailyTotals over ADOQuery1), RvDataSetConnection2 the person (for the
// heading), the parameter "date".
class FoodListReport {
public:
    FoodListReport();
    FoodListReport(const FoodListReport&) = delete; // the connections refer to the members
    FoodListReport& operator=(const FoodListReport&) = delete;

    // Re-reads the diet record and prints the list; returns when the preview has been closed.
    void run();

    data::Query ADOQuery1;   // the food list
    data::Query ADOQuery_gy; // the person
    report::RvSystem RvSystem2;
    report::RvProject RvProject1;
};

// Today's date as the reports print it: 2025年3月18日.
QString reportDate();

} // namespace nc::analysis
