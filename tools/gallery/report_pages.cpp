#include "report_pages.h"

#include "analysis/analysis_reports.h"
#include "analysis/complete_report.h"
#include "data/client_file.h"
#include "data/clock.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "data/query.h"
#include "person/record_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace nc::gallery {

namespace {

using data::Query;

// Three days of a pregnant woman's meals, from the shipped food table, and one home-made dish the
// table does not hold (the report notes it).
struct Meal {
    int day;
    const char* food;
    double grams;
};
const Meal kMeals[] = {
    {1, "纯牛奶（代表值，全脂）", 250},
    {1, "鸡蛋（代表值）", 50},
    {1, "挂面（代表值）", 100},
    {1, "稻米（代表值）", 150},
    {1, "猪肉（瘦，fat 8g）", 75},
    {1, "菠菜（鲜）［赤根菜］", 150},
    {1, "番茄［西红柿］", 150},
    {1, "豆腐（代表值）", 100},
    {1, "苹果（代表值）", 200},
    {1, "花生油", 25},
    {2, "纯牛奶（代表值，全脂）", 250},
    {2, "小麦粉（标准粉）", 100},
    {2, "稻米（代表值）", 150},
    {2, "鸡（代表值）", 80},
    {2, "带鱼［白带鱼、刀鱼］", 75},
    {2, "大白菜（代表值）", 200},
    {2, "胡萝卜（红）［金笋，丁香胡萝卜］", 80},
    {2, "香蕉［甘蕉］", 150},
    {2, "核桃（干）［胡桃］", 15},
    {2, "菜籽油［青油］", 25},
    {2, "红枣银耳羹（自制）", 200},
    {3, "豆浆", 250},
    {3, "鸡蛋（代表值）", 50},
    {3, "稻米（代表值）", 200},
    {3, "甘薯（红心）［山芋、红薯］", 100},
    {3, "牛肉（代表值，fat 9g）", 75},
    {3, "鸡肝", 20},
    {3, "西兰花［绿菜花］", 150},
    {3, "香菇（鲜）［香蕈，冬菇］", 50},
    {3, "橙", 200},
    {3, "花生油", 25},
    {3, "酸奶（代表值，全脂）", 100},
};

void recordMeals() {
    for (int day = 1; day <= 3; ++day) {
        Query q;
        q.setSql(QStringLiteral("insert into ts (tsid) values (:d)"));
        q.setParam(QStringLiteral("d"), day);
        q.execute();
    }
    for (const Meal& m : kMeals) {
        Query q;
        q.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:d, :n, :z)"));
        q.setParam(QStringLiteral("d"), m.day);
        q.setParam(QStringLiteral("n"), QString::fromUtf8(m.food));
        q.setParam(QStringLiteral("z"), m.grams);
        q.execute();
    }
}

// The same woman recorded in each category, saved as the personal record window saves her.
person::RecordInput woman(const QString& category) {
    person::RecordInput in;
    in.name = QStringLiteral("周雨桐");
    in.age = QStringLiteral("29");
    in.height = QStringLiteral("160");
    in.weight1 = QStringLiteral("52");
    in.weight2 = category == QStringLiteral("孕妇") ? QStringLiteral("58.5") : QStringLiteral("55");
    in.category = category;
    in.activity = QStringLiteral("轻");
    in.lmp = QDate(2024, 6, 11);
    return in;
}

} // namespace

int writeReportPages() {
    const QString source = QStringLiteral(NC_SOURCE_DIR);
    const QString previousDir = QDir::currentPath();
    data::Connection* previousConnection = data::Connection::current();
    int failures = 0;
    try {
        QTemporaryDir work;
        const QString cs = data::connectionStringForFolder(work.path());
        const auto parsed = data::ConnectionString::parse(cs);
        const QString client = data::createDatabaseWithClient(
            work.path(), parsed.password, data::readTextFile(source + QStringLiteral("/data/schema.sql")),
            data::readSeedFolder(source + QStringLiteral("/data/seed")));
        data::Connection connection(cs);
        data::attachClientFile(connection, client, 1);
        data::Connection::setCurrent(&connection);
        // The program's folder: the layouts, and the chart pictures written beside them.
        for (const char* folder : {"/analysis/layouts", "/person/layouts"}) {
            const QDir from(source + QString::fromLatin1(folder));
            for (const QString& layout : from.entryList({QStringLiteral("*.rav")}, QDir::Files))
                QFile::copy(from.filePath(layout), work.filePath(layout));
        }
        QDir::setCurrent(work.path());
        data::Clock::setSource([] { return QDateTime(QDate(2024, 11, 12), QTime(10, 30)); });
        recordMeals();

        const struct {
            const char* category;
            QString layout;
        } cases[] = {{"孕妇", analysis::kLayoutPregnant},
                     {"育龄", analysis::kLayoutChildbearing},
                     {"乳母", analysis::kLayoutNursing}};
        for (const auto& c : cases) {
            person::saveRecord(woman(QString::fromUtf8(c.category)), data::Clock::today());
            analysis::AnalysisReport report;
            // As the analysis window runs it: its preview offers the complete report.
            analysis::offerCompleteReport(report);
            report.run(); // saved by the gallery's report sink, named after the layout
            // The complete report as its button in the analysis report's preview prints it.
            analysis::printCompleteReport(report);
        }
        person::saveRecord(woman(QStringLiteral("孕妇")), data::Clock::today());
        analysis::FoodListReport list;
        list.run();
    } catch (const data::Error& e) {
        std::fprintf(stderr, "  report pages: %s\n", qPrintable(e.text()));
        ++failures;
    }
    data::Clock::setSource({});
    data::Connection::setCurrent(previousConnection);
    QDir::setCurrent(previousDir);
    return failures;
}

} // namespace nc::gallery
