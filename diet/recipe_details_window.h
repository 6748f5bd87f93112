#pragma once
// The recipe details window (TForm16): the saved recipes by name, the lines of the selected one, and
// loading it into the diet record's current day.

#include "data/dataset.h"
#include "diet_record.h"

#include <QDialog>

class QPushButton;
class QTableView;

namespace nc::data {
class DataSetModel;
}

namespace nc::diet {

class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(CurrentDay& day, QWidget* parent = nullptr);
    ~TForm16() override;

    void FormCreate();
    void xpButton1Click();

    // The recipe selected in the names grid; empty when there are none.
    QString selectedName() const;

private:
    CurrentDay& day_;
    data::DataSet ADOQuery1; // the recipe names: the first line of each recipe
    data::DataSet AdoQ_sp;   // the selected recipe's lines, a detail of the names
    data::DataSetModel* namesModel_;
    data::DataSetModel* linesModel_;
    QTableView* DBGrid1;
    QTableView* DBGrid2;
    QPushButton* xpButton1;
};

} // namespace nc::diet
