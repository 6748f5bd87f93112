// Diet record window with a year of records (365 days x 30 food entries): how long the window takes
// to open, and how long switching the current day in the days grid takes until the foods grid shows
// the new day. Runs offscreen on a database made in a temporary folder.
//     bench_diet_record [rounds]   (default 20)

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "diet/diet_record_window.h"
#include "ui/messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kDays = 365;
constexpr int kEntriesPerDay = 30;

QList<nc::data::SeedTable> yearOfRecords(const QList<nc::data::SeedTable>& seeds) {
    QStringList names;
    for (const nc::data::SeedTable& t : seeds)
        if (t.table.compare(QLatin1String("Foodnurti"), Qt::CaseInsensitive) == 0)
            for (const QStringList& row : t.data.rows)
                names << row.value(int(t.data.header.indexOf(QStringLiteral("foodname"))));
    nc::data::SeedTable days{QStringLiteral("ts"), {{QStringLiteral("tsid")}, {}}};
    nc::data::SeedTable foods{QStringLiteral("foodcheck"),
                              {{QStringLiteral("tc"), QStringLiteral("swname"), QStringLiteral("zl")}, {}}};
    for (int d = 1; d <= kDays; ++d) {
        days.data.rows.append({QString::number(d)});
        for (int e = 0; e < kEntriesPerDay; ++e)
            foods.data.rows.append({QString::number(d), names.value((d * 31 + e * 7) % names.size()),
                                    QString::number(50 + (d + e) % 200)});
    }
    return {days, foods};
}

struct Figures {
    double median;
    double worst;
};
Figures summarise(QList<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.last()};
}

class Silent : public nc::ui::MessageSink {
public:
    void inform(const QString& t, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(t));
    }
    bool confirm(const QString&, const QString&) override { return false; }
    void error(const QString& t) override { std::fprintf(stderr, "error: %s\n", qPrintable(t)); }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Silent messages;
    nc::ui::Messages::setSink(&messages);
    const int rounds = std::max(1, app.arguments().value(1, QStringLiteral("20")).toInt());

    QTemporaryDir dir;
    const QString source = QStringLiteral(NC_SOURCE_DIR);
    nc::data::Connection connection;
    try {
        const QString cs = nc::data::connectionStringForFolder(dir.path());
        auto seeds = nc::data::readSeedFolder(source + QStringLiteral("/data/seed"));
        seeds += yearOfRecords(seeds);
        const QString client = nc::data::createDatabaseWithClient(
            dir.path(), nc::data::ConnectionString::parse(cs).password,
            nc::data::readTextFile(source + QStringLiteral("/data/schema.sql")), seeds);
        connection.setConnectionString(cs);
        nc::data::attachClientFile(connection, client, 1);
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.text()));
        return 1;
    }
    nc::data::Connection::setCurrent(&connection);

    // Opening: the first time includes opening the connection (key derivation).
    QList<double> opens;
    double first = 0;
    for (int i = 0; i <= rounds; ++i) {
        QElapsedTimer t;
        t.start();
        nc::diet::TForm8 window;
        window.show();
        QApplication::processEvents();
        const double ms = t.nsecsElapsed() / 1e6;
        if (i == 0)
            first = ms;
        else
            opens << ms;
    }

    // Switching days as a click in the days grid does: select the row, let the foods grid follow and
    // repaint.
    nc::diet::TForm8 window;
    window.show();
    QApplication::processEvents();
    auto* days = window.findChild<QTableView*>(QStringLiteral("DBGrid2"));
    auto* foods = window.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    QList<double> switches;
    QRandomGenerator random(7);
    for (int i = 0; i < rounds * 5; ++i) {
        const int row = int(random.bounded(kDays));
        QElapsedTimer t;
        t.start();
        days->setCurrentIndex(days->model()->index(row, 0));
        QApplication::processEvents();
        foods->repaint();
        switches << t.nsecsElapsed() / 1e6;
        if (window.record().currentDay() != row + 1 || foods->model()->rowCount() != kEntriesPerDay) {
            std::fprintf(stderr, "day %d did not show its foods\n", row + 1);
            return 1;
        }
    }

    const Figures o = summarise(opens);
    const Figures s = summarise(switches);
    std::printf("diet record window, %d days x %d entries\n", kDays, kEntriesPerDay);
    std::printf("  open, first (connection opens too): %8.1f ms\n", first);
    std::printf("  open, median of %d:                 %8.1f ms  (worst %.1f ms)\n", int(opens.size()),
                o.median, o.worst);
    std::printf("  day switch, median of %d:          %8.1f ms  (worst %.1f ms)\n", int(switches.size()),
                s.median, s.worst);
    return 0;
}
