// A year of a full diet record (365 days x 30 entries over the shipped 1,659 foods) in a database
// file made from the shipped seeds:
//  - the nutrient analysis, against one SELECT … JOIN … GROUP BY that sums the same fourteen
//    nutrients over the same rows in the same file (limit: the analysis under 100 ms and at most
//    twice the query's time);
//  - the food-list report read, filled and laid out (limit 2 s).
// Prints the median of several runs of each, and their ratio.

#include "analysis/analysis_reports.h"
#include "analysis/intake_analysis.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "data/query.h"
#include "report/report_document.h"
#include "report/report_sink.h"
#include "shipped_database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

using nc::data::Query;

constexpr int kDays = 365;
constexpr int kEntriesPerDay = 30;
constexpr int kRuns = 7;

// The same fourteen sums the analysis makes, as the database would make them in one statement.
const char* kGroupBy =
    "select c.tc, sum(f.energy*c.zl/100), sum(f.protein*c.zl/100), sum(f.fat*c.zl/100), "
    "sum(f.carbohydra*c.zl/100), sum(f.vita*c.zl/100), sum(f.vite*c.zl/100), sum(f.vitc*c.zl/100), "
    "sum(f.vitb1*c.zl/100), sum(f.vitb2*c.zl/100), sum(f.vitpp*c.zl/100), sum(f.ca*c.zl/100), "
    "sum(f.fe*c.zl/100), sum(f.zn*c.zl/100), sum(f.se*c.zl/100) "
    "from foodcheck c join Foodnurti f on f.foodname=c.swname group by c.tc";

void fillYear(nc::data::Connection& c) {
    Query foods(&c);
    foods.setSql(QStringLiteral("select foodname from Foodnurti order by foodid"));
    foods.open();
    QStringList names;
    for (const auto& row : foods.rows())
        names << row.at(0).toText();
    nc::data::Transaction t(c);
    Query day(&c);
    day.setSql(QStringLiteral("insert into ts (tsid) values (:d)"));
    Query entry(&c);
    entry.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:d, :n, :z)"));
    for (int d = 1; d <= kDays; ++d) {
        day.setParam(QStringLiteral("d"), d);
        day.execute();
        for (int k = 0; k < kEntriesPerDay; ++k) {
            entry.setParam(QStringLiteral("d"), d);
            entry.setParam(QStringLiteral("n"), names.at((d * 131 + k * 17) % names.size()));
            entry.setParam(QStringLiteral("z"), 25 + ((d + k) * 35) % 250);
            entry.execute();
        }
    }
    t.commit();
}

// For comparison: the totals with one lookup statement per entry, the other way to find the foods.
qint64 totalsByStatementPerEntry(nc::data::Connection& c) {
    QElapsedTimer t;
    t.start();
    Query entries(&c);
    entries.setSql(QStringLiteral("select swname,zl from foodcheck"));
    entries.open();
    Query lookup(&c);
    lookup.setSql(
        QStringLiteral("select energy,protein,fat,carbohydra,vita,vite,vitc,vitb1,vitb2,vitpp,ca,fe,zn,se "
                       "from foodnurti where foodname=:lsfn;"));
    double totals[14] = {};
    for (const auto& row : entries.rows()) {
        lookup.setParam(QStringLiteral("lsfn"), row.at(0).toText().trimmed());
        lookup.open();
        if (!lookup.eof())
            for (int i = 0; i < 14; ++i)
                totals[i] += lookup.field(i).toReal() * row.at(1).toReal() / 100;
    }
    if (totals[0] < 0)
        std::printf("impossible\n");
    return t.nsecsElapsed();
}

qint64 median(QList<qint64> v) {
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

// Lays the report out and keeps nothing: what the preview would be handed.
class Discard : public nc::report::ReportSink {
public:
    void present(const nc::report::ReportDocument& doc, const nc::report::ReportJob&) override {
        pages = doc.pageCount();
    }
    int pages = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        QTemporaryDir work;
        const QString cs = nc::bench::makeShippedDatabase(work.path());
        nc::data::Connection connection(cs);
        nc::bench::useShippedClient(connection);
        nc::data::Connection::setCurrent(&connection);
        fillYear(connection);
        QFile::copy(QStringLiteral(NC_SOURCE_DIR "/analysis/layouts/sumrep.rav"),
                    work.filePath(QStringLiteral("sumrep.rav")));
        QDir::setCurrent(work.path());

        // Alternate the two so both meet the same cache and machine load.
        QList<qint64> analysis, groupBy;
        int rows = 0;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer t;
            t.start();
            const nc::analysis::AnalysisResult r = nc::analysis::runIntakeAnalysis();
            analysis << t.nsecsElapsed();
            if (r.entries != kDays * kEntriesPerDay || r.days != kDays)
                throw nc::data::Error(QStringLiteral("unexpected record size"));
            t.restart();
            Query q(&connection);
            q.setSql(QString::fromLatin1(kGroupBy));
            q.open();
            groupBy << t.nsecsElapsed();
            rows = q.recordCount();
        }
        const double a = ms(median(analysis));
        const double g = ms(median(groupBy));
        std::printf("%d days x %d entries = %d entries\n", kDays, kEntriesPerDay, kDays * kEntriesPerDay);
        std::printf("analysis, median of %d:            %7.1f ms (limit 100 ms)\n", kRuns, a);
        std::printf("SELECT ... JOIN ... GROUP BY (%d rows): %7.1f ms\n", rows, g);
        std::printf("ratio analysis / query:            %7.2f (limit 2)\n", a / g);
        std::printf("for comparison, totals with a lookup statement per entry: %.1f ms\n",
                    ms(totalsByStatementPerEntry(connection)));

        Discard sink;
        nc::report::ReportOutput::setSink(&sink);
        QList<qint64> report;
        for (int run = 0; run < 3; ++run) {
            nc::analysis::FoodListReport list;
            QElapsedTimer t;
            t.start();
            list.run();
            report << t.nsecsElapsed();
            rows = list.ADOQuery1.recordCount();
        }
        nc::report::ReportOutput::setSink(nullptr);
        const double f = ms(median(report));
        std::printf(
            "food list read, filled and laid out (%d rows, %d pages), median of 3: %.0f ms (limit 2000 ms)\n",
            rows, sink.pages, f);
        nc::data::Connection::setCurrent(nullptr);
        return a < 100 && a / g <= 2 && f < 2000 ? 0 : 1;
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "bench_analysis: %s\n", qPrintable(e.text()));
        return 1;
    }
}
