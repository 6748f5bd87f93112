#pragma once
// Makes the database the program ships (schema and seed folder of the source tree) in a folder of the
// benchmark's own, optionally with more seed rows, and returns its connection string.

#include "data/connection.h"
#include "data/database_builder.h"

#include <QDir>

namespace nc::bench {

inline QString makeShippedDatabase(const QString& folder, const QList<data::SeedTable>& extraSeeds = {}) {
    const QString source = QStringLiteral(NC_SOURCE_DIR);
    const QString cs = data::connectionStringForFolder(folder);
    const auto parsed = data::ConnectionString::parse(cs);
    data::createDatabase(parsed.dataSource, parsed.password,
                         data::readTextFile(source + QStringLiteral("/data/schema.sql")),
                         data::readSeedFolder(source + QStringLiteral("/data/seed")) + extraSeeds);
    return cs;
}

} // namespace nc::bench
