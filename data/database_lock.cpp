#include "database_lock.h"

#include <QDir>

namespace nc::data {

DatabaseLock::DatabaseLock(const QString& databaseFile)
    : databaseFile_(databaseFile), lock_(databaseFile + QStringLiteral(".lock")) {
    // A lock is never stale by age: the program may run for days. Only a lock whose process is gone
    // is taken over.
    lock_.setStaleLockTime(0);
}

bool DatabaseLock::tryLock() {
    return lock_.isLocked() || lock_.tryLock(0);
}

QString DatabaseLock::refusal() const {
    const QString file = QDir::toNativeSeparators(databaseFile_);
    if (lock_.error() == QLockFile::LockFailedError)
        return QStringLiteral(
                   "本程序已经在使用这个数据库文件运行：\n%1\n"
                   "请切换到已经打开的程序窗口。两个程序同时写同一个文件会损坏数据，所以这个程序将退出。")
            .arg(file);
    return QStringLiteral("无法在数据库文件“%1”旁边建立锁文件（文件夹可能不可写），程序将退出。").arg(file);
}

} // namespace nc::data
