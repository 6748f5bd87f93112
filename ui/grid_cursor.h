#pragma once
// A grid's selected row and its data set's cursor kept together, for every window whose grid shows a
// data set (the diet record, the recipes, the household portions).

class QTableView;

namespace nc::data {
class DataSet;
}

namespace nc::ui {

// Selecting a row in the grid moves the data set there (storing a changed row first, as every cursor
// move does); a cursor move made by code selects the grid's row. When the data set cannot leave its
// row (its store fails), the error is reported and the grid goes back to the data set's row.
// Call after the grid has its model.
void followCursor(QTableView* grid, data::DataSet* dataSet);

} // namespace nc::ui
