#pragma once
// Makes the database the program ships (schema and seed folder of the source tree) in a folder of the
// benchmark's own, with one client's file (client-000001.dbz) beside it, optionally with more seed rows
// (those of client tables go to her file), and returns the shared file's connection string. A
// connection on it works on the client once useShippedClient has attached her.

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"

#include <QDir>

namespace nc::bench {

inline QString makeShippedDatabase(const QString& folder, const QList<data::SeedTable>& extraSeeds = {}) {
    const QString source = QStringLiteral(NC_SOURCE_DIR);
    const QString cs = data::connectionStringForFolder(folder);
    const auto parsed = data::ConnectionString::parse(cs);
    data::createDatabaseWithClient(folder, parsed.password,
                                   data::readTextFile(source + QStringLiteral("/data/schema.sql")),
                                   data::readSeedFolder(source + QStringLiteral("/data/seed")) + extraSeeds);
    return cs;
}

// Attaches the client made by makeShippedDatabase to a connection on its shared file.
inline void useShippedClient(data::Connection& c) {
    data::attachClientFile(
        c, QDir(data::clientsFolderFor(c.databasePath())).filePath(data::clientFileName(1)), 1);
}

} // namespace nc::bench
