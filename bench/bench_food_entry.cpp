// Entering food in the diet record window over the shipped foods and a year of entries: each key
// typed into the food name box with its type-ahead answered (limit 20 ms), the food list of each
// category dropped down (limit 50 ms), and the food query's ranked name search. Prints the median
// and the slowest of each.

#include "data/connection.h"
#include "data/database_builder.h"
#include "data/query.h"
#include "diet/diet_record_window.h"
#include "foods/food_query_window.h"
#include "shipped_database.h"
#include "timing.h"
#include "ui/artwork.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using nc::bench::Figures;
using nc::bench::report;

// Times each call, the events it caused handled too; milliseconds.
Figures measure(int count, const std::function<void(int)>& step) {
    return nc::bench::measure(count, step, [] { QApplication::processEvents(); });
}

void typeKey(QWidget* box, QChar c) {
    const int key = c.unicode() < 0x80 ? QKeySequence(QString(c))[0].key() : Qt::Key_unknown;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &release);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    nc::ui::art::applyTheme(app);

    QTemporaryDir dir;
    nc::data::Connection db;
    try {
        const QString cs = nc::bench::makeShippedDatabase(dir.path());
        db.setConnectionString(cs);
        nc::bench::useShippedClient(db);
        nc::data::Connection::setCurrent(&db);
        // A year of a full record: 365 days of 15 foods each, spread over the table.
        nc::data::Transaction t(db);
        db.exec(
            QStringLiteral("insert into foodcheck (tc, swname, zl, meal) select d.n, f.foodname, 100, '午餐' "
                           "from (select rowid as n from Foodnurti where rowid <= 365) d, "
                           "(select foodname, rowid as r from Foodnurti) f where f.r % 109 = d.n % 109 "
                           "limit 5475"));
        db.exec(QStringLiteral("insert into ts (tsid) select rowid from Foodnurti where rowid <= 365"));
        t.commit();
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.text()));
        return 1;
    }
    nc::data::Query count;
    count.setSql(QStringLiteral("select count(*) as n from foodcheck"));
    count.open();
    std::printf("(%lld entries in the diet record)\n", count.field(QStringLiteral("n")).toInteger());

    report("TForm8 opens (foods, portions, recent foods)",
           measure(5,
                   [](int) {
                       nc::diet::TForm8 w;
                       w.show();
                       QApplication::processEvents();
                   }),
           300);

    nc::diet::TForm8 window;
    window.show();
    QApplication::processEvents();
    auto* nameBox = window.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    QLineEdit* edit = nameBox->lineEdit();
    // What counsellors type: characters and initials, one key at a time, over the whole table.
    const QStringList words = {QStringLiteral("鸡蛋"), QStringLiteral("jd"),     QStringLiteral("米饭"),
                               QStringLiteral("mf"),   QStringLiteral("纯牛奶"), QStringLiteral("cnn"),
                               QStringLiteral("番茄"), QStringLiteral("xj"),     QStringLiteral("菜"),
                               QStringLiteral("z"),    QStringLiteral("豆腐"),   QStringLiteral("猪肉")};
    QList<std::pair<int, int>> keys; // word, length typed
    for (int w = 0; w < words.size(); ++w)
        for (int n = 1; n <= words[w].size(); ++n)
            keys.append({w, n});
    report("type-ahead, one key typed",
           measure(int(keys.size()),
                   [&](int i) {
                       const auto [w, n] = keys[i];
                       if (n == 1)
                           edit->clear();
                       typeKey(edit, words[w].at(n - 1));
                   }),
           20);

    auto* kinds = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    report("category picked, its food list dropped down",
           measure(kinds->count() * 2,
                   [&](int i) {
                       nameBox->hidePopup();
                       kinds->setCurrentIndex((i + 1) % kinds->count());
                       nameBox->showPopup();
                   }),
           50);
    nameBox->hidePopup();

    nc::foods::TForm15 query;
    query.show();
    QApplication::processEvents();
    auto* name = query.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    report("TForm15 ranked name search",
           measure(int(words.size()),
                   [&](int i) {
                       name->setText(words[i]);
                       query.Image6Click();
                   }),
           50);
    nc::data::Connection::setCurrent(nullptr);
    return 0;
}
