#include "password.h"

#include "backups.h"
#include "client_file.h"
#include "connection.h"
#include "database_update.h"
#include "errors.h"
#include "file_check.h"
#include "query.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace nc::data {

namespace {

int g_failAtFile = 0;   // the file of the next change that fails (tests), 0 for none
int g_rekeysToFail = 0; // counts down the re-keys of the change under way

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Closes a handle however the work ends.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() {
        if (db)
            sqlite3_close_v2(db);
    }
};

// Opens the file with the password and reads its schema: the engine's result code.
int tryKey(Handle& h, const QString& path, const QString& password, int flags) {
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &h.db, flags, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    const QByteArray key = password.toUtf8();
    if (!key.isEmpty()) {
        rc = sqlite3_key(h.db, key.constData(), int(key.size()));
        if (rc != SQLITE_OK)
            return rc;
    }
    sqlite3_busy_timeout(h.db, 3000);
    return sqlite3_exec(h.db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
}

// The key a file of the change opens with now: the connection's, or the program's for a file made
// before she set hers. Throws Error naming the file when it opens with neither.
QString currentKeyOf(const QString& path, const QString& sessionPassword) {
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("找不到文件“%1”。").arg(shown(path)));
    if (opensWith(path, sessionPassword))
        return sessionPassword;
    if (sessionPassword != programPassword() && opensWith(path, programPassword()))
        return programPassword();
    throw Error(
        QStringLiteral("文件“%1”无法用当前的密码打开：它可能已损坏，或正被其他程序占用。").arg(shown(path)));
}

} // namespace

KeyCheck checkKey(const QString& path, const QString& password) {
    const QFileInfo info(path);
    if (!info.isFile())
        return KeyCheck::Unreadable;
    if (info.size() == 0)
        return KeyCheck::NotWhole; // the engine would take it for a new, empty database
    Handle h;
    const int rc = tryKey(h, path, password, SQLITE_OPEN_READONLY);
    if (rc == SQLITE_OK)
        return KeyCheck::Opens;
    if (rc == SQLITE_NOTADB)
        return looksLikeWholeEncryptedFile(path) ? KeyCheck::WrongKey : KeyCheck::NotWhole;
    return KeyCheck::Unreadable;
}

bool opensWith(const QString& path, const QString& password) {
    return checkKey(path, password) == KeyCheck::Opens;
}

bool looksLikeWholeEncryptedFile(const QString& path) {
    return checkFileHead(path).good();
}

bool hasOwnPassword(const Connection& c) {
    return c.password() != programPassword();
}

void rekeyFile(const QString& path, const QString& from, const QString& to) {
    const QString failed = QStringLiteral("文件“%1”未能改用新密码").arg(shown(path));
    {
        Handle h;
        const int rc = tryKey(h, path, from, SQLITE_OPEN_READWRITE);
        if (rc != SQLITE_OK)
            throw Error(
                QStringLiteral("%1：无法打开它。（%2）")
                    .arg(failed, QString::fromUtf8(h.db ? sqlite3_errmsg(h.db) : sqlite3_errstr(rc))));
        if (g_rekeysToFail > 0 && --g_rekeysToFail == 0)
            throw Error(QStringLiteral("%1：写入时出错（磁盘已满，或文件正被其他程序占用）。").arg(failed));
        const QByteArray key = to.toUtf8();
        // SQLCipher re-writes every page in one transaction and rolls it back on failure; it does not
        // always say so in its result, so the file is proven below with a connection of its own.
        sqlite3_rekey(h.db, key.constData(), int(key.size()));
    }
    if (!opensWith(path, to))
        throw Error(QStringLiteral("%1：写入时出错（磁盘已满，或文件正被其他程序占用）。").arg(failed));
}

QStringList filesToRekey(Connection& c) {
    QStringList files{QFileInfo(c.databasePath()).absoluteFilePath()};
    if (!tableHasColumn(c, QStringLiteral("clients"), QStringLiteral("file")))
        return files;
    const QDir folder(clientsFolderFor(c.databasePath()));
    Query q(&c);
    q.setSql(QStringLiteral("select file from clients order by id"));
    q.open();
    for (; !q.eof(); q.next())
        files << QFileInfo(folder.filePath(q.field(0).toText())).absoluteFilePath();
    return files;
}

int changePassword(Connection& c, const QString& newPassword, const QDateTime& moment) {
    if (c.inTransaction())
        throw Error(QStringLiteral("正在保存数据时不能更改密码。"));
    if (newPassword.isEmpty())
        throw Error(QStringLiteral("新密码不能为空。"));
    const QString old = c.password();
    g_rekeysToFail = std::exchange(g_failAtFile, 0);
    const QStringList files = filesToRekey(c);
    const QString nothingChanged = QStringLiteral("密码没有更改，所有文件都保持原样，仍使用原来的密码。");
    // Every file is re-keyed on a connection of its own, so the program's connection lets go of them;
    // it opens again at the end (with the new password, or the old one after a failure), attaching the
    // current client again.
    c.close();
    const auto reopen = [&c] {
        try {
            c.handle();
        } catch (const Error&) {
            // The windows report a file that no longer opens, as at any other opening.
        }
    };

    struct Keyed {
        QString path;
        QString key; // the key it opens with before the change
    };
    QList<Keyed> keyed;
    try {
        for (const QString& path : files)
            keyed.append({path, currentKeyOf(path, old)});
        const QString folder = backupFolderFor(c.databasePath());
        for (const Keyed& k : std::as_const(keyed))
            backupDatabaseFile(k.path, k.key, folder, moment);
    } catch (const Error& e) {
        g_rekeysToFail = 0;
        reopen();
        throw Error(e.text() + nothingChanged);
    }

    qsizetype done = 0;
    try {
        for (; done < keyed.size(); ++done)
            rekeyFile(keyed.at(done).path, keyed.at(done).key, newPassword);
    } catch (const Error& e) {
        g_rekeysToFail = 0;
        QStringList stuck;
        for (qsizetype i = 0; i < done; ++i) {
            try {
                rekeyFile(keyed.at(i).path, newPassword, keyed.at(i).key);
            } catch (const Error&) {
                stuck << shown(keyed.at(i).path);
            }
        }
        reopen();
        if (stuck.isEmpty())
            throw Error(e.text() + nothingChanged);
        throw Error(e.text() +
                    QStringLiteral("密码没有更改，但下列文件未能改回原来的密码，现在要用新密码才能打开：%1。"
                                   "备份文件夹中有它们用原来的密码加密的副本。")
                        .arg(stuck.join(QStringLiteral("、"))));
    }
    c.setPassword(newPassword);
    reopen();
    return int(files.size());
}

BackupsRekeyed rekeyBackups(const QString& folder, const QStringList& oldPasswords,
                            const QString& newPassword, const std::function<bool(int, int)>& progress) {
    BackupsRekeyed out;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.dbz")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList from = oldPasswords;
    from.removeAll(newPassword);
    from.removeDuplicates();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (progress && !progress(int(i), int(names.size())))
            return out;
        const QString path = dir.filePath(names.at(i));
        const auto key = std::find_if(from.cbegin(), from.cend(),
                                      [&path](const QString& pw) { return opensWith(path, pw); });
        if (key == from.cend()) {
            if (!opensWith(path, newPassword))
                out.skipped << names.at(i);
            continue;
        }
        try {
            rekeyFile(path, *key, newPassword);
            ++out.rekeyed;
        } catch (const Error&) {
            out.skipped << names.at(i);
        }
    }
    if (progress)
        progress(int(names.size()), int(names.size()));
    return out;
}

void failRekeyAtFile(int n) {
    g_failAtFile = n;
}

} // namespace nc::data
