#pragma once
// The read-only grid of the food windows (DBGrid1): the shared 22 columns, one row current at a
// time, kept in step with the food list's current row both ways. A move the window refuses puts the
// grid back on the data set's current row.

#include "data/dataset.h"
#include "data/datasetmodel.h"

#include <QTableView>

#include <functional>

namespace nc::foods {

class FoodGrid : public QTableView {
    Q_OBJECT
public:
    FoodGrid(const QString& name, data::DataSet* foods, QWidget* parent = nullptr);

    data::DataSetModel* dataSetModel() const { return model_; }

    // Decides a move the user asks for (a click, the arrow keys): returns whether the food list
    // moved to the row. By default the list simply moves there.
    void setMoveHandler(std::function<bool(int row)> handler) { moveHandler_ = std::move(handler); }

    // Puts the grid's current row on the data set's.
    void followDataSet();

Q_SIGNALS:
    // A double click anywhere in the grid's rows area, on a row or below the last one.
    void gridDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void userMoved(int row);

    data::DataSet* ds_;
    data::DataSetModel* model_;
    std::function<bool(int)> moveHandler_;
    bool following_ = false;
    bool changing_ = false;
};

} // namespace nc::foods
