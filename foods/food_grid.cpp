#include "food_grid.h"

#include "food_fields.h"
#include "ui/guard.h"

#include <QEvent>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QTimer>

namespace nc::foods {

FoodGrid::FoodGrid(const QString& name, data::DataSet* foods, QWidget* parent)
    : QTableView(parent), ds_(foods) {
    setObjectName(name);
    // While the list changes, the grid moves its own current index (off a removed row, after a
    // reset); that is no move of the user's. These connections come before the model's, so the flag
    // is up before the model tells the grid.
    connect(ds_, &data::DataSet::aboutToReset, this, [this] { changing_ = true; });
    connect(ds_, &data::DataSet::aboutToInsertRow, this, [this] { changing_ = true; });
    connect(ds_, &data::DataSet::aboutToRemoveRow, this, [this] { changing_ = true; });
    model_ = new data::DataSetModel(foods, foodGridColumns(), false, this);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { changing_ = false; });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { changing_ = false; });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { changing_ = false; });
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Widths from the titles, so every title reads in full; names get room of their own.
    const QFontMetrics fm(horizontalHeader()->font());
    const auto columns = model_->columns();
    for (int c = 0; c < columns.size(); ++c) {
        int w = std::max(52, fm.horizontalAdvance(columns[c].title) + 18);
        if (columns[c].field == QLatin1String("foodname"))
            w = 168;
        setColumnWidth(c, w);
    }
    viewport()->installEventFilter(this);

    connect(ds_, &data::DataSet::currentRowChanged, this, [this] { followDataSet(); });
    connect(ds_, &data::DataSet::resetDone, this, [this] { followDataSet(); });
    connect(ds_, &data::DataSet::rowInserted, this, [this] { followDataSet(); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!following_ && !changing_ && current.isValid())
                    userMoved(current.row());
            });
}

void FoodGrid::followDataSet() {
    QScopedValueRollback<bool> busy(following_, true);
    const int row = ds_->isOpen() ? ds_->currentRow() : -1;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        return;
    }
    const int column = std::max(0, currentIndex().column());
    const QModelIndex at = model_->index(row, column);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(at);
}

void FoodGrid::userMoved(int row) {
    if (row == ds_->currentRow())
        return;
    bool moved = false;
    if (moveHandler_) {
        moved = moveHandler_(row);
    } else {
        moved = ui::guard([&] { ds_->moveTo(row); });
    }
    if (!moved) {
        // Back onto the row the list stayed on, now and once the mouse handling that asked for the
        // move has finished selecting.
        followDataSet();
        QTimer::singleShot(0, this, [this] { followDataSet(); });
    }
}

bool FoodGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT gridDoubleClicked();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace nc::foods
