#include "backups.h"

#include "connection.h"
#include "database_update.h"
#include "errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>
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

// The file of the connection's database `schema` ("main", or "client" for the attached client's file).
QString attachedPath(Connection& c, const QString& schema) {
    const char* file = sqlite3_db_filename(c.handle(), schema.toUtf8().constData());
    if (!file || !*file)
        throw Error(QStringLiteral("未能备份：数据库“%1”没有打开。").arg(schema));
    return QString::fromUtf8(file);
}

// The number of calendar months from `moment`'s month to `now`'s: 0 for the same month.
int monthsBefore(const QDate& moment, const QDate& now) {
    return (now.year() - moment.year()) * 12 + (now.month() - moment.month());
}

// Copies the database `schema` of the open, keyed `source` into a new file in `folder`, keyed with the
// same password, under a temporary name renamed when complete. `path` is the file being copied.
QString copyDatabase(sqlite3* source, const char* schema, const QString& path, const QString& password,
                     const QString& folder, const QDateTime& moment) {
    const QString failed = QStringLiteral("数据库文件“%1”未能备份").arg(shown(path));
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("%1：无法建立备份文件夹“%2”。").arg(failed, shown(folder)));
    const QString target = backupPathIn(folder, QFileInfo(path).fileName(), moment);
    // The temporary name does not end in the file's suffix, so it is never taken for a copy.
    const QString temp = QStringLiteral("%1.part-%2").arg(target).arg(QCoreApplication::applicationPid());
    QFile::remove(temp);
    try {
        {
            Handle copy;
            openKeyed(copy, temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, password,
                      QStringLiteral("%1：无法在备份文件夹“%2”中写入").arg(failed, shown(folder)));
            // A failed copy is thrown away whole, so the new file needs no journal; its commit still
            // syncs the file before it is renamed.
            sqlite3_exec(copy.db, "PRAGMA journal_mode = OFF;", nullptr, nullptr, nullptr);
            sqlite3_backup* b = sqlite3_backup_init(copy.db, "main", source, schema);
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

// Whether the folder holds an automatic copy of the file dated on `day`.
bool hasCopyOf(const QString& folder, const QString& fileName, QDate day) {
    const QString base = QFileInfo(fileName).completeBaseName();
    const QStringList names = QDir(folder).entryList({base + QStringLiteral("-*")}, QDir::Files);
    return std::any_of(names.cbegin(), names.cend(), [&](const QString& name) {
        const std::optional<QDateTime> moment = backupMomentOf(name, fileName);
        return moment && moment->date() == day;
    });
}

// The day's copy made by `copy`, then the thinning out; a failure becomes the outcome's sentence.
DailyBackup daily(const QString& path, const QString& folder, const QDateTime& now,
                  const std::function<QString()>& copy) {
    DailyBackup out;
    const QString fileName = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile() || hasCopyOf(folder, fileName, now.date()))
        return out;
    const QString goesOn = QStringLiteral("程序仍可照常使用，下次打开时会再试。");
    try {
        out.path = copy();
    } catch (const Error& e) {
        out.problem = e.text() + goesOn;
        return out;
    } catch (const std::exception& e) {
        out.problem =
            QStringLiteral("数据库文件“%1”未能备份：%2。").arg(shown(path), QString::fromUtf8(e.what())) +
            goesOn;
        return out;
    }
    out.removed = pruneBackups(folder, fileName, now);
    return out;
}

} // namespace

QString backupDatabaseFile(const QString& path, const QString& password, const QString& folder,
                           const QDateTime& moment) {
    const QString failed = QStringLiteral("数据库文件“%1”未能备份").arg(shown(path));
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("%1：文件不存在。").arg(failed));
    Handle source;
    // Read-write, like the program's connection, so a journal left by a crash is rolled back before
    // the copy; the engine falls back to read-only for a write-protected file.
    openKeyed(source, path, SQLITE_OPEN_READWRITE, password, failed);
    return copyDatabase(source.db, "main", path, password, folder, moment);
}

QString backupDatabaseFile(Connection& c, const QString& schema, const QString& folder,
                           const QDateTime& moment) {
    const QString path = attachedPath(c, schema);
    if (c.inTransaction())
        throw Error(QStringLiteral("数据库文件“%1”未能备份：正在保存数据。").arg(shown(path)));
    return copyDatabase(c.handle(), schema.toUtf8().constData(), path, c.password(), folder, moment);
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
    return daily(path, folder, now, [&] { return backupDatabaseFile(path, password, folder, now); });
}

DailyBackup backupIfDue(Connection& c, const QString& schema, const QString& folder, const QDateTime& now) {
    QString path;
    try {
        path = attachedPath(c, schema);
    } catch (const Error& e) {
        DailyBackup out;
        out.problem = e.text();
        return out;
    }
    return daily(path, folder, now, [&] { return backupDatabaseFile(c, schema, folder, now); });
}

} // namespace nc::data
