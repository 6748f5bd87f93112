#include "connection.h"

#include "value.h"

#include <QDir>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>

namespace nc::data {

namespace {

Connection* g_current = nullptr;

// The one place that names the provider, the file and the password of the database.
const char* const kConnectionStringPattern =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1yfdb.dbz;Persist Security Info=False;"
    "Jet OLEDB:Database Password=tkwrun3.8";

QString quoteIfNeeded(const QString& v) {
    if (!v.contains(QLatin1Char(';')) && !v.contains(QLatin1Char('"')) && !v.contains(QLatin1Char('\'')) &&
        v.trimmed() == v)
        return v;
    if (!v.contains(QLatin1Char('"')))
        return QLatin1Char('"') + v + QLatin1Char('"');
    return QLatin1Char('\'') + QString(v).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

QString engineText(sqlite3* db, int rc) {
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return QString::fromUtf8(msg ? msg : sqlite3_errstr(rc));
}

} // namespace

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString cs;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        // key
        int eq = int(text.indexOf(QLatin1Char('='), i));
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
        while (i < n && text[i] == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar q = text[i++];
            while (i < n) {
                if (text[i] == q) {
                    if (i + 1 < n && text[i + 1] == q) { // doubled quote stands for itself
                        value += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < n && text[i] != QLatin1Char(';'))
                ++i;
        } else {
            const int semi = int(text.indexOf(QLatin1Char(';'), i));
            const int end = semi < 0 ? n : semi;
            value = text.mid(i, end - i).trimmed();
            i = end;
        }
        if (i < n && text[i] == QLatin1Char(';'))
            ++i;
        if (key == QLatin1String("provider"))
            cs.provider = value;
        else if (key == QLatin1String("data source"))
            cs.dataSource = value;
        else if (key == QLatin1String("jet oledb:database password") || key == QLatin1String("password"))
            cs.password = value;
    }
    if (cs.dataSource.isEmpty())
        throw Error(QStringLiteral("数据库连接设置不完整：没有指定数据库文件。"));
    return cs;
}

QString connectionStringForFolder(const QString& folder) {
    QString f = folder;
    if (!f.isEmpty() && !f.endsWith(QLatin1Char('/')) && !f.endsWith(QDir::separator()))
        f += QLatin1Char('/');
    const QString path = f + QLatin1String(kDatabaseFileName);
    QString s = QString::fromUtf8(kConnectionStringPattern);
    // Replace the file part as a whole so that a folder with ';' or quotes survives the round trip.
    s.replace(QStringLiteral("%1yfdb.dbz"), quoteIfNeeded(path));
    return s;
}

QString programPassword() {
    return ConnectionString::parse(connectionStringForFolder(QStringLiteral("/"))).password;
}

QString connectionStringForFile(const QString& path, const QString& password) {
    ConnectionString pattern = ConnectionString::parse(connectionStringForFolder(QStringLiteral("/")));
    return QStringLiteral("Provider=%1;Data Source=%2;Jet OLEDB:Database Password=%3")
        .arg(pattern.provider, quoteIfNeeded(path), quoteIfNeeded(password));
}

Connection::~Connection() {
    close();
    if (g_current == this)
        g_current = nullptr;
}

Connection* Connection::current() {
    return g_current;
}

Connection& Connection::required() {
    if (!g_current)
        throw DbError(QStringLiteral("数据库连接尚未设置。"));
    return *g_current;
}
void Connection::setCurrent(Connection* c) {
    g_current = c;
}

void Connection::setConnectionString(const QString& text) {
    close();
    connectionString_ = text;
    parsed_ = ConnectionString::parse(text);
}

void Connection::setPassword(const QString& password) {
    setConnectionString(connectionStringForFile(parsed_.dataSource, password));
}

QString Connection::databasePath() const {
    return parsed_.dataSource;
}

// The files a failed statement may have been working on: the shared file and the attached client's.
static QString filesShown(sqlite3* db, const QString& databasePath) {
    QString text = QStringLiteral("“%1”").arg(QDir::toNativeSeparators(databasePath));
    const char* client = db ? sqlite3_db_filename(db, "client") : nullptr;
    if (client && *client)
        text +=
            QStringLiteral("或当前客户的档案“%1”").arg(QDir::toNativeSeparators(QString::fromUtf8(client)));
    return text;
}

DbError Connection::error(const QString& what, int rc) const {
    const QString engine = engineText(db_, rc);
    const QString folder = QDir::toNativeSeparators(QFileInfo(databasePath()).absolutePath());
    // What a failed statement leaves: the engine undoes the statement (or the whole transaction) it was
    // in, and what was saved before stays as it was.
    const QString nothingLost = QStringLiteral("操作没有完成，已保存的数据不受影响。");
    QString text = what;
    switch (rc & 0xff) {
    case SQLITE_FULL:
        text = QStringLiteral("磁盘空间已满，数据未能写入数据文件夹“%1”。%2请清理磁盘空间后再试。")
                   .arg(folder, nothingLost);
        break;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN: // the journal every change needs cannot be made beside the file
        text = QStringLiteral("无法写入数据：数据文件夹“%1”或其中的数据库文件是只读的。%2"
                              "请让这个文件夹和其中的文件可以写入（例如取消“只读”属性），再试一次。")
                   .arg(folder, nothingLost);
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        text = QStringLiteral("数据库文件“%1”正被其他程序占用。%2请稍后再试。")
                   .arg(QDir::toNativeSeparators(databasePath()), nothingLost);
        break;
    case SQLITE_CONSTRAINT:
        text = QStringLiteral("数据库拒绝了这条记录（与已有数据冲突或缺少必填内容）。");
        break;
    case SQLITE_IOERR:
        text = QStringLiteral("读写数据文件夹“%1”中的数据库文件时出错。%2请检查磁盘后再试。")
                   .arg(folder, nothingLost);
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        text = QStringLiteral("数据库文件%1已损坏。%2请在“客户列表”中用“从备份恢复”换回最近一份完好的备份。")
                   .arg(filesShown(db_, databasePath()), nothingLost);
        break;
    case SQLITE_ERROR:
        // A table the program always has is missing: the file is incomplete, not a fault of the SQL.
        if (engine.startsWith(QLatin1String("no such table: "))) {
            const QString table = engine.mid(15);
            text = QStringLiteral("数据库文件%1缺少表“%2”，文件不完整或已损坏。%3请从备份恢复这个文件。")
                       .arg(filesShown(db_, databasePath()), table, nothingLost);
        }
        break;
    default:
        break;
    }
    return DbError(text + QStringLiteral("（") + engine + QStringLiteral("）"));
}

sqlite3* Connection::handle() {
    if (db_)
        return db_;
    if (connectionString_.isEmpty())
        throw DbError(QStringLiteral("数据库连接尚未设置。"));
    const QString path = parsed_.dataSource;
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("无法打开数据库文件“%1”：文件不存在。（%2）")
                          .arg(shown, QString::fromUtf8(sqlite3_errstr(SQLITE_CANTOPEN))));

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    auto fail = [&](const QString& sentence, int code) -> DbError {
        const QString engine = engineText(db, code);
        if (db)
            sqlite3_close_v2(db);
        return DbError(sentence + QStringLiteral("（") + engine + QStringLiteral("）"));
    };
    if (rc != SQLITE_OK)
        throw fail(QStringLiteral("无法打开数据库文件“%1”。").arg(shown), rc);
    const QByteArray key = parsed_.password.toUtf8();
    if (!key.isEmpty()) {
        rc = sqlite3_key(db, key.constData(), int(key.size()));
        if (rc != SQLITE_OK)
            throw fail(QStringLiteral("无法打开数据库文件“%1”：密钥设置失败。").arg(shown), rc);
    }
    // Another program holding the file a moment (a backup, a second window of a tool) is waited for,
    // from the very first read on, rather than failing at once.
    sqlite3_busy_timeout(db, 3000);
    // Prove the key with a read before anything else uses the file.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if (rc == SQLITE_NOTADB)
            throw fail(
                QStringLiteral("无法打开数据库文件“%1”：密码不正确，或该文件不是本系统的数据库。").arg(shown),
                rc);
        throw fail(QStringLiteral("无法打开数据库文件“%1”。").arg(shown), rc);
    }
    sqlite3_extended_result_codes(db, 0);
    db_ = db;
    if (!openSteps_.isEmpty()) {
        opening_ = true;
        try {
            for (const auto& step : std::as_const(openSteps_))
                step.second(*this);
        } catch (...) {
            opening_ = false;
            close();
            throw;
        }
        opening_ = false;
    }
    return db_;
}

void Connection::setOpenStep(const QString& name, std::function<void(Connection&)> step) {
    const auto known =
        std::find_if(openSteps_.begin(), openSteps_.end(), [&](const auto& s) { return s.first == name; });
    if (!step) {
        if (known != openSteps_.end())
            openSteps_.erase(known);
        return;
    }
    if (db_ && !opening_)
        step(*this); // throws before anything is kept
    if (known != openSteps_.end())
        known->second = std::move(step);
    else
        openSteps_.append({name, std::move(step)});
}

bool Connection::hasOpenStep(const QString& name) const {
    return std::any_of(openSteps_.cbegin(), openSteps_.cend(),
                       [&](const auto& s) { return s.first == name; });
}

void Connection::releaseCache() {
    for (sqlite3_stmt* s : std::as_const(cache_))
        sqlite3_finalize(s);
    cache_.clear();
}

void Connection::close() {
    if (!db_)
        return;
    releaseCache();
    ++generation_;
    sqlite3_close_v2(db_); // statements still handed out keep it alive until they are finalized
    db_ = nullptr;
    transactionDepth_ = 0;
}

Statement Connection::prepare(const QString& sql) {
    sqlite3* db = handle();
    if (sqlite3_stmt* s = cache_.take(sql))
        return Statement(this, s, sql, generation_);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        DbError e = error(QStringLiteral("数据库语句无法执行"), rc);
        sqlite3_finalize(stmt);
        throw e;
    }
    if (!stmt) // an empty statement (only blanks or comments)
        throw DbError(QStringLiteral("数据库语句为空。"));
    return Statement(this, stmt, sql, generation_);
}

void Connection::giveBack(const QString& sql, sqlite3_stmt* stmt, quint64 generation) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (generation != generation_ || !db_ || cache_.contains(sql) || cache_.size() >= 200) {
        sqlite3_finalize(stmt);
        return;
    }
    cache_.insert(sql, stmt);
}

void Connection::exec(const QString& sql) {
    sqlite3* db = handle();
    checkInjectedFailure();
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        throw error(QStringLiteral("数据库语句无法执行"), rc);
}

void Connection::control(const char* sql) {
    const int rc = sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw error(QStringLiteral("数据库事务无法完成"), rc);
}

void Connection::begin() {
    if (transactionDepth_ == 0)
        control("BEGIN IMMEDIATE");
    else
        control(QStringLiteral("SAVEPOINT nc_%1").arg(transactionDepth_).toUtf8().constData());
    ++transactionDepth_;
}

void Connection::commit() {
    if (transactionDepth_ <= 0)
        return;
    if (transactionDepth_ == 1) {
        control("COMMIT");
    } else {
        control(QStringLiteral("RELEASE nc_%1").arg(transactionDepth_ - 1).toUtf8().constData());
    }
    --transactionDepth_;
}

void Connection::rollback() {
    if (transactionDepth_ <= 0)
        return;
    --transactionDepth_;
    if (!db_)
        return;
    // Some failures (a full disk, an I/O error) have already rolled the transaction back.
    if (sqlite3_get_autocommit(db_)) {
        transactionDepth_ = 0;
        return;
    }
    if (transactionDepth_ == 0) {
        control("ROLLBACK");
    } else {
        const QByteArray name = QStringLiteral("nc_%1").arg(transactionDepth_).toUtf8();
        control(("ROLLBACK TO " + name).constData());
        control(("RELEASE " + name).constData());
    }
}

void Connection::checkInjectedFailure() {
    if (failCountdown_ <= 0)
        return;
    if (--failCountdown_ == 0)
        throw error(QStringLiteral("数据库语句无法执行"), SQLITE_IOERR);
}

// ---------------------------------------------------------------------------------------------------

Statement::~Statement() {
    if (stmt_)
        conn_->giveBack(sql_, stmt_, generation_);
}

static QByteArray parameterKey(const QString& name) {
    return (name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name).toUtf8();
}

int Statement::parameterCount() const {
    return sqlite3_bind_parameter_count(stmt_);
}

QString Statement::parameterName(int index) const {
    const char* n = sqlite3_bind_parameter_name(stmt_, index);
    QString s = QString::fromUtf8(n ? n : "");
    if (s.startsWith(QLatin1Char(':')))
        s.remove(0, 1);
    return s;
}

void Statement::bind(const QString& name, const Value& value) {
    const int idx = sqlite3_bind_parameter_index(stmt_, parameterKey(name).constData());
    if (idx <= 0)
        throw Error(QStringLiteral("数据库语句中没有参数“%1”。").arg(name));
    int rc = SQLITE_OK;
    switch (value.type()) {
    case Value::Type::Null:
        rc = sqlite3_bind_null(stmt_, idx);
        break;
    case Value::Type::Integer:
        rc = sqlite3_bind_int64(stmt_, idx, value.toInteger());
        break;
    case Value::Type::Real:
        rc = sqlite3_bind_double(stmt_, idx, value.toReal());
        break;
    case Value::Type::Text: {
        const QByteArray utf8 = value.toText().toUtf8();
        rc = sqlite3_bind_text(stmt_, idx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        throw conn_->error(QStringLiteral("参数“%1”无法设置").arg(name), rc);
}

bool Statement::step() {
    if (!started_) {
        conn_->checkInjectedFailure();
        started_ = true;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const DbError e = conn_->error(QStringLiteral("数据库语句执行失败"), rc);
    sqlite3_reset(stmt_);
    throw e;
}

int Statement::run() {
    while (step()) {
    }
    return sqlite3_changes(conn_->db_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

Value Statement::column(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return Value(qint64(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt_, i));
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        const int n = sqlite3_column_bytes(stmt_, i);
        return Value(QString::fromUtf8(p, n));
    }
    }
}

} // namespace nc::data
