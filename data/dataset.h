#pragma once
// An editable result set over one table: it browses its rows, edits the current row or holds a
// pending new row, and stores changes with post. Grids and bound fields observe it through signals.
// Moving the current row stores a changed row and drops an unchanged pending new row; closing or
// re-querying drops pending changes without a question.

#include "connection.h"
#include "value.h"

#include <QBitArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>

namespace nc::data {

enum class ColumnType { Integer, Real, Text, DateTime, Other };

class DataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit DataSet(Connection* c = nullptr, QObject* parent = nullptr);
    ~DataSet() override;

    // A statement of the form "select * from <table> [where …] [order by …]". Replacing it closes
    // the data set and forgets parameter values.
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }
    void setParam(const QString& name, const Value& v);

    // Makes this data set the detail of master: it holds only the rows whose detailField equals the
    // master's current masterField, follows every change of the master's current row, and new rows get
    // the link field. The detail's own statement then only names the table.
    void setMaster(DataSet* master, const QString& masterField, const QString& detailField);
    // The order of a detail's rows: an SQL ordering over the table's columns; rows stored in the same
    // place keep the order they were stored in. Empty (the default) keeps the stored order alone.
    void setDetailOrder(const QString& orderBy) { detailOrder_ = orderBy; }

    void open();  // cursor on the first row
    void close(); // pending changes are dropped
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    const QStringList& fieldNames() const { return names_; }
    int fieldIndex(const QString& name) const;
    ColumnType fieldType(const QString& name) const;
    ColumnType fieldType(int index) const;
    // Whether a typed character can belong to a value of the column (digits in numbers, and so on).
    bool acceptsChar(const QString& name, QChar c) const;

    // Rows shown, a pending new row included.
    int rowCount() const { return int(rows_.size()); }
    // Rows stored in the table (a pending new row not counted).
    int recordCount() const { return int(rows_.size()) - (state_ == State::Insert ? 1 : 0); }
    bool isEmpty() const { return rows_.isEmpty(); }
    int currentRow() const { return current_; } // -1 when empty
    bool eof() const { return rows_.isEmpty() || eof_; }

    // Cursor moves. Leaving an edited or new row stores it when it was changed and drops it when not;
    // a failing store leaves the cursor where it was and throws.
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);

    // Fields of the current row (pending values while editing); null when the set is empty.
    Value field(const QString& name) const;
    // Any shown row, with pending values for the current row.
    Value value(int row, int column) const;
    qint64 rowId() const;

    // Starts editing the current row; on an empty set this starts a new row instead.
    void edit();
    // Adds a pending new row at the end and makes it current.
    void append();
    // Sets a field of the current row, starting an edit when browsing.
    void setField(const QString& name, const Value& v);
    // Reads text as a value of the field's column: empty text stores null; a malformed number or
    // date throws ConversionError and changes nothing.
    void setFieldText(const QString& name, const QString& text);
    bool isModified() const { return modified_; }
    // Puts back the value a field of the row being edited had before editing began and forgets that
    // it was changed, so a pending new row whose typing was all taken back stays unchanged.
    void revertField(const QString& name);

    void post();   // stores the pending row: INSERT or UPDATE, then reads it back
    void cancel(); // drops pending changes
    void remove(); // deletes the current row (a pending new row is only dropped)
    // Posts a changed row, drops an unchanged one (what a cursor move does).
    void checkBrowseMode();

    Connection& connection() const;

Q_SIGNALS:
    void aboutToReset();
    void resetDone();
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void stateChanged(nc::data::DataSet::State state);
    // A detail could not follow its master (the database refused the read); it is closed now.
    void failed(const QString& message);

private:
    struct Row {
        qint64 rowid = 0;
        QList<Value> values;
    };
    QString effectiveSql() const;
    QList<ColumnType> columnTypes(const QStringList& names);
    void storeDetails(); // details store their pending rows before this set's current row changes
    Row readRow(qint64 rowid);
    void setState(State s);
    void setCurrent(int row);
    void masterMoved();
    QString convertError(int column, const QString& text) const;

    Connection* conn_;
    QString sql_;
    QString table_;
    QMap<QString, Value> params_;
    DataSet* master_ = nullptr;
    QList<DataSet*> details_;
    QString masterField_;
    QString detailField_;
    QString detailOrder_;

    State state_ = State::Inactive;
    QStringList names_;
    QList<ColumnType> types_;
    QList<Row> rows_;
    int current_ = -1;
    bool eof_ = true;

    Row buffer_;        // the pending values of the current row
    QBitArray changed_; // columns set since edit/append
    bool modified_ = false;
    int beforeInsert_ = -1; // current row before append, returned to on cancel
};

} // namespace nc::data
