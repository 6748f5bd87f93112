#pragma once
// Chart pictures for the reports, saved as bitmaps beside the layouts: the BMI bar chart of the
// physique report, drawn with Qt Charts, and the energy split pie of the analysis report
// (energy_chart.h). The layouts show them by file name, so each run replaces the earlier file.

#include "energy_chart.h"

#include <QList>
#include <QString>

namespace nc::data {
class Query;
}

namespace nc::report {

// "体质指数": one red bar per value on an axis from 0 to 35 in steps of 5 (higher when a value goes
// beyond), the class word above each bar. Returns the full path written; throws nc::data::Error when
// the file cannot be written.
QString saveBmiChart(const QList<double>& values, const QString& classWord,
                     const ChartPicture& picture = {kBmiChartFile, kBmiChartSize});
// The same from the rows of an open query, bar values from its column "y".
QString saveBmiChart(const data::Query& query, const QString& classWord,
                     const ChartPicture& picture = {kBmiChartFile, kBmiChartSize});

} // namespace nc::report
