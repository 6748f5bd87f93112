#include "analysis_window.h"

#include "complete_report.h"
#include "ui/messages.h"

#include <QTimer>

namespace nc::analysis {

TForm13::TForm13(QWidget* parent)
    : WaitingWindow(QStringLiteral("TForm13"),
                    Shape{QSize(211, 19), QRect(21, 0, 182, 21), Qt::black, kDelayMs}, parent) {
    connect(Timer1, &QTimer::timeout, this, &TForm13::Timer1Timer);
    offerCompleteReport(report_);
}

void TForm13::Timer1Timer() {
    runOnce([this] {
        try {
            const AnalysisResult result = runIntakeAnalysis();
            // The comparison's failure is told before the report, which runs all the same.
            if (result.comparisonFailed)
                ui::Messages::inform(QStringLiteral("数据出错！"), ui::kCaptionHint);
            report_.print(result);
        } catch (const NoDaysError& e) {
            ui::Messages::inform(e.text(), ui::kCaptionHint);
        }
    });
}

} // namespace nc::analysis
