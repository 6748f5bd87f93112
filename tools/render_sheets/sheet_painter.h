#pragma once
// Paints a recipe sheet as the picture the recommended recipes window shows: the program's paper
// ground and title band, the sections as cards in one or two columns, and a footer. Body text is
// never smaller than kBodyPx; a sheet whose text does not fit is refused rather than cut.

#include "sheet_source.h"

#include <QImage>
#include <QSize>

namespace nc::sheets {

inline constexpr QSize kSheetSize{675, 456};
inline constexpr int kBodyPx = 14;

// `figureLines` are printed first in the footer (a menu's computed energy and protein). Throws
// nc::data::Error when the content is taller than the sheet. `scale` paints the same sheet with that
// many more pixels each way (2: for screens at 200 %), laid out exactly as at 1.
QImage paintSheet(const Sheet& sheet, const QStringList& figureLines = {}, int scale = 1);

} // namespace nc::sheets
