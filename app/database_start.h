#pragma once
// The database update on start: run once, before the main window is shown.

namespace nc::app {

// Brings the database of the process-wide connection up to date (a backup copy first, then every
// pending step in one transaction) and tells the counsellor when something was updated or could not
// be. A file that cannot be opened is left to the windows to report, as before.
void updateDatabaseAtStart();

} // namespace nc::app
