#pragma once
// The database update on start: run once, before the main window is shown.

namespace nc::app {

// Brings the database of the process-wide connection up to date (a backup copy first, then every
// pending step in one transaction) and tells the counsellor when something was updated or could not
// be; then makes the day's copy of the shared file when it has none yet (data/backups.h; a failure is
// shown and the program goes on). A file that cannot be opened is left to the windows to report.
void updateDatabaseAtStart();

// Checks the shared file before anything uses it (the first step of updateDatabaseAtStart): an empty,
// cut short, plain, foreign or damaged file is reported with its newest good backup and the offer to
// restore it. A missing file is left to the windows to report.
void checkSharedFileAtStart();

// Opens the client used last (after the update): her file becomes the one every window works on.
// When her file cannot be opened, the counsellor is told which and why, with the offer of its newest
// good backup, and the most recently saved other client opens; with no client at all, a new empty one is
// made. A database that keeps no clients apart (its update failed) is used as it is.
void openClientAtStart();

} // namespace nc::app
