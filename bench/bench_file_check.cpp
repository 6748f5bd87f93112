// The check of a client's file with a year's diet record (365 days of 15 foods): as made when she is
// opened (read through the program's connection, where her file is attached: its size, page count and
// quick check; limit 50 ms), the same check on a connection of its own (the key derived once more),
// the full integrity check given to a copy before it is put in place, and opening her with the check
// included. Then the list of her copies (ten of them) the restore window shows. Prints the median and
// the slowest of each.

#include "clients/restore.h"
#include "data/backups.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/file_check.h"
#include "data/query.h"
#include "shipped_database.h"
#include "timing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    namespace data = nc::data;
    using nc::bench::measure;
    using nc::bench::report;
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
    const QString folder = data::backupFolderFor(db.databasePath());
    std::printf("client's file %.0f KiB\n", QFileInfo(client).size() / 1024.0);

    const auto mustBeGood = [](const data::FileCheck& check) {
        if (!check.good())
            throw data::Error(check.message);
    };
    try {
        report("check at open, through the connection",
               measure(30,
                       [&](int) {
                           mustBeGood(data::checkFileHead(client));
                           mustBeGood(data::checkOpenDatabase(db, QStringLiteral("client"), client));
                       }),
               50);
        report("check on a connection of its own",
               measure(15, [&](int) { mustBeGood(data::checkDatabaseFile(client, {db.password()})); }), 0);
        report("full integrity check, connection of its own",
               measure(15,
                       [&](int) {
                           mustBeGood(
                               data::checkDatabaseFile(client, {db.password()}, data::CheckDepth::Full));
                       }),
               0);
        report("opening her (attach, check, tables)",
               measure(15, [&](int) { data::attachClientFile(db, client, 1); }), 0);
        const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
        for (int i = 0; i < 10; ++i)
            (void)data::backupDatabaseFile(db, QStringLiteral("client"), folder, start.addDays(i));
        report("list of her ten copies (restore window)",
               measure(3,
                       [&](int) {
                           if (nc::clients::listBackups(client, folder, nc::clients::restorePasswords(db))
                                   .size() != 10)
                               throw data::Error(QStringLiteral("copies missing"));
                       }),
               0);
    } catch (const data::Error& e) {
        std::fprintf(stderr, "check: %s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
