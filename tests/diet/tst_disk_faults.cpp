// Saves that meet a full disk, a read-only folder or a failing write at the file level: the save is
// refused with a sentence that says what happened and what to do, nothing half-written reaches either
// file (the client's file and the shared file with her index row are written in one transaction), and
// once the disk is well again the same save goes through without restarting the program.

#include "data/errors.h"
#include "diet/diet_record.h"
#include "support/failure_sweep.h"
#include "support/faulty_disk.h"
#include "support/fixture_db.h"

#include <QTest>
#include <optional>

using nc::diet::DietRecord;
using nc::test::databaseContents;
using nc::test::FaultyDisk;
using nc::test::FixtureDb;
using nc::test::seed;
using Fault = FaultyDisk::Fault;
using Add = DietRecord::AddFood;

namespace {

QList<nc::data::SeedTable> foods() {
    return {seed(QStringLiteral("Foodnurti"),
                 {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("foodkind")},
                 {{QStringLiteral("01002"), QStringLiteral("稻米"), QStringLiteral("01")},
                  {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("10")}})};
}

// What the counsellor's files hold: her days and foods, and her row of the index in the shared file.
QString saved(FixtureDb& db) {
    return databaseContents(db.connection(), {"ts", "foodcheck", "clients"});
}

// The same read from the disk by a connection of its own, so nothing the program's connection still
// holds in memory can hide what the files contain.
QString onDisk(FixtureDb& db) {
    nc::data::Connection fresh(nc::data::connectionStringForFolder(db.folder()));
    fresh.exec(QStringLiteral("attach database '%1' as client key '%2'")
                   .arg(db.clientPath(), nc::test::databasePassword()));
    return databaseContents(fresh, {"ts", "foodcheck", "clients"});
}

} // namespace

class TestDiskFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A save broken at every write it makes, in turn: the first run is refused at its first write,
    // the next at its second, and so on until one gets through. Each refused run leaves both files as
    // they were and says what to do; the next save works on the same connection.
    // clang-format off
    void brokenWriteLeavesFilesAsTheyWere_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("file");   // "" = every file
        QTest::addColumn<QString>("says");
        QTest::newRow("disk full, any file")      << Fault::Full    << QString()                    << "磁盘空间已满";
        QTest::newRow("disk full, client's file") << Fault::Full    << QStringLiteral("client-")    << "磁盘空间已满";
        QTest::newRow("disk full, shared file")   << Fault::Full    << QStringLiteral("yfdb.dbz")   << "磁盘空间已满";
        QTest::newRow("write error, any file")    << Fault::IoError << QString()                    << "请检查磁盘";
    }
    // clang-format on
    void brokenWriteLeavesFilesAsTheyWere() {
        QFETCH(Fault, fault);
        QFETCH(QString, file);
        QFETCH(QString, says);
        FaultyDisk disk; // before the fixture, so its files are opened through it
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        r.addDay();
        QCOMPARE(r.addFood(QStringLiteral("稻米"), QStringLiteral("150")), Add::Added);
        const QString before = saved(db);

        int refusedRuns = 0;
        for (int allowed = 0;; ++allowed) {
            QVERIFY2(allowed < 200, "the save never got through");
            disk.fail(fault, allowed, file);
            std::optional<QString> refusal;
            try {
                r.addFood(QStringLiteral("牛奶"), QStringLiteral("250"));
            } catch (const nc::data::Error& e) {
                refusal = e.text();
            }
            const bool struck = disk.refused() > 0;
            disk.heal();
            if (!refusal) {
                // A write the save did not need to finish (a journal's last sync) may fail unseen.
                QVERIFY2(!struck || saved(db) != before, qPrintable(QString::number(allowed)));
                break;
            }
            ++refusedRuns;
            QVERIFY2(refusal->contains(says) && refusal->contains(QStringLiteral("已保存的数据不受影响")),
                     qPrintable(*refusal));
            QCOMPARE(saved(db), before);
            QCOMPARE(onDisk(db), before);
        }
        QVERIFY(refusedRuns > 0);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 2);
        QCOMPARE(onDisk(db), saved(db));
    }

    // A read-only folder: no journal can be made, so nothing is written at all. The message says so
    // in words, not the engine's "unable to open database file", and the next save, once the folder
    // can be written again, goes through.
    void readOnlyFolderRefusesSave() {
        FaultyDisk disk;
        FixtureDb db(FixtureDb::Content::FixedRows, foods());
        DietRecord r;
        r.open();
        r.addDay();
        const QString before = saved(db);
        disk.fail(Fault::ReadOnly);
        try {
            r.addFood(QStringLiteral("稻米"), QStringLiteral("150"));
            QFAIL("the save was reported done");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("无法写入数据：数据文件夹")) &&
                         e.text().contains(QStringLiteral("只读")),
                     qPrintable(e.text()));
        }
        QVERIFY(disk.refused() > 0);
        disk.heal();
        QCOMPARE(onDisk(db), before);
        QCOMPARE(r.addFood(QStringLiteral("稻米"), QStringLiteral("150")), Add::Added);
        QCOMPARE(onDisk(db), saved(db));
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 1);
    }
};

QTEST_GUILESS_MAIN(TestDiskFaults)
#include "tst_disk_faults.moc"
