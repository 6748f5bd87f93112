#pragma once
// The gallery's report pages: the analysis report in its three layouts and the food list, printed by
// the windows' own report code for a sample case, as PDF files and PNG pictures of their pages.

#include <QString>

namespace nc::gallery {

// Writes report_<layout>.pdf and report_<layout>-N.png into `out`. Returns the number of failures.
int writeReportPages(const QString& out);

} // namespace nc::gallery
