// The day's copy of a client's file with a year's diet record (365 days of 15 foods): the copy itself
// (limit 100 ms), the check made on every later opening of the day (a copy of today is there already),
// and the copy of the shared file made at start. Prints the median and the slowest of each.

#include "data/backups.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/query.h"
#include "shipped_database.h"
#include "timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using nc::bench::Figures;
using nc::bench::measure;
using nc::bench::report;

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    namespace data = nc::data;
    QTemporaryDir dir;
    data::Connection db;
    try {
        db.setConnectionString(nc::bench::makeShippedDatabase(dir.path()));
        nc::bench::useShippedClient(db);
        nc::bench::writeClientYear(db);
    } catch (const data::Error& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.text()));
        return 1;
    }
    const QString client = data::attachedClientFile(db);
    const QString shared = db.databasePath();
    const QString folder = data::backupFolderFor(shared);
    std::printf("client's file %.0f KiB, shared file %.0f KiB\n", QFileInfo(client).size() / 1024.0,
                QFileInfo(shared).size() / 1024.0);

    try {
        // Each copy on a day of its own, so each is made; the program's connection stays open on both
        // files, as it is when a client is opened.
        const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
        report("copy of her file (365 days x 15 foods)",
               measure(15,
                       [&](int i) {
                           (void)data::backupDatabaseFile(client, db.password(), folder, start.addDays(i));
                       }),
               100);
        // The same copy read through the program's connection, where her file is attached: the key is
        // derived once, for the new file only.
        report("copy of her file, read through the connection",
               measure(15,
                       [&](int i) {
                           (void)data::backupDatabaseFile(db, QStringLiteral("client"), folder,
                                                          start.addDays(50 + i));
                       }),
               100);
        // The daily copy on a new day: the folder looked through, the copy made, old copies thinned out
        // (15 copies there, so some are removed).
        int day = 100;
        report("daily copy, first opening of a day",
               measure(15,
                       [&](int) {
                           const data::DailyBackup b =
                               data::backupIfDue(db, QStringLiteral("client"), folder, start.addDays(day++));
                           if (!b.problem.isEmpty())
                               throw data::Error(b.problem);
                       }),
               100);
        // Every later opening on the same day only looks for today's copy.
        const QDateTime later = start.addDays(day - 1).addSecs(3600);
        report("daily copy, later opening the same day",
               measure(30, [&](int) { (void)data::backupIfDue(client, db.password(), folder, later); }), 0);
        report("copy of the shared file (at start)",
               measure(7,
                       [&](int i) {
                           (void)data::backupDatabaseFile(shared, db.password(), folder, start.addDays(i));
                       }),
               0);
    } catch (const data::Error& e) {
        std::fprintf(stderr, "backup: %s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("(%lld files in the backups folder)\n", qint64(QDir(folder).entryList(QDir::Files).size()));
    return 0;
}
