#pragma once
// The food-list report window (TForm14): waits a moment, shows the list of the foods eaten with their
// nutrient amounts, then closes itself.

#include "analysis_reports.h"
#include "waiting_window.h"

namespace nc::analysis {

class TForm14 : public WaitingWindow {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);

    static constexpr int kDelayMs = 2000;

    // The timer's handler: the list re-read, the report preview, then the window closes (after an
    // error too, once it has been shown).
    void Timer1Timer();

private:
    FoodListReport report_;
};

} // namespace nc::analysis
