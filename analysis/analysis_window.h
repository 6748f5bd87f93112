#pragma once
// The nutrient analysis window (TForm13): waits a moment, runs the analysis and shows its report
// (whose preview offers the complete report), then closes itself.

#include "analysis_reports.h"
#include "waiting_window.h"

namespace nc::analysis {

class TForm13 : public WaitingWindow {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);

    static constexpr int kDelayMs = 1000;

    // The timer's handler: the analysis, the report preview, then the window closes. A failed
    // comparison shows "数据出错！" before the report, which still runs. A diet record without days is
    // explained and nothing is written; any other error is shown; the window closes in every case.
    void Timer1Timer();

private:
    AnalysisReport report_;
};

} // namespace nc::analysis
