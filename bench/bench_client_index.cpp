// The client index with 1,000 clients in the shared database: the pinyin initials of 1,000 names, the
// list read from the index (limit 300 ms), the search as the counsellor types (limit 50 ms per key) and
// switching between clients with a year's diet record each (limit 200 ms). Prints the median and the
// slowest of each.

#include "clients/client_index.h"
#include "clients/client_store.h"
#include "clients/pinyin.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/query.h"
#include "shipped_database.h"
#include "timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using nc::bench::Figures;
using nc::bench::measure;
using nc::bench::report;

// 1,000 names as a counselling practice has them: common surnames, one or two given-name characters
// from those used for girls, a few double surnames and a few with Latin letters. Fixed seed, so every
// run has the same names.
QStringList clientNames(int count) {
    const QStringList surnames =
        QStringLiteral("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 "
                       "许 韩 冯 邓 曹 彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 "
                       "欧阳 司马 上官")
            .split(QLatin1Char(' '));
    const QString given =
        QStringLiteral("芳娜敏静丽艳娟霞秀英华慧巧美娅倩婷雪琳晶妍茜秋珊莎锦黛青倩婷姣婉娴瑾颖露瑶怡"
                       "婵雁蓓纨仪荷丹蓉眉君琴蕊薇菁梦岚苑婕馨瑗琰韵融园艺咏卿聪澜纯毓悦昭冰爽琬茗羽"
                       "希宁欣飘育滢馥筠柔竹霭凝晓欢霄枫芸菲寒伊亚宜可姬舒影荔枝思丽晓雯");
    QRandomGenerator random(20261211);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QString name = surnames[random.bounded(int(surnames.size()))];
        const int length = random.bounded(10) < 6 ? 2 : 1;
        for (int k = 0; k < length; ++k)
            name += given[random.bounded(int(given.size()))];
        if (i % 50 == 7)
            name += QStringLiteral(" Anna");
        names << name;
    }
    return names;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    namespace clients = nc::clients;
    const QStringList names = clientNames(1000);

    // The first pass opens ICU's transliterator and reads each character once; later passes find the
    // readings kept.
    QElapsedTimer first;
    first.start();
    clients::preparePinyin();
    std::printf("%-46s %7.2f ms\n", "ICU's transliterator opened", first.nsecsElapsed() / 1e6);
    first.restart();
    for (const QString& n : names)
        clients::pinyinInitials(n);
    std::printf("%-46s %7.2f ms\n", "initials of 1,000 names, first", first.nsecsElapsed() / 1e6);
    report("initials of 1,000 names, later",
           measure(7,
                   [&](int) {
                       for (const QString& n : names)
                           clients::pinyinInitials(n);
                   }),
           0);

    QTemporaryDir dir;
    nc::data::Connection db;
    try {
        db.setConnectionString(nc::bench::makeShippedDatabase(dir.path()));
        db.exec(QStringLiteral("delete from clients"));
        QElapsedTimer t;
        t.start();
        nc::data::Transaction transaction(db);
        const QDateTime start(QDate(2025, 1, 6), QTime(9, 0));
        for (int i = 0; i < names.size(); ++i) {
            clients::ClientEntry e;
            e.file = nc::data::clientFileName(500000 + i); // listed only; no file behind it
            e.name = names[i];
            e.category = i % 3 == 0   ? QStringLiteral("育龄")
                         : i % 3 == 1 ? QStringLiteral("孕妇")
                                      : QStringLiteral("乳母");
            if (i % 3 == 1)
                e.week = QString::number(6 + i % 34);
            e.stage = i % 3 == 2 ? QStringLiteral("产后%1月").arg(1 + i % 12) : QString();
            if (i % 40 != 0) // a few never saved
                e.saved = start.addSecs(qint64(i) * 7919 % (365 * 86400));
            clients::upsertClient(db, e);
        }
        transaction.commit();
        std::printf("%-46s %7.2f ms\n", "1,000 clients stored (one transaction)", t.nsecsElapsed() / 1e6);
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.text()));
        return 1;
    }

    // The list as the client window will read it when it opens; the first read after closing the
    // connection includes opening the encrypted file.
    db.close();
    QList<clients::ClientEntry> list;
    QElapsedTimer cold;
    cold.start();
    list = clients::readClients(db);
    std::printf("%-46s %7.2f ms  (limit 300 ms)\n", "list read, connection opened first",
                cold.nsecsElapsed() / 1e6);
    report("list read (1,000 clients)", measure(7, [&](int) { list = clients::readClients(db); }), 300);

    // What counsellors type, one key at a time: characters, initials, the start of the full pinyin.
    const QStringList words = {QStringLiteral("林晓"), QStringLiteral("lxw"),    QStringLiteral("wangf"),
                               QStringLiteral("欧阳"), QStringLiteral("zhangm"), QStringLiteral("anna"),
                               QStringLiteral("雯"),   QStringLiteral("cxy"),    QStringLiteral("qq")};
    QList<QString> keys;
    for (const QString& w : words)
        for (int n = 1; n <= w.size(); ++n)
            keys << w.left(n);
    qsizetype found = 0;
    report("search, one key typed",
           measure(int(keys.size()), [&](int i) { found += clients::filterClients(list, keys[i]).size(); }),
           50);
    std::printf("(%lld clients in the list, %lld matches over %lld searches)\n", qint64(list.size()),
                qint64(found), qint64(keys.size()));

    // Switching: three clients with a year's diet record each (365 days of 15 foods), opened in turn as
    // the client list opens one: her file attached and checked, the index triggers set, then what the
    // main window and the diet record read first (her row of the index, her record, her days).
    try {
        QList<clients::ClientEntry> three;
        QElapsedTimer t;
        t.start();
        for (int k = 0; k < 3; ++k) {
            three << clients::newClient(db);
            nc::bench::writeClientYear(db, names[k]);
        }
        std::printf("%-46s %7.2f ms\n", "3 clients with a year's record made", t.nsecsElapsed() / 1e6);
        qint64 days = 0;
        const auto switchTo = [&](int i) {
            const clients::ClientEntry& e = three[i % 3];
            clients::openClient(db, e);
            (void)clients::currentClient(db);
            nc::data::Query q(&db);
            q.setSql(QStringLiteral("select * from personinf"));
            q.open();
            q.setSql(QStringLiteral("select * from ts order by tsid"));
            q.open();
            days += q.recordCount();
        };
        db.close();
        QElapsedTimer coldSwitch;
        coldSwitch.start();
        switchTo(0);
        std::printf("%-46s %7.2f ms  (limit 200 ms)\n", "switch, connection opened first",
                    coldSwitch.nsecsElapsed() / 1e6);
        report("switch client (a year's record each)", measure(30, switchTo), 200);
        std::printf("(%lld days read over the switches)\n", days);
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
