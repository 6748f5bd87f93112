#include "client_file.h"

#include "backups.h"
#include "clock.h"
#include "connection.h"
#include "csv.h"
#include "database_update.h"
#include "errors.h"
#include "file_check.h"
#include "password.h"
#include "query.h"
#include "values.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace nc::data {

namespace {

const QString kClientSchema = QStringLiteral("client");
const QString kOpenStep = QStringLiteral("client file");

struct Attached {
    QString path;
    qint64 id = 0;
};

// The client attached to each connection. A connection's open step dies with it, so an entry counts
// only while its connection still has the step.
QHash<const Connection*, Attached>& attachedClients() {
    static QHash<const Connection*, Attached> map;
    return map;
}

Attached attachedClient(const Connection& c) {
    return c.hasOpenStep(kOpenStep) ? attachedClients().value(&c) : Attached();
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A file the engine could not read as a client's file with the program's password.
Error unreadable(const QString& path, const DbError& e) {
    return Error(
        QStringLiteral("无法打开客户档案文件“%1”：密码不正确，或该文件已损坏、不是本系统的客户档案。（%2）")
            .arg(shown(path), e.text()));
}

// The temporary triggers that copy what the client list shows into her index row, and the moment of
// every save of her record or her diet record. They live in the connection's temporary schema, so
// they go with the connection and are made again at each open. The index number is an integer the
// program gave, so it is written into the trigger's text.
QStringList indexTriggers(qint64 id) {
    const QString now = QStringLiteral("strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')");
    const QString pregnant = QLatin1Char('\'') + kCategoryPregnant + QLatin1Char('\'');
    const QString person =
        QStringLiteral("update clients set name = new.name, initials = %1, category = new.csjd, "
                       "week = case when new.csjd = %2 then new.yq_week end, "
                       "stage = case when new.csjd = %2 then new.yq_jd end, saved = %3 where id = %4;");
    QStringList out;
    out << QStringLiteral("create temp trigger nc_index_personinf_insert after insert on client.personinf "
                          "begin %1 end")
               .arg(person.arg(QStringLiteral("null"), pregnant, now).arg(id));
    out << QStringLiteral("create temp trigger nc_index_personinf_update after update on client.personinf "
                          "begin %1 end")
               .arg(
                   person
                       .arg(QStringLiteral("case when new.name is old.name then initials end"), pregnant, now)
                       .arg(id));
    for (const char* table : {"ts", "foodcheck"})
        for (const char* event : {"insert", "update", "delete"})
            out << QStringLiteral("create temp trigger nc_index_%1_%2 after %2 on client.%1 "
                                  "begin update clients set saved = %3 where id = %4; end")
                       .arg(QLatin1String(table), QLatin1String(event), now)
                       .arg(id);
    return out;
}

void dropIndexTriggers(Connection& c) {
    Query q(&c);
    q.setSql(QStringLiteral("select name from sqlite_temp_master where type = 'trigger' and name like "
                            "'nc\\_index\\_%' escape '\\'"));
    q.open();
    QStringList names;
    for (; !q.eof(); q.next())
        names << q.field(0).toText();
    q.close();
    for (const QString& name : names)
        c.exec(QStringLiteral("drop trigger if exists temp.\"%1\"").arg(name));
}

// The proof that a file is a client's file this program can use, on a database of the connection
// ("main" for a file opened on its own, "client" once attached).
void checkClientTables(Connection& c, const QString& schema, const QString& path) {
    Query q(&c);
    q.setSql(QStringLiteral("select name from %1.sqlite_master where type = 'table'").arg(schema));
    try {
        q.open();
    } catch (const DbError& e) {
        throw unreadable(path, e);
    }
    QStringList tables;
    for (; !q.eof(); q.next())
        tables << q.field(0).toText().toLower();
    for (const QString& t : clientTables())
        if (!tables.contains(t.toLower()))
            throw Error(QStringLiteral("文件“%1”不是本系统的客户档案（缺少表 %2）。").arg(shown(path), t));
    q.setSql(QStringLiteral("pragma %1.user_version").arg(schema));
    q.open();
    if (q.field(0).toInteger() > kClientFileVersion)
        throw Error(
            QStringLiteral("客户档案文件“%1”由较新版本的程序建立，本程序无法打开。请使用新版本的程序。")
                .arg(shown(path)));
}

bool isAttached(Connection& c) {
    Query q(&c);
    q.setSql(QStringLiteral("pragma database_list"));
    q.open();
    for (; !q.eof(); q.next())
        if (q.field(QStringLiteral("name")).toText() == kClientSchema)
            return true;
    return false;
}

void detachNow(Connection& c) {
    dropIndexTriggers(c);
    if (isAttached(c))
        c.exec(QStringLiteral("detach database client"));
}

// Attaches the file as "client" with the key; leaves nothing attached when the engine refuses it.
void attachKeyed(Connection& c, const QString& path, const QString& key) {
    try {
        Query q(&c);
        q.setSql(QStringLiteral("attach database :path as client key :key"));
        q.setParam(QStringLiteral("path"), path);
        q.setParam(QStringLiteral("key"), key);
        q.execute();
    } catch (const DbError&) {
        if (isAttached(c))
            c.exec(QStringLiteral("detach database client"));
        throw;
    }
}

// Re-keys a client's file that opens with the program's password to the connection's, after a copy
// of it as it is in the backups folder, and returns the key it opens with now. When the copy or the
// re-key cannot be made, the file stays as it was and is used with the program's password this time.
QString adoptSessionPassword(Connection& c, const QString& path) {
    try {
        backupDatabaseFile(path, programPassword(), backupFolderFor(c.databasePath()), Clock::now());
        rekeyFile(path, programPassword(), c.password());
        return c.password();
    } catch (const Error&) {
        return programPassword();
    }
}

// Attaches the file and proves it: readable with the password, every client table there, a layout
// this program knows. Leaves nothing attached when it throws.
void attachNow(Connection& c, const QString& path, qint64 id) {
    // Missing, empty (the engine would take it for a new database), cut short or not encrypted: said
    // before the engine sees it.
    const FileCheck head = checkFileHead(path, FileKind::Client);
    if (!head.good())
        throw FileProblem(head.state, path, head.message);
    try {
        attachKeyed(c, path, c.password());
    } catch (const DbError& e) {
        // A file still under the program's password (made before she set hers, restored from an old
        // copy, left by a change that was cut short) opens all the same and takes her password now.
        if (hasOwnPassword(c) && opensWith(path, programPassword())) {
            try {
                attachKeyed(c, path, adoptSessionPassword(c, path));
            } catch (const DbError& again) {
                throw unreadable(path, again);
            }
        } else {
            // Which it is, another password or damage, read on a connection of its own.
            const FileCheck own =
                checkDatabaseFile(path, {c.password()}, CheckDepth::Quick, FileKind::Client);
            if (!own.good())
                throw FileProblem(own.state, path, own.message);
            throw unreadable(path, e);
        }
    }
    try {
        // Her pages are read now, so a damaged file is refused here and not at some later save.
        const FileCheck pages =
            checkOpenDatabase(c, kClientSchema, path, CheckDepth::Quick, FileKind::Client);
        if (!pages.good())
            throw FileProblem(pages.state, path, pages.message);
        checkClientTables(c, kClientSchema, path);
        for (const QString& sql : indexTriggers(id))
            c.exec(sql);
    } catch (...) {
        try {
            detachNow(c);
        } catch (...) {
        }
        throw;
    }
}

} // namespace

const QStringList& clientTables() {
    static const QStringList tables = {QStringLiteral("personinf"), QStringLiteral("lstzpj"),
                                       QStringLiteral("lsyysfx"),   QStringLiteral("sdrn"),
                                       QStringLiteral("ts"),        QStringLiteral("foodcheck")};
    return tables;
}

QString clientSchemaSql() {
    return readTextFile(QStringLiteral(":/client_file/client_schema.sql"));
}

QList<SeedTable> clientSeeds() {
    QList<SeedTable> out;
    for (const char* table : {"personinf", "lstzpj", "lsyysfx", "sdrn"}) {
        const QString name = QString::fromLatin1(table);
        out.append({name, readCsvFile(QStringLiteral(":/client_file/seed/%1.csv").arg(name))});
    }
    return out;
}

QString clientsFolderFor(const QString& sharedDatabasePath) {
    return QFileInfo(sharedDatabasePath).absoluteDir().filePath(QStringLiteral("clients"));
}

QString clientFileName(qint64 id) {
    return QStringLiteral("client-%1.dbz").arg(id, 6, 10, QLatin1Char('0'));
}

void moveOutOfTheWay(const QString& path, const QString& sharedDatabasePath) {
    if (!QFileInfo::exists(path))
        return;
    const QString folder = backupFolderFor(sharedDatabasePath);
    QDir().mkpath(folder);
    const QString target = backupPathIn(folder, QFileInfo(path).fileName(), QDateTime::currentDateTime());
    if (!QFile::rename(path, target))
        throw Error(QStringLiteral("文件“%1”挡住了客户档案，且无法移开。").arg(shown(path)));
}

void createClientFile(const QString& path, const QString& password, const QList<SeedTable>& extra) {
    QList<SeedTable> seeds = clientSeeds();
    seeds += extra;
    createDatabase(path, password, clientSchemaSql(), seeds, kClientFileVersion);
}

QList<SeedTable> takeClientSeeds(QList<SeedTable>& seeds) {
    QList<SeedTable> taken;
    for (auto it = seeds.begin(); it != seeds.end();) {
        if (clientTables().contains(it->table, Qt::CaseInsensitive)) {
            taken.append(*it);
            it = seeds.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

void checkClientFile(const QString& path, const QString& password) {
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("找不到客户档案文件“%1”。").arg(shown(path)));
    Connection own(connectionStringForFile(path, password));
    try {
        own.handle();
    } catch (const DbError& e) {
        throw unreadable(path, e);
    }
    checkClientTables(own, QStringLiteral("main"), path);
}

void createClientIndex(Connection& c) {
    c.exec(QStringLiteral("create table if not exists clients (id integer primary key autoincrement, "
                          "file text not null unique, name text, initials text, category text, week text, "
                          "stage text, saved text)"));
}

void attachClientFile(Connection& c, const QString& path, qint64 indexId) {
    if (c.inTransaction())
        throw Error(QStringLiteral("正在保存数据时不能切换客户。"));
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const Attached before = attachedClient(c);
    if (c.isOpen() && c.hasOpenStep(kOpenStep))
        detachNow(c);
    c.setOpenStep(kOpenStep, {});
    attachedClients().remove(&c);
    c.handle(); // opened here, so the new file is proven now and not at some later statement
    try {
        c.setOpenStep(kOpenStep,
                      [absolute, indexId](Connection& conn) { attachNow(conn, absolute, indexId); });
    } catch (...) {
        // The client before becomes current again when her file still opens.
        if (!before.path.isEmpty()) {
            try {
                c.setOpenStep(kOpenStep,
                              [before](Connection& conn) { attachNow(conn, before.path, before.id); });
                attachedClients().insert(&c, before);
            } catch (...) {
            }
        }
        throw;
    }
    attachedClients().insert(&c, {absolute, indexId});
}

void detachClientFile(Connection& c) {
    if (c.isOpen() && c.hasOpenStep(kOpenStep))
        detachNow(c);
    c.setOpenStep(kOpenStep, {});
    attachedClients().remove(&c);
}

QString attachedClientFile(const Connection& c) {
    return attachedClient(c).path;
}

qint64 attachedClientId(const Connection& c) {
    return attachedClient(c).id;
}

QString createDatabaseWithClient(const QString& folder, const QString& password, const QString& schemaSql,
                                 QList<SeedTable> seeds, int version) {
    const QList<SeedTable> own = takeClientSeeds(seeds);
    const QString shared = QDir(folder).filePath(QString::fromLatin1(kDatabaseFileName));
    seeds.append({QStringLiteral("clients"), CsvTable{{QStringLiteral("id"), QStringLiteral("file")},
                                                      {{QStringLiteral("1"), clientFileName(1)}}}});
    createDatabase(shared, password, schemaSql, seeds, version);
    const QString clients = clientsFolderFor(shared);
    if (!QDir().mkpath(clients))
        throw Error(QStringLiteral("无法建立文件夹“%1”。").arg(shown(clients)));
    const QString path = QDir(clients).filePath(clientFileName(1));
    QList<SeedTable> clientRows;
    for (const SeedTable& s : clientSeeds()) {
        const bool given = std::any_of(own.cbegin(), own.cend(), [&](const SeedTable& o) {
            return o.table.compare(s.table, Qt::CaseInsensitive) == 0;
        });
        if (!given)
            clientRows.append(s);
    }
    clientRows += own;
    createDatabase(path, password, clientSchemaSql(), clientRows, kClientFileVersion);
    return path;
}

} // namespace nc::data
