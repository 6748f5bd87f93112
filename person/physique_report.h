#pragma once
// What the physique report prints besides the stored record: the class of the chosen standard, the
// gain or the post-partum weight as a counsellor reads them, and which explanation applies. The
// layouts receive these as parameters.

#include "record_store.h"

#include "report/energy_chart.h"
#include "report/report_engine.h"

#include <QMap>
#include <QString>

namespace nc::data {
class Query;
}

namespace nc::person {

// The BMI chart of the physique report: its layout size with twice the pixels, for print.
inline const report::ChartPicture kPhysiqueChart{report::kBmiChartFile, report::kBmiChartSize, 2};

// The weekly gain with the fewest decimals (two to four) whose value still falls on the same side
// of the class's limits as the gain itself, so the printed number never contradicts the grade:
// 5/17 = 0.2941 in class "高" (up to 0.29) prints "0.294", not "0.29".
QString formatGain(double gain, const QString& bmiClass);

// Report parameters of an evaluation:
//   standard_original or standard_national   "1" for the standard the report judges by;
//   standard_line             the report's line naming it ("评价标准：…");
//   bmi_class                 the chosen standard's class word;
//   class_low, class_normal, class_high, class_obese   "1" for the class row that applies, absent otherwise.
// A pregnant woman (yftzbg.rav) with a stored week count above 0, by the program's own standard:
//   gain, gain_low, gain_high, weeks, and grade_light / grade_normal / grade_heavy ("1" when it applies);
// by the national standard instead nat_gain (kg since before pregnancy), nat_low, nat_high (the suitable
// gain at this week), weeks, nat_first or nat_later ("1" for the trimester), gain_grade (偏低/适宜/偏高)
// with the same grade_… flag, and the band of her class: nat_total_low/high, nat_first_high,
// nat_weekly, nat_weekly_low/high. With no week count above 0 only no_weeks = "1" (the gain over a
// token divisor means nothing).
// A nursing mother (rmtzbg.rav): her post-partum weight retention (postpartum.h): retention_word,
// retention_kg (signed, "+1.50"), retention_share (signed percent, "+2.5"), retention_slight_limit,
// retention_moderate_limit, and one of retention_recovered / retention_slight / retention_moderate /
// retention_marked / retention_missing; retention_below = "1" when she weighs less than before.
// Absent names let a layout choose its text with {{#name}}…{{/name}} and {{^name}}…{{/name}}.
QMap<QString, QString> physiqueReportParams(const Evaluation& evaluation);

// The physique report of the stored record as 体格评价 prints it after its save: evaluateRecord(category)
// (for 孕妇 and 乳母 the weekly gain and grade written to lstzpj, nothing else), then `person` opened
// on personinf and `evaluation` on lstzpj, and the project given the evaluation's layout, those two
// as RvDataSetConnection2 and RvDataSetConnection1, and physiqueReportParams as its parameters.
// The BMI chart (kPhysiqueChart, bars from `evaluation`'s column y) is the caller's to draw before the
// project runs: drawing it needs Qt Charts. Returns the evaluation.
Evaluation preparePhysiqueReport(const QString& category, data::Query& person, data::Query& evaluation,
                                 report::RvProject& project);

} // namespace nc::person
