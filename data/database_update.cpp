#include "database_update.h"

#include "backups.h"
#include "client_split_update.h"
#include "clock.h"
#include "connection.h"
#include "errors.h"
#include "evaluation_texts_update.h"
#include "food_table_update.h"
#include "meals_portions_update.h"
#include "query.h"
#include "settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nc::data {

const QList<DatabaseUpdate>& databaseUpdates() {
    // Append new steps at the end with the next number; never renumber or change a step that has
    // shipped, since files in use already record it as applied.
    static const QList<DatabaseUpdate> steps = {
        {1, QStringLiteral("食物成分表更正"),
         QStringLiteral("corrected food composition table, 20 added cereal foods"),
         &applyShippedFoodTableCorrection},
        {2, QStringLiteral("为食物记录和食谱增加餐次与家常份量"),
         QStringLiteral(
             "Meal and portion columns on foodcheck and sps; the table of typical household portions"),
         &addMealsAndPortions},
        {3, QStringLiteral("按人群类别给出膳食评价，增加可耐受最高摄入量"),
         QStringLiteral("Evaluation texts by category and for intakes at or above the tolerable upper level; "
                        "the upper levels of the person's category beside the references"),
         [](Connection& c) { addCategoryTextsAndUpperLevels(c); }},
        {4, QStringLiteral("增加程序设置表（体格评价标准的选择）"),
         QStringLiteral(
             "The settings table (key, value); the evaluation standard defaults to the program's own"),
         &addSettingsTable},
        {5, QStringLiteral("每位客户的档案改为单独的文件"),
         QStringLiteral("One file per client: the record and diet record move to the first client's file; "
                        "this file keeps the shared food table, recipes and texts, and the index of clients"),
         &moveRecordToFirstClient},
    };
    return steps;
}

int latestDatabaseVersion() {
    const QList<DatabaseUpdate>& steps = databaseUpdates();
    return steps.isEmpty() ? 0 : steps.last().version;
}

int databaseVersion(Connection& c) {
    Query q(&c);
    q.setSql(QStringLiteral("PRAGMA user_version"));
    q.open();
    return int(q.field(0).toInteger());
}

void setDatabaseVersion(Connection& c, int version) {
    // A pragma takes no bound parameters; the number is an int, so nothing typed reaches the text.
    c.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

QString backupFolderFor(const QString& databasePath) {
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QString backupPathIn(const QString& folder, const QString& fileName, const QDateTime& moment) {
    const QFileInfo file(fileName);
    const QDir dir(folder);
    const QString base =
        file.completeBaseName() + QLatin1Char('-') + moment.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    QString path = dir.filePath(base + suffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix));
    return path;
}

QString backupPathFor(const QString& databasePath, const QDateTime& moment) {
    return backupPathIn(backupFolderFor(databasePath), QFileInfo(databasePath).fileName(), moment);
}

namespace {

// Copies the file while the update's transaction holds the write lock, on a connection of its own
// with the same password (backups.h), so the copy is an encrypted, consistent database.
QString makeBackup(Connection& c) {
    return backupDatabaseFile(c.databasePath(), c.password(), backupFolderFor(c.databasePath()),
                              Clock::now());
}

// The files the running update's steps made, removed when it fails.
QStringList& madeByUpdate() {
    static QStringList files;
    return files;
}

void removeMadeFiles() {
    for (const QString& path : std::as_const(madeByUpdate())) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
    }
    madeByUpdate().clear();
}

QString withoutFinalStop(QString text) {
    while (text.endsWith(QChar(0x3002)) || text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

void removeIfUpdateFails(const QString& path) {
    madeByUpdate().append(path);
}

UpdateOutcome updateDatabase(Connection& c, const QList<DatabaseUpdate>& steps) {
    UpdateOutcome out;
    const QString shown = QDir::toNativeSeparators(c.databasePath());
    QString stepName;
    try {
        out.fromVersion = out.toVersion = databaseVersion(c);
    } catch (const std::exception&) {
        out.status = UpdateOutcome::Status::Unavailable;
        return out;
    }
    try {
        const int latest = steps.isEmpty() ? 0 : steps.last().version;
        if (out.fromVersion > latest) {
            out.status = UpdateOutcome::Status::TooNew;
            return out;
        }
        if (out.fromVersion == latest)
            return out;

        madeByUpdate().clear();
        Transaction t(c);
        out.backupPath = makeBackup(c);
        for (const DatabaseUpdate& step : steps) {
            if (step.version <= out.fromVersion)
                continue;
            stepName = step.description;
            step.apply(c);
            setDatabaseVersion(c, step.version);
        }
        stepName.clear();
        t.commit();
        madeByUpdate().clear();
        // Statements prepared before the update may describe tables as they were ("select *" keeps
        // its old columns until re-prepared); closing drops them, and the next statement reopens.
        c.close();
        out.toVersion = latest;
        out.status = UpdateOutcome::Status::Updated;
        out.message = QStringLiteral("数据库文件“%1”已更新到最新版本。更新前的文件已备份为“%2”。")
                          .arg(shown, QDir::toNativeSeparators(out.backupPath));
    } catch (const std::exception& e) {
        c.close(); // the transaction is rolled back; drop statements prepared on the changed tables
        removeMadeFiles();
        out.status = UpdateOutcome::Status::Failed;
        out.toVersion = out.fromVersion;
        const QString reason = withoutFinalStop(QString::fromUtf8(e.what()));
        out.message =
            (stepName.isEmpty()
                 ? QStringLiteral("数据库文件“%1”未能更新：%2。").arg(shown, reason)
                 : QStringLiteral("数据库文件“%1”未能更新（%2）：%3。").arg(shown, stepName, reason)) +
            QStringLiteral("文件保持原样，未做任何改动；程序仍可使用，数据为更新前的内容。");
    }
    return out;
}

} // namespace nc::data
