#pragma once
// The gallery's report pages: the analysis report and the complete report in their three layouts and
// the food list, printed by the windows' own report code for a sample case; the gallery's report sink
// saves them.

#include <QString>

namespace nc::gallery {

// Runs the reports on a database of their own. Returns the number of failures.
int writeReportPages();

} // namespace nc::gallery
