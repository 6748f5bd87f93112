#include "query.h"

namespace nc::data {

Query::Query(Connection* c) : conn_(c) {}

Connection& Query::connection() const {
    return conn_ ? *conn_ : Connection::required();
}

void Query::setSql(const QString& sql) {
    close();
    sql_ = sql;
    params_.clear();
}

void Query::addLine(const QString& line) {
    close();
    sql_ = sql_.isEmpty() ? line : sql_ + QLatin1Char('\n') + line;
}

void Query::setParam(const QString& name, const Value& v) {
    QString key = name;
    if (key.startsWith(QLatin1Char(':')))
        key.remove(0, 1);
    params_.insert(key.toLower(), v);
}

Statement Query::prepared() {
    Statement st = connection().prepare(sql_);
    QStringList bound;
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString name = st.parameterName(i);
        if (bound.contains(name.toLower()))
            continue;
        const auto it = params_.constFind(name.toLower());
        if (it == params_.constEnd())
            throw Error(QStringLiteral("数据库语句的参数“%1”没有赋值。").arg(name));
        st.bind(name, it.value());
        bound << name.toLower();
    }
    for (auto it = params_.constBegin(); it != params_.constEnd(); ++it)
        if (!bound.contains(it.key()))
            throw Error(QStringLiteral("数据库语句中没有参数“%1”。").arg(it.key()));
    return st;
}

int Query::execute() {
    close();
    Statement st = prepared();
    return st.run();
}

void Query::open() {
    close();
    Statement st = prepared();
    QList<QList<Value>> rows;
    const int n = st.columnCount();
    while (st.step()) {
        QList<Value> row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row.append(st.column(i));
        rows.append(std::move(row));
    }
    names_.clear();
    for (int i = 0; i < n; ++i)
        names_ << st.columnName(i);
    rows_ = std::move(rows);
    open_ = true;
    first();
}

void Query::close() {
    open_ = false;
    rows_.clear();
    names_.clear();
    cursor_ = -1;
    eof_ = bof_ = true;
}

void Query::first() {
    cursor_ = rows_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void Query::last() {
    cursor_ = int(rows_.size()) - 1;
    eof_ = rows_.isEmpty();
    bof_ = rows_.isEmpty();
}

void Query::next() {
    if (rows_.isEmpty())
        return;
    bof_ = false;
    if (cursor_ + 1 >= rows_.size())
        eof_ = true;
    else
        ++cursor_;
}

void Query::prior() {
    if (rows_.isEmpty())
        return;
    eof_ = false;
    if (cursor_ <= 0)
        bof_ = true;
    else
        --cursor_;
}

void Query::moveTo(int row) {
    if (rows_.isEmpty())
        return;
    cursor_ = qBound(0, row, int(rows_.size()) - 1);
    eof_ = bof_ = false;
}

int Query::fieldIndex(const QString& name) const {
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Value Query::field(int index) const {
    if (!open_)
        throw Error(QStringLiteral("查询尚未打开，无法读取字段。"));
    if (index < 0 || index >= names_.size())
        throw Error(QStringLiteral("查询结果中没有第 %1 个字段。").arg(index + 1));
    if (cursor_ < 0)
        return {}; // an empty result reads as null fields
    return rows_[cursor_][index];
}

Value Query::field(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("查询结果中没有字段“%1”。").arg(name));
    return field(i);
}

bool tableHasColumn(Connection& c, const QString& table, const QString& column) {
    Query q(&c);
    q.setSql(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    q.open();
    for (q.first(); !q.eof(); q.next())
        if (q.field(QStringLiteral("name")).toText().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace nc::data
