#pragma once
// Automatic copies of the program's database files (the shared file and each client's file) in the
// folder "backups" beside the shared file. A copy is made with SQLite's online backup API on a
// connection of its own, so it holds a committed state of the file even while the program's connection
// has the file open; it is keyed with the same password, so the copy is encrypted like the file.
//
// Each file gets one copy a day, made the first time the program opens it that day, and its copies are
// thinned out: the ten newest stay, and the newest of each of the last twelve calendar months.
// The copies made before a database update carry the same names and follow the same rule.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace nc::data {

// Makes a consistent copy of the database file `path` in `folder` (made when missing), named as
// backupPathIn names it ("<base>-yyyyMMdd-HHmmss.dbz"), and returns the copy's path. The copy is written
// under a temporary name and renamed, so a failed copy leaves nothing. Throws Error with a Chinese
// sentence naming the file when it cannot be made (disk full, a folder that cannot be written, a wrong
// password).
QString backupDatabaseFile(const QString& path, const QString& password, const QString& folder,
                           const QDateTime& moment);

class Connection;

// The same copy of a file the program's connection has open: its main file ("main") or the attached
// client's file ("client"), read through the connection itself, so the key is not derived a second
// time (about half the time of a copy). The connection must not be inside a transaction, whose
// changes are not yet committed; throws Error then, and when the copy cannot be made.
QString backupDatabaseFile(Connection& c, const QString& schema, const QString& folder,
                           const QDateTime& moment);

// The moment in the name of an automatic copy of the file named `fileName` ("client-000003.dbz" →
// "client-000003-20261211-093000.dbz", or "…-093000-2.dbz" when that name was taken); nothing for any
// other name, such as a deleted client's file ("王芳-client-000003-已删除-….dbz").
std::optional<QDateTime> backupMomentOf(const QString& copyName, const QString& fileName);

struct BackupCopy {
    QString name;
    QDateTime moment;
};

// Which copies to remove at `now`: every copy except the ten newest and the newest of each calendar
// month from now's month back to the eleventh month before it. Copies dated after now count as new.
QStringList backupsToRemove(QList<BackupCopy> copies, const QDateTime& now);

// Removes the automatic copies of the file named `fileName` in `folder` that backupsToRemove picks, and
// returns their names. Other files of the folder are never touched. A copy that cannot be removed
// stays and is tried again the next time.
QStringList pruneBackups(const QString& folder, const QString& fileName, const QDateTime& now);

struct DailyBackup {
    QString path;        // the copy made ("" when the file already had one today, or on failure)
    QStringList removed; // the names of older copies removed
    QString problem;     // a Chinese sentence when the copy failed ("" otherwise)
};

// The copy of the day: made when the folder holds no automatic copy of the file dated today, then the
// copies are thinned out. Never throws: a failure is reported in `problem`, and the program goes on
// working with the file. A file that does not exist is left to those who open it to report.
DailyBackup backupIfDue(const QString& path, const QString& password, const QString& folder,
                        const QDateTime& now);
// The same for a file the program's connection has open ("main" or "client"), read through it.
DailyBackup backupIfDue(Connection& c, const QString& schema, const QString& folder, const QDateTime& now);

} // namespace nc::data
