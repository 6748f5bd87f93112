#pragma once
// The recommended recipe sheets: the items of the sheet list, in their fixed order, and where each
// sheet's picture lies (the sp folder beside the program, the item's text plus ".jpg").

#include <QString>
#include <QStringList>

namespace nc::info {

// The 24 items of the list: menus for each group and stage, diet-therapy sheets, the daily food
// amounts and the guide to the analysis report.
const QStringList& sheetItems();

// The picture of an item: <program folder>/sp/<item without surrounding blanks>.jpg
QString sheetPath(const QString& programFolder, const QString& item);

} // namespace nc::info
