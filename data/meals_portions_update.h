#pragma once
// The database update that lets a food entry carry its meal and household portion: the nullable
// columns meal and portion on foodcheck and sps, and the table of typical portions foodportion with
// the shipped rows. Older rows keep null in the new columns, so every statement that names the old
// columns reads them as before.

namespace nc::data {

class Connection;

// Applies the update on `c`. Runs no transaction of its own: the caller makes the backup copy and
// wraps the update in one transaction with the version number it records. Columns or a table that
// are already there are left as they are, and portions are only added to an empty table, so a
// counsellor's own portions are never replaced.
void addMealsAndPortions(Connection& c);

} // namespace nc::data
