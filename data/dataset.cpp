#include "dataset.h"

#include "errors.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace nc::data {

namespace {

const QString kRowIdColumn = QStringLiteral("_nc_rowid_");

QRegularExpression selectStar() {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+\[?([A-Za-z_][A-Za-z0-9_]*)\]?)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

ColumnType typeFromDeclared(const QString& declared) {
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return ColumnType::Integer;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return ColumnType::DateTime;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")) ||
        t.contains(QLatin1String("DEC")))
        return ColumnType::Real;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("CLOB")))
        return ColumnType::Text;
    return ColumnType::Other;
}

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

DataSet::DataSet(Connection* c, QObject* parent) : QObject(parent), conn_(c) {}

DataSet::~DataSet() {
    setMaster(nullptr, {}, {});
    for (DataSet* d : std::as_const(details_))
        d->master_ = nullptr;
}

void DataSet::storeDetails() {
    for (DataSet* d : std::as_const(details_))
        d->checkBrowseMode();
}

Connection& DataSet::connection() const {
    return conn_ ? *conn_ : Connection::required();
}

void DataSet::setSql(const QString& sql) {
    close();
    const auto m = selectStar().match(sql);
    if (!m.hasMatch())
        throw Error(QStringLiteral("可编辑的数据集只能建立在“select * from 表名”之上：%1").arg(sql));
    sql_ = sql;
    table_ = m.captured(1);
    params_.clear();
}

void DataSet::setParam(const QString& name, const Value& v) {
    QString key = name;
    if (key.startsWith(QLatin1Char(':')))
        key.remove(0, 1);
    params_.insert(key.toLower(), v);
}

void DataSet::setMaster(DataSet* master, const QString& masterField, const QString& detailField) {
    if (master_) {
        disconnect(master_, nullptr, this, nullptr);
        master_->details_.removeAll(this);
    }
    master_ = master;
    masterField_ = masterField;
    detailField_ = detailField;
    if (!master_)
        return;
    master_->details_.append(this);
    connect(master_, &DataSet::currentRowChanged, this, [this] { masterMoved(); });
    connect(master_, &DataSet::resetDone, this, [this] { masterMoved(); });
    connect(master_, &DataSet::rowChanged, this, [this](int row) {
        if (row == master_->currentRow() && master_->state() == State::Browse)
            masterMoved(); // a new master row was stored and now has its key
    });
}

void DataSet::masterMoved() {
    if (!isOpen())
        return;
    // The link value may not have changed (a repaint of the same row); then nothing to do.
    const Value link = master_->isOpen() ? master_->field(masterField_) : Value();
    if (params_.contains(QStringLiteral("nc_master")) && params_.value(QStringLiteral("nc_master")) == link)
        return;
    // Pending changes were stored before the master moved (storeDetails); what is left is dropped.
    cancel();
    try {
        open();
    } catch (const Error& e) {
        // Never show the rows of another master row: close, and let the window say why.
        close();
        Q_EMIT failed(e.text());
    }
}

QString DataSet::effectiveSql() const {
    if (master_) {
        const QString order =
            detailOrder_.isEmpty() ? QStringLiteral("rowid") : detailOrder_ + QStringLiteral(", rowid");
        return QStringLiteral("SELECT rowid AS %1, * FROM %2 WHERE %3 = :nc_master ORDER BY %4")
            .arg(kRowIdColumn, quoted(table_), quoted(detailField_), order);
    }
    QString s = sql_;
    const auto m = selectStar().match(s);
    const int starAt = int(s.indexOf(QLatin1Char('*'), m.capturedStart(0)));
    s.replace(starAt, 1, QStringLiteral("rowid AS %1, *").arg(kRowIdColumn));
    return s;
}

QList<ColumnType> DataSet::columnTypes(const QStringList& names) {
    QMap<QString, ColumnType> byName;
    Statement st = connection().prepare(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table_)));
    while (st.step())
        byName.insert(st.column(1).toText().toLower(), typeFromDeclared(st.column(2).toText()));
    QList<ColumnType> types;
    for (const QString& n : names)
        types.append(byName.value(n.toLower(), ColumnType::Other));
    return types;
}

void DataSet::open() {
    if (sql_.isEmpty())
        throw Error(QStringLiteral("数据集没有设置查询语句。"));
    QMap<QString, Value> params = params_;
    if (master_) {
        params.clear();
        params.insert(QStringLiteral("nc_master"),
                      master_->isOpen() ? master_->field(masterField_) : Value());
    }
    Statement st = connection().prepare(effectiveSql());
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString name = st.parameterName(i);
        const auto it = params.constFind(name.toLower());
        if (it == params.constEnd())
            throw Error(QStringLiteral("数据库语句的参数“%1”没有赋值。").arg(name));
        st.bind(name, it.value());
    }
    QList<Row> rows;
    const int n = st.columnCount();
    while (st.step()) {
        Row r;
        r.rowid = st.column(0).toInteger();
        r.values.reserve(n - 1);
        for (int i = 1; i < n; ++i)
            r.values.append(st.column(i));
        rows.append(std::move(r));
    }
    QStringList names;
    for (int i = 1; i < n; ++i)
        names << st.columnName(i);
    QList<ColumnType> types = columnTypes(names);

    Q_EMIT aboutToReset();
    if (master_)
        params_ = params;
    names_ = names;
    types_ = std::move(types);
    rows_ = std::move(rows);
    buffer_ = {};
    changed_ = QBitArray(int(names_.size()));
    modified_ = false;
    state_ = State::Browse;
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
    Q_EMIT resetDone();
    Q_EMIT stateChanged(state_);
    Q_EMIT currentRowChanged(current_);
}

void DataSet::close() {
    if (state_ == State::Inactive)
        return;
    Q_EMIT aboutToReset();
    rows_.clear();
    names_.clear();
    types_.clear();
    buffer_ = {};
    modified_ = false;
    current_ = -1;
    eof_ = true;
    state_ = State::Inactive;
    if (master_)
        params_.clear();
    Q_EMIT resetDone();
    Q_EMIT stateChanged(state_);
    Q_EMIT currentRowChanged(current_);
}

int DataSet::fieldIndex(const QString& name) const {
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

ColumnType DataSet::fieldType(int index) const {
    return index >= 0 && index < types_.size() ? types_[index] : ColumnType::Other;
}

ColumnType DataSet::fieldType(const QString& name) const {
    return fieldType(fieldIndex(name));
}

bool DataSet::acceptsChar(const QString& name, QChar c) const {
    // Only ASCII digits: other scripts' digits (full-width ones from an input method) are not read
    // as numbers.
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    switch (fieldType(name)) {
    case ColumnType::Integer:
        return digit || c == QLatin1Char('-') || c == QLatin1Char('+');
    case ColumnType::Real:
        return digit || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.') ||
               c == QLatin1Char('e') || c == QLatin1Char('E');
    case ColumnType::DateTime:
        return digit || c == QLatin1Char('-') || c == QLatin1Char(':') || c == QLatin1Char(' ') ||
               c == QLatin1Char('.');
    default:
        return true;
    }
}

void DataSet::setState(State s) {
    if (state_ == s)
        return;
    state_ = s;
    Q_EMIT stateChanged(s);
}

void DataSet::setCurrent(int row) {
    if (row == current_)
        return;
    current_ = row;
    Q_EMIT currentRowChanged(row);
}

void DataSet::checkBrowseMode() {
    if (state_ == State::Edit || state_ == State::Insert) {
        if (modified_)
            post();
        else
            cancel();
    }
}

void DataSet::moveTo(int row) {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    if (rows_.isEmpty())
        return;
    row = qBound(0, row, int(rows_.size()) - 1);
    if (row == current_ && state_ == State::Browse) {
        eof_ = false;
        return;
    }
    if (row != current_) {
        const int before = int(rows_.size());
        storeDetails();
        checkBrowseMode();
        // Dropping a pending new row above the target shortens the list; keep the target in range.
        if (rows_.size() < before && row >= rows_.size())
            row = int(rows_.size()) - 1;
        if (rows_.isEmpty())
            return;
    }
    eof_ = false;
    setCurrent(row);
}

void DataSet::first() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    storeDetails();
    checkBrowseMode();
    if (rows_.isEmpty())
        return;
    setCurrent(0);
    eof_ = false;
}

void DataSet::last() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    storeDetails();
    checkBrowseMode();
    if (rows_.isEmpty())
        return;
    setCurrent(int(rows_.size()) - 1);
    eof_ = false;
}

void DataSet::next() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    storeDetails();
    checkBrowseMode();
    if (rows_.isEmpty())
        return;
    if (current_ + 1 >= rows_.size())
        eof_ = true;
    else
        setCurrent(current_ + 1);
}

void DataSet::prior() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    storeDetails();
    checkBrowseMode();
    if (rows_.isEmpty())
        return;
    eof_ = false;
    if (current_ > 0)
        setCurrent(current_ - 1);
}

Value DataSet::field(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("数据集中没有字段“%1”。").arg(name));
    if (current_ < 0)
        return {};
    return value(current_, i);
}

Value DataSet::value(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= names_.size())
        return {};
    if (row == current_ && state_ != State::Browse)
        return buffer_.values.value(column);
    return rows_[row].values.value(column);
}

qint64 DataSet::rowId() const {
    if (current_ < 0)
        return 0;
    return state_ == State::Browse ? rows_[current_].rowid : buffer_.rowid;
}

void DataSet::edit() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (rows_.isEmpty()) {
        append();
        return;
    }
    buffer_ = rows_[current_];
    changed_ = QBitArray(int(names_.size()));
    modified_ = false;
    setState(State::Edit);
}

void DataSet::append() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    storeDetails();
    checkBrowseMode();
    Row r;
    for (int i = 0; i < names_.size(); ++i)
        r.values.append(Value());
    changed_ = QBitArray(int(names_.size()));
    if (master_) {
        const int link = fieldIndex(detailField_);
        if (link >= 0) {
            r.values[link] = master_->field(masterField_);
            changed_.setBit(link); // stored with the row, but not a change of the user's
        }
    }
    beforeInsert_ = current_;
    const int row = int(rows_.size());
    buffer_ = r;
    modified_ = false;
    Q_EMIT aboutToInsertRow(row);
    rows_.append(r);
    // State and cursor before the signals, so observers read the pending row in its place and the
    // row that was current with its stored values.
    state_ = State::Insert;
    current_ = row;
    eof_ = false;
    Q_EMIT rowInserted(row);
    Q_EMIT currentRowChanged(row);
    Q_EMIT stateChanged(state_);
}

void DataSet::setField(const QString& name, const Value& v) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("数据集中没有字段“%1”。").arg(name));
    if (state_ == State::Browse)
        edit();
    if (state_ == State::Inactive)
        throw Error(QStringLiteral("数据集尚未打开。"));
    buffer_.values[i] = v;
    changed_.setBit(i);
    modified_ = true;
    Q_EMIT rowChanged(current_);
}

void DataSet::revertField(const QString& name) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("数据集中没有字段“%1”。").arg(name));
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    const int link = master_ && state_ == State::Insert ? fieldIndex(detailField_) : -1;
    if (i == link)
        return; // the link value is the row's own, not a change of the user's
    // The shown row still holds the values from before editing (the pending values are buffered).
    buffer_.values[i] = rows_[current_].values.value(i);
    changed_.clearBit(i);
    modified_ = false;
    for (int c = 0; c < changed_.size(); ++c)
        if (c != link && changed_.testBit(c))
            modified_ = true;
    Q_EMIT rowChanged(current_);
}

QString DataSet::convertError(int column, const QString& text) const {
    return QStringLiteral("“%1”不是字段“%2”的有效值。").arg(text, names_.value(column));
}

void DataSet::setFieldText(const QString& name, const QString& text) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("数据集中没有字段“%1”。").arg(name));
    const QString t = text.trimmed();
    Value v;
    switch (fieldType(i)) {
    case ColumnType::Integer: {
        if (t.isEmpty())
            break;
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        if (!ok)
            throw ConversionError(convertError(i, text));
        v = Value(n);
        break;
    }
    case ColumnType::Real: {
        if (t.isEmpty())
            break;
        double d = 0;
        if (!parseReal(t, &d))
            throw ConversionError(convertError(i, text));
        v = Value(d);
        break;
    }
    case ColumnType::DateTime: {
        if (t.isEmpty())
            break;
        QDateTime dt;
        try {
            dt = Value(t).toDateTime();
        } catch (const ConversionError&) {
            throw ConversionError(convertError(i, text));
        }
        v = dt.time() == QTime(0, 0) && t.size() <= 10 ? Value::fromDate(dt.date()) : Value::fromDateTime(dt);
        break;
    }
    default:
        v = Value(text);
        break;
    }
    setField(name, v);
}

DataSet::Row DataSet::readRow(qint64 rowid) {
    Statement st = connection().prepare(
        QStringLiteral("SELECT rowid AS %1, * FROM %2 WHERE rowid = :r").arg(kRowIdColumn, quoted(table_)));
    st.bind(QStringLiteral("r"), Value(rowid));
    Row r;
    r.rowid = rowid;
    if (st.step()) {
        // Map by name: the stored columns may be in another order than the opening statement's.
        QMap<QString, Value> byName;
        for (int i = 1; i < st.columnCount(); ++i)
            byName.insert(st.columnName(i).toLower(), st.column(i));
        for (const QString& n : std::as_const(names_))
            r.values.append(byName.value(n.toLower()));
    } else {
        for (int i = 0; i < names_.size(); ++i)
            r.values.append(Value());
    }
    return r;
}

void DataSet::post() {
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    Connection& c = connection();
    if (state_ == State::Insert) {
        QStringList cols, marks;
        for (int i = 0; i < names_.size(); ++i) {
            if (!changed_.testBit(i) || types_.value(i) == ColumnType::Other)
                continue;
            cols << quoted(names_[i]);
            marks << QStringLiteral(":v%1").arg(i);
        }
        const QString sql =
            cols.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table_))
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(table_), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        {
            Statement st = c.prepare(sql);
            for (int i = 0; i < names_.size(); ++i)
                if (changed_.testBit(i) && types_.value(i) != ColumnType::Other)
                    st.bind(QStringLiteral("v%1").arg(i), buffer_.values[i]);
            st.run();
        }
        const qint64 rowid = sqlite3_last_insert_rowid(c.handle());
        rows_[current_] = readRow(rowid);
    } else {
        QStringList sets;
        for (int i = 0; i < names_.size(); ++i)
            if (changed_.testBit(i))
                sets << QStringLiteral("%1 = :v%2").arg(quoted(names_[i])).arg(i);
        if (!sets.isEmpty()) {
            Statement st = c.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = :nc_rowid")
                                         .arg(quoted(table_), sets.join(QStringLiteral(", "))));
            for (int i = 0; i < names_.size(); ++i)
                if (changed_.testBit(i))
                    st.bind(QStringLiteral("v%1").arg(i), buffer_.values[i]);
            st.bind(QStringLiteral("nc_rowid"), Value(buffer_.rowid));
            if (st.run() == 0)
                throw DbError(QStringLiteral("要保存的记录已不在数据库中（可能已被删除），未能保存。"));
        }
        rows_[current_] = readRow(buffer_.rowid);
    }
    buffer_ = {};
    modified_ = false;
    changed_.fill(false);
    setState(State::Browse);
    Q_EMIT rowChanged(current_);
}

void DataSet::cancel() {
    if (state_ == State::Edit) {
        buffer_ = {};
        modified_ = false;
        setState(State::Browse);
        Q_EMIT rowChanged(current_);
    } else if (state_ == State::Insert) {
        const int row = current_;
        buffer_ = {};
        modified_ = false;
        Q_EMIT aboutToRemoveRow(row);
        rows_.removeAt(row);
        state_ = State::Browse;
        Q_EMIT rowRemoved(row);
        int back = beforeInsert_;
        if (back >= rows_.size())
            back = int(rows_.size()) - 1;
        if (back < 0 && !rows_.isEmpty())
            back = 0;
        current_ = -2; // force the signal: the row under the cursor has changed
        setCurrent(back);
        eof_ = rows_.isEmpty();
        Q_EMIT stateChanged(state_);
    }
}

void DataSet::remove() {
    if (!isOpen())
        throw Error(QStringLiteral("数据集尚未打开。"));
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (rows_.isEmpty())
        return;
    storeDetails();
    const int row = current_;
    const qint64 rowid = rows_[row].rowid;
    {
        Statement st =
            connection().prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = :r").arg(quoted(table_)));
        st.bind(QStringLiteral("r"), Value(rowid));
        st.run();
    }
    buffer_ = {};
    modified_ = false;
    Q_EMIT aboutToRemoveRow(row);
    rows_.removeAt(row);
    state_ = State::Browse;
    Q_EMIT rowRemoved(row);
    current_ = -2;
    setCurrent(rows_.isEmpty() ? -1 : qMin(row, int(rows_.size()) - 1));
    eof_ = rows_.isEmpty();
    Q_EMIT stateChanged(state_);
}

} // namespace nc::data
