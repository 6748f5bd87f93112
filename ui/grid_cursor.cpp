#include "grid_cursor.h"

#include "data/dataset.h"
#include "guard.h"

#include <QTableView>
#include <QTimer>

namespace nc::ui {

using data::DataSet;

namespace {

void selectRow(QTableView* grid, int row) {
    if (row < 0 || row >= grid->model()->rowCount())
        return;
    if (grid->currentIndex().row() == row)
        return;
    const int column = std::max(grid->currentIndex().column(), 0);
    grid->setCurrentIndex(grid->model()->index(row, column));
}

} // namespace

void followCursor(QTableView* grid, DataSet* dataSet) {
    // The grid's current row also moves by itself while the data set changes shape (a pending row
    // dropped, a reset); that is no choice of the user's, and moving the data set then would cut into
    // its own change. So the move waits until the change is over, and only happens when the grid
    // still disagrees with the data set, which by then has announced where its cursor is.
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid, [grid, dataSet] {
        QTimer::singleShot(0, grid, [grid, dataSet] {
            const QModelIndex current = grid->currentIndex();
            if (!current.isValid() || !dataSet->isOpen() || dataSet->currentRow() == current.row())
                return;
            if (!guard([&] { dataSet->moveTo(current.row()); }))
                selectRow(grid, dataSet->currentRow()); // the row could not be left
        });
    });
    QObject::connect(dataSet, &DataSet::currentRowChanged, grid, [grid](int row) { selectRow(grid, row); });
    selectRow(grid, dataSet->currentRow());
}

} // namespace nc::ui
