#pragma once
// The menus of the recipe sheets as saved recipes: the rows of table sps that a fresh database holds,
// one per food line, named like their sheet, timed one second apart so that they load in menu order.

#include "sheet_source.h"

#include "data/csv.h"

namespace nc::sheets {

// The sps seed table (header spname, sptime, foodid, swname, zl) of every menu sheet, in sheet order.
data::CsvTable recipeSeed(const QList<Sheet>& sheets);

// The table as CSV text, every field quoted.
QString toCsv(const data::CsvTable& table);

} // namespace nc::sheets
