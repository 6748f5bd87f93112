#pragma once
// A fresh encrypted database in a temporary folder, made from the real schema, registered as the
// process-wide connection for the life of the fixture. Never touches the program's own database.

#include "data/connection.h"
#include "data/database_builder.h"
#include "data/query.h"

#include <QMap>
#include <QTemporaryDir>
#include <memory>

namespace nc::test {

// The database password, read from the program's own connection string.
QString databasePassword();
// The folder of the project's sources (schema and seeds).
QString sourceDir();

// A seed table written inline: table name, column names, rows of cell texts ("" = null).
data::SeedTable seed(const QString& table, const QStringList& header, const QList<QStringList>& rows);

class FixtureDb {
public:
    enum class Content {
        FixedRows,     // the working tables' fixed rows and the food categories, no foods
        ShippedSeeds,  // everything the shipped database holds, all foods included
        FirstRelease,  // a file as the first release made it: its schema and seeds, the first food
                       // table, no update version (tests/support/earlier_database)
        SecondRelease, // a file as the release with meals and portions made it: its schema and seeds,
                       // update version 2 (tests/support/second_release_database)
        ThirdRelease,  // a file as the release with texts by category and settings made it, one file for
                       // everything, update version 4 (tests/support/third_release_database)
    };
    // Extra seed tables are loaded after the chosen content.
    explicit FixtureDb(Content content = Content::FixedRows, const QList<data::SeedTable>& extra = {});
    ~FixtureDb();

    QString folder() const { return dir_.path(); }
    QString path() const; // the shared file (an earlier release's content: the one file)
    // The client's file attached as the current client ("" for an earlier release's content).
    QString clientPath() const { return client_; }
    data::Connection& connection() { return *conn_; }
    // After an update made an earlier release's file the shared one: attaches the client its record
    // moved to (the first of the index), as the program does at start. Returns her file's path.
    QString attachFirstClient();

    // Conveniences for assertions: run a statement, read one value. Values go in as ":name"
    // parameters, never pasted into the SQL text.
    using Params = QMap<QString, data::Value>;
    void exec(const QString& sql, const Params& params = {});
    data::Value scalar(const QString& sql, const Params& params = {});
    int count(const QString& table);

private:
    QTemporaryDir dir_;
    QString client_;
    std::unique_ptr<data::Connection> conn_;
    data::Connection* previous_ = nullptr;
};

} // namespace nc::test
