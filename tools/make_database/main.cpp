// make_database: builds the encrypted database file shipped beside the program, only when it is
// absent, so a rebuild never touches a counsellor's records.
//   make_database <folder> <schema.sql> <seed folder>

#include "data/connection.h"
#include "data/database_builder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: make_database <program folder> <schema.sql> <seed folder>\n");
        return 2;
    }
    try {
        const QString folder = QDir(args[1]).absolutePath();
        // The file name and the password come from the program's own connection string.
        const auto cs = nc::data::ConnectionString::parse(nc::data::connectionStringForFolder(folder));
        if (QFileInfo::exists(cs.dataSource)) {
            std::printf("%s exists, left untouched\n", qPrintable(QDir::toNativeSeparators(cs.dataSource)));
            return 0;
        }
        QDir().mkpath(folder);
        nc::data::createDatabase(cs.dataSource, cs.password, nc::data::readTextFile(args[2]),
                                 nc::data::readSeedFolder(args[3]));
        std::printf("made %s\n", qPrintable(QDir::toNativeSeparators(cs.dataSource)));
        return 0;
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "make_database: %s\n", e.what());
        return 1;
    }
}
