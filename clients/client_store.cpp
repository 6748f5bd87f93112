#include "client_store.h"

#include "data/backups.h"
#include "data/client_file.h"
#include "data/clock.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/password.h"
#include "data/query.h"
#include "data/settings.h"
#include "data/values.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nc::clients {

namespace {

const QString kCurrentClientKey = QStringLiteral("current_client");

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

std::optional<ClientEntry> entryById(data::Connection& c, qint64 id) {
    return readClient(c, id);
}

// A name as part of a file name: letters and digits of any script kept, the rest "_".
QString fileNamePart(const QString& name) {
    QString out;
    for (const QChar ch : name.trimmed())
        out += ch.isLetterOrNumber() ? ch : QLatin1Char('_');
    return out.left(20);
}

// Adds her row to the index and names her file after its number; inside the caller's transaction.
qint64 addIndexRow(data::Connection& c, const data::Value& name, const data::Value& category,
                   const data::Value& week, const data::Value& stage, const QDateTime& saved) {
    data::Query q(&c);
    q.setSql(QStringLiteral("insert into clients (file, name, category, week, stage, saved) "
                            "values (:file, :name, :category, :week, :stage, :saved)"));
    q.setParam(QStringLiteral("file"), QStringLiteral("?")); // named once the number is known
    q.setParam(QStringLiteral("name"), name);
    q.setParam(QStringLiteral("category"), category);
    q.setParam(QStringLiteral("week"), week);
    q.setParam(QStringLiteral("stage"), stage);
    q.setParam(QStringLiteral("saved"),
               saved.isValid() ? data::Value(saved.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                               : data::Value());
    q.execute();
    q.setSql(QStringLiteral("select last_insert_rowid()"));
    q.open();
    const qint64 id = q.field(0).toInteger();
    q.setSql(QStringLiteral("update clients set file = :file where id = :id"));
    q.setParam(QStringLiteral("file"), data::clientFileName(id));
    q.setParam(QStringLiteral("id"), id);
    q.execute();
    return id;
}

QString clientsFolder(data::Connection& c) {
    const QString folder = data::clientsFolderFor(c.databasePath());
    if (!QDir().mkpath(folder))
        throw data::Error(QStringLiteral("无法建立客户档案文件夹“%1”。").arg(shown(folder)));
    return folder;
}

// Adds a client whose file was made under a temporary name: her index row, her file renamed to her
// number, then the commit; when anything fails, the index is as it was and the temporary file is
// removed. Returns her number.
qint64 addClient(data::Connection& c, const QString& folder, const QString& temp, const RecordSummary& r) {
    try {
        data::Transaction t(c);
        const qint64 id = addIndexRow(c, r.name, r.category, r.week, r.stage, r.saved);
        const QString path = QDir(folder).filePath(data::clientFileName(id));
        data::moveOutOfTheWay(path, c.databasePath()); // a reset database numbers from 1 again
        if (!QFile::rename(temp, path))
            throw data::Error(QStringLiteral("无法建立客户档案文件“%1”。").arg(shown(path)));
        try {
            t.commit();
        } catch (...) {
            QFile::rename(path, temp);
            throw;
        }
        return id;
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

// A file name in the folder that nothing uses, for a file being made.
QString temporaryPath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("new-%1-%2.part")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(QDateTime::currentMSecsSinceEpoch()));
}

} // namespace

RecordSummary readRecordSummary(const QString& path, const QString& password) {
    data::Connection own(data::connectionStringForFile(path, password));
    data::Query q(&own);
    q.setSql(QStringLiteral("select name, csjd, yq_week, yq_jd from personinf"));
    q.open();
    RecordSummary r;
    if (q.eof())
        return r;
    r.name = q.field(0);
    r.category = q.field(1);
    if (r.category.toText() == data::kCategoryPregnant) {
        r.week = q.field(2).isNull() ? data::Value() : data::Value(q.field(2).toText());
        r.stage = q.field(3);
    }
    return r;
}

bool keepsClients(data::Connection& c) {
    return data::tableHasColumn(c, QStringLiteral("clients"), QStringLiteral("file"));
}

std::optional<ClientEntry> currentClient(data::Connection& c) {
    const qint64 id = data::attachedClientId(c);
    return id > 0 ? entryById(c, id) : std::nullopt;
}

QString clientTitle(const ClientEntry& e) {
    const QString name = e.name.trimmed();
    return name.isEmpty() ? QStringLiteral("未填姓名的客户") : name;
}

QString clientSummary(const ClientEntry& e) {
    QStringList parts{clientTitle(e)};
    if (!e.category.trimmed().isEmpty())
        parts << e.category.trimmed();
    if (!e.week.trimmed().isEmpty())
        parts << QStringLiteral("孕%1周").arg(e.week.trimmed()) +
                     (e.stage.trimmed().isEmpty() ? QString()
                                                  : QStringLiteral("（%1）").arg(e.stage.trimmed()));
    return parts.join(QStringLiteral(" · "));
}

namespace {

// Remembers the attached client for the next start.
void makeCurrent(data::Connection& c, const ClientEntry& e) {
    try {
        data::writeSetting(c, kCurrentClientKey, QString::number(e.id));
    } catch (const data::Error&) {
        // She is current all the same; the next start opens the most recently saved client instead.
    }
}

} // namespace

QString clientPath(data::Connection& c, const ClientEntry& e) {
    return QDir(data::clientsFolderFor(c.databasePath())).filePath(e.file);
}

ClientEntry newClient(data::Connection& c) {
    const QString folder = clientsFolder(c);
    const QString temp = temporaryPath(folder);
    data::createClientFile(temp, c.password());
    RecordSummary empty;
    empty.saved = QDateTime::currentDateTime();
    const qint64 id = addClient(c, folder, temp, empty);
    const std::optional<ClientEntry> made = entryById(c, id);
    if (!made)
        throw data::Error(QStringLiteral("新客户未能记入客户列表。"));
    // A new file holds nothing worth a copy yet; her copies start on the next day she is opened.
    data::attachClientFile(c, clientPath(c, *made), made->id);
    makeCurrent(c, *made);
    return *made;
}

QString openClient(data::Connection& c, const ClientEntry& e) {
    const QString path = clientPath(c, e);
    data::attachClientFile(c, path, e.id);
    // Her file is attached and proven but nothing has been written yet: the day's copy holds her file
    // as the last day left it.
    const data::DailyBackup copy = data::backupIfDue(
        c, QStringLiteral("client"), data::backupFolderFor(c.databasePath()), data::Clock::now());
    makeCurrent(c, e);
    return copy.problem;
}

StartOutcome openClientAtStart(data::Connection& c) {
    StartOutcome out;
    if (!keepsClients(c))
        return out;
    QList<ClientEntry> all = readClients(c);
    const qint64 last = data::readSetting(c, kCurrentClientKey).toLongLong();
    std::stable_partition(all.begin(), all.end(), [last](const ClientEntry& e) { return e.id == last; });
    for (const ClientEntry& e : std::as_const(all)) {
        try {
            out.backupProblem = openClient(c, e);
            out.client = e;
            return out;
        } catch (const data::Error& err) {
            out.problems << err.text();
            out.failed << e;
        }
    }
    // A new, empty client only for a file that has none: when her files could not be used, none is
    // current, so the counsellor can restore them first and no empty client is made in their stead.
    if (all.isEmpty()) {
        out.client = newClient(c);
        out.created = true;
    }
    return out;
}

QString deleteClient(data::Connection& c, const ClientEntry& e) {
    const QString path = clientPath(c, e);
    const QString folder = data::backupFolderFor(c.databasePath());
    if (!QDir().mkpath(folder))
        throw data::Error(QStringLiteral("无法建立备份文件夹“%1”。").arg(shown(folder)));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString part = fileNamePart(e.name);
    const QString base = (part.isEmpty() ? QString() : part + QLatin1Char('-')) +
                         QFileInfo(e.file).completeBaseName() + QStringLiteral("-已删除-") + stamp;
    QString target = QDir(folder).filePath(base + QStringLiteral(".dbz"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QDir(folder).filePath(QStringLiteral("%1-%2.dbz").arg(base).arg(n));

    const bool current = data::attachedClientId(c) == e.id;
    if (current)
        data::detachClientFile(c);
    try {
        data::Transaction t(c);
        data::Query q(&c);
        q.setSql(QStringLiteral("delete from clients where id = :id"));
        q.setParam(QStringLiteral("id"), e.id);
        q.execute();
        if (QFileInfo::exists(path) && !QFile::rename(path, target))
            throw data::Error(QStringLiteral("无法把客户档案“%1”移到备份文件夹“%2”，客户未删除。")
                                  .arg(shown(path), shown(folder)));
        try {
            t.commit();
        } catch (...) {
            QFile::rename(target, path);
            throw;
        }
    } catch (...) {
        if (current) {
            try {
                openClient(c, e); // she stays, and stays current
            } catch (...) {
            }
        }
        throw;
    }
    return target;
}

void exportClient(data::Connection& c, const ClientEntry& e, const QString& target) {
    if (c.inTransaction())
        throw data::Error(QStringLiteral("正在保存数据时不能导出客户档案。"));
    const QString path = clientPath(c, e);
    // Never over one of the program's own files: writing over the shared file or a client's file
    // (her own among them, open as the current client) would lose what they hold.
    const QFileInfo to(target);
    const QString toFolder = QFileInfo(to.absolutePath()).canonicalFilePath();
    const QFileInfo shared(c.databasePath());
    const QString clients = QFileInfo(data::clientsFolderFor(c.databasePath())).canonicalFilePath();
    if (!toFolder.isEmpty() && ((!clients.isEmpty() && toFolder == clients) ||
                                (toFolder == QFileInfo(shared.absolutePath()).canonicalFilePath() &&
                                 to.fileName().startsWith(shared.fileName()))))
        throw data::Error(
            QStringLiteral("“%1”是本程序自己的数据文件，不能导出到那里，请另选位置。").arg(shown(target)));
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp);
    QFile source(path);
    if (!source.copy(temp)) {
        QFile::remove(temp);
        throw data::Error(
            QStringLiteral("无法把客户档案导出到“%1”：%2").arg(shown(target), source.errorString()));
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        QFile::remove(temp);
        throw data::Error(QStringLiteral("无法替换已有的文件“%1”。").arg(shown(target)));
    }
    if (!QFile::rename(temp, target)) {
        QFile::remove(temp);
        throw data::Error(QStringLiteral("无法把客户档案导出到“%1”。").arg(shown(target)));
    }
}

ClientEntry importClient(data::Connection& c, const QString& source) {
    if (!QFileInfo(source).isFile())
        throw data::Error(QStringLiteral("找不到文件“%1”。").arg(shown(source)));
    const QString folder = clientsFolder(c);
    const QString temp = temporaryPath(folder);
    {
        QFile f(source);
        if (!f.copy(temp)) {
            QFile::remove(temp);
            throw data::Error(QStringLiteral("无法读取文件“%1”：%2").arg(shown(source), f.errorString()));
        }
    }
    try {
        RecordSummary r;
        try {
            // A file under the program's password (from a computer where no password was set, or
            // copied before she set hers) is taken too; the copy gets the session's password.
            if (data::hasOwnPassword(c) && !data::opensWith(temp, c.password()) &&
                data::opensWith(temp, data::programPassword()))
                data::rekeyFile(temp, data::programPassword(), c.password());
            data::checkClientFile(temp, c.password());
            r = readRecordSummary(temp, c.password());
        } catch (const data::Error& e) {
            throw data::Error(
                QStringLiteral("文件“%1”不能导入：它不是本系统的客户档案、已损坏，或用别的密码加密。（%2）")
                    .arg(shown(source), e.text()));
        }
        r.saved = QFileInfo(source).lastModified();
        const qint64 id = addClient(c, folder, temp, r);
        if (const std::optional<ClientEntry> e = entryById(c, id))
            return *e;
        throw data::Error(QStringLiteral("导入的客户未能记入客户列表。"));
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

} // namespace nc::clients
