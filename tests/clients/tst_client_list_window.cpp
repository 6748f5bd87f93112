// The client list window, driven through its controls: what the list shows, the search, and making,
// opening, deleting, exporting and importing clients.

#include "clients/client_list_window.h"
#include "clients/client_store.h"
#include "data/client_file.h"
#include "data/database_update.h"
#include "data/password.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/typing.h"
#include "support/widgets.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using namespace nc;
using clients::TFormClients;
using test::FixtureDb;
using test::MessagesRecorder;

namespace {

// Gives the current client a record, as the personal record window would save it.
void fillRecord(FixtureDb& db, const QString& name, const QString& category, const QVariant& week = {},
                const QString& stage = {}) {
    db.exec(QStringLiteral(
                "update personinf set name = :name, csjd = :category, yq_week = :week, yq_jd = :stage"),
            {{QStringLiteral("name"), name},
             {QStringLiteral("category"), category},
             {QStringLiteral("week"), week.isValid() ? data::Value(week.toLongLong()) : data::Value()},
             {QStringLiteral("stage"), stage.isEmpty() ? data::Value() : data::Value(stage)}});
}

// Three clients: 林晓雯 (the fixture's client 1, current again at the end), 王芳 and 张丽.
struct ThreeClients {
    qint64 lin = 1, wang = 0, zhang = 0;
    explicit ThreeClients(FixtureDb& db) {
        fillRecord(db, QStringLiteral("林晓雯"), QStringLiteral("孕妇"), 24, QStringLiteral("孕中期"));
        wang = clients::newClient(db.connection()).id;
        fillRecord(db, QStringLiteral("王芳"), QStringLiteral("乳母"));
        zhang = clients::newClient(db.connection()).id;
        fillRecord(db, QStringLiteral("张丽"), QStringLiteral("育龄"));
        clients::openClient(db.connection(), *clients::readClient(db.connection(), lin));
    }
};

QTableView* grid(QWidget& w) {
    return test::child<QTableView>(w, "DBGrid1");
}

// The names in the list, the current one marked.
QStringList names(QWidget& w) {
    return test::column(grid(w), 0);
}

QString selectedName(QWidget& w) {
    const QModelIndexList rows = grid(w)->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows.first().data().toString();
}

void selectName(QWidget& w, const QString& name) {
    const int row = int(names(w).indexOf(name));
    QVERIFY2(row >= 0, qPrintable(name));
    test::clickRow(grid(w), row);
}

QString currentName(FixtureDb& db) {
    return db.scalar(QStringLiteral("select name from personinf")).toText();
}

// File dialogs answered by the test: the path to return, and what the window proposed.
struct Choosers {
    QString answer;
    QString proposed;
    Choosers() {
        const auto choose = [this](QWidget*, const QString&, const QString& p) {
            proposed = p;
            return answer;
        };
        TFormClients::setSaveFileChooser(choose);
        TFormClients::setOpenFileChooser(choose);
    }
    ~Choosers() {
        TFormClients::setSaveFileChooser({});
        TFormClients::setOpenFileChooser({});
    }
};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// The deleted clients' files in the backups folder, without the day's copies of the files opened.
QStringList deletedIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*-已删除-*")}, QDir::Files, QDir::Name);
}

} // namespace

class TestClientListWindow : public QObject {
    Q_OBJECT
private slots:
    void showsClientsWithCurrentSelected();
    void search_data();
    void search();
    void enterInSearchOpensTheMatch();
    void newClientBecomesCurrent();
    void open_data();
    void open();
    void openFailureKeepsCurrent();
    void deleteAsksFirst();
    void deleteCurrent_data();
    void deleteCurrent();
    void deleteFailureKeepsHer();
    void exportThenImportElsewhere();
    void exportSaysHerPasswordGoesAlong_data();
    void exportSaysHerPasswordGoesAlong();
    void exportTarget_data();
    void exportTarget();
    void importOfNonDatabaseChangesNothing();
    void fileWithoutClients();
};

void TestClientListWindow::showsClientsWithCurrentSelected() {
    FixtureDb db;
    ThreeClients three(db);
    const qint64 blank = clients::newClient(db.connection()).id; // never named
    clients::openClient(db.connection(), *clients::readClient(db.connection(), three.lin));
    db.exec(QStringLiteral("update clients set saved = '2026-03-05 09:07:30' where id = :id"),
            {{QStringLiteral("id"), three.lin}});
    db.exec(QStringLiteral("update clients set saved = null where id = :id"),
            {{QStringLiteral("id"), blank}});

    TFormClients w;
    QCOMPARE(w.windowTitle(), QStringLiteral("客户列表"));
    QTableView* g = grid(w);
    QCOMPARE(g->model()->columnCount(), 4);
    QStringList headers;
    for (int c = 0; c < 4; ++c)
        headers << g->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{QStringLiteral("姓名"), QStringLiteral("人群"),
                                   QStringLiteral("孕周/阶段"), QStringLiteral("最近保存")}));

    QCOMPARE(names(w).size(), 4);
    const int lin = int(names(w).indexOf(QStringLiteral("林晓雯（当前）")));
    QVERIFY(lin >= 0);
    QCOMPARE(selectedName(w), QStringLiteral("林晓雯（当前）"));
    QVERIFY(g->model()->index(lin, 0).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(test::column(g, 1).at(lin), QStringLiteral("孕妇"));
    QCOMPARE(test::column(g, 2).at(lin), QStringLiteral("24周 · 孕中期"));
    QCOMPARE(test::column(g, 3).at(lin), QStringLiteral("2026-03-05 09:07"));

    const int wang = int(names(w).indexOf(QStringLiteral("王芳")));
    QVERIFY(wang >= 0);
    QCOMPARE(test::column(g, 1).at(wang), QStringLiteral("乳母"));
    QCOMPARE(test::column(g, 2).at(wang), QString()); // no week for a nursing mother
    QVERIFY(!g->model()->index(wang, 0).data(Qt::FontRole).value<QFont>().bold());

    // Never saved: listed last, with no date.
    QCOMPARE(names(w).last(), QStringLiteral("未填姓名的客户"));
    QCOMPARE(test::column(g, 3).last(), QString());
    QCOMPARE(test::child<QLineEdit>(w, "Edit1")->placeholderText(),
             QStringLiteral("输入姓名或拼音首字母查找"));
}

void TestClientListWindow::search_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("rowSelected");
    // clang-format off
    QTest::newRow("initials")          << QStringLiteral("wf")    << QStringList{QStringLiteral("王芳")} << true;
    QTest::newRow("initials, capital") << QStringLiteral("LXW")   << QStringList{QStringLiteral("林晓雯（当前）")} << true;
    QTest::newRow("full pinyin")       << QStringLiteral("zhang") << QStringList{QStringLiteral("张丽")} << true;
    QTest::newRow("Chinese")           << QStringLiteral("晓")    << QStringList{QStringLiteral("林晓雯（当前）")} << true;
    QTest::newRow("spaces only")       << QStringLiteral("  ")    << QStringList{QStringLiteral("林晓雯（当前）"), QStringLiteral("王芳"), QStringLiteral("张丽")} << true;
    QTest::newRow("no match")          << QStringLiteral("xyz")   << QStringList{} << false;
    // clang-format on
}

void TestClientListWindow::search() {
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(bool, rowSelected);
    FixtureDb db;
    ThreeClients three(db);
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    test::typeText(test::child<QLineEdit>(w, "Edit1"), typed);

    QStringList got = names(w);
    got.sort();
    shown.sort();
    QCOMPARE(got, shown);
    // A match is always selected, so Enter opens her; with none, the buttons that need her are off.
    QCOMPARE(!selectedName(w).isEmpty(), rowSelected);
    for (const char* button : {"Image3", "Image4", "Image5"})
        QCOMPARE(test::child(w, button)->isEnabled(), rowSelected);
    QVERIFY(test::child(w, "Image2")->isEnabled());

    // Clearing the search shows everyone again, with the selection kept.
    const QString before = selectedName(w);
    test::child<QLineEdit>(w, "Edit1")->clear();
    QCOMPARE(names(w).size(), 3);
    if (rowSelected)
        QCOMPARE(selectedName(w), before);
    QVERIFY(messages.isEmpty());
}

void TestClientListWindow::enterInSearchOpensTheMatch() {
    FixtureDb db;
    ThreeClients three(db);
    TFormClients w;
    w.show();
    QLineEdit* edit = test::child<QLineEdit>(w, "Edit1");
    QTest::keyClicks(edit, QStringLiteral("wf"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(data::attachedClientId(db.connection()), three.wang);
    QCOMPARE(currentName(db), QStringLiteral("王芳"));
}

void TestClientListWindow::newClientBecomesCurrent() {
    FixtureDb db;
    ThreeClients three(db);
    MessagesRecorder messages;
    {
        TFormClients w;
        w.show();
        test::click(w, "Image2");
        // She closes the list to fill in the new record.
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
    }
    const qint64 id = data::attachedClientId(db.connection());
    QVERIFY(id != three.lin && id != three.wang && id != three.zhang);
    QCOMPARE(currentName(db), QString());
    QVERIFY(QFileInfo(data::attachedClientFile(db.connection())).isFile());

    TFormClients again;
    QCOMPARE(names(again).size(), 4);
    QCOMPARE(selectedName(again), QStringLiteral("未填姓名的客户（当前）"));
    QVERIFY(messages.isEmpty());
}

void TestClientListWindow::open_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << QStringLiteral("button");
    QTest::newRow("double click") << QStringLiteral("double click");
    QTest::newRow("Enter on the row") << QStringLiteral("enter");
}

void TestClientListWindow::open() {
    QFETCH(QString, how);
    FixtureDb db;
    ThreeClients three(db);
    MessagesRecorder messages;
    TFormClients w;
    test::showActive(w);
    selectName(w, QStringLiteral("张丽"));
    QTableView* g = grid(w);
    if (how == QStringLiteral("button")) {
        test::click(w, "Image3");
    } else if (how == QStringLiteral("double click")) {
        const QRect cell = g->visualRect(g->model()->index(int(names(w).indexOf(QStringLiteral("张丽"))), 1));
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    } else {
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Return);
    }
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(data::attachedClientId(db.connection()), three.zhang);
    QCOMPARE(currentName(db), QStringLiteral("张丽"));
    QCOMPARE(clients::currentClient(db.connection())->name, QStringLiteral("张丽"));
    QVERIFY(messages.isEmpty());
}

void TestClientListWindow::openFailureKeepsCurrent() {
    FixtureDb db;
    ThreeClients three(db);
    const QString wangFile =
        clients::clientPath(db.connection(), *clients::readClient(db.connection(), three.wang));
    QVERIFY(QFile::remove(wangFile));
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    selectName(w, QStringLiteral("王芳"));
    test::click(w, "Image3");

    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
    QVERIFY(w.isVisible());
    QCOMPARE(w.result(), 0);
    QCOMPARE(data::attachedClientId(db.connection()), three.lin);
    QCOMPARE(currentName(db), QStringLiteral("林晓雯"));
    // The list stays usable: another client opens.
    selectName(w, QStringLiteral("张丽"));
    test::click(w, "Image3");
    QCOMPARE(currentName(db), QStringLiteral("张丽"));
}

void TestClientListWindow::deleteAsksFirst() {
    FixtureDb db;
    ThreeClients three(db);
    const QString wangFile =
        clients::clientPath(db.connection(), *clients::readClient(db.connection(), three.wang));
    const QString backups = data::backupFolderFor(db.path());
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    selectName(w, QStringLiteral("王芳"));

    messages.answerNext(false);
    test::click(w, "Image4");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Confirm);
    QCOMPARE(messages.last().text,
             QStringLiteral("确定要删除客户“王芳”吗？她的档案文件将移到备份文件夹，不会被销毁。"));
    QVERIFY(QFileInfo::exists(wangFile));
    QVERIFY(names(w).contains(QStringLiteral("王芳")));
    QCOMPARE(db.count(QStringLiteral("clients")), 3);

    messages.clear();
    messages.answerNext(true);
    test::click(w, "Image4");
    QVERIFY(!QFileInfo::exists(wangFile));
    const QStringList moved = deletedIn(backups);
    QCOMPARE(moved.size(), 1);
    QVERIFY2(moved.first().startsWith(QStringLiteral("王芳-client-")), qPrintable(moved.first()));
    QStringList left = names(w);
    left.sort();
    QStringList expected{QStringLiteral("林晓雯（当前）"), QStringLiteral("张丽")};
    expected.sort();
    QCOMPARE(left, expected);
    QCOMPARE(db.count(QStringLiteral("clients")), 2);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
    QVERIFY2(messages.last().text.contains(QDir::toNativeSeparators(QDir(backups).filePath(moved.first()))),
             qPrintable(messages.last().text));
    // Someone else was deleted: the current client stays.
    QCOMPARE(data::attachedClientId(db.connection()), three.lin);
    QCOMPARE(selectedName(w), QStringLiteral("林晓雯（当前）"));
}

void TestClientListWindow::deleteCurrent_data() {
    QTest::addColumn<bool>("othersLeft");
    QTest::newRow("another becomes current") << true;
    QTest::newRow("the only one: a new empty client") << false;
}

void TestClientListWindow::deleteCurrent() {
    QFETCH(bool, othersLeft);
    FixtureDb db;
    fillRecord(db, QStringLiteral("林晓雯"), QStringLiteral("孕妇"), 24, QStringLiteral("孕中期"));
    qint64 wang = 0;
    if (othersLeft) {
        wang = clients::newClient(db.connection()).id;
        fillRecord(db, QStringLiteral("王芳"), QStringLiteral("乳母"));
        clients::openClient(db.connection(), *clients::readClient(db.connection(), 1));
    }
    MessagesRecorder messages;
    messages.answerNext(true);
    TFormClients w;
    w.show();
    QCOMPARE(selectedName(w), QStringLiteral("林晓雯（当前）"));
    test::click(w, "Image4");

    const qint64 now = data::attachedClientId(db.connection());
    QVERIFY(now > 0);
    QVERIFY(now != 1);
    QCOMPARE(db.count(QStringLiteral("clients")), 1);
    if (othersLeft) {
        QCOMPARE(now, wang);
        QCOMPARE(currentName(db), QStringLiteral("王芳"));
        QCOMPARE(names(w), QStringList{QStringLiteral("王芳（当前）")});
        QVERIFY2(messages.last().text.contains(QStringLiteral("现在的当前客户是“王芳”")),
                 qPrintable(messages.last().text));
    } else {
        QCOMPARE(currentName(db), QString());
        QCOMPARE(names(w), QStringList{QStringLiteral("未填姓名的客户（当前）")});
        QVERIFY2(messages.last().text.contains(QStringLiteral("新建")), qPrintable(messages.last().text));
    }
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
    QCOMPARE(selectedName(w), names(w).first());
}

void TestClientListWindow::deleteFailureKeepsHer() {
    FixtureDb db;
    ThreeClients three(db);
    const QString linFile = db.clientPath();
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    messages.answerNext(true);
    db.connection().failStatementAfter(1); // the index refuses the deletion
    test::click(w, "Image4");
    db.connection().failStatementAfter(0);

    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
    QVERIFY(QFileInfo::exists(linFile));
    QVERIFY(deletedIn(data::backupFolderFor(db.path())).isEmpty());
    QCOMPARE(db.count(QStringLiteral("clients")), 3);
    QCOMPARE(data::attachedClientId(db.connection()), three.lin);
    QCOMPARE(currentName(db), QStringLiteral("林晓雯"));
    QCOMPARE(names(w).size(), 3);
    QCOMPARE(selectedName(w), QStringLiteral("林晓雯（当前）"));
}

void TestClientListWindow::exportThenImportElsewhere() {
    QTemporaryDir away;
    const QString exported = QDir(away.path()).filePath(QStringLiteral("林晓雯.dbz"));
    Choosers choosers;
    MessagesRecorder messages;
    {
        FixtureDb db;
        ThreeClients three(db);
        TFormClients w;
        w.show();
        selectName(w, QStringLiteral("林晓雯（当前）"));
        choosers.answer = exported;
        test::click(w, "Image5");
        QCOMPARE(choosers.proposed, QDir(QDir::homePath()).filePath(QStringLiteral("林晓雯.dbz")));
        QVERIFY(QFileInfo(exported).isFile());
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
        QVERIFY(messages.last().text.contains(QDir::toNativeSeparators(exported)));
    }

    // Another computer: a database of its own with one client.
    FixtureDb other;
    fillRecord(other, QStringLiteral("李娜"), QStringLiteral("育龄"));
    messages.clear();
    TFormClients w;
    w.show();
    QTest::keyClicks(test::child<QLineEdit>(w, "Edit1"), QStringLiteral("ln")); // hides her until cleared
    choosers.answer = exported;
    test::click(w, "Image6");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
    QVERIFY(messages.last().text.contains(QStringLiteral("林晓雯")));
    QVERIFY(test::child<QLineEdit>(w, "Edit1")->text().isEmpty());
    QCOMPARE(names(w).size(), 2);
    QCOMPARE(selectedName(w), QStringLiteral("林晓雯"));
    QCOMPARE(data::attachedClientId(other.connection()), 1); // importing does not switch clients
    QVERIFY(QFileInfo(exported).isFile());                   // the source stays

    const int row = int(names(w).indexOf(QStringLiteral("林晓雯")));
    QCOMPARE(test::column(grid(w), 2).at(row), QStringLiteral("24周 · 孕中期"));
    test::click(w, "Image3");
    QCOMPARE(currentName(other), QStringLiteral("林晓雯"));
    QCOMPARE(other.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 24);
}

// The exported copy opens only with her password when she has one; the message says so then.
void TestClientListWindow::exportSaysHerPasswordGoesAlong_data() {
    QTest::addColumn<bool>("own");
    QTest::newRow("program's password") << false;
    QTest::newRow("her own password") << true;
}

void TestClientListWindow::exportSaysHerPasswordGoesAlong() {
    QFETCH(bool, own);
    QTemporaryDir away;
    const QString exported = QDir(away.path()).filePath(QStringLiteral("林晓雯.dbz"));
    Choosers choosers;
    MessagesRecorder messages;
    FixtureDb db;
    ThreeClients three(db);
    if (own)
        data::changePassword(db.connection(), QStringLiteral("她的密码"), QDateTime::currentDateTime());
    TFormClients w;
    w.show();
    selectName(w, QStringLiteral("林晓雯（当前）"));
    choosers.answer = exported;
    test::click(w, "Image5");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
    QCOMPARE(messages.last().text.contains(QStringLiteral("密码")), own);
    QCOMPARE(data::opensWith(exported, QStringLiteral("她的密码")), own);
}

void TestClientListWindow::exportTarget_data() {
    QTest::addColumn<QString>(
        "chosen"); // relative to a temporary folder; "<client>" and "<shared>" are the program's files
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("refused");
    // clang-format off
    QTest::newRow("as chosen")          << QStringLiteral("copy.dbz") << QStringLiteral("copy.dbz") << false;
    QTest::newRow("suffix added")       << QStringLiteral("copy")     << QStringLiteral("copy.dbz") << false;
    QTest::newRow("her own file")       << QStringLiteral("<client>") << QString()                  << true;
    QTest::newRow("another's file")     << QStringLiteral("<other>")  << QString()                  << true;
    QTest::newRow("the shared file")    << QStringLiteral("<shared>") << QString()                  << true;
    // clang-format on
}

void TestClientListWindow::exportTarget() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(bool, refused);
    FixtureDb db;
    ThreeClients three(db);
    QTemporaryDir away;
    const QString other =
        clients::clientPath(db.connection(), *clients::readClient(db.connection(), three.wang));
    const QString target = chosen == QStringLiteral("<client>")   ? db.clientPath()
                           : chosen == QStringLiteral("<other>")  ? other
                           : chosen == QStringLiteral("<shared>") ? db.path()
                                                                  : QDir(away.path()).filePath(chosen);
    QFile before(target);
    const QByteArray contents = before.open(QIODevice::ReadOnly) ? before.readAll() : QByteArray();
    before.close();

    Choosers choosers;
    choosers.answer = target;
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    test::click(w, "Image5");

    QCOMPARE(messages.size(), 1);
    if (refused) {
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QFile after(target);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), contents);
        QCOMPARE(currentName(db), QStringLiteral("林晓雯"));
        QCOMPARE(db.count(QStringLiteral("clients")), 3);
    } else {
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
        QCOMPARE(filesIn(away.path()), QStringList{written});
        data::checkClientFile(QDir(away.path()).filePath(written), db.connection().password());
    }
}

void TestClientListWindow::importOfNonDatabaseChangesNothing() {
    FixtureDb db;
    ThreeClients three(db);
    QTemporaryDir away;
    const QString bogus = QDir(away.path()).filePath(QStringLiteral("菜谱.dbz"));
    {
        QFile f(bogus);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("这不是客户档案，只是一段文字。\n");
    }
    const QString folder = data::clientsFolderFor(db.path());
    const QStringList filesBefore = filesIn(folder);
    Choosers choosers;
    choosers.answer = bogus;
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    test::click(w, "Image6");

    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
    QVERIFY2(messages.last().text.contains(QStringLiteral("不能导入")), qPrintable(messages.last().text));
    QCOMPARE(filesIn(folder), filesBefore);
    QCOMPARE(db.count(QStringLiteral("clients")), 3);
    QCOMPARE(names(w).size(), 3);
    QCOMPARE(selectedName(w), QStringLiteral("林晓雯（当前）"));
    QCOMPARE(data::attachedClientId(db.connection()), three.lin);

    // Cancelling the dialog does nothing at all.
    messages.clear();
    choosers.answer.clear();
    test::click(w, "Image6");
    QVERIFY(messages.isEmpty());
    QCOMPARE(db.count(QStringLiteral("clients")), 3);
}

void TestClientListWindow::fileWithoutClients() {
    // A file as the release before clients were kept apart made it, not updated: the list cannot work.
    FixtureDb db(FixtureDb::Content::SecondRelease);
    MessagesRecorder messages;
    TFormClients w;
    w.show();
    QVERIFY(messages.isEmpty());
    auto* note = test::child<QLabel>(w, "Label2");
    QVERIFY(note->isVisible());
    QVERIFY2(note->text().contains(QStringLiteral("客户列表暂不能使用")), qPrintable(note->text()));
    QVERIFY(!grid(w)->isVisible());
    for (const char* button : {"Image2", "Image3", "Image4", "Image5", "Image6"})
        QVERIFY2(!test::child(w, button)->isEnabled(), button);
    QVERIFY(!test::child(w, "Edit1")->isEnabled());
    test::click(w, "Image7");
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(!QFileInfo::exists(data::clientsFolderFor(db.path())));
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from personinf")).toInteger(), 1);
}

QTEST_MAIN(TestClientListWindow)
#include "tst_client_list_window.moc"
