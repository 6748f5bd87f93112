#pragma once
// The read-only grid of the food windows (DBGrid1): the shared 22 columns, one row current at a
// time, kept in step with the food list's current row both ways by a GridBinding. A move the window
// refuses puts the grid back on the data set's current row.

#include "data/dataset.h"
#include "ui/grid_binding.h"

#include <QTableView>

namespace nc::foods {

class FoodGrid : public QTableView {
    Q_OBJECT
public:
    FoodGrid(const QString& name, data::DataSet* foods, QWidget* parent = nullptr);

    // Decides a move the user asks for (a click, the arrow keys): returns whether the food list
    // moved to the row; may throw, which is reported. By default the list simply moves there.
    void setMoveHandler(ui::GridBinding::MoveHandler handler) {
        binding_->setMoveHandler(std::move(handler));
    }

Q_SIGNALS:
    // A double click anywhere in the grid's rows area, on a row or below the last one.
    void gridDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ui::GridBinding* binding_;
};

} // namespace nc::foods
