#pragma once
// The household portions editor, opened from the food management window: the table of typical
// portions (a food, a unit, its weight, whether the weight is of the edible part) that the diet
// record window turns into grams.

#include "data/dataset.h"

#include <QDialog>

class QTableView;

namespace nc::foods {

class PortionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortionsDialog(QWidget* parent = nullptr);
    ~PortionsDialog() override;

    data::DataSet& portions() { return portions_; }

    void addRow();
    void removeRow();
    // Closing stores a row still being edited; when that fails the error is shown and it stays open.
    void done(int result) override;

private:
    data::DataSet portions_;
    QTableView* grid_ = nullptr;
};

} // namespace nc::foods
