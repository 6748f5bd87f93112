// The working windows of the main window's buttons. A window that lands adds its line here (and its
// header and library), for example:
//     registry.add<nc::person::TForm3>(QStringLiteral("TForm3")); // personal record
// A class not listed is a feature not provided yet: its button says so.

#include "working_windows.h"

#include "person/activity_levels_window.h"
#include "person/record_window.h"

namespace nc::app {

void registerWorkingWindows(ui::WindowRegistry& registry) {
    registry.add<nc::person::TForm3>(QStringLiteral("TForm3")); // personal record
    registry.add<nc::person::TForm2>(QStringLiteral("TForm2")); // activity-level standards
}

} // namespace nc::app
