#pragma once
// Numbered updates of the database file. A database made by an earlier program holds an earlier
// layout or earlier shipped contents; on start the program brings it up to date: it copies the
// file into a "backups" folder beside it, then applies every pending step in one transaction and
// records the new version in PRAGMA user_version inside that same transaction, so a failure leaves
// the file exactly as it was. A new database is stamped with the latest version by the builder and
// never runs an update.

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace nc::data {

class Connection;

struct DatabaseUpdate {
    int version;         // the version the file holds once this step is applied: 1, 2, 3, …
    QString description; // a short Chinese sentence, shown when the step fails
    QString note;        // the same in English, for the developer
    std::function<void(Connection&)> apply; // runs inside the update's transaction; throws on failure
};

// The program's steps in order. A new step is appended here with the next number.
const QList<DatabaseUpdate>& databaseUpdates();
// The version of a database that has every step: the number of the last step.
int latestDatabaseVersion();

// The version recorded in the file (PRAGMA user_version; 0 for a file no update has touched).
int databaseVersion(Connection& c);
// Records the version; call inside a transaction, so a rollback undoes it too.
void setDatabaseVersion(Connection& c, int version);

// Where the copies of a database file go: the folder "backups" beside the file.
QString backupFolderFor(const QString& databasePath);
// A copy's path in `folder` for a file of that name: "<folder>/<base>-yyyyMMdd-HHmmss.<suffix>", with
// "-2", "-3", … before the suffix when that name is taken.
QString backupPathIn(const QString& folder, const QString& fileName, const QDateTime& moment);
// The copy's path for a moment: "<folder>/backups/<base>-yyyyMMdd-HHmmss.<suffix>"; when that name
// is taken, "-2", "-3", … is added before the suffix.
QString backupPathFor(const QString& databasePath, const QDateTime& moment);

// For a step that writes a file besides the database (a client's file): the file is removed again when
// the update fails, so a failed update leaves nothing behind. Call right after the file is made.
void removeIfUpdateFails(const QString& path);

struct UpdateOutcome {
    enum class Status {
        UpToDate,    // nothing pending: no copy made, nothing written
        Updated,     // every pending step applied and committed
        Failed,      // nothing changed in the file; message says why
        TooNew,      // the file has a version this program does not know; left alone
        Unavailable, // the file could not be opened (missing, wrong key); the windows report it
    };
    Status status = Status::UpToDate;
    int fromVersion = 0;
    int toVersion = 0;
    QString backupPath; // the copy made before the update ("" when none was made)
    QString message;    // Chinese sentence for the counsellor ("" when there is nothing to say)
};

// Brings the database of the connection up to date with `steps` (the program's own by default).
// Never throws: a failure is reported in the outcome, the transaction rolled back.
UpdateOutcome updateDatabase(Connection& c, const QList<DatabaseUpdate>& steps = databaseUpdates());

} // namespace nc::data
