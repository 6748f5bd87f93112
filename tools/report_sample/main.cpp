// report_sample: renders a sample analysis report with made-up data, offscreen, to look at.
//   report_sample [output folder]   (default: build/screens)
// Writes report_sample.pdf, its pages as report_sample-N.png (with pdftoppm), and the two chart
// pictures as lsbmp.png and lsbmp1.png.

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "data/query.h"
#include "report/chart_pictures.h"
#include "report/report_document.h"
#include "report/report_engine.h"
#include "report/report_sink.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using nc::data::Query;

// Exports every report it is given as the sample PDF.
class PdfSink : public nc::report::ReportSink {
public:
    explicit PdfSink(QString path) : path_(std::move(path)) {}
    void present(const nc::report::ReportDocument& doc, const nc::report::ReportJob& job) override {
        nc::report::exportPdf(doc, path_, job.title);
        pages_ = doc.pageCount();
    }
    int pages() const { return pages_; }

private:
    QString path_;
    int pages_ = 0;
};

void exec(nc::data::Connection& c, const QString& sql) {
    Query q(&c);
    q.setSql(sql);
    q.execute();
}

// A made-up person, a month of meals, and the analysis results the report prints.
void fillSampleData(nc::data::Connection& c) {
    exec(c,
         QStringLiteral("update personinf set name='林晓雯', age=28, high=162, ycq='2025-03-18', yq_week=22, "
                        "yq_jd='中期', csjd='孕妇', yltz=54, yftz=60.5, rmtz=0, hdsp='轻'"));
    exec(c, QStringLiteral("update lstzpj set y=23.05, csdate='2024-10-21', week_add=0.3, week_dj='正常'"));
    const double ckl[14] = {2300, 70, 64, 345, 800, 14, 130, 1.5, 1.7, 15, 1000, 25, 16.5, 50};
    const double srl[14] = {2106.4, 74.3, 70.2, 290.5, 512.8, 15.1, 142.0,
                            1.02,   1.18, 13.9, 620.4, 21.7,  12.1, 41.3};
    for (int i = 0; i < 14; ++i) {
        Query q(&c);
        q.setSql(QStringLiteral("update lsyysfx set srl=:s, ckl=:k, cz=round(:s2-:k2,2), "
                                "dris=round(:s3/:k3*100,2) where id=:id"));
        q.setParam(QStringLiteral("s"), srl[i]);
        q.setParam(QStringLiteral("k"), ckl[i]);
        q.setParam(QStringLiteral("s2"), srl[i]);
        q.setParam(QStringLiteral("k2"), ckl[i]);
        q.setParam(QStringLiteral("s3"), srl[i]);
        q.setParam(QStringLiteral("k3"), ckl[i]);
        q.setParam(QStringLiteral("id"), i + 1);
        q.execute();
    }
    exec(c, QStringLiteral("update sdrn set value1=14.1 where id=1"));
    exec(c, QStringLiteral("update sdrn set value1=30.0 where id=2"));
    exec(c, QStringLiteral("update sdrn set value1=55.9 where id=3"));
    exec(c, QStringLiteral("insert into app_pj (z_id, range, content, rg_name, appraise) values "
                           "(5,'<90','维生素A摄入不足','维生素A','"
                           "摄入偏低。可多吃动物肝脏、蛋黄以及胡萝卜、菠菜等深色蔬菜。')"));
    exec(c, QStringLiteral("insert into app_pj (z_id, range, content, rg_name, appraise) values "
                           "(8,'<90','维生素B1摄入不足','维生素B1','"
                           "摄入偏低。主食宜粗细搭配，适量增加全谷物、豆类和瘦猪肉。')"));
    exec(c, QStringLiteral("insert into app_pj (z_id, range, content, rg_name, appraise) values "
                           "(11,'<90','钙摄入不足','钙','摄入偏低。孕中期起每日宜饮奶 "
                           "300–500 mL，并常吃豆制品、虾皮和绿叶蔬菜。')"));
    exec(c, QStringLiteral("insert into app_pj (z_id, range, content, rg_name, appraise) values "
                           "(13,'<90','锌摄入不足','锌','摄入偏低。可适量增加贝壳类海产品、红肉和坚果。')"));

    Query foods(&c);
    foods.setSql(QStringLiteral("select foodname from Foodnurti where energy > 0 order by foodid limit 400"));
    foods.open();
    QStringList names;
    for (const auto& row : foods.rows())
        names << row.at(0).toText();
    c.begin();
    for (int day = 1; day <= 30; ++day) {
        exec(c, QStringLiteral("insert into ts (tsid) values (%1)").arg(day));
        for (int k = 0; k < 9; ++k) {
            Query q(&c);
            q.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:d, :n, :z)"));
            q.setParam(QStringLiteral("d"), day);
            q.setParam(QStringLiteral("n"), names.at((day * 37 + k * 11) % names.size()));
            q.setParam(QStringLiteral("z"), 50 + ((day + k) * 25) % 200);
            q.execute();
        }
    }
    c.commit();
}

const char* kFoodList =
    "select ts.tsid, foodcheck.swname, foodcheck.zl, round(Foodnurti.energy/100*foodcheck.zl,2) as energy, "
    "round(Foodnurti.carbohydra/100*foodcheck.zl,2) as carbohydra, round(Foodnurti.fat/100*foodcheck.zl,2) "
    "as fat, "
    "round(Foodnurti.protein/100*foodcheck.zl,2) as protein, round(Foodnurti.vita/100*foodcheck.zl,2) as "
    "vita, "
    "round(Foodnurti.vitb1/100*foodcheck.zl,2) as vitb1, round(Foodnurti.vitb2/100*foodcheck.zl,2) as vitb2, "
    "round(Foodnurti.vitc/100*foodcheck.zl,2) as vitc, round(Foodnurti.ca/100*foodcheck.zl,2) as ca, "
    "round(Foodnurti.fe/100*foodcheck.zl,2) as fe, round(Foodnurti.zn/100*foodcheck.zl,2) as zn, "
    "round(Foodnurti.se/100*foodcheck.zl,2) as se "
    "from foodcheck left join ts on ts.tsid=foodcheck.tc inner join Foodnurti on "
    "foodcheck.swname=Foodnurti.foodname "
    "order by ts.tsid";

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = QDir(app.arguments().value(1, QStringLiteral(NC_SCREENS_DIR))).absolutePath();
    QDir().mkpath(out);
    try {
        QTemporaryDir work;
        const auto cs = nc::data::ConnectionString::parse(nc::data::connectionStringForFolder(work.path()));
        const QString src = QStringLiteral(NC_SOURCE_DIR);
        const QString client = nc::data::createDatabaseWithClient(
            work.path(), cs.password, nc::data::readTextFile(src + QStringLiteral("/data/schema.sql")),
            nc::data::readSeedFolder(src + QStringLiteral("/data/seed")));
        nc::data::Connection connection(nc::data::connectionStringForFolder(work.path()));
        nc::data::attachClientFile(connection, client, 1);
        nc::data::Connection::setCurrent(&connection);
        fillSampleData(connection);

        // The program's folder holds the layouts and receives the chart pictures.
        QFile::copy(src + QStringLiteral("/tools/report_sample/sample.rav"),
                    work.filePath(QStringLiteral("sample.rav")));
        QDir::setCurrent(work.path());

        Query pic;
        pic.setSql(QStringLiteral("select y from lstzpj;"));
        pic.open();
        nc::report::saveBmiChart(pic, QStringLiteral("正常"));
        Query split;
        split.setSql(QStringLiteral("select * from sdrn"));
        split.open();
        nc::report::saveEnergyChart(split);
        QImage(nc::report::kBmiChartFile).save(out + QStringLiteral("/lsbmp.png"));
        QImage(nc::report::kEnergyChartFile).save(out + QStringLiteral("/lsbmp1.png"));

        Query person, nutrients, low, list;
        person.setSql(QStringLiteral("select * from personinf;"));
        nutrients.setSql(QStringLiteral("select * from lsyysfx ;"));
        low.setSql(QStringLiteral(
            "select app_pj.content, app_pj.rg_name, app_pj.appraise from lsyysfx inner join app_pj "
            "on lsyysfx.id = app_pj.z_id where app_pj.range='<90' and lsyysfx.dris<90"));
        list.setSql(QString::fromLatin1(kFoodList));
        for (Query* q : {&person, &nutrients, &low, &list})
            q->open();

        const QString pdf = out + QStringLiteral("/report_sample.pdf");
        PdfSink sink(pdf);
        nc::report::ReportOutput::setSink(&sink);
        nc::report::RvSystem system;
        system.setTitle(nc::report::kTitleAnalysis);
        nc::report::RvProject project(&system);
        project.setProjectFile(QStringLiteral("sample"));
        project.addConnection({QStringLiteral("RvDataSetConnection1"), person});
        project.addConnection({QStringLiteral("RvDataSetConnection2"), nutrients});
        project.addConnection({QStringLiteral("RvDataSetConnection3"), low});
        project.addConnection({QStringLiteral("RvDataSetConnection4"), list});
        project.setParam(QStringLiteral("days"), QStringLiteral("30"));
        project.execute();
        nc::report::ReportOutput::setSink(nullptr);
        nc::data::Connection::setCurrent(nullptr);
        QDir::setCurrent(out);
        std::printf("%s: %d pages\n", qPrintable(pdf), sink.pages());

        for (const QString& old : QDir(out).entryList({QStringLiteral("report_sample-*.png")}))
            QFile::remove(out + QLatin1Char('/') + old);
        const int rc = QProcess::execute(QStringLiteral("pdftoppm"),
                                         {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                                          pdf, out + QStringLiteral("/report_sample")});
        if (rc != 0)
            std::fprintf(stderr,
                         "report_sample: pdftoppm failed or is missing (package poppler-utils); PDF only\n");
        return 0;
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "report_sample: %s\n", e.what());
        return 1;
    }
}
