#pragma once
// The consultation report "完整报告": a cover with the person, her physique report and her diet
// analysis report, printed as one document with one page numbering. The analysis report's preview
// offers it, after an analysis; the physique part is evaluated from the stored record, as 体格评价
// evaluates it, without saving the record again.

#include "analysis_reports.h"

#include "data/value.h"

#include <QString>

namespace nc::analysis {

// The cover layouts, by category (the person's block differs), and the print job title.
inline const QString kLayoutCompleteChildbearing = QStringLiteral("wzbg.rav");
inline const QString kLayoutCompletePregnant = QStringLiteral("wzbg_yf.rav");
inline const QString kLayoutCompleteNursing = QStringLiteral("wzbg_rm.rav");
inline const QString kTitleComplete = QStringLiteral("膳食营养咨询完整报告");

// The button of the analysis report's preview.
inline const QString kCompleteReportAction = QStringLiteral("CompleteReportAction");
inline const QString kCompleteReportLabel = QStringLiteral("完整报告");

// The cover layout for a stored category; empty for anything but 育龄, 孕妇 and 乳母 (no physique
// evaluation is possible then).
QString completeLayoutFor(const data::Value& category);

// Prints the complete report: the cover (RvDataSetConnection1 = personinf, parameter "date"), the
// physique report of the stored category (person::preparePhysiqueReport: the grade written as
// 体格评价 writes it, the BMI chart drawn) and the analysis report as `analysis` has prepared it
// (AnalysisReport::prepare). Returns when the preview has been closed. Throws nc::data::Error with
// nothing written when the record has no category or no saved BMI; for a missing layout after the
// grade has been written, as 体格评价 does.
void printCompleteReport(AnalysisReport& analysis);

// Gives the analysis report's preview the button "完整报告", which prints the complete report over
// it; closing that preview returns to the analysis report's.
void offerCompleteReport(AnalysisReport& analysis);

} // namespace nc::analysis
