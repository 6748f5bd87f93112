#include "settings.h"

#include "connection.h"
#include "errors.h"
#include "query.h"

namespace nc::data {

namespace {

bool hasSettingsTable(Connection& c) {
    Query q(&c);
    q.setSql(
        QStringLiteral("select count(*) as n from sqlite_master where type='table' and name='settings'"));
    q.open();
    return q.field(QStringLiteral("n")).toInteger() > 0;
}

} // namespace

QString readSetting(const QString& key, const QString& fallback) {
    return readSetting(Connection::required(), key, fallback);
}

QString readSetting(Connection& c, const QString& key, const QString& fallback) {
    if (!hasSettingsTable(c))
        return fallback;
    Query q(&c);
    q.setSql(QStringLiteral("select value from settings where key=:k"));
    q.setParam(QStringLiteral("k"), key);
    q.open();
    if (q.recordCount() == 0 || q.field(QStringLiteral("value")).isNull())
        return fallback;
    return q.field(QStringLiteral("value")).toText();
}

void writeSetting(const QString& key, const QString& value) {
    writeSetting(Connection::required(), key, value);
}

void writeSetting(Connection& c, const QString& key, const QString& value) {
    if (!hasSettingsTable(c))
        throw Error(QStringLiteral("数据库文件还没有更新到本程序的版本，设置无法保存。请重新启动程序，"
                                   "让它先完成数据库文件的更新。"));
    Query q(&c);
    q.setSql(QStringLiteral("insert or replace into settings (key, value) values (:k, :v)"));
    q.setParam(QStringLiteral("k"), key);
    q.setParam(QStringLiteral("v"), value);
    q.execute();
}

void addSettingsTable(Connection& c) {
    c.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY, value TEXT)"));
}

} // namespace nc::data
