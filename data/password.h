#pragma once
// The counsellor's own password. Every file of the program (the shared file, each client's file and
// their copies) is encrypted; until she sets a password of her own they all open with the program's
// password (programPassword()). Once she has set one, it is asked at every start and lives only in
// the connection's string for the session: it is never written to a file, the settings or the log.
//
// Changing it re-keys the shared file and every client file of the index in one step: a copy of each
// file under its old key first, then each file re-keyed; when any file fails, the ones already
// re-keyed go back to their old key and nothing has changed.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace nc::data {

class Connection;

// How a file answers a password, read on a read-only connection of its own (nothing is written).
enum class KeyCheck {
    Opens,      // the password opens it
    WrongKey,   // it looks like a whole encrypted file of the program, and the password is refused
    NotWhole,   // refused, and it does not look like a whole encrypted file: empty, a plain SQLite
                // file, or a size that is not a whole number of pages (a damaged file)
    Unreadable, // missing, or the engine could not read it for another reason (a lock, no permission)
};
KeyCheck checkKey(const QString& path, const QString& password);

// Whether the file opens with the password (checkKey(...) == KeyCheck::Opens).
bool opensWith(const QString& path, const QString& password);

// Whether the file looks like a whole encrypted database file: not empty, not starting with the plain
// SQLite header, and a size that is a whole number of pages.
bool looksLikeWholeEncryptedFile(const QString& path);

// Whether the connection works with a password of her own rather than the program's.
bool hasOwnPassword(const Connection& c);

// Re-keys one file that opens with `from` so that it opens with `to`, on a connection of its own.
// SQLite re-keys in one transaction, so a failure leaves the file under `from`. Throws Error with a
// Chinese sentence naming the file.
void rekeyFile(const QString& path, const QString& from, const QString& to);

// The files one password change re-keys: the shared file of the connection, then the file of every
// client of its index, in the order of their numbers.
QStringList filesToRekey(Connection& c);

// Changes the password of every file to `newPassword` (programPassword() gives the files back to the
// program's own password). A file that does not open with the connection's password but with the
// program's (made before she set hers) is re-keyed from that. Before any file changes, each one gets
// an encrypted copy under its old key in the backups folder (data/backups.h), dated `moment`. All or
// nothing: when a copy or a re-key fails, the files already re-keyed go back to their old key and the
// Error names the file and says nothing changed. Afterwards the connection works with the new password:
// reopened, with the current client attached again. Must not be called inside a transaction.
// Returns the number of files re-keyed.
int changePassword(Connection& c, const QString& newPassword, const QDateTime& moment);

struct BackupsRekeyed {
    int rekeyed = 0;     // copies that now open with the new password
    QStringList skipped; // names of copies that open with none of the old passwords (damaged, or
                         // under an earlier password of hers): left as they are
};

// After a change of password: the copies in the backups folder `folder` that open with one of
// `oldPasswords` (the one before the change, the program's own) get the new password too, so no copy
// of her clients' records stays readable with a password no longer in use. Each copy is re-keyed on
// its own (a failure leaves it as it was, and it is counted as skipped). `progress` is told (copies
// done, copies in all) before each copy and after the last one; returning false stops the work there.
BackupsRekeyed rekeyBackups(const QString& folder, const QStringList& oldPasswords,
                            const QString& newPassword,
                            const std::function<bool(int done, int total)>& progress = {});

// For tests: the n-th file of the next password change (1 = the shared file, 2 = the first client's
// file, …) fails to re-key as a full disk or a locked file would. 0 switches this off; the setting is
// used up by the change it breaks.
void failRekeyAtFile(int n);

} // namespace nc::data
