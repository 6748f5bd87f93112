#include "restore.h"

#include "client_store.h"

#include "data/backups.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "data/file_check.h"
#include "data/password.h"
#include "data/query.h"
#include "data/values.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <filesystem>

namespace nc::clients {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

std::function<void(const QString&, const QString&)>& beforePutInPlace() {
    static std::function<void(const QString&, const QString&)> hook;
    return hook;
}

int countOf(data::Connection& own, const QString& table) {
    data::Query q(&own);
    q.setSql(QStringLiteral("select count(*) from %1").arg(table));
    q.open();
    return int(q.field(0).toInteger());
}

QSet<QString> tablesOf(data::Connection& own) {
    data::Query q(&own);
    q.setSql(QStringLiteral("select lower(name) from sqlite_master where type = 'table'"));
    q.open();
    QSet<QString> out;
    for (; !q.eof(); q.next())
        out.insert(q.field(0).toText());
    return out;
}

// Opens the copy with each password in turn, gives it the full check and reads what the list shows.
BackupInfo describe(const QString& path, const QDateTime& moment, const QStringList& passwords) {
    BackupInfo out;
    out.path = path;
    out.moment = moment;
    const data::FileCheck head = data::checkFileHead(path);
    if (!head.good()) {
        out.state = BackupInfo::State::Damaged;
        out.problem = head.message;
        return out;
    }
    for (const QString& password : passwords) {
        data::Connection own(data::connectionStringForFile(path, password));
        try {
            own.handle();
        } catch (const data::DbError&) {
            continue; // not this password
        }
        out.password = password;
        const data::FileCheck check =
            data::checkOpenDatabase(own, QStringLiteral("main"), path, data::CheckDepth::Full);
        if (!check.good()) {
            out.state = BackupInfo::State::Damaged;
            out.problem = check.message;
            return out;
        }
        try {
            const QSet<QString> tables = tablesOf(own);
            if (tables.contains(QStringLiteral("clients")))
                out.clients = countOf(own, QStringLiteral("clients"));
            if (tables.contains(QStringLiteral("personinf"))) {
                data::Query q(&own);
                q.setSql(QStringLiteral("select name from personinf"));
                q.open();
                out.name = q.eof() ? QString() : q.field(0).toText().trimmed();
                out.days = countOf(own, QStringLiteral("ts"));
                out.foods = countOf(own, QStringLiteral("foodcheck"));
            }
        } catch (const data::Error& e) {
            out.state = BackupInfo::State::Damaged;
            out.problem = data::fileProblemText(data::FileState::Damaged, path, e.text());
        }
        return out;
    }
    out.state = BackupInfo::State::OtherPassword;
    out.problem = data::fileProblemText(data::FileState::WrongPassword, path);
    return out;
}

QList<std::pair<QString, QDateTime>> copiesOf(const QString& filePath, const QString& folder) {
    const QString fileName = QFileInfo(filePath).fileName();
    const QDir dir(folder);
    QList<std::pair<QString, QDateTime>> out;
    for (const QString& name :
         dir.entryList({QFileInfo(fileName).completeBaseName() + QStringLiteral("-*")}, QDir::Files))
        if (const std::optional<QDateTime> moment = data::backupMomentOf(name, fileName))
            out.append({dir.filePath(name), *moment});
    // Newest first; copies of the same second by name, so "-2" (made after) comes first.
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        if (a.second != b.second)
            return a.second > b.second;
        if (a.first.size() != b.first.size())
            return a.first.size() > b.first.size();
        return a.first > b.first;
    });
    return out;
}

// Renames over an existing file (replacing it in one step).
bool renameOver(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), ec);
    return !ec;
}

QString pidSuffix() {
    return QString::number(QCoreApplication::applicationPid());
}

// The copy, checked, made ready beside the file it is to replace: copied under a temporary name and,
// when it opens only with another password than the session's, given the session's password.
QString prepareCopy(const QString& copyPath, const QString& target, const QStringList& passwords,
                    const QString& sessionPassword, BackupInfo& info) {
    info = describe(copyPath,
                    data::backupMomentOf(QFileInfo(copyPath).fileName(), QFileInfo(target).fileName())
                        .value_or(QFileInfo(copyPath).lastModified()),
                    passwords);
    const QString refused = QStringLiteral("备份“%1”不能用来恢复，%2没有任何改动。")
                                .arg(shown(copyPath), QStringLiteral("原来的档案"));
    if (info.state == BackupInfo::State::OtherPassword)
        throw data::Error(refused + QStringLiteral("\n它用了别的密码，本程序打不开。"));
    if (info.state == BackupInfo::State::Damaged)
        throw data::Error(refused + QLatin1Char('\n') + info.problem);
    const QString temp = target + QStringLiteral(".restore-") + pidSuffix();
    QFile::remove(temp);
    QFile source(copyPath);
    if (!source.copy(temp)) {
        QFile::remove(temp);
        throw data::Error(QStringLiteral("无法复制备份“%1”：%2").arg(shown(copyPath), source.errorString()));
    }
    try {
        if (info.password != sessionPassword)
            data::rekeyFile(temp, info.password, sessionPassword);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    return temp;
}

struct KeptCurrent {
    QString keptAt; // the backup copy of a readable file, or where a damaged one went
    QString aside;  // a readable file set aside until the copy is in place ("" when none)
    QString moved;  // a damaged file moved into the backups ("" when none)
};

// Keeps the file about to be replaced: a readable one gets a backup copy and is set aside (its copy
// holds it), an unreadable one is moved into the backups whole, with its journal.
KeptCurrent keepCurrent(const QString& path, const QString& password, const QString& folder) {
    KeptCurrent out;
    if (!QFileInfo::exists(path))
        return out;
    const QDateTime now = QDateTime::currentDateTime();
    const data::FileCheck check = data::checkDatabaseFile(path, {password});
    if (check.good()) {
        out.keptAt = data::backupDatabaseFile(path, password, folder, now);
        out.aside = path + QStringLiteral(".old-") + pidSuffix();
        QFile::remove(out.aside);
        if (!QFile::rename(path, out.aside))
            throw data::Error(QStringLiteral("无法移开文件“%1”，没有恢复。").arg(shown(path)));
        return out;
    }
    if (!QDir().mkpath(folder))
        throw data::Error(QStringLiteral("无法建立备份文件夹“%1”，没有恢复。").arg(shown(folder)));
    const QString base = QFileInfo(path).completeBaseName() + QStringLiteral("-已损坏-") +
                         now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = QDir(folder).filePath(base + QStringLiteral(".dbz"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QDir(folder).filePath(QStringLiteral("%1-%2.dbz").arg(base).arg(n));
    if (!QFile::rename(path, target))
        throw data::Error(QStringLiteral("无法把损坏的文件“%1”移到备份文件夹，没有恢复。").arg(shown(path)));
    const QString journal = path + QStringLiteral("-journal");
    if (QFileInfo::exists(journal))
        QFile::rename(journal, target + QStringLiteral("-journal"));
    out.keptAt = target;
    out.moved = target;
    return out;
}

// Undoes a restore that failed: the copy out of the way (`placed`: it was renamed into place already),
// the file before back where it was, and its backup copy of a moment ago removed (it is back itself).
void undo(const QString& temp, const QString& path, bool placed, const KeptCurrent& kept) {
    QFile::remove(placed ? path : temp);
    if (!kept.aside.isEmpty()) {
        renameOver(kept.aside, path);
        if (!kept.keptAt.isEmpty())
            QFile::remove(kept.keptAt);
    } else if (!kept.moved.isEmpty()) {
        renameOver(kept.moved, path);
        if (QFileInfo::exists(kept.moved + QStringLiteral("-journal")))
            QFile::rename(kept.moved + QStringLiteral("-journal"), path + QStringLiteral("-journal"));
    }
}

void putInPlace(const QString& temp, const QString& path) {
    if (beforePutInPlace())
        beforePutInPlace()(temp, path);
    if (!renameOver(temp, path))
        throw data::Error(QStringLiteral("无法把备份放到“%1”。").arg(shown(path)));
}

void bindRecord(data::Query& q, const RecordSummary& r) {
    q.setParam(QStringLiteral("name"), r.name);
    q.setParam(QStringLiteral("category"), r.category);
    q.setParam(QStringLiteral("week"), r.week);
    q.setParam(QStringLiteral("stage"), r.stage);
}

} // namespace

QStringList restorePasswords(data::Connection& c) {
    QStringList out{c.password(), data::programPassword()};
    out.removeDuplicates();
    return out;
}

QList<BackupInfo> listBackups(const QString& filePath, const QString& backupFolder,
                              const QStringList& passwords) {
    QList<BackupInfo> out;
    for (const auto& [path, moment] : copiesOf(filePath, backupFolder))
        out.append(describe(path, moment, passwords));
    return out;
}

std::optional<BackupInfo> newestGoodBackup(const QString& filePath, const QString& backupFolder,
                                           const QStringList& passwords) {
    for (const auto& [path, moment] : copiesOf(filePath, backupFolder)) {
        BackupInfo info = describe(path, moment, passwords);
        if (info.state == BackupInfo::State::Good)
            return info;
    }
    return std::nullopt;
}

void setBeforePutInPlace(std::function<void(const QString&, const QString&)> hook) {
    beforePutInPlace() = std::move(hook);
}

RestoreOutcome restoreClientFile(data::Connection& c, const ClientEntry& e, const QString& copyPath) {
    if (c.inTransaction())
        throw data::Error(QStringLiteral("正在保存数据时不能恢复档案。"));
    const QString folder = data::clientsFolderFor(c.databasePath());
    const QString path = QDir(folder).filePath(e.file);
    const QString backups = data::backupFolderFor(c.databasePath());
    BackupInfo info;
    const QString temp = prepareCopy(copyPath, path, restorePasswords(c), c.password(), info);
    if (info.days < 0) {
        QFile::remove(temp);
        throw data::Error(QStringLiteral("备份“%1”不是客户档案，不能用来恢复客户“%2”的档案；没有任何改动。")
                              .arg(shown(copyPath), e.name.trimmed()));
    }
    const bool wasCurrent = data::attachedClientId(c) == e.id;
    if (wasCurrent)
        data::detachClientFile(c);
    RestoreOutcome out;
    KeptCurrent kept;
    bool placed = false;
    try {
        const RecordSummary r = readRecordSummary(temp, c.password());
        kept = keepCurrent(path, c.password(), backups);
        data::Transaction t(c);
        data::Query q(&c);
        q.setSql(QStringLiteral("update clients set name = :name, initials = null, category = :category, "
                                "week = :week, stage = :stage, saved = :saved where id = :id"));
        bindRecord(q, r);
        q.setParam(QStringLiteral("saved"),
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        q.setParam(QStringLiteral("id"), e.id);
        q.execute();
        putInPlace(temp, path);
        placed = true;
        t.commit();
    } catch (...) {
        undo(temp, path, placed, kept);
        if (wasCurrent) {
            try {
                data::attachClientFile(c, path, e.id);
            } catch (...) {
            }
        }
        throw;
    }
    out.keptAt = kept.keptAt;
    if (!kept.aside.isEmpty())
        QFile::remove(kept.aside); // its backup copy holds it
    if (wasCurrent) {
        try {
            data::attachClientFile(c, path, e.id);
        } catch (const data::Error& err) {
            out.reopenProblem = err.text();
        }
    }
    return out;
}

RestoreOutcome restoreSharedFile(data::Connection& c, const QString& copyPath) {
    if (c.inTransaction())
        throw data::Error(QStringLiteral("正在保存数据时不能恢复数据文件。"));
    const QString path = c.databasePath();
    const QString backups = data::backupFolderFor(path);
    BackupInfo info;
    const QString temp = prepareCopy(copyPath, path, restorePasswords(c), c.password(), info);
    if (info.clients < 0) {
        QFile::remove(temp);
        throw data::Error(QStringLiteral("备份“%1”不是按客户分别保存档案的数据文件（旧版本的备份），"
                                         "不能用来恢复；没有任何改动。")
                              .arg(shown(copyPath)));
    }
    const qint64 currentId = data::attachedClientId(c);
    const QString currentFile = data::attachedClientFile(c);
    data::detachClientFile(c);
    c.close();
    RestoreOutcome out;
    KeptCurrent kept;
    bool placed = false;
    try {
        kept = keepCurrent(path, c.password(), backups);
        putInPlace(temp, path);
        placed = true;
        // Clients whose files the restored index does not know (made after the copy) go back into it,
        // under their own numbers, with what their records say.
        data::Transaction t(c);
        QSet<QString> known;
        {
            data::Query q(&c);
            q.setSql(QStringLiteral("select lower(file) from clients"));
            q.open();
            for (; !q.eof(); q.next())
                known.insert(q.field(0).toText());
        }
        const QRegularExpression clientName(QStringLiteral("^client-(\\d{6})\\.dbz$"));
        const QDir clients(data::clientsFolderFor(path));
        for (const QString& name :
             clients.entryList({QStringLiteral("client-*.dbz")}, QDir::Files, QDir::Name)) {
            const QRegularExpressionMatch m = clientName.match(name);
            if (!m.hasMatch() || known.contains(name.toLower()))
                continue;
            RecordSummary r;
            try {
                r = readRecordSummary(clients.filePath(name), c.password());
            } catch (const data::Error&) {
                // Listed all the same, without her name: the list shows her, and opening her says why.
            }
            data::Query q(&c);
            q.setSql(QStringLiteral("insert into clients (id, file, name, category, week, stage, saved) "
                                    "values (:id, :file, :name, :category, :week, :stage, :saved)"));
            q.setParam(QStringLiteral("id"), m.captured(1).toLongLong());
            q.setParam(QStringLiteral("file"), name);
            bindRecord(q, r);
            q.setParam(QStringLiteral("saved"), QFileInfo(clients.filePath(name))
                                                    .lastModified()
                                                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            q.execute();
            out.readded << (r.name.toText().trimmed().isEmpty() ? name : r.name.toText().trimmed());
        }
        t.commit();
    } catch (...) {
        c.close();
        undo(temp, path, placed, kept);
        if (currentId > 0) {
            try {
                data::attachClientFile(c, currentFile, currentId);
            } catch (...) {
            }
        }
        throw;
    }
    out.keptAt = kept.keptAt;
    if (!kept.aside.isEmpty())
        QFile::remove(kept.aside);
    if (currentId > 0) {
        try {
            data::attachClientFile(c, currentFile, currentId);
        } catch (const data::Error& err) {
            out.reopenProblem = err.text();
        }
    }
    return out;
}

} // namespace nc::clients
