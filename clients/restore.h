#pragma once
// Going back to a backup copy of one of the program's files: a client's file or the shared file.
// The copies are the automatic ones in the folder "backups" beside the shared file (data/backups.h).
// A copy is checked before it is used; the file it replaces is kept first (a readable one as a backup
// copy, an unreadable one moved into the backups as "<base>-已损坏-yyyyMMdd-HHmmss.dbz"), and the copy
// goes in under a temporary name that is then renamed, so a restore that fails leaves the file as it was.

#include "client_index.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace nc::data {
class Connection;
}

namespace nc::clients {

struct BackupInfo {
    enum class State { Good, Damaged, OtherPassword };
    QString path;
    QDateTime moment;
    State state = State::Good;
    QString problem;  // why a copy cannot be used ("" for a good one)
    QString password; // the password it opened with
    // A client's copy: her name (from her record), her days and foods; -1 when not read.
    QString name;
    int days = -1;
    int foods = -1;
    // A copy of the shared file: the clients in its index; -1 when not read.
    int clients = -1;
};

// The passwords a copy may open with: the session's, then the program's own (a copy made before the
// counsellor set hers).
QStringList restorePasswords(data::Connection& c);

// The automatic copies of the file at `filePath` in `backupFolder`, newest first, each opened and
// given the full integrity check. `passwords` as restorePasswords gives them.
QList<BackupInfo> listBackups(const QString& filePath, const QString& backupFolder,
                              const QStringList& passwords);
// The newest copy that is good, stopping at it.
std::optional<BackupInfo> newestGoodBackup(const QString& filePath, const QString& backupFolder,
                                           const QStringList& passwords);

struct RestoreOutcome {
    QString keptAt;        // where the file before went: its backup copy, or the damaged file moved
    QStringList readded;   // the shared file: clients whose files the restored index did not know
    QString reopenProblem; // a client in place could not be made current again ("" otherwise)
};

// Puts the copy in place of the client's file. Her file is detached while it is replaced and attached
// again when she was current; her index row takes her name, category, week and stage from the copy.
// Throws Error with a Chinese sentence when the copy is damaged or anything fails; the file is then as
// it was.
RestoreOutcome restoreClientFile(data::Connection& c, const ClientEntry& e, const QString& copyPath);

// Puts the copy in place of the shared file: the connection is closed, the file replaced and opened
// again; client files in the clients folder that the restored index does not know are added to it
// from their records, so no client is lost; the client current before is made current again. Throws
// Error as restoreClientFile does.
RestoreOutcome restoreSharedFile(data::Connection& c, const QString& copyPath);

// For tests: called just before the copy is renamed into place (temporary path, target); a throw
// there is a failure while putting the copy in place. An empty function removes it.
void setBeforePutInPlace(std::function<void(const QString&, const QString&)> hook);

} // namespace nc::clients
