#pragma once
// A query component: SQL text with ":name" parameters, run as a statement (execute) or read into a
// static result (open) that is walked with first/next/last and read by field name.

#include "connection.h"
#include "value.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace nc::data {

class Query {
public:
    explicit Query(Connection* c = nullptr); // nullptr: the process-wide connection at first use

    // Replacing the text closes the result and forgets parameter values.
    void setSql(const QString& sql);
    // Appends a line to the SQL text, joined with a line break (queries built in two lines).
    void addLine(const QString& line);
    const QString& sql() const { return sql_; }

    // Values are bound, never pasted into the SQL text. Throws Error at open/execute time when the
    // SQL has no parameter of that name, or a parameter of the SQL was given no value.
    void setParam(const QString& name, const Value& v);
    void clearParams() { params_.clear(); }

    // Runs a statement that returns no rows; returns the number of rows changed.
    int execute();
    // Runs the query and keeps all its rows; the cursor is on the first row.
    void open();
    void close();
    bool isOpen() const { return open_; }

    // Cursor over the kept rows.
    int recordCount() const { return int(rows_.size()); }
    bool eof() const { return rows_.isEmpty() || eof_; }
    bool bof() const { return rows_.isEmpty() || bof_; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);

    // Fields of the current row, by name without regard to case; an empty result reads as null.
    // Throws Error for an unknown name or a closed query.
    Value field(const QString& name) const;
    Value field(int index) const;
    int fieldIndex(const QString& name) const;
    const QStringList& fieldNames() const { return names_; }
    // All rows (for the report engine and for models that show a whole result).
    const QList<QList<Value>>& rows() const { return rows_; }

    Connection& connection() const;

private:
    Statement prepared();

    Connection* conn_;
    QString sql_;
    QMap<QString, Value> params_;
    bool open_ = false;
    QStringList names_;
    QList<QList<Value>> rows_;
    int cursor_ = -1;
    bool eof_ = true;
    bool bof_ = true;
};

// Whether the table of the connection's database has the column (names compared without regard to
// case), so an update step adds a column only where it is missing. The table name comes from the
// program, never from typed text.
bool tableHasColumn(Connection& c, const QString& table, const QString& column);

} // namespace nc::data
