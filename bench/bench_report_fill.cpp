// Fills and lays out a food-list report of a year of a full diet record: 11,000 rows of day, food
// name, weight and twelve amounts. Prints the time of each step; the whole must stay under 2 s.

#include "report/layout_fill.h"
#include "report/report_document.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

const char* kLayout = R"(<html><head>
<meta name="page-header" content="食物清单">
<style>h1 { font-size: 16pt; text-align: center; }</style></head>
<body><h1>食物清单</h1>
<table data-rows="RvDataSetConnection1" width="100%" data-font-size="7.5">
<tr><th>天</th><th>食物</th><th>重量</th><th>能量</th><th>碳水</th><th>脂肪</th><th>蛋白质</th><th>维A</th>
<th>维B1</th><th>维B2</th><th>维C</th><th>钙</th><th>铁</th><th>锌</th><th>硒</th></tr>
<tr><td align="center">{{tsid}}</td><td width="17%">{{swname}}</td><td align="right">{{zl}}</td>
<td align="right">{{energy}}</td><td align="right">{{carbohydra}}</td><td align="right">{{fat}}</td>
<td align="right">{{protein}}</td><td align="right">{{vita}}</td><td align="right">{{vitb1}}</td>
<td align="right">{{vitb2}}</td><td align="right">{{vitc}}</td><td align="right">{{ca}}</td>
<td align="right">{{fe}}</td><td align="right">{{zn}}</td><td align="right">{{se}}</td></tr>
</table></body></html>)";

nc::report::ReportData yearOfMeals(int rows) {
    static const QStringList foods{QStringLiteral("稻米（籼米，标一）"),
                                   QStringLiteral("小麦粉（标准粉）"),
                                   QStringLiteral("鸡蛋（白皮）"),
                                   QStringLiteral("牛乳"),
                                   QStringLiteral("猪肉（瘦）"),
                                   QStringLiteral("菠菜[赤根菜]"),
                                   QStringLiteral("大白菜（白梗）［黄芽白］"),
                                   QStringLiteral("苹果"),
                                   QStringLiteral("豆腐（南豆腐）"),
                                   QStringLiteral("带鱼[白带鱼，刀鱼]"),
                                   QStringLiteral("胡萝卜（黄）"),
                                   QStringLiteral("香蕉")};
    nc::report::DataTable t;
    t.columns = {QStringLiteral("tsid"),    QStringLiteral("swname"),     QStringLiteral("zl"),
                 QStringLiteral("energy"),  QStringLiteral("carbohydra"), QStringLiteral("fat"),
                 QStringLiteral("protein"), QStringLiteral("vita"),       QStringLiteral("vitb1"),
                 QStringLiteral("vitb2"),   QStringLiteral("vitc"),       QStringLiteral("ca"),
                 QStringLiteral("fe"),      QStringLiteral("zn"),         QStringLiteral("se")};
    for (int i = 0; i < rows; ++i) {
        QStringList r{QString::number(i / 30 + 1), foods.at(i % foods.size()),
                      QString::number(50 + i % 7 * 25)};
        for (int k = 0; k < 12; ++k)
            r << QString::number((i * 7919 + k * 104729) % 100000 / 100.0, 'f', 2);
        t.rows << r;
    }
    nc::report::ReportData d;
    d.tables.insert(QStringLiteral("RvDataSetConnection1"), t);
    return d;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = 11000;
    const nc::report::ReportData data = yearOfMeals(rows);
    QList<qint64> totals;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        nc::report::FilledLayout filled =
            nc::report::fillLayout(QString::fromUtf8(kLayout), data, QStringLiteral("bench"));
        const qint64 fill = t.elapsed();
        const nc::report::ReportDocument doc(std::move(filled));
        const qint64 total = t.elapsed();
        totals << total;
        std::printf("run %d: %d rows, fill %lld ms, layout %lld ms, total %lld ms, %d pages\n", run + 1, rows,
                    fill, total - fill, total, doc.pageCount());
    }
    std::sort(totals.begin(), totals.end());
    std::printf("median total: %lld ms (limit 2000 ms)\n", totals.at(1));

    // For information: drawing every page, as the preview and printing do.
    QTemporaryDir dir;
    QElapsedTimer t;
    t.start();
    const nc::report::ReportDocument doc(
        nc::report::fillLayout(QString::fromUtf8(kLayout), data, QStringLiteral("bench")));
    const qint64 laid = t.elapsed();
    nc::report::exportPdf(doc, dir.filePath(QStringLiteral("bench.pdf")), QStringLiteral("bench"));
    std::printf("all %d pages drawn to PDF: %lld ms\n", doc.pageCount(), t.elapsed() - laid);
    return totals.at(1) < 2000 ? 0 : 1;
}
