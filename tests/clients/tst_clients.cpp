// The client index: pinyin of names, storing and reading the index, and the search as she types.

#include "clients/client_index.h"
#include "clients/pinyin.h"
#include "data/client_file.h"
#include "support/fixture_db.h"

#include <QtTest>

using namespace nc;
using nc::clients::ClientEntry;

namespace {

ClientEntry client(const QString& file, const QString& name, const QString& saved = {},
                   const QString& category = QStringLiteral("孕妇")) {
    ClientEntry e;
    e.file = file;
    e.name = name;
    e.category = category;
    if (!saved.isEmpty())
        e.saved = QDateTime::fromString(saved, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return e;
}

QStringList names(const QList<ClientEntry>& list) {
    QStringList out;
    for (const auto& e : list)
        out << e.name;
    return out;
}

} // namespace

class TestClients : public QObject {
    Q_OBJECT
private slots:
    void pinyin_data();
    void pinyin();
    void indexRoundTrip();
    void indexOrder();
    void failedUpsertLeavesRowAlone();
    void filter_data();
    void filter();
};

void TestClients::pinyin_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initials");
    QTest::addColumn<QString>("full");
    // clang-format off
    QTest::newRow("two characters")      << QStringLiteral("王芳")     << QStringLiteral("wf")    << QStringLiteral("wang fang");
    QTest::newRow("three characters")    << QStringLiteral("林晓雯")   << QStringLiteral("lxw")   << QStringLiteral("lin xiao wen");
    QTest::newRow("common surnames")     << QStringLiteral("张李刘陈") << QStringLiteral("zllc")  << QStringLiteral("zhang li liu chen");
    QTest::newRow("ü reads as u")        << QStringLiteral("吕绿")     << QStringLiteral("ll")    << QStringLiteral("lu lu");
    QTest::newRow("double surname")      << QStringLiteral("欧阳娜娜") << QStringLiteral("oynn")  << QStringLiteral("ou yang na na");
    QTest::newRow("Latin letters kept")  << QStringLiteral("王 Anna")  << QStringLiteral("wanna") << QStringLiteral("wang anna");
    QTest::newRow("Latin between Han")   << QStringLiteral("李Amy芳")  << QStringLiteral("lamyf") << QStringLiteral("li amy fang");
    QTest::newRow("digits kept")         << QStringLiteral("张三2号")  << QStringLiteral("zs2h")  << QStringLiteral("zhang san 2 hao");
    QTest::newRow("punctuation dropped") << QStringLiteral("阿依·买买提") << QStringLiteral("aymmt") << QStringLiteral("a yi mai mai ti");
    QTest::newRow("fullwidth and accent")<< QStringLiteral("Ｚoé 周") << QStringLiteral("zoez")  << QStringLiteral("zoe zhou");
    // A character with several readings gets ICU's usual one, the surname's reading is not guessed:
    // 曾 ceng (surname zeng), 单 dan (shan), 仇 chou (qiu).
    QTest::newRow("polyphonic surnames") << QStringLiteral("曾单仇")   << QStringLiteral("cdc")   << QStringLiteral("ceng dan chou");
    QTest::newRow("outside the BMP")     << QStringLiteral("王𠀀")     << QStringLiteral("wh")    << QStringLiteral("wang he");
    QTest::newRow("empty")               << QString()                 << QString()               << QString();
    QTest::newRow("only spaces")         << QStringLiteral("  ")       << QString()               << QString();
    // Characters with no reading are dropped, the rest of the name still read.
    QTest::newRow("emoji dropped")       << QStringLiteral("王😀芳")   << QStringLiteral("wf")    << QStringLiteral("wang fang");
    QTest::newRow("Hangul dropped")      << QStringLiteral("김王")     << QStringLiteral("w")     << QStringLiteral("wang");
    QTest::newRow("lone surrogate")      << QString(QChar(0xD800)) + QStringLiteral("芳") << QStringLiteral("f") << QStringLiteral("fang");
    // clang-format on
}

void TestClients::pinyin() {
    QFETCH(QString, name);
    QFETCH(QString, initials);
    QFETCH(QString, full);
    QCOMPARE(clients::pinyinInitials(name), initials);
    QCOMPARE(clients::pinyinFull(name), full);
}

void TestClients::indexRoundTrip() {
    test::FixtureDb db;
    auto& c = db.connection();
    db.exec(QStringLiteral("delete from clients")); // the fixture's own client is not one of these
    data::createClientIndex(c);
    data::createClientIndex(c); // a second time leaves the table and its rows

    ClientEntry e =
        client(QStringLiteral("c1.dbz"), QStringLiteral("林晓雯"), QStringLiteral("2026-03-01 09:30:15"));
    e.week = QStringLiteral("24");
    e.stage = QStringLiteral("孕中期");
    e.initials = QStringLiteral("ignored");
    const qint64 id = clients::upsertClient(c, e);
    QVERIFY(id > 0);
    data::createClientIndex(c);

    auto list = clients::readClients(c);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].id, id);
    QCOMPARE(list[0].file, e.file);
    QCOMPARE(list[0].name, e.name);
    QCOMPARE(list[0].initials, QStringLiteral("lxw"));
    QCOMPARE(list[0].category, QStringLiteral("孕妇"));
    QCOMPARE(list[0].week, QStringLiteral("24"));
    QCOMPARE(list[0].stage, QStringLiteral("孕中期"));
    QCOMPARE(list[0].saved, e.saved);
    QCOMPARE(db.scalar(QStringLiteral("select saved from clients where file = :f"),
                       {{QStringLiteral("f"), e.file}})
                 .toText(),
             QStringLiteral("2026-03-01 09:30:15"));

    // The same file again: her row is updated (new name, new initials), not doubled.
    e.name = QStringLiteral("王 Anna");
    e.category = QStringLiteral("乳母");
    e.week.clear();
    e.stage = QStringLiteral("产后3月");
    e.saved = {};
    QCOMPARE(clients::upsertClient(c, e), id);
    list = clients::readClients(c);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].name, QStringLiteral("王 Anna"));
    QCOMPARE(list[0].initials, QStringLiteral("wanna"));
    QCOMPARE(list[0].category, QStringLiteral("乳母"));
    QVERIFY(list[0].week.isEmpty());
    QVERIFY(!list[0].saved.isValid());
    QVERIFY(db.scalar(QStringLiteral("select saved from clients")).isNull());

    // A moment that is not one reads as never saved; the rest of her row is still read.
    for (const QString& bad : {QStringLiteral("2026-02-30 10:00:00"), QStringLiteral("2026-03-01T09:30:15"),
                               QStringLiteral("2026-03-01 9:30:15"), QStringLiteral("yesterday")}) {
        db.exec(QStringLiteral("update clients set saved = :s"), {{QStringLiteral("s"), bad}});
        list = clients::readClients(c);
        QVERIFY2(!list[0].saved.isValid(), qPrintable(bad));
        QCOMPARE(list[0].name, QStringLiteral("王 Anna"));
    }

    const qint64 other = clients::upsertClient(c, client(QStringLiteral("c2.dbz"), QStringLiteral("张敏")));
    QVERIFY(other != id);
    QVERIFY(clients::removeClient(c, QStringLiteral("c1.dbz")));
    QVERIFY(!clients::removeClient(c, QStringLiteral("c1.dbz")));
    QVERIFY(!clients::removeClient(c, QStringLiteral("nobody.dbz")));
    QCOMPARE(names(clients::readClients(c)), QStringList{QStringLiteral("张敏")});
}

void TestClients::indexOrder() {
    test::FixtureDb db;
    auto& c = db.connection();
    db.exec(QStringLiteral("delete from clients")); // the fixture's own client is not one of these
    data::createClientIndex(c);
    // Never saved last; equal moments by name; a second apart is enough to come first.
    clients::upsertClient(c, client(QStringLiteral("a"), QStringLiteral("赵丽"), {}));
    clients::upsertClient(
        c, client(QStringLiteral("b"), QStringLiteral("钱红"), QStringLiteral("2026-01-05 10:00:00")));
    clients::upsertClient(
        c, client(QStringLiteral("c"), QStringLiteral("孙燕"), QStringLiteral("2026-01-05 10:00:01")));
    clients::upsertClient(
        c, client(QStringLiteral("d"), QStringLiteral("Betty"), QStringLiteral("2026-01-05 10:00:00")));
    clients::upsertClient(
        c, client(QStringLiteral("e"), QStringLiteral("Amy"), QStringLiteral("2026-01-05 10:00:00")));
    clients::upsertClient(
        c, client(QStringLiteral("f"), QStringLiteral("李娜"), QStringLiteral("2025-12-31 23:59:59")));
    const QStringList expected{QStringLiteral("孙燕"), QStringLiteral("Amy"),  QStringLiteral("Betty"),
                               QStringLiteral("钱红"), QStringLiteral("李娜"), QStringLiteral("赵丽")};
    QCOMPARE(names(clients::readClients(c)), expected);

    // Saving an older client again brings her to the top.
    clients::upsertClient(
        c, client(QStringLiteral("a"), QStringLiteral("赵丽"), QStringLiteral("2026-02-01 08:00:00")));
    QCOMPARE(clients::readClients(c).first().name, QStringLiteral("赵丽"));
}

void TestClients::failedUpsertLeavesRowAlone() {
    test::FixtureDb db;
    auto& c = db.connection();
    db.exec(QStringLiteral("delete from clients")); // the fixture's own client is not one of these
    data::createClientIndex(c);
    clients::upsertClient(
        c, client(QStringLiteral("a"), QStringLiteral("赵丽"), QStringLiteral("2026-01-05 10:00:00")));
    // A new client whose row cannot be read back: nothing of her stays.
    c.failStatementAfter(2);
    QVERIFY_THROWS_EXCEPTION(data::DbError,
                             clients::upsertClient(c, client(QStringLiteral("b"), QStringLiteral("钱红"))));
    c.failStatementAfter(0);
    QCOMPARE(db.count(QStringLiteral("clients")), 1);
    // An update that fails keeps her old row.
    c.failStatementAfter(1);
    QVERIFY_THROWS_EXCEPTION(data::DbError,
                             clients::upsertClient(c, client(QStringLiteral("a"), QStringLiteral("钱红"))));
    c.failStatementAfter(0);
    QCOMPARE(names(clients::readClients(c)), QStringList{QStringLiteral("赵丽")});
}

void TestClients::filter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    const QString lin = QStringLiteral("林晓雯"), linxia = QStringLiteral("林霞"),
                  wang = QStringLiteral("王 Anna"), zhang = QStringLiteral("张晓丽"),
                  xu = QStringLiteral("徐文");
    const QStringList all{lin, linxia, wang, zhang, xu};
    // clang-format off
    QTest::newRow("empty keeps all")          << QString()              << all;
    QTest::newRow("spaces keep all")          << QStringLiteral("  ")   << all;
    QTest::newRow("Chinese substring")        << QStringLiteral("晓")   << QStringList{lin, zhang};
    QTest::newRow("whole Chinese name")       << QStringLiteral("林晓雯") << QStringList{lin};
    QTest::newRow("initials prefix")          << QStringLiteral("lx")   << QStringList{lin, linxia};
    QTest::newRow("whole initials")           << QStringLiteral("lxw")  << QStringList{lin};
    QTest::newRow("initials inside")          << QStringLiteral("xw")   << QStringList{lin, xu};
    QTest::newRow("mixed case, spaces")       << QStringLiteral(" L X ") << QStringList{lin, linxia};
    QTest::newRow("full pinyin prefix")       << QStringLiteral("linx") << QStringList{lin, linxia};
    QTest::newRow("full pinyin longer")       << QStringLiteral("linxiaow") << QStringList{lin};
    QTest::newRow("full pinyin with spaces")  << QStringLiteral("Lin Xia") << QStringList{lin, linxia};
    QTest::newRow("full pinyin only at start")<< QStringLiteral("xiaowen") << QStringList{};
    QTest::newRow("Latin part of a name")     << QStringLiteral("ANNA") << QStringList{wang};
    QTest::newRow("Chinese and Latin")        << QStringLiteral("王A")  << QStringList{wang};
    QTest::newRow("no match")                 << QStringLiteral("qq")   << QStringList{};
    QTest::newRow("no Chinese match")         << QStringLiteral("赵")   << QStringList{};
    // clang-format on
}

void TestClients::filter() {
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    QList<ClientEntry> list;
    for (const QString& name : {QStringLiteral("林晓雯"), QStringLiteral("林霞"), QStringLiteral("王 Anna"),
                                QStringLiteral("张晓丽"), QStringLiteral("徐文")}) {
        ClientEntry e = client(name, name);
        e.initials = clients::pinyinInitials(name);
        list << e;
    }
    QCOMPARE(names(clients::filterClients(list, typed)), expected);
}

QTEST_MAIN(TestClients)
#include "tst_clients.moc"
