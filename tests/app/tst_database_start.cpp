// The program's start on a database made by the first release: the file is updated once, after a
// backup copy, and the counsellor is told; the analysis of her existing diet record then uses the
// corrected food figures. A failed update is reported and the program goes on with the old file.

#include "analysis/intake_analysis.h"
#include "app/database_start.h"
#include "clients/client_index.h"
#include "clients/client_store.h"
#include "clients/restore_window.h"
#include "data/backups.h"
#include "data/client_file.h"
#include "data/clock.h"
#include "data/database_update.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/widgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::test::RunOutcome;
using Kind = MessagesRecorder::Kind;

namespace {

constexpr int kVitaminB1 = 7; // index of lsyysfx row 8 in the analysis result
constexpr int kVitaminA = 4;  // row 5

// Her diet record: one day with 30 g of pork liver, whose first-table B1 cell held its vitamin A.
void recordPorkLiver(FixtureDb& db) {
    db.exec(QStringLiteral("insert into ts (tsid) values (1)"));
    db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (1, '猪肝', 30)"));
}

} // namespace

class TestDatabaseStart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstReleaseFileIsUpdatedOnStart() {
        FixtureDb db(FixtureDb::Content::FirstRelease);
        recordPorkLiver(db);
        MessagesRecorder messages;
        nc::app::updateDatabaseAtStart();

        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, Kind::Inform);
        QVERIFY2(messages.last().text.contains(QStringLiteral("已更新")), qPrintable(messages.last().text));
        const QStringList backups = QDir(nc::data::backupFolderFor(db.path())).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        QVERIFY(messages.last().text.contains(backups.first()));
        QCOMPARE(nc::data::databaseVersion(db.connection()), nc::data::latestDatabaseVersion());

        // Her record is now the first client's, opened as the program opens the last client.
        nc::app::openClientAtStart();
        QCOMPARE(messages.size(), 1);
        const nc::analysis::AnalysisResult r = nc::analysis::runIntakeAnalysis();
        QCOMPARE(r.unknownFoods, 0);
        // 30 g at 0.22 mg and 6502 µg RE per 100 g (intakes are truncated to two decimals).
        QCOMPARE(r.intakes[kVitaminB1], 0.06);
        QCOMPARE(r.intakes[kVitaminA], 1950.6);

        // The next start says nothing.
        nc::app::updateDatabaseAtStart();
        QCOMPARE(messages.size(), 1);
    }

    // Wherever the update fails, the counsellor is told, the file keeps its contents and version, and
    // the analysis runs on the old figures. (The update's every statement is broken in the data
    // tests; here a spread of them is enough.)
    void failedUpdateIsReportedAndTheProgramGoesOn() {
        FixtureDb db(FixtureDb::Content::FirstRelease);
        recordPorkLiver(db);
        MessagesRecorder messages;
        FailureSweep sweep(db.connection());
        sweep.every = 499;
        sweep.limit = 20000;
        // The analysis run after each failure writes its own results; the rest must stay.
        sweep.snapshot = [&db] {
            return databaseContents(db.connection(), {"Foodnurti", "foodcheck", "sps", "ts", "personinf"});
        };
        sweep.afterRun = [&](int failing, RunOutcome) {
            if (failing == 1) { // the version read: the file is left to the windows to report
                QVERIFY(messages.isEmpty());
                return;
            }
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages.last().kind, Kind::Error);
            QVERIFY2(messages.last().text.contains(QStringLiteral("未能更新")) &&
                         messages.last().text.contains(QStringLiteral("文件保持原样")),
                     qPrintable(messages.last().text));
            QCOMPARE(nc::data::databaseVersion(db.connection()), 0);
            // The old figures are still there and the analysis still runs on them.
            const nc::analysis::AnalysisResult r = nc::analysis::runIntakeAnalysis();
            QCOMPARE(r.intakes[kVitaminB1], 1950.6);
            messages.clear();
        };
        QVERIFY(sweep.run([&] {
            nc::app::updateDatabaseAtStart();
            const bool failed = messages.isEmpty() || messages.last().kind == Kind::Error;
            return failed ? RunOutcome::Failed : RunOutcome::Completed;
        }));
        QVERIFY(sweep.brokenRuns() > 2);
        QCOMPARE(nc::data::databaseVersion(db.connection()), nc::data::latestDatabaseVersion());
    }

    // The day's copy of the shared file cannot be made: the counsellor is told, and the file is used.
    void failedDailyCopyIsReported() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        QFile blocker(nc::data::backupFolderFor(db.path()));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        MessagesRecorder messages;
        nc::app::updateDatabaseAtStart();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, Kind::Error);
        QVERIFY2(messages.last().text.contains(QStringLiteral("未能备份")), qPrintable(messages.last().text));
        QVERIFY(db.count(QStringLiteral("Foodnurti")) > 1000);
    }

    // A new database (stamped with the latest version) and a missing file start silently; the new one
    // gets the day's copy and no copy for an update.
    void nothingToSay_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("new database") << true;
        QTest::newRow("no database file") << false;
    }
    void nothingToSay() {
        QFETCH(bool, fileExists);
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        if (!fileExists)
            QVERIFY(QFile::remove(db.path()));
        MessagesRecorder messages;
        nc::app::updateDatabaseAtStart();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
        const QStringList copies = QDir(nc::data::backupFolderFor(db.path())).entryList(QDir::Files);
        QCOMPARE(copies.size(), fileExists ? 1 : 0);
        if (fileExists) {
            const auto moment = nc::data::backupMomentOf(copies.first(), QFileInfo(db.path()).fileName());
            QVERIFY2(moment && moment->date() == nc::data::Clock::today(), qPrintable(copies.first()));
        }
    }

    // A shared file that is empty, cut short or damaged is reported at start, naming it and its newest
    // good backup, before anything uses it; 恢复 opens the restore window on its copies and the program
    // goes on with the restored file and the client current before.
    void unusableSharedFileIsOfferedItsBackup_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("restore");
        QTest::newRow("empty, restored") << "empty" << true;
        QTest::newRow("cut short, restored") << "truncated" << true;
        QTest::newRow("damaged pages, restored") << "damaged" << true;
        QTest::newRow("damaged pages, not restored") << "damaged" << false;
    }
    void unusableSharedFileIsOfferedItsBackup() {
        QFETCH(QString, kind);
        QFETCH(bool, restore);
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        auto& c = db.connection();
        db.exec(QStringLiteral("update personinf set name = '林晓雯'"));
        const QDateTime yesterday = nc::data::Clock::now().addDays(-1);
        (void)nc::data::backupDatabaseFile(c, QStringLiteral("main"), nc::data::backupFolderFor(db.path()),
                                           yesterday);
        nc::data::detachClientFile(c);
        c.close();
        QFile f(db.path());
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (kind == QLatin1String("empty")) {
            f.resize(0);
        } else if (kind == QLatin1String("truncated")) {
            f.resize(f.size() - 100);
        } else {
            f.seek(f.size() / 2);
            f.write(QByteArray(8192, '\x5a'));
        }
        f.close();

        MessagesRecorder messages;
        if (restore)
            messages.answerNext(true);
        bool shown = false;
        nc::clients::TFormRestore::setRunner([&](nc::clients::TFormRestore& r) {
            shown = true;
            messages.answerNext(true);
            nc::test::click(r, "Image2");
        });
        nc::app::updateDatabaseAtStart();
        nc::clients::TFormRestore::setRunner({});
        QVERIFY(!messages.isEmpty());
        const QString offer = messages.entries().first().text;
        QVERIFY2(offer.contains(QDir::toNativeSeparators(db.path())), qPrintable(offer));
        QVERIFY2(offer.contains(QStringLiteral("最新的完好备份是 %1 的备份")
                                    .arg(yesterday.toString(QStringLiteral("yyyy-MM-dd HH:mm")))),
                 qPrintable(offer));
        QCOMPARE(shown, restore);
        if (!restore)
            return;
        nc::app::openClientAtStart();
        QVERIFY(db.count(QStringLiteral("Foodnurti")) > 1000);
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("林晓雯"));
    }

    // The only client's file damaged: at start she is named with her newest good backup and offered
    // it. Restored, she is the current client again with her record; declined, no client is current
    // and no empty client was made in her stead.
    void damagedClientFileIsOfferedItsBackupAtStart_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("restored") << true;
        QTest::newRow("not restored") << false;
    }
    void damagedClientFileIsOfferedItsBackupAtStart() {
        QFETCH(bool, restore);
        FixtureDb db;
        auto& c = db.connection();
        db.exec(QStringLiteral("update personinf set name = '林晓雯'"));
        // Remembered as the one used last; opening her makes the day's copy of her file.
        nc::clients::openClient(c, *nc::clients::readClient(c, 1));
        nc::data::detachClientFile(c);
        c.close();
        QFile f(db.clientPath());
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(2048, '\x5a'));
        f.close();

        MessagesRecorder messages;
        messages.answerNext(restore);
        nc::clients::TFormRestore::setRunner([&](nc::clients::TFormRestore& r) {
            messages.answerNext(true);
            nc::test::click(r, "Image2");
        });
        nc::app::openClientAtStart();
        nc::clients::TFormRestore::setRunner({});
        QVERIFY(!messages.isEmpty());
        const QString offer = messages.entries().first().text;
        QVERIFY2(offer.contains(QDir::toNativeSeparators(db.clientPath())) &&
                     offer.startsWith(QStringLiteral("客户“林晓雯”的档案无法使用。")) &&
                     offer.contains(QStringLiteral("已损坏")) &&
                     offer.contains(QStringLiteral("最新的完好备份是")),
                 qPrintable(offer));
        QCOMPARE(nc::clients::readClients(c).size(), 1);
        if (restore) {
            QCOMPARE(nc::data::attachedClientId(c), 1);
            QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(),
                     QStringLiteral("林晓雯"));
        } else {
            QCOMPARE(nc::data::attachedClientId(c), 0);
        }
    }
};

QTEST_MAIN(TestDatabaseStart)
#include "tst_database_start.moc"
