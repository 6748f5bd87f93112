#pragma once
// The database update that lets the analysis report advise by category and warn at the tolerable upper
// intake level: the column grp on app_pj (the category a text is written for; null or empty for all),
// the column ul on lsyysfx (the upper level for the person's category) filled for the stored category,
// and the shipped texts that older files lack: those written for one category, and those for an intake
// at or above the upper level (range ">=UL").

#include <QString>

namespace nc::data {

class Connection;

// Applies the update on `c` with the shipped texts (the CSV of data/seed/app_pj.csv). Runs no
// transaction of its own: the caller makes the backup copy and wraps the update in one transaction
// with the version number it records. A counsellor's own texts are kept: where the general texts of a
// nutrient and range differ from the shipped ones (edited, deleted or added to), no category texts are
// added for it, so her text keeps being printed for every category. ">=UL" texts are new and always
// added. A text already present for its nutrient, range and category is never added twice, and
// columns that are already there are left as they are.
void addCategoryTextsAndUpperLevels(Connection& c, const QString& shippedCsv);
// The same with the texts built into the program.
void addCategoryTextsAndUpperLevels(Connection& c);

} // namespace nc::data
