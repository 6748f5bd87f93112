#pragma once
// The one database connection of the process (the role of ADOConnection1). It is configured with an
// OLE DB style connection string, opens lazily on the first statement, and reopens on the next
// statement after a failed open.

#include "errors.h"

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace nc::data {

// The parts of a connection string this program uses. The string itself stays the one source of the
// file location and the password.
struct ConnectionString {
    QString provider;
    QString dataSource;
    QString password;

    // Parses "Key=Value;Key=Value" (values may be quoted with " or '). Keys are matched without
    // regard to case. Throws Error when Data Source is missing.
    static ConnectionString parse(const QString& text);
};

// The connection string for the database file "yfdb.dbz" in the given folder (the program's folder).
QString connectionStringForFolder(const QString& folder);

// The connection string for another database file of the program (a client's file), with the same
// provider and the given password.
QString connectionStringForFile(const QString& path, const QString& password);

// The password every file of the program opens with until the counsellor sets one of her own (files
// made or copied before keep opening with it).
QString programPassword();

// The database file name beside the program.
inline constexpr const char* kDatabaseFileName = "yfdb.dbz";

class Statement;

class Connection {
public:
    Connection() = default;
    explicit Connection(const QString& connectionString) { setConnectionString(connectionString); }
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Setting the string closes an open connection; it does not open a new one.
    void setConnectionString(const QString& text);
    QString databasePath() const; // the Data Source, as a path

    QString password() const { return parsed_.password; }
    // The same file with another password (the counsellor's own, or the program's): the string
    // becomes connectionStringForFile(databasePath(), password). Closes an open connection; the open
    // steps stay and run with the new password at the next open.
    void setPassword(const QString& password);

    bool isOpen() const { return db_ != nullptr; }
    // Opens if needed and returns the handle. Throws DbError with a Chinese sentence naming the file.
    sqlite3* handle();
    void close();

    // A prepared statement for the SQL text, taken from this connection's cache; reset and with no
    // bindings when handed out. Throws DbError when the SQL does not compile.
    Statement prepare(const QString& sql);
    // Runs a statement without parameters or result rows (used for schema scripts and transactions).
    void exec(const QString& sql);

    // Transactions. A nested begin() opens a savepoint inside the outer transaction; only the outermost
    // commit writes to the file.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return transactionDepth_ > 0; }

    // Work done each time the connection opens, after the key is proved, in the order the steps were
    // first set: attaching the current client's file and what keeps her index row in step. Setting a
    // step while the connection is open runs it at once; when it throws, the step is not kept and the
    // error passes on. When a step throws during an open, the open fails and the connection closes.
    // An empty function removes the step; undoing what it did is the caller's part.
    void setOpenStep(const QString& name, std::function<void(Connection&)> step);
    bool hasOpenStep(const QString& name) const;

    // For tests: the n-th statement run from now on (1 = the next one) fails with a DbError, as a
    // full disk or a locked file would. 0 switches this off.
    void failStatementAfter(int n) { failCountdown_ = n; }

    // The process-wide connection that windows use (owned by the main window, or by a test fixture).
    static Connection* current();
    static void setCurrent(Connection* c);
    // The process-wide connection; throws DbError when none is registered.
    static Connection& required();

    // Builds the DbError for a failed SQLite call, with the engine's text appended.
    DbError error(const QString& what, int rc) const;

private:
    friend class Statement;
    void checkInjectedFailure();
    void releaseCache();
    void control(const char* sql); // transaction control, outside the failure count
    void giveBack(const QString& sql, sqlite3_stmt* stmt, quint64 generation);

    QString connectionString_;
    ConnectionString parsed_;
    sqlite3* db_ = nullptr;
    QHash<QString, sqlite3_stmt*> cache_;
    QList<std::pair<QString, std::function<void(Connection&)>>> openSteps_;
    bool opening_ = false;
    int transactionDepth_ = 0;
    int failCountdown_ = 0;
    quint64 generation_ = 0; // bumped on close, so statements handed out before are finalized
};

// Owns one use of a cached prepared statement: binds values by ":name", steps, reads columns, and
// hands the statement back to the cache (reset, bindings cleared) when it goes out of scope.
class Value;

class Statement {
public:
    Statement(Statement&& o) noexcept
        : conn_(o.conn_), stmt_(o.stmt_), sql_(std::move(o.sql_)), generation_(o.generation_),
          started_(o.started_) {
        o.stmt_ = nullptr;
    }
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    ~Statement();

    // Binds a value to ":name" (the colon may be left out). Throws Error when the SQL has no such name.
    void bind(const QString& name, const Value& value);
    int parameterCount() const;
    QString parameterName(int index) const; // 1-based, without the colon

    // Advances to the next result row; false when done. Throws DbError on failure.
    bool step();
    // Runs to completion and returns the number of rows changed.
    int run();

    int columnCount() const;
    QString columnName(int i) const;
    Value column(int i) const;

    const QString& sql() const { return sql_; }

private:
    friend class Connection;
    Statement(Connection* c, sqlite3_stmt* s, QString sql, quint64 generation)
        : conn_(c), stmt_(s), sql_(std::move(sql)), generation_(generation) {}
    Connection* conn_;
    sqlite3_stmt* stmt_;
    QString sql_;
    quint64 generation_;
    bool started_ = false;
};

// Runs a block as one transaction: commits on commit(), rolls back if left without it.
class Transaction {
public:
    explicit Transaction(Connection& c) : c_(c) { c_.begin(); }
    ~Transaction() {
        if (!done_) {
            try {
                c_.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        c_.commit();
        done_ = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection& c_;
    bool done_ = false;
};

} // namespace nc::data
