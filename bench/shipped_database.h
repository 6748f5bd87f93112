#pragma once
// Makes the database the program ships (schema and seed folder of the source tree) in a folder of the
// benchmark's own, with one client's file (client-000001.dbz) beside it, optionally with more seed rows
// (those of client tables go to her file), and returns the shared file's connection string. A
// connection on it works on the client once useShippedClient has attached her.

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "data/query.h"

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

// A year of her diet record in the attached client's file, written as the diet record writes it (one
// day, then its fifteen foods), with her record filled in: the file a busy counsellor's client has.
inline void writeClientYear(data::Connection& c, const QString& name = QStringLiteral("林晓雯")) {
    data::Transaction year(c);
    data::Query q(&c);
    q.setSql(QStringLiteral("update personinf set name = :name, csjd = '孕妇', yq_week = 20"));
    q.setParam(QStringLiteral("name"), name);
    q.execute();
    for (int day = 1; day <= 365; ++day) {
        q.setSql(QStringLiteral("insert into ts (tsid) values (:d)"));
        q.setParam(QStringLiteral("d"), day);
        q.execute();
        q.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl, meal) values (:d, :f, :g, '午餐')"));
        for (int f = 0; f < 15; ++f) {
            q.setParam(QStringLiteral("d"), day);
            q.setParam(QStringLiteral("f"), QStringLiteral("食物%1").arg(f));
            q.setParam(QStringLiteral("g"), 50 + f);
            q.execute();
        }
    }
    year.commit();
}

} // namespace nc::bench
