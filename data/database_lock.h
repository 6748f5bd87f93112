#pragma once
// One program per database file: a lock file beside the database (<file>.lock) held while the
// program runs. A second copy started on the same file finds it taken and ends instead of writing the
// same file as well. The lock of a copy that ended without removing it (a crash) is taken over, since
// the process named in it is gone.

#include <QLockFile>
#include <QString>

namespace nc::data {

class DatabaseLock {
public:
    explicit DatabaseLock(const QString& databaseFile);
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    // True when this copy now holds the file; false when another running copy does (or the lock
    // cannot be made at all).
    bool tryLock();
    // Why tryLock failed, as a Chinese sentence naming the database file.
    QString refusal() const;

private:
    QString databaseFile_;
    QLockFile lock_;
};

} // namespace nc::data
