#include "places.h"

#include "client_file.h"
#include "connection.h"
#include "errors.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace nc::data {

namespace {

Places g_places;
bool g_set = false;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Copies the seed to `target` under a temporary name in the same folder and renames it, so the
// target is either absent or complete. The copy is private to the user: it holds personal records.
void copySeed(const QString& seed, const QString& target) {
    if (seed.isEmpty() || !QFileInfo::exists(seed))
        throw Error(
            QStringLiteral("找不到初始数据库“%1”，无法新建数据库。请重新安装本程序。").arg(native(seed)));
    const QString temporary = target + QStringLiteral(".new");
    QFile::remove(temporary);
    QFile source(seed);
    if (!source.copy(temporary)) {
        const QString why = source.errorString();
        QFile::remove(temporary);
        throw Error(QStringLiteral("无法新建数据库“%1”：%2").arg(native(target), why));
    }
    QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        throw Error(QStringLiteral("无法新建数据库“%1”：文件无法改名。").arg(native(target)));
    }
}

} // namespace

QString Places::databaseFile() const {
    return QDir(writable).filePath(QString::fromLatin1(kDatabaseFileName));
}

Places placesFor(const QString& programFolder, const QString& userDataFolder) {
    const QDir program(programFolder);
    const QString name = QString::fromLatin1(kProgramName);
    const QString database = QString::fromLatin1(kDatabaseFileName);
    const QString share = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/") + name));
    // The seed lies in a folder of its own: installed into ~/.local, the share folder and the user's
    // data folder are one, and the user's database must never be the installed file itself.
    const QString shippedSeed = QDir(share).filePath(QStringLiteral("seed/") + database);
    Places p;
    if (QFileInfo::exists(shippedSeed)) {
        p.installed = true;
        p.shipped = share;
        p.writable = QDir::cleanPath(userDataFolder);
        p.seed = shippedSeed;
        return p;
    }
    p.shipped = QDir::cleanPath(program.absolutePath());
    p.writable = p.shipped;
    const QString seed = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../seed/") + database));
    if (QFileInfo::exists(seed))
        p.seed = seed;
    return p;
}

QString userDataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QString::fromLatin1(kProgramName));
}

bool prepareDataFolder(const Places& places) {
    if (!QDir().mkpath(places.writable))
        throw Error(QStringLiteral("无法建立数据文件夹“%1”。").arg(native(places.writable)));
    // From the build folder the build makes the database; a missing one is reported when it is read.
    if (!places.installed || QFileInfo::exists(places.databaseFile()))
        return false;
    copySeed(places.seed, places.databaseFile());
    return true;
}

QString resetDatabase(const Places& places) {
    if (places.seed.isEmpty() || !QFileInfo::exists(places.seed))
        throw Error(QStringLiteral("没有可用的初始数据库，数据库没有重置。"));
    if (!QDir().mkpath(places.writable))
        throw Error(QStringLiteral("无法建立数据文件夹“%1”。").arg(native(places.writable)));
    const QString database = places.databaseFile();
    // The clients' files belong to the database's index, so they are set aside with it, under the same
    // date and time ("clients.20261211-093000"), and the reset database starts without clients.
    const QString clients = clientsFolderFor(database);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString suffix = stamp;
    for (int n = 2; QFileInfo::exists(database + QLatin1Char('.') + suffix) ||
                    QFileInfo::exists(clients + QLatin1Char('.') + suffix);
         ++n)
        suffix = stamp + QLatin1Char('-') + QString::number(n);
    QString kept, keptClients;
    if (QFileInfo::exists(database)) {
        kept = database + QLatin1Char('.') + suffix;
        if (!QFile::rename(database, kept))
            throw Error(QStringLiteral("无法把数据库“%1”改名保存，数据库没有重置。").arg(native(database)));
    }
    const auto putBack = [&] { // never leave the user without data
        if (!kept.isEmpty())
            QFile::rename(kept, database);
        if (!keptClients.isEmpty())
            QDir().rename(keptClients, clients);
    };
    if (QFileInfo(clients).isDir()) {
        keptClients = clients + QLatin1Char('.') + suffix;
        if (!QDir().rename(clients, keptClients)) {
            keptClients.clear();
            putBack();
            throw Error(
                QStringLiteral("无法把客户档案文件夹“%1”改名保存，数据库没有重置。").arg(native(clients)));
        }
    }
    try {
        copySeed(places.seed, database);
    } catch (...) {
        putBack();
        throw;
    }
    return kept;
}

void setPlaces(const Places& places) {
    g_places = places;
    g_set = true;
}

void clearPlaces() {
    g_places = {};
    g_set = false;
}

bool placesSet() {
    return g_set;
}

QString shippedFolder() {
    return g_set ? g_places.shipped : QDir::currentPath();
}

QString writableFolder() {
    return g_set ? g_places.writable : QDir::currentPath();
}

const Places& places() {
    return g_places;
}

} // namespace nc::data
