// The food windows over the shipped 1,659 foods: opening the management and query windows, and
// refreshing their grids by category, by name and by a nutrient condition. Prints the median of
// several runs of each step; limits: 300 ms to open, 50 ms per refresh.

#include "data/connection.h"
#include "data/database_builder.h"
#include "foods/food_management_window.h"
#include "foods/food_query_window.h"
#include "shipped_database.h"
#include "ui/artwork.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRuns = 7;

// Median time of `runs` calls, in milliseconds; each run includes handling the events it caused
// (the grid's repaint).
double median(const std::function<void(int)>& step, int runs = kRuns) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        QApplication::processEvents();
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char* what, double ms, double limit) {
    std::printf("%-44s %8.1f ms  (limit %.0f ms)%s\n", what, ms, limit, ms > limit ? "  OVER" : "");
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
        db.prepare(QStringLiteral("select count(*) from Foodnurti")).step(); // open (key derivation) once
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.text()));
        return 1;
    }

    report("TForm7 opens (all foods, new food pending)", median([](int) {
               nc::foods::TForm7 w;
               w.show();
               QApplication::processEvents();
           }),
           300);
    report("TForm15 opens (all foods)", median([](int) {
               nc::foods::TForm15 w;
               w.show();
               QApplication::processEvents();
           }),
           300);

    nc::foods::TForm7 manage;
    manage.show();
    QApplication::processEvents();
    auto* kinds = manage.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    std::printf("(%d foods)\n", manage.foodList().recordCount());
    report("TForm7 category list (each category in turn)",
           median([&](int i) { kinds->setCurrentIndex(i % kinds->count()); }, kinds->count()), 50);
    auto* search = manage.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    const QStringList words = {QStringLiteral("奶"), QStringLiteral("米"), QStringLiteral(""),
                               QStringLiteral("鱼")};
    report("TForm7 name search", median([&](int i) {
               search->setText(words[i % words.size()]);
               manage.Image6Click();
           }),
           50);

    nc::foods::TForm15 query;
    query.show();
    QApplication::processEvents();
    query.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(10); // 钙
    query.findChild<QComboBox*>(QStringLiteral("ComboBox3"))->setCurrentIndex(1);  // >=
    auto* value = query.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    report("TForm15 nutrient condition (ca>=n)", median([&](int i) {
               value->setText(QString::number(i * 50));
               query.Image7Click();
           }),
           50);
    report("TForm15 all foods (全部)", median([&](int) { query.Image2Click(); }), 50);
    nc::data::Connection::setCurrent(nullptr);
    return 0;
}
