// make_database: builds the encrypted database file shipped beside the program, only when it is
// absent, so a rebuild never touches a counsellor's records.
//   make_database <folder> <schema.sql> <seed folder> [<table>=<csv file> ...]
// Tables given as table=file are loaded after the seed folder (the build passes the menu recipes).

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(
            stderr, "usage: make_database <program folder> <schema.sql> <seed folder> [<table>=<csv> ...]\n");
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
        QList<nc::data::SeedTable> seeds = nc::data::readSeedFolder(args[3]);
        for (const QString& extra : args.mid(4)) {
            const qsizetype eq = extra.indexOf(QLatin1Char('='));
            if (eq <= 0) {
                std::fprintf(stderr, "make_database: expected <table>=<csv file>, got %s\n",
                             qPrintable(extra));
                return 2;
            }
            seeds.append({extra.left(eq), nc::data::readCsvFile(extra.mid(eq + 1))});
        }
        // The starting rows of a client's tables are built into the program; each client's file gets
        // them when it is made. The shared file holds no client.
        nc::data::takeClientSeeds(seeds);
        QDir().mkpath(folder);
        nc::data::createDatabase(cs.dataSource, cs.password, nc::data::readTextFile(args[2]), seeds);
        std::printf("made %s\n", qPrintable(QDir::toNativeSeparators(cs.dataSource)));
        return 0;
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "make_database: %s\n", e.what());
        return 1;
    }
}
