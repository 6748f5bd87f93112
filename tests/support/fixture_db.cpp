#include "fixture_db.h"

#include "data/client_file.h"

#include <QDir>

namespace nc::test {

QString sourceDir() {
    return QString::fromUtf8(NC_SOURCE_DIR);
}

QString databasePassword() {
    return data::programPassword();
}

data::SeedTable seed(const QString& table, const QStringList& header, const QList<QStringList>& rows) {
    data::SeedTable t;
    t.table = table;
    t.data.header = header;
    t.data.rows = rows;
    return t;
}

FixtureDb::FixtureDb(Content content, const QList<data::SeedTable>& extra) {
    // The releases' own schema and seeds, kept as they shipped; the others are today's.
    const bool first = content == Content::FirstRelease;
    const bool second = content == Content::SecondRelease;
    const bool third = content == Content::ThirdRelease;
    const bool earlier = first || second || third;
    const QString seedDir = sourceDir() + (first    ? QStringLiteral("/tests/support/earlier_database")
                                           : second ? QStringLiteral("/tests/support/second_release_database")
                                           : third  ? QStringLiteral("/tests/support/third_release_database")
                                                    : QStringLiteral("/data/seed"));
    const QString schema =
        earlier ? seedDir + QStringLiteral("/schema.sql") : sourceDir() + QStringLiteral("/data/schema.sql");
    const int version = first ? 0 : second ? 2 : third ? 4 : data::latestDatabaseVersion();
    QList<data::SeedTable> seeds;
    for (const data::SeedTable& s : data::readSeedFolder(seedDir)) {
        if (content == Content::FixedRows && s.table == QLatin1String("Foodnurti"))
            continue;
        seeds.append(s);
    }
    seeds += extra;
    const QString file = dir_.filePath(QString::fromLatin1(data::kDatabaseFileName));
    // Today's content is a shared file and one client's file, attached as the program attaches the
    // current client; an earlier release's file is one file holding everything, as it was made then.
    QString& client = client_;
    if (earlier)
        data::createDatabase(file, databasePassword(), data::readTextFile(schema), seeds, version);
    else
        client = data::createDatabaseWithClient(dir_.path(), databasePassword(), data::readTextFile(schema),
                                                seeds, version);
    conn_ = std::make_unique<data::Connection>(data::connectionStringForFolder(dir_.path()));
    if (!client.isEmpty())
        data::attachClientFile(*conn_, client, 1);
    previous_ = data::Connection::current();
    data::Connection::setCurrent(conn_.get());
}

FixtureDb::~FixtureDb() {
    if (data::Connection::current() == conn_.get())
        data::Connection::setCurrent(previous_);
}

QString FixtureDb::attachFirstClient() {
    const data::Value id = scalar(QStringLiteral("select min(id) from clients"));
    const QString file =
        scalar(QStringLiteral("select file from clients where id = :id"), {{QStringLiteral("id"), id}})
            .toText();
    client_ = QDir(data::clientsFolderFor(path())).filePath(file);
    data::attachClientFile(*conn_, client_, id.toInteger());
    return client_;
}

QString FixtureDb::path() const {
    return dir_.filePath(QString::fromLatin1(data::kDatabaseFileName));
}

void FixtureDb::exec(const QString& sql, const Params& params) {
    data::Query q(conn_.get());
    q.setSql(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.setParam(it.key(), it.value());
    q.execute();
}

data::Value FixtureDb::scalar(const QString& sql, const Params& params) {
    data::Query q(conn_.get());
    q.setSql(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.setParam(it.key(), it.value());
    q.open();
    return q.field(0);
}

int FixtureDb::count(const QString& table) {
    // A table name cannot be bound; it comes from the test itself.
    return int(scalar(QStringLiteral("select count(*) from %1").arg(table)).toInteger());
}

} // namespace nc::test
