#include "file_check.h"

#include "connection.h"
#include "query.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace nc::data {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Every page size the engine allows is a multiple of this, so a file of any other length lost its end.
constexpr qint64 kSmallestPage = 512;

FileCheck problem(FileState state, const QString& path, FileKind kind, const QString& detail = {}) {
    return {state, fileProblemText(state, path, detail, kind), {}};
}

// Closes a handle however the check ends.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() {
        if (db)
            sqlite3_close_v2(db);
    }
};

// A failed read of the file's pages: damage, whatever the engine called it (a page that does not
// decrypt reads as "not a database" once the key has been proven on the first page).
FileCheck readFailure(const QString& path, FileKind kind, const QString& engine) {
    return problem(FileState::Damaged, path, kind, engine);
}

// The page count against the file's size, then the check itself; `rows` runs a statement and returns
// the first column of its rows, throwing the engine's text when it fails.
template <class Rows>
FileCheck checkPages(const QString& path, const QString& schema, CheckDepth depth, FileKind kind, Rows rows) {
    try {
        const qint64 size = QFileInfo(path).size();
        const qint64 pageSize = rows(QStringLiteral("pragma %1.page_size").arg(schema)).value(0).toLongLong();
        const qint64 pages = rows(QStringLiteral("pragma %1.page_count").arg(schema)).value(0).toLongLong();
        if (pageSize > 0 && (size % pageSize != 0 || pages * pageSize > size))
            return problem(FileState::Truncated, path, kind);
        const QString check =
            depth == CheckDepth::Full ? QStringLiteral("integrity_check") : QStringLiteral("quick_check");
        const QStringList found = rows(QStringLiteral("pragma %1.%2(5)").arg(schema, check));
        if (found.size() != 1 || found.first().compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0)
            return problem(FileState::Damaged, path, kind, found.join(QStringLiteral("；")));
    } catch (const QString& engine) {
        return readFailure(path, kind, engine);
    }
    return {};
}

QStringList rowsOf(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    QStringList out;
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        throw QString::fromUtf8(sqlite3_errmsg(db));
    return out;
}

} // namespace

QString fileProblemText(FileState state, const QString& path, const QString& detail, FileKind kind) {
    const bool client = kind == FileKind::Client;
    const QString file =
        (client ? QStringLiteral("客户档案文件“%1”") : QStringLiteral("数据文件“%1”")).arg(shown(path));
    const QString ours = client ? QStringLiteral("客户档案") : QStringLiteral("数据文件");
    switch (state) {
    case FileState::Good:
        return {};
    case FileState::Missing:
        return QStringLiteral("找不到%1，它可能被移走或删除了。请从备份恢复。").arg(file);
    case FileState::Empty:
        return QStringLiteral("%1是空的（0 字节），里面没有任何数据，可能是复制或保存时中断了。"
                              "请从备份恢复。")
            .arg(file);
    case FileState::Truncated:
        return QStringLiteral("%1不完整（比它应有的长度短，后面的部分丢失了），可能是复制中断或"
                              "磁盘出错。请从备份恢复。")
            .arg(file);
    case FileState::Plain:
        return QStringLiteral("%1是未加密的普通 SQLite 数据库，不是本系统加密的%2，"
                              "可能被其他程序替换过。请换回原来的文件，或从备份恢复。")
            .arg(file, ours);
    case FileState::WrongPassword:
        return QStringLiteral("无法打开%1：密码不正确（它用了别的密码），或它不是本系统的%2。"
                              "请换回原来的文件，或从备份恢复。")
            .arg(file, ours);
    case FileState::Damaged: {
        // The engine's first finding only, after the sentence: the whole list is for a technician.
        QString finding;
        for (const QString& line : detail.split(QLatin1Char('\n'))) {
            const QString t = line.trimmed();
            if (!t.isEmpty() && !t.startsWith(QLatin1String("***"))) {
                finding = t.size() > 80 ? t.left(80) + QStringLiteral("…") : t;
                break;
            }
        }
        return QStringLiteral("%1已损坏，继续使用可能丢失数据。请从备份恢复。%2")
            .arg(file, finding.isEmpty() ? QString() : QStringLiteral("（检查结果：%1）").arg(finding));
    }
    }
    return {};
}

FileCheck checkFileHead(const QString& path, FileKind kind) {
    const QFileInfo info(path);
    if (!info.isFile())
        return problem(FileState::Missing, path, kind);
    if (info.size() == 0)
        return problem(FileState::Empty, path, kind);
    if (info.size() % kSmallestPage != 0)
        return problem(FileState::Truncated, path, kind);
    QFile f(path);
    if (f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16))
        return problem(FileState::Plain, path, kind);
    return {};
}

FileCheck checkDatabaseFile(const QString& path, const QStringList& passwords, CheckDepth depth,
                            FileKind kind) {
    FileCheck head = checkFileHead(path, kind);
    if (!head.good())
        return head;
    QStringList tries = passwords;
    tries.removeDuplicates();
    for (const QString& password : std::as_const(tries)) {
        Handle h;
        // Read-write, as the program opens its files, so a journal left by a crash is rolled back
        // first and the pages read are the committed ones.
        int rc = sqlite3_open_v2(path.toUtf8().constData(), &h.db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            return readFailure(path, kind,
                               QString::fromUtf8(h.db ? sqlite3_errmsg(h.db) : sqlite3_errstr(rc)));
        const QByteArray key = password.toUtf8();
        if (!key.isEmpty())
            sqlite3_key(h.db, key.constData(), int(key.size()));
        sqlite3_busy_timeout(h.db, 3000);
        rc = sqlite3_exec(h.db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
        if (rc == SQLITE_NOTADB)
            continue; // not this password
        if (rc != SQLITE_OK)
            return readFailure(path, kind, QString::fromUtf8(sqlite3_errmsg(h.db)));
        FileCheck out = checkPages(path, QStringLiteral("main"), depth, kind,
                                   [&h](const QString& sql) { return rowsOf(h.db, sql); });
        out.password = password;
        return out;
    }
    return problem(FileState::WrongPassword, path, kind);
}

FileCheck checkOpenDatabase(Connection& c, const QString& schema, const QString& path, CheckDepth depth,
                            FileKind kind) {
    FileCheck out = checkPages(path, schema, depth, kind, [&c](const QString& sql) {
        try {
            Query q(&c);
            q.setSql(sql);
            q.open();
            QStringList rows;
            for (; !q.eof(); q.next())
                rows << q.field(0).toText();
            return rows;
        } catch (const DbError& e) {
            throw e.text();
        }
    });
    out.password = c.password();
    return out;
}

} // namespace nc::data
