// Where the program's data live: a build folder keeps everything beside the program; an installed
// program reads its shipped files from share/ and makes the user's database from the seed once,
// never over an existing one; resetting keeps the old file; one copy per database file.

#include "data/database_lock.h"
#include "data/errors.h"
#include "data/places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace nc::data;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A prefix with an installed program: <root>/usr/bin and <root>/usr/share/nutricounsel/seed/yfdb.dbz.
struct InstalledTree {
    QTemporaryDir root;
    QString bin() const { return root.filePath(QStringLiteral("usr/bin")); }
    QString share() const { return root.filePath(QStringLiteral("usr/share/nutricounsel")); }
    QString home() const { return root.filePath(QStringLiteral("home/.local/share/nutricounsel")); }
    InstalledTree() {
        QDir().mkpath(bin());
        writeFile(share() + QStringLiteral("/seed/yfdb.dbz"), "seed database");
    }
    Places places() const { return placesFor(bin(), home()); }
};

} // namespace

class TestPlaces : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { clearPlaces(); }

    // clang-format off
    void installedOrBuildFolder_data() {
        QTest::addColumn<QString>("layout"); // files made under the temporary root, ';'-separated
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("shipped"); // relative to the root
        QTest::addColumn<QString>("writable");
        QTest::addColumn<QString>("seed");
        QTest::newRow("installed under /usr")
            << "usr/bin/;usr/share/nutricounsel/seed/yfdb.dbz" << true << "usr/share/nutricounsel" << "home/data"
            << "usr/share/nutricounsel/seed/yfdb.dbz";
        // Installed into the home: shipped files and the user's data share one folder, and the
        // database is a copy beside the seed's folder, never the seed itself.
        QTest::newRow("installed into ~/.local")
            << "home/.local/bin/;home/.local/share/nutricounsel/seed/yfdb.dbz" << true
            << "home/.local/share/nutricounsel" << "home/data" << "home/.local/share/nutricounsel/seed/yfdb.dbz";
        QTest::newRow("build folder with its seed") << "build/bin/;build/seed/yfdb.dbz" << false << "build/bin"
            << "build/bin" << "build/seed/yfdb.dbz";
        QTest::newRow("build folder without a seed") << "build/bin/" << false << "build/bin" << "build/bin" << "";
        // A share folder without the seed database is not an installation (e.g. /usr/bin of a
        // system where another program made share/nutricounsel).
        QTest::newRow("share folder without its database")
            << "usr/bin/;usr/share/nutricounsel/yyfx.rav" << false << "usr/bin" << "usr/bin" << "";
    }
    // clang-format on
    void installedOrBuildFolder() {
        QFETCH(QString, layout);
        QFETCH(bool, installed);
        QFETCH(QString, shipped);
        QFETCH(QString, writable);
        QFETCH(QString, seed);
        QTemporaryDir root;
        for (const QString& entry : layout.split(QLatin1Char(';'))) {
            if (entry.endsWith(QLatin1Char('/')))
                QDir().mkpath(root.filePath(entry));
            else
                writeFile(root.filePath(entry), "x");
        }
        const QString bin = root.filePath(layout.section(QLatin1Char(';'), 0, 0));
        const Places p = placesFor(bin, root.filePath(QStringLiteral("home/data")));
        QCOMPARE(p.installed, installed);
        QCOMPARE(p.shipped, QDir::cleanPath(root.filePath(shipped)));
        QCOMPARE(p.writable, QDir::cleanPath(root.filePath(writable)));
        QCOMPARE(p.seed, seed.isEmpty() ? QString() : QDir::cleanPath(root.filePath(seed)));
        QCOMPARE(p.databaseFile(), QDir::cleanPath(root.filePath(writable)) + QStringLiteral("/yfdb.dbz"));
    }

    void firstStartMakesTheDatabaseOnceAndNeverOverwrites() {
        InstalledTree tree;
        const Places p = tree.places();
        QVERIFY(!QFileInfo::exists(p.writable));
        QVERIFY(prepareDataFolder(p));
        QCOMPARE(readFile(p.databaseFile()), QByteArray("seed database"));
        // The copy is the user's own, private and writable, whatever the shipped file's mode.
        QCOMPARE(QFileInfo(p.databaseFile()).permissions() & (QFile::ReadOther | QFile::WriteOther),
                 QFileDevice::Permissions());
        QVERIFY(QFileInfo(p.databaseFile()).isWritable());
        QVERIFY(!QFileInfo::exists(p.databaseFile() + QStringLiteral(".new")));

        writeFile(p.databaseFile(), "her records");
        QVERIFY(!prepareDataFolder(p));
        QCOMPARE(readFile(p.databaseFile()), QByteArray("her records"));
    }

    // Installed with --prefix ~/.local, the user's data folder is the share folder: her database is
    // a copy there, so writing it never changes the seed, and installing again (which replaces the
    // seed) never touches her database.
    void homeInstallKeepsHerDatabaseApartFromTheSeed() {
        QTemporaryDir home;
        const QString share = home.filePath(QStringLiteral(".local/share/nutricounsel"));
        QDir().mkpath(home.filePath(QStringLiteral(".local/bin")));
        writeFile(share + QStringLiteral("/seed/yfdb.dbz"), "seed database");
        const Places p = placesFor(home.filePath(QStringLiteral(".local/bin")), share);
        QVERIFY(p.installed);
        QCOMPARE(p.shipped, p.writable);
        QVERIFY(p.databaseFile() != p.seed);
        QVERIFY(prepareDataFolder(p));
        writeFile(p.databaseFile(), "her records");
        writeFile(p.seed, "seed database, installed again");
        QVERIFY(!prepareDataFolder(p));
        QCOMPARE(readFile(p.databaseFile()), QByteArray("her records"));
    }

    void buildFolderNeverGetsACopy() {
        QTemporaryDir root;
        QDir().mkpath(root.filePath(QStringLiteral("build/bin")));
        writeFile(root.filePath(QStringLiteral("build/seed/yfdb.dbz")), "seed");
        const Places p =
            placesFor(root.filePath(QStringLiteral("build/bin")), root.filePath(QStringLiteral("home")));
        QVERIFY(!prepareDataFolder(p));
        QVERIFY(
            !QFileInfo::exists(p.databaseFile())); // the build makes it; a missing one is reported on reading
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("home"))));
    }

    void failuresAreReportedAndLeaveNothingHalfMade_data() {
        QTest::addColumn<bool>("removeSeed");
        QTest::addColumn<bool>("blockFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("seed missing") << true << false << "找不到初始数据库";
        QTest::newRow("data folder cannot be made") << false << true << "无法建立数据文件夹";
    }
    void failuresAreReportedAndLeaveNothingHalfMade() {
        QFETCH(bool, removeSeed);
        QFETCH(bool, blockFolder);
        QFETCH(QString, message);
        InstalledTree tree;
        const Places p = tree.places();
        if (removeSeed)
            QVERIFY(QFile::remove(p.seed));
        if (blockFolder)
            writeFile(p.writable, "a file where the folder should be");
        try {
            prepareDataFolder(p);
            QFAIL("no error");
        } catch (const Error& e) {
            QVERIFY2(e.text().contains(message), qPrintable(e.text()));
        }
        QVERIFY(!QFileInfo(p.databaseFile()).exists());
        QVERIFY(!QFileInfo::exists(p.databaseFile() + QStringLiteral(".new")));
    }

    void resetKeepsTheOldDatabaseBesideTheFreshOne() {
        InstalledTree tree;
        const Places p = tree.places();
        QVERIFY(prepareDataFolder(p));
        writeFile(p.databaseFile(), "her records");
        // Her clients' files go aside with the index that names them, under the same date and time.
        const QString clients = QDir(p.writable).filePath(QStringLiteral("clients"));
        QVERIFY(QDir().mkpath(clients));
        writeFile(QDir(clients).filePath(QStringLiteral("client-000001.dbz")), "a client");
        const QString kept = resetDatabase(p);
        QVERIFY(kept.startsWith(p.databaseFile() + QLatin1Char('.')));
        QCOMPARE(readFile(kept), QByteArray("her records"));
        QCOMPARE(readFile(p.databaseFile()), QByteArray("seed database"));
        QVERIFY(!QFileInfo::exists(clients));
        const QString suffix = kept.mid(p.databaseFile().size());
        QCOMPARE(readFile(QDir(clients + suffix).filePath(QStringLiteral("client-000001.dbz"))),
                 QByteArray("a client"));
        // A second reset in the same second keeps both earlier files.
        const QString keptAgain = resetDatabase(p);
        QVERIFY(keptAgain != kept);
        QCOMPARE(readFile(kept), QByteArray("her records"));
        QCOMPARE(readFile(keptAgain), QByteArray("seed database"));
    }

    void resetWithoutSeedLeavesTheDatabaseAlone() {
        QTemporaryDir root;
        QDir().mkpath(root.filePath(QStringLiteral("build/bin")));
        writeFile(root.filePath(QStringLiteral("build/bin/yfdb.dbz")), "her records");
        const Places p =
            placesFor(root.filePath(QStringLiteral("build/bin")), root.filePath(QStringLiteral("home")));
        QVERIFY_THROWS_EXCEPTION(Error, resetDatabase(p));
        QCOMPARE(readFile(p.databaseFile()), QByteArray("her records"));
        QCOMPARE(QDir(p.writable).entryList(QDir::Files), QStringList{QStringLiteral("yfdb.dbz")});
    }

    // Until the program settles its places, layouts and pictures use the current directory; after,
    // the shipped and writable folders, whatever the current directory is.
    void foldersFollowThePlacesOnceSet() {
        QCOMPARE(shippedFolder(), QDir::currentPath());
        QCOMPARE(writableFolder(), QDir::currentPath());
        InstalledTree tree;
        setPlaces(tree.places());
        QVERIFY(placesSet());
        QCOMPARE(shippedFolder(), tree.places().shipped);
        QCOMPARE(writableFolder(), tree.places().writable);
    }

    void secondCopyOnTheSameDatabaseIsRefused() {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("yfdb.dbz"));
        DatabaseLock first(database);
        QVERIFY(first.tryLock());
        QVERIFY(first.tryLock()); // asking again keeps it
        {
            DatabaseLock second(database);
            QVERIFY(!second.tryLock());
            QVERIFY(second.refusal().contains(QStringLiteral("已经在使用")));
            QVERIFY(second.refusal().contains(QDir::toNativeSeparators(database)));
        }
        // Another database file is another program's business.
        DatabaseLock other(dir.filePath(QStringLiteral("other/yfdb.dbz")));
        QDir().mkpath(dir.filePath(QStringLiteral("other")));
        QVERIFY(other.tryLock());
    }

    void lockIsFreeAgainWhenTheFirstCopyEnds() {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("yfdb.dbz"));
        {
            DatabaseLock first(database);
            QVERIFY(first.tryLock());
        }
        DatabaseLock next(database);
        QVERIFY(next.tryLock());
    }

    void unwritableFolderIsSaidSo() {
        DatabaseLock lock(QStringLiteral("/nonexistent-folder/yfdb.dbz"));
        QVERIFY(!lock.tryLock());
        QVERIFY2(lock.refusal().contains(QStringLiteral("无法")), qPrintable(lock.refusal()));
    }
};

QTEST_GUILESS_MAIN(TestPlaces)
#include "tst_places.moc"
