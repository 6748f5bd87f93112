#pragma once
// The grids of the diet record and recipe windows: a grid's selected row and its data set's cursor
// kept together, and the foods grid's model, which refuses a weight that is not a number.

#include "data/datasetmodel.h"

class QTableView;

namespace nc::diet {

// Selecting a row in the grid moves the data set there (storing a changed row first, as every cursor
// move does); a cursor move made by code selects the grid's row. When the data set cannot leave its
// row (its store fails), the error is reported and the grid goes back to the data set's row.
// Call after the grid has its model.
void followCursor(QTableView* grid, data::DataSet* dataSet);

// The foods grid's model: edits go through the data set like any grid's, except that a weight cell
// is only changed to a weight (DietRecord::readWeight); anything else is refused with
// weightRefused() and the cell keeps its stored value.
class FoodEntriesModel : public data::DataSetModel {
    Q_OBJECT
public:
    FoodEntriesModel(data::DataSet* foods, QObject* parent = nullptr);

    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Long food names are cut in the narrow grid; the whole name shows as the cell's tip.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void weightRefused();
};

} // namespace nc::diet
