#pragma once
// One file per client. Each woman's own tables (her record, the physique and analysis working tables,
// the days and foods of her diet record) live in an encrypted file of her own in the folder "clients"
// beside the shared database; the food table, categories, recipes, evaluation texts, settings and the
// index of clients stay in the shared file, so a food corrected once is right for every client.
//
// The shared file is the connection's main database and the current client's file is attached to it
// as "client". SQLite looks an unqualified table name up in main first and then in the attached
// files, so every statement of the program reads and writes the current client's tables unchanged.
// One transaction spans both files (rollback journals, so the commit is atomic across them), and
// temporary triggers on her tables keep her row of the index in step with every save, in the same
// transaction as the save itself.

#include "database_builder.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace nc::data {

class Connection;

// The tables a client's file holds, in the order they are made.
const QStringList& clientTables();

// The layout of a client's file, recorded in its PRAGMA user_version. A file with a higher number was
// made by a later program and is not opened.
inline constexpr int kClientFileVersion = 1;

// The script that makes a client's tables, and the rows a new client's file starts with (the one empty
// record, the one physique row, the fourteen nutrient rows, the three energy-split rows). Both are
// built into the program.
QString clientSchemaSql();
QList<SeedTable> clientSeeds();

// The folder of the client files that belong to a shared database: "clients" beside it.
QString clientsFolderFor(const QString& sharedDatabasePath);
// The file name of the client with index number `id`: "client-000012.dbz".
QString clientFileName(qint64 id);

// Moves a file lying where a client's file is about to be made (left by a conversion that failed
// half-way, or by anything else) into the backups folder beside the shared file, never overwriting it.
// Nothing happens when there is no such file. Throws Error when it cannot be moved.
void moveOutOfTheWay(const QString& path, const QString& sharedDatabasePath);

// Makes a client's file at `path`: her tables, the starting rows, then `extra` rows (seed tables of
// client tables only). Written under a temporary name and renamed, like every new database file.
// Throws Error when the path exists or anything fails.
void createClientFile(const QString& path, const QString& password, const QList<SeedTable>& extra = {});

// Splits a list of seed tables: the ones of client tables are taken out and returned.
QList<SeedTable> takeClientSeeds(QList<SeedTable>& seeds);

// Checks a client's file on a connection of its own: it opens with the password, has every client
// table and a layout this program knows. Throws Error with a Chinese sentence naming the file.
void checkClientFile(const QString& path, const QString& password);

// The index of clients in the shared file ("clients"): makes the table when missing.
void createClientIndex(Connection& c);

// Makes the client file `path` (index row `indexId`) the current client of the connection: attaches
// it as "client" (detaching the one before) and sets the triggers that keep her index row in step.
// Redone whenever the connection reopens. The file is checked first: it must exist, open with the
// connection's password, have every client table and a layout this program knows. Throws Error with a
// Chinese sentence naming the file when it cannot be used; the client before then stays current.
// Must not be called inside a transaction.
void attachClientFile(Connection& c, const QString& path, qint64 indexId);
// Detaches the current client's file, if any.
void detachClientFile(Connection& c);
// The path of the attached client file and its index row ("" and 0 when none).
QString attachedClientFile(const Connection& c);
qint64 attachedClientId(const Connection& c);

// For tools and test fixtures: makes a working pair in `folder`, the shared database from the schema
// and the seeds that are not client tables, and the client file of index row 1 from the client tables'
// seeds (after the starting rows those seeds replace: a seed given for a client table is loaded instead
// of its starting rows), with its row in the index. Returns the client file's path.
QString createDatabaseWithClient(const QString& folder, const QString& password, const QString& schemaSql,
                                 QList<SeedTable> seeds, int version = latestDatabaseVersion());

} // namespace nc::data
