#pragma once
// Where the program finds what it ships and where it keeps what it writes.
//
// Run from its build folder, both are the program's own folder (the database, the layouts, the
// recipe sheets and the chart pictures lie beside the program, as they always have). Installed
// (<prefix>/bin/nutricounsel with <prefix>/share/nutricounsel/seed/ holding the seed database), the
// shipped files are read from that share folder and everything the program writes goes to the
// user's data folder (~/.local/share/nutricounsel), never next to the installed program.

#include <QString>

namespace nc::data {

// The program's name: the executable, the share folder and the user's data folder are named so.
inline constexpr const char* kProgramName = "nutricounsel";

struct Places {
    bool installed = false;
    QString shipped;  // layouts (*.rav), about.ini, sp/*.jpg, and (installed) the seed database
    QString writable; // the database, its backups, chart pictures; the working directory
    QString seed;     // a fresh database to start from; empty when there is none

    QString databaseFile() const; // <writable>/yfdb.dbz
};

// The places of a program that lies in programFolder. It counts as installed when
// <programFolder>/../share/nutricounsel/seed/yfdb.dbz exists; userDataFolder is then where its data
// go (installed into ~/.local it is the share folder itself, which is why the seed has its own folder).
// Anything else is a build folder, whose fresh database (when built) is <programFolder>/../seed/yfdb.dbz.
Places placesFor(const QString& programFolder, const QString& userDataFolder);

// The user's data folder: ~/.local/share/nutricounsel (XDG_DATA_HOME respected).
QString userDataFolder();

// Makes the writable folder and, for an installed program without a database yet, copies the seed
// database there (under a temporary name, then renamed, so a failed copy leaves nothing half made).
// Returns true when a new database was made. Throws Error with a Chinese sentence on failure.
bool prepareDataFolder(const Places& places);

// Moves the database aside as yfdb.dbz.<yyyyMMdd-HHmmss> (and the folder of its clients' files as
// clients.<yyyyMMdd-HHmmss>) and copies the seed in its place. Returns
// the path it was moved to (empty when there was no database). Throws Error when there is no seed or
// a file operation fails; the old database then stays where it was.
QString resetDatabase(const Places& places);

// The process-wide places, set once by the program at start. Until set (tests, tools), layouts are
// read from and pictures written to the current directory, as before.
void setPlaces(const Places& places);
void clearPlaces();
bool placesSet();
QString shippedFolder();  // set ? places().shipped : current directory
QString writableFolder(); // set ? places().writable : current directory
const Places& places();

} // namespace nc::data
