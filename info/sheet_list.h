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

// The file name of an item's picture painted with `scale` times the pixels each way:
// "<item>.jpg" at 1, "<item>@2x.jpg" at 2.
QString sheetFileName(const QString& item, int scale = 1);

// The picture to read for a screen of the given device pixel ratio: above 1, the @2x picture when it
// exists and is not older than the plain one (so a picture put in place of the plain one is shown,
// not an outdated sharper copy); else the plain one.
QString sheetPathForScreen(const QString& programFolder, const QString& item, qreal pixelRatio);

} // namespace nc::info
