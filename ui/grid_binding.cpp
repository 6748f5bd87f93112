#include "grid_binding.h"

#include "guard.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTimer>

namespace nc::ui {

using data::DataSet;

GridBinding::GridBinding(QAbstractItemView* grid, data::DataSetModel* model)
    : QObject(grid), grid_(grid), model_(model), ds_(model->dataSet()) {
    Q_ASSERT(grid->model() == model);
    if (!ds_)
        return;
    // The model hears of every change before these connections, so the rows are up to date here.
    connect(ds_, &DataSet::currentRowChanged, this, &GridBinding::followDataSet);
    connect(ds_, &DataSet::resetDone, this, &GridBinding::followDataSet);
    connect(ds_, &DataSet::rowInserted, this, &GridBinding::followDataSet);
    connect(ds_, &DataSet::rowRemoved, this, &GridBinding::followDataSet);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridMoved(current); });
    followDataSet();
}

void GridBinding::followDataSet() {
    // While the rows change the grid is out of step anyway; the data set announces its row after.
    if (!ds_ || model_->isChanging())
        return;
    QItemSelectionModel* selection = grid_->selectionModel();
    following_ = true;
    const int row = ds_->isOpen() ? ds_->currentRow() : -1;
    const QModelIndex current = grid_->currentIndex();
    if (row < 0 || row >= model_->rowCount()) {
        if (current.isValid() || selection->hasSelection()) {
            selection->clearSelection();
            selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        }
    } else if (current.row() != row) {
        // As a click would select it: the whole row in a row grid, the cell in a cell grid.
        grid_->setCurrentIndex(model_->index(row, std::max(0, current.column())));
    } else if (!selection->isSelected(current)) {
        // The right row is current, but the click that was refused has selected its own.
        QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect;
        if (grid_->selectionBehavior() == QAbstractItemView::SelectRows)
            how |= QItemSelectionModel::Rows;
        else if (grid_->selectionBehavior() == QAbstractItemView::SelectColumns)
            how |= QItemSelectionModel::Columns;
        selection->select(current, how);
    }
    following_ = false;
}

void GridBinding::gridMoved(const QModelIndex& current) {
    // Moves of the grid's own while the rows change (off a removed row, after a reset) are no choice
    // of the user's, and neither are the ones this binding makes. A move asked for while another is
    // handled is settled by the data set: the grid follows it once the first move is over.
    if (following_ || moving_ || !ds_ || model_->isChanging() || !current.isValid())
        return;
    const int row = current.row();
    if (!ds_->isOpen() || row == ds_->currentRow())
        return;
    const QPointer<GridBinding> alive(this);
    bool moved = false;
    moving_ = true;
    const bool ok = guard([&] {
        if (moveHandler_) {
            moved = moveHandler_(row);
        } else {
            ds_->moveTo(row);
            moved = true;
        }
    });
    if (!alive)
        return; // the window went away while the move was handled
    moving_ = false;
    followDataSet();
    // A click goes on selecting the row it was made on after the move has been refused (or gone
    // elsewhere); once it has been handled the grid is put back on the data set's row.
    if (!ok || !moved || (ds_ && ds_->currentRow() != row))
        QTimer::singleShot(0, this, &GridBinding::followDataSet);
}

} // namespace nc::ui
