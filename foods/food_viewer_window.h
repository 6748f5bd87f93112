#pragma once
// The food composition viewer (TForm11): the whole composition record of the food the diet record
// window has selected, read-only, in two columns of eleven fields.

#include "data/dataset.h"

#include <QDialog>
#include <QList>

namespace nc::ui {
class BoundLineEdit;
class HoverLift;
} // namespace nc::ui

namespace nc::foods {

class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    data::DataSet& foodList() { return ADOQuery_swcf; }

    void FormCreate();
    void Image2Click();
    void Image3Click();

private:
    data::DataSet ADOQuery_swcf;
    ui::HoverLift* hover_;
    QList<ui::BoundLineEdit*> edits_;
};

} // namespace nc::foods
