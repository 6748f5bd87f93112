#pragma once
// The diet record window's foods grid model, which refuses a weight that is not a number. Its rows
// follow the day's foods through the UI kit's GridBinding, as every grid's do.

#include "data/datasetmodel.h"

namespace nc::diet {

// The foods grid's model: name, weight and the household portion as entered, the rows titled by
// meal. Edits go through the data set like any grid's, except that a weight cell is only changed to a
// weight (DietRecord::checkWeight: a number from 0 to 5000 g); anything else is refused with
// weightRefused(message) and the cell keeps its stored value.
class FoodEntriesModel : public data::DataSetModel {
    Q_OBJECT
public:
    FoodEntriesModel(data::DataSet* foods, QObject* parent = nullptr);

    // A weight changed in the grid no longer is the portion entered, so the portion is cleared.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Every cell's whole text shows as its tip, should the grid be too narrow for it.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Rows are titled by meal: the meal beside the first food of each meal, nothing beside the rest.
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    // The portion as entered is not edited in the grid.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    void weightRefused(const QString& message);
};

} // namespace nc::diet
