#pragma once
// Makes a new encrypted database file from the schema script and seed tables. Used by the build's
// make_database tool (the file shipped beside the program) and by the tests' fixture databases.

#include "csv.h"
#include "database_update.h"

#include <QList>
#include <QString>

namespace nc::data {

struct SeedTable {
    QString table;
    CsvTable data; // header = column names; an empty cell is stored as null
};

// The seed files of the shipped database and the tables they fill, in loading order.
QList<SeedTable> readSeedFolder(const QString& seedDir);

// Creates the file at `path`, encrypted with `password`, runs `schemaSql` and inserts the seed rows,
// all in one transaction. The file is first written under a temporary name and renamed into place,
// so a failure never leaves a half-made database. The file records `version` as its update version
// (the latest by default, so the program's updates never run on a file made from today's seeds).
// Throws Error when `path` already exists or anything fails.
void createDatabase(const QString& path, const QString& password, const QString& schemaSql,
                    const QList<SeedTable>& seeds, int version = latestDatabaseVersion());

// Reads a whole text file as UTF-8; throws Error naming the file when it cannot be read.
QString readTextFile(const QString& path);

} // namespace nc::data
