#pragma once
// Keeps a grid's current row and its data set's cursor together, both ways: a cursor move made by
// code selects the grid's row, and a row the user picks (a click, the arrow keys) moves the data set,
// which stores a changed row first as every cursor move does. When the data set cannot leave its row
// (the store throws, or the window's move handler says no), the error is reported through guard() and
// the grid goes back to the data set's row. The data set is the one truth: whatever happens while a
// move is handled (another move made by a handler of the cursor signal, the list changing shape),
// the grid ends on the data set's row.

#include "data/datasetmodel.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractItemView;
class QModelIndex;

namespace nc::ui {

class GridBinding : public QObject {
    Q_OBJECT
public:
    // The grid must already show the model; the binding belongs to the grid.
    GridBinding(QAbstractItemView* grid, data::DataSetModel* model);

    // Decides a move the user asks for: returns whether the data set moved to the row. It may throw
    // (reported as an error) or tell the user itself why it refused. By default the data set simply
    // moves there.
    using MoveHandler = std::function<bool(int row)>;
    void setMoveHandler(MoveHandler handler) { moveHandler_ = std::move(handler); }

    data::DataSet* dataSet() const { return ds_; }

    // Puts the grid's current row on the data set's (no current row when the data set has none).
    void followDataSet();

private:
    void gridMoved(const QModelIndex& current);

    QAbstractItemView* grid_;
    data::DataSetModel* model_;
    QPointer<data::DataSet> ds_;
    MoveHandler moveHandler_;
    bool following_ = false; // the grid is being put on the data set's row
    bool moving_ = false;    // a move the user asked for is being handled
};

} // namespace nc::ui
