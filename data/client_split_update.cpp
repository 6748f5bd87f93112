#include "client_split_update.h"

#include "client_file.h"
#include "connection.h"
#include "database_update.h"
#include "errors.h"
#include "query.h"
#include "values.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nc::data {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Copies every row of a table into the same table of the client's file, each value as it is stored
// (numbers stay numbers, an empty text stays empty, null stays null). Only the columns both have are
// copied; the client's file was made from today's layout, which has every column of a file at the
// previous version.
void copyTable(Connection& from, Connection& to, const QString& table) {
    Query source(&from);
    source.setSql(QStringLiteral("select * from main.%1").arg(table)); // a name from clientTables()
    source.open();
    QStringList columns;
    for (const QString& name : source.fieldNames())
        if (tableHasColumn(to, table, name))
            columns << name;
    to.exec(QStringLiteral("delete from %1").arg(table));
    if (columns.isEmpty())
        return;
    QStringList params;
    for (int i = 0; i < columns.size(); ++i)
        params << QStringLiteral(":p%1").arg(i);
    Query insert(&to);
    insert.setSql(QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(table, columns.join(QLatin1Char(',')), params.join(QLatin1Char(','))));
    for (const QList<Value>& row : source.rows()) {
        for (int i = 0; i < columns.size(); ++i)
            insert.setParam(QStringLiteral("p%1").arg(i), row[source.fieldIndex(columns[i])]);
        insert.execute();
    }
}

// The auto-number of the foods eaten goes on from where it was, so a number freed by a deletion is
// not given again in her file either.
void copyFoodNumbering(Connection& from, Connection& to) {
    Query q(&from);
    q.setSql(QStringLiteral("select seq from main.sqlite_sequence where name = 'foodcheck'"));
    q.open();
    if (q.eof())
        return;
    Query set(&to);
    set.setSql(QStringLiteral("update sqlite_sequence set seq = max(seq, :seq) where name = 'foodcheck'"));
    set.setParam(QStringLiteral("seq"), q.field(0));
    if (set.execute() == 0) {
        set.setSql(QStringLiteral("insert into sqlite_sequence (name, seq) values ('foodcheck', :seq)"));
        set.setParam(QStringLiteral("seq"), q.field(0));
        set.execute();
    }
}

} // namespace

void moveRecordToFirstClient(Connection& c) {
    createClientIndex(c);
    Query person(&c);
    person.setSql(QStringLiteral("select name, csjd, yq_week, yq_jd from main.personinf"));
    person.open();
    const auto field = [&](int i) { return person.eof() ? Value() : person.field(i); };
    const bool pregnant = field(1).toText() == kCategoryPregnant;
    const Value week = field(2);
    // The moment of her last save is not recorded; the file's last change is the nearest there is.
    const QDateTime changed = QFileInfo(c.databasePath()).lastModified();

    Query q(&c);
    q.setSql(QStringLiteral("insert into clients (file, name, category, week, stage, saved) "
                            "values (:file, :name, :category, :week, :stage, :saved)"));
    q.setParam(QStringLiteral("file"), QStringLiteral("?")); // named once the number is known
    q.setParam(QStringLiteral("name"), field(0));
    q.setParam(QStringLiteral("category"), field(1));
    q.setParam(QStringLiteral("week"), pregnant && !week.isNull() ? Value(week.toText()) : Value());
    q.setParam(QStringLiteral("stage"), pregnant ? field(3) : Value());
    q.setParam(QStringLiteral("saved"),
               changed.isValid() ? Value(changed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : Value());
    q.execute();
    q.setSql(QStringLiteral("select last_insert_rowid()"));
    q.open();
    const qint64 id = q.field(0).toInteger();
    const QString file = clientFileName(id);
    q.setSql(QStringLiteral("update clients set file = :file where id = :id"));
    q.setParam(QStringLiteral("file"), file);
    q.setParam(QStringLiteral("id"), id);
    q.execute();

    const QString folder = clientsFolderFor(c.databasePath());
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("无法建立客户档案文件夹“%1”").arg(shown(folder)));
    const QString path = QDir(folder).filePath(file);
    moveOutOfTheWay(path, c.databasePath()); // a copy left by an earlier attempt that failed
    createClientFile(path, c.password());
    removeIfUpdateFails(path);
    {
        Connection own(connectionStringForFile(path, c.password()));
        Transaction t(own);
        for (const QString& table : clientTables())
            copyTable(c, own, table);
        copyFoodNumbering(c, own);
        t.commit();
    }
    for (const QString& table : clientTables())
        c.exec(QStringLiteral("drop table main.%1").arg(table));
}

} // namespace nc::data
