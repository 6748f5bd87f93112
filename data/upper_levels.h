#pragma once
// The tolerable upper intake levels (UL) of the analysed nutrients, by category: the most a woman can
// take in each day, from food and supplements together, without risk of harm (Chinese DRIs 2000, the
// edition of the reference intakes). They are written into lsyysfx.ul beside the references, so the
// analysis report can print them and warn of an intake at or above one.

#include <QString>
#include <optional>

namespace nc::data {

class Connection;

// The UL of an lsyysfx row for a stored category ("育龄", "孕妇", "乳母"), in the row's unit; none for a
// row without one (energy, protein, fat, carbohydrate, vitamin B2) or whose figure for that category is
// not entered. Any other category (null, empty, unknown) gets the figures of adult women (育龄).
std::optional<double> upperLevel(int row, const QString& category);

// Whether the file holds the upper levels: lsyysfx.ul, added by update step 3 together with the texts'
// categories (app_pj.grp). A file whose update failed is used as it is, without them.
bool holdsUpperLevels(Connection& c);

// Writes lsyysfx.ul of all fourteen rows for the category (null where there is none); nothing on a
// file without the column. Runs no transaction of its own: callers write it inside the save, the
// analysis or an update step.
void storeUpperLevels(Connection& c, const QString& category);

} // namespace nc::data
