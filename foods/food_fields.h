#pragma once
// The food composition table as the food windows show it: the 22 columns with their edit captions,
// grid titles and units (one definition for the management grid, the query grid and the viewer),
// the category list items, and the two ways of listing foods (by category, by name).

#include "data/dataset.h"
#include "data/datasetmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace nc::foods {

// Why an action of a food window was refused: the message, and the control that gets the focus.
struct Refusal {
    QString message;
    QString control;    // objectName of the control to focus
    bool clear = false; // the control's text is emptied
};

struct FoodField {
    QString column;  // Foodnurti column
    QString caption; // edit field caption, padded, ending in a full-width colon
    QString title;   // grid title and the field's name in messages
    QString unit;    // unit label beside the edit field; empty for none
    bool numeric;    // a number, shown right-aligned
};

// The 22 fields in the order of DBEdit1 … DBEdit22 and of the grid columns.
const QList<FoodField>& foodFields();
// The grid columns of the food lists: the 22 fields, numbers right-aligned.
QList<data::GridColumn> foodGridColumns();

// One item per foodkind row, in the order the table returns them: foodkindid, three blanks,
// foodkindname.
QStringList categoryItems();
// The category code of an item: its first two characters, not trimmed.
QString categoryCode(const QString& item);

// Re-opens the food list on the foods of a category item (pending changes are dropped).
void listCategory(data::DataSet& foods, const QString& item);
// Re-opens the food list on the foods whose name contains the search text, blanks around it removed;
// "%" and "_" in the text match any text and any one character. An empty text lists every food.
void listByName(data::DataSet& foods, const QString& search);

} // namespace nc::foods
