// The restore window driven as the counsellor uses it, from the client list and from the offer made
// when her file is found damaged at open.

#include "clients/client_list_window.h"
#include "clients/client_store.h"
#include "clients/restore_window.h"
#include "data/backups.h"
#include "data/client_file.h"
#include "data/database_update.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/widgets.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QtTest>

using namespace nc;
using clients::TFormRestore;
using test::FixtureDb;
using test::MessagesRecorder;
using Kind = MessagesRecorder::Kind;

namespace {

const QDateTime kFirst(QDate(2026, 11, 2), QTime(9, 30));

void setName(FixtureDb& db, const QString& name) {
    db.exec(QStringLiteral("update personinf set name = :name"), {{QStringLiteral("name"), name}});
}

void addDays(FixtureDb& db, int days) {
    data::Transaction t(db.connection());
    const qint64 last = db.scalar(QStringLiteral("select coalesce(max(tsid), 0) from ts")).toInteger();
    for (qint64 day = last + 1; day <= last + days; ++day) {
        db.exec(QStringLiteral("insert into ts (tsid) values (:d)"), {{QStringLiteral("d"), day}});
        for (int f = 0; f < 15; ++f)
            db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:d, '米饭', 100)"),
                    {{QStringLiteral("d"), day}});
    }
    t.commit();
}

void damageMiddle(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(f.size() / 2);
    f.write(QByteArray(4096, '\x5a'));
}

QTableView* grid(QWidget& w) {
    return test::child<QTableView>(w, "DBGrid1");
}

QString copyTime(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The current client's copies: one day, then three days, then a damaged one.
void threeCopies(FixtureDb& db) {
    auto& c = db.connection();
    const QString folder = data::backupFolderFor(db.path());
    addDays(db, 1);
    (void)data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst);
    addDays(db, 2);
    (void)data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst.addDays(1));
    addDays(db, 30);
    damageMiddle(data::backupDatabaseFile(c, QStringLiteral("client"), folder, kFirst.addDays(2)));
}

} // namespace

class TestRestoreWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The copies, newest first, with the newest good one selected; 恢复 on another row asks first, and
    // No changes nothing; Yes restores it and the file before joins the list.
    void listThenRestoreAChosenCopy() {
        FixtureDb db;
        setName(db, QStringLiteral("林晓雯"));
        threeCopies(db);
        MessagesRecorder messages;
        TFormRestore w;
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("从备份恢复"));
        QVERIFY(test::child<QLabel>(w, "Label1")->text().contains(QStringLiteral("林晓雯")));
        QStringList headers;
        for (int col = 0; col < grid(w)->model()->columnCount(); ++col)
            headers << grid(w)->model()->headerData(col, Qt::Horizontal).toString();
        QCOMPARE(headers,
                 (QStringList{QStringLiteral("备份时间"), QStringLiteral("客户"), QStringLiteral("天数"),
                              QStringLiteral("食物数"), QStringLiteral("状态")}));
        QCOMPARE(test::column(grid(w), 0),
                 (QStringList{copyTime(kFirst.addDays(2)), copyTime(kFirst.addDays(1)), copyTime(kFirst)}));
        QCOMPARE(test::column(grid(w), 1),
                 (QStringList{QString(), QStringLiteral("林晓雯"), QStringLiteral("林晓雯")}));
        QCOMPARE(test::column(grid(w), 2),
                 (QStringList{QString(), QStringLiteral("3"), QStringLiteral("1")}));
        QCOMPARE(test::column(grid(w), 3),
                 (QStringList{QString(), QStringLiteral("45"), QStringLiteral("15")}));
        QCOMPARE(test::column(grid(w), 4),
                 (QStringList{QStringLiteral("已损坏"), QStringLiteral("完好"), QStringLiteral("完好")}));
        QCOMPARE(grid(w)->selectionModel()->selectedRows().first().row(), 1);

        test::clickRow(grid(w), 2);
        test::click(w, "Image2"); // answered No
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, Kind::Confirm);
        QCOMPARE(
            messages.last().text,
            QStringLiteral("用 %1 的备份替换客户“林晓雯”的档案吗？当前档案会先备份。").arg(copyTime(kFirst)));
        QCOMPARE(db.count(QStringLiteral("ts")), 33);
        QVERIFY(!w.restored());

        messages.answerNext(true);
        test::click(w, "Image2");
        QCOMPARE(messages.size(), 3);
        QCOMPARE(messages.last().kind, Kind::Inform);
        QVERIFY2(
            messages.last().text.startsWith(QStringLiteral("已用 %1 的备份恢复了").arg(copyTime(kFirst))),
            qPrintable(messages.last().text));
        QVERIFY(w.restored());
        QCOMPARE(db.count(QStringLiteral("ts")), 1);
        QCOMPARE(grid(w)->model()->rowCount(), 4);
        QCOMPARE(test::column(grid(w), 2).first(), QStringLiteral("33"));
    }

    // A damaged copy is refused with its reason, without a question.
    void damagedCopyIsRefused() {
        FixtureDb db;
        threeCopies(db);
        MessagesRecorder messages;
        TFormRestore w;
        w.show();
        test::clickRow(grid(w), 0);
        test::click(w, "Image2");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, Kind::Error);
        QVERIFY2(messages.last().text.contains(QStringLiteral("已损坏")), qPrintable(messages.last().text));
        QCOMPARE(db.count(QStringLiteral("ts")), 33);
    }

    // Opening a client whose file is damaged, from the list: the message names her file and its newest
    // good copy and offers it; 恢复 opens the restore window on her copies, and once restored she opens.
    // 不恢复 keeps the client before current and the list open.
    void damagedClientIsOfferedHerBackup_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("恢复") << true;
        QTest::newRow("不恢复") << false;
    }
    void damagedClientIsOfferedHerBackup() {
        QFETCH(bool, restore);
        FixtureDb db;
        auto& c = db.connection();
        setName(db, QStringLiteral("林晓雯"));
        const clients::ClientEntry wang = clients::newClient(c);
        setName(db, QStringLiteral("王芳"));
        addDays(db, 30);
        (void)data::backupDatabaseFile(c, QStringLiteral("client"), data::backupFolderFor(db.path()), kFirst);
        clients::openClient(c, *clients::readClient(c, 1));
        const QString path = clients::clientPath(c, wang);
        damageMiddle(path);

        MessagesRecorder messages;
        QString shownFor;
        TFormRestore::setRunner([&](TFormRestore& r) {
            shownFor = test::child<QLabel>(r, "Label1")->text();
            messages.answerNext(true);
            test::click(r, "Image2"); // the newest good copy is selected
        });
        clients::TFormClients w;
        w.show();
        const int row = int(test::column(grid(w), 0).indexOf(QStringLiteral("王芳")));
        QVERIFY(row >= 0);
        test::clickRow(grid(w), row);
        if (restore)
            messages.answerNext(true);
        test::click(w, "Image3");
        TFormRestore::setRunner({});

        QVERIFY(messages.size() >= 1);
        const QString offer = messages.entries().first().text;
        QVERIFY2(offer.contains(QDir::toNativeSeparators(path)), qPrintable(offer));
        QVERIFY2(offer.contains(QStringLiteral("最新的完好备份是 %1 的备份").arg(copyTime(kFirst))),
                 qPrintable(offer));
        if (restore) {
            QVERIFY2(shownFor.contains(QStringLiteral("王芳")), qPrintable(shownFor));
            QCOMPARE(data::attachedClientId(c), wang.id);
            QCOMPARE(db.count(QStringLiteral("ts")), 30);
            QCOMPARE(w.result(), int(QDialog::Accepted));
        } else {
            QVERIFY(shownFor.isEmpty());
            QCOMPARE(messages.size(), 1);
            QCOMPARE(data::attachedClientId(c), qint64(1));
            QVERIFY(w.isVisible());
        }
    }

    // 从备份恢复 in the client list opens the window on the selected client's copies.
    void clientListOpensTheWindowForTheSelectedClient() {
        FixtureDb db;
        auto& c = db.connection();
        setName(db, QStringLiteral("林晓雯"));
        const clients::ClientEntry wang = clients::newClient(c);
        setName(db, QStringLiteral("王芳"));
        clients::openClient(c, *clients::readClient(c, 1));
        QStringList shown;
        TFormRestore::setRunner([&](TFormRestore& r) { shown << test::child<QLabel>(r, "Label1")->text(); });
        clients::TFormClients w;
        w.show();
        test::clickRow(grid(w), int(test::column(grid(w), 0).indexOf(QStringLiteral("王芳"))));
        test::click(w, "Image8");
        TFormRestore::setRunner({});
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().contains(QStringLiteral("王芳")) && shown.first().contains(wang.file),
                 qPrintable(shown.first()));
    }
};

QTEST_MAIN(TestRestoreWindow)
#include "tst_restore_window.moc"
