#include "backups.h"

#include "database_update.h"
#include "errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <sqlite3.h>

namespace nc::data {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The ten newest copies stay whatever their dates; the newest of each month for a year besides.
constexpr int kNewestKept = 10;
constexpr int kMonthsKept = 12;

// Closes a handle however the copy ends.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() {
        if (db)
            sqlite3_close_v2(db);
    }
};

QString engineText(sqlite3* db, int rc) {
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// Opens a file with the password and proves the key with a read. `what` starts the sentence of the error.
void openKeyed(Handle& h, const QString& path, int flags, const QString& password, const QString& what) {
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &h.db, flags, nullptr);
    if (rc != SQLITE_OK)
        throw Error(QStringLiteral("%1。（%2）").arg(what, engineText(h.db, rc)));
    const QByteArray key = password.toUtf8();
    if (!key.isEmpty()) {
        rc = sqlite3_key(h.db, key.constData(), int(key.size()));
        if (rc != SQLITE_OK)
            throw Error(QStringLiteral("%1：密钥设置失败。").arg(what));
    }
    sqlite3_busy_timeout(h.db, 3000);
    rc = sqlite3_exec(h.db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB)
        throw Error(QStringLiteral("%1：密码不正确，或该文件不是本系统的数据库。").arg(what));
    if (rc != SQLITE_OK)
        throw Error(QStringLiteral("%1。（%2）").arg(what, engineText(h.db, rc)));
}

// The number of calendar months from `moment`'s month to `now`'s: 0 for the same month.
int monthsBefore(const QDate& moment, const QDate& now) {
    return (now.year() - moment.year()) * 12 + (now.month() - moment.month());
}

} // namespace

QString backupDatabaseFile(const QString& path, const QString& password, const QString& folder,
                           const QDateTime& moment) {
    const QString failed = QStringLiteral("数据库文件“%1”未能备份").arg(shown(path));
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("%1：文件不存在。").arg(failed));
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("%1：无法建立备份文件夹“%2”。").arg(failed, shown(folder)));
    const QString target = backupPathIn(folder, QFileInfo(path).fileName(), moment);
    // The temporary name does not end in the file's suffix, so it is never taken for a copy.
    const QString temp = QStringLiteral("%1.part-%2").arg(target).arg(QCoreApplication::applicationPid());
    QFile::remove(temp);
    try {
        {
            Handle source;
            // Read-write, like the program's connection, so a journal left by a crash is rolled back
            // before the copy; the engine falls back to read-only for a write-protected file.
            openKeyed(source, path, SQLITE_OPEN_READWRITE, password, failed);
            Handle copy;
            openKeyed(copy, temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, password,
                      QStringLiteral("%1：无法在备份文件夹“%2”中写入").arg(failed, shown(folder)));
            sqlite3_backup* b = sqlite3_backup_init(copy.db, "main", source.db, "main");
            if (!b)
                throw Error(QStringLiteral("%1。（%2）").arg(failed, engineText(copy.db, SQLITE_ERROR)));
            // All pages in one step: the read lock is held throughout, so a writer can commit neither
            // before nor during the copy's pages, and no half-written transaction is ever copied.
            int rc = sqlite3_backup_step(b, -1);
            for (int tries = 0; (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && tries < 20; ++tries) {
                sqlite3_sleep(100);
                rc = sqlite3_backup_step(b, -1);
            }
            const int finish = sqlite3_backup_finish(b);
            if (rc != SQLITE_DONE || finish != SQLITE_OK)
                throw Error(QStringLiteral("%1：写入备份文件“%2”失败。（%3）")
                                .arg(failed, shown(target), engineText(copy.db, rc)));
        }
        if (!QFile::rename(temp, target))
            throw Error(QStringLiteral("%1：无法把备份文件移到“%2”。").arg(failed, shown(target)));
    } catch (...) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
        throw;
    }
    return target;
}

std::optional<QDateTime> backupMomentOf(const QString& copyName, const QString& fileName) {
    const QFileInfo file(fileName);
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    const QRegularExpression pattern(QLatin1Char('^') + QRegularExpression::escape(file.completeBaseName()) +
                                     QStringLiteral("-(\\d{8}-\\d{6})(?:-\\d+)?") +
                                     QRegularExpression::escape(suffix) + QLatin1Char('$'));
    const QRegularExpressionMatch m = pattern.match(copyName);
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime moment = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
    if (!moment.isValid())
        return std::nullopt;
    return moment;
}

QStringList backupsToRemove(QList<BackupCopy> copies, const QDateTime& now) {
    // Newest first; copies of the same second by name, so "-2" (made after) counts as newer.
    std::sort(copies.begin(), copies.end(), [](const BackupCopy& a, const BackupCopy& b) {
        if (a.moment != b.moment)
            return a.moment > b.moment;
        if (a.name.size() != b.name.size())
            return a.name.size() > b.name.size();
        return a.name > b.name;
    });
    QSet<int> monthsSeen;
    QStringList remove;
    for (int i = 0; i < copies.size(); ++i) {
        const int months = monthsBefore(copies[i].moment.date(), now.date());
        const bool newestOfMonth = months < kMonthsKept && !monthsSeen.contains(months);
        monthsSeen.insert(months);
        if (i < kNewestKept || newestOfMonth)
            continue;
        remove << copies[i].name;
    }
    return remove;
}

QStringList pruneBackups(const QString& folder, const QString& fileName, const QDateTime& now) {
    const QDir dir(folder);
    QList<BackupCopy> copies;
    const QString base = QFileInfo(fileName).completeBaseName();
    for (const QString& name : dir.entryList({base + QStringLiteral("-*")}, QDir::Files)) {
        if (const std::optional<QDateTime> moment = backupMomentOf(name, fileName))
            copies.append({name, *moment});
    }
    QStringList removed;
    for (const QString& name : backupsToRemove(copies, now)) {
        if (QFile::remove(dir.filePath(name)))
            removed << name;
    }
    return removed;
}

DailyBackup backupIfDue(const QString& path, const QString& password, const QString& folder,
                        const QDateTime& now) {
    DailyBackup out;
    if (!QFileInfo(path).isFile())
        return out;
    const QString fileName = QFileInfo(path).fileName();
    const QString base = QFileInfo(fileName).completeBaseName();
    const QStringList names = QDir(folder).entryList({base + QStringLiteral("-*")}, QDir::Files);
    const bool madeToday = std::any_of(names.cbegin(), names.cend(), [&](const QString& name) {
        const std::optional<QDateTime> moment = backupMomentOf(name, fileName);
        return moment && moment->date() == now.date();
    });
    if (madeToday)
        return out;
    try {
        out.path = backupDatabaseFile(path, password, folder, now);
    } catch (const Error& e) {
        out.problem = e.text() + QStringLiteral("程序仍可照常使用，下次打开时会再试。");
        return out;
    } catch (const std::exception& e) {
        out.problem = QStringLiteral("数据库文件“%1”未能备份：%2。程序仍可照常使用，下次打开时会再试。")
                          .arg(shown(path), QString::fromUtf8(e.what()));
        return out;
    }
    out.removed = pruneBackups(folder, fileName, now);
    return out;
}

} // namespace nc::data
