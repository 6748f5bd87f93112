#pragma once
// What the physique report prints besides the stored record: the BMI class, the weekly gain as a
// counsellor reads it, and which explanation applies. The layouts receive these as parameters.

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
//   bmi_class                 the class word;
//   class_low, class_normal, class_high, class_obese   "1" for the class that applies, absent otherwise;
// for a pregnant woman or a nursing mother with a stored week count above 0:
//   gain, gain_low, gain_high, weeks, and grade_light / grade_normal / grade_heavy ("1" when it applies);
// with no week count above 0 instead only no_weeks = "1" (the gain over a token divisor means nothing).
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
