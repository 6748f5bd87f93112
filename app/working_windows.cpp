// The working windows of the main window's buttons. A window that lands adds its line here (and its
// header and library), for example:
//     registry.add<nc::person::TForm3>(QStringLiteral("TForm3")); // personal record
// A class not listed is a feature not provided yet: its button says so.

#include "working_windows.h"

#include "analysis/analysis_window.h"
#include "analysis/food_list_window.h"

namespace nc::app {

void registerWorkingWindows(ui::WindowRegistry& registry) {
    registry.add<nc::analysis::TForm13>(QStringLiteral("TForm13")); // nutrient analysis and its report
    registry.add<nc::analysis::TForm14>(QStringLiteral("TForm14")); // food-list report
}

} // namespace nc::app
