// The report engine: layouts filled from data connections and parameters, laid out on pages, and the
// layout file found by name.

#include "data/dataset.h"
#include "data/errors.h"
#include "data/query.h"
#include "report/report_document.h"
#include "report/report_engine.h"
#include "support/fixture_db.h"
#include "support/program_folder.h"
#include "support/report_capture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using nc::data::DataSet;
using nc::data::Query;
using nc::report::DataTable;
using nc::report::RvCombinedProject;
using nc::report::RvDataSetConnection;
using nc::report::RvProject;
using nc::report::RvSystem;
using nc::test::FixtureDb;
using nc::test::ReportCapture;

namespace {

void writeFile(const QString& path, const QString& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// Lines of the captured pages that are rows of a list (cells separated by tabs), header lines left out.
QStringList listRows(const ReportCapture::Report& r, const QString& header) {
    QStringList rows;
    for (const QString& page : r.pages)
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (line.contains(QLatin1Char('\t')) && line != header)
                rows << line;
    return rows;
}

// Rows made in the test: one column "v".
DataTable rowsOf(const QStringList& values) {
    DataTable t;
    t.columns = QStringList{QStringLiteral("v")};
    for (const QString& v : values)
        t.rows.append(QStringList{v});
    return t;
}

// A layout of `pages` pages, each "<name> 页k" after a page break, with its own page settings.
QString pagedLayout(const QString& name, int pages) {
    QString body;
    for (int k = 1; k <= pages; ++k)
        body += QStringLiteral("<p style=\"page-break-before: always\">%1 页%2</p>").arg(name).arg(k);
    return QStringLiteral("<html><head><meta name=\"page-header\" content=\"%1的页眉\">"
                          "<meta name=\"page-footer\" content=\"%1的页脚 {page}/{pages}\">"
                          "<meta name=\"file-name\" content=\"%1的文件\"></head><body>%2</body></html>")
        .arg(name, body);
}

// Exports the report it is given and reads the PDF's text back (pdftotext), page by page.
class PdfTextSink : public nc::report::ReportSink {
public:
    explicit PdfTextSink(QString path) : path_(std::move(path)), previous_(nc::report::ReportOutput::sink()) {
        nc::report::ReportOutput::setSink(this);
    }
    ~PdfTextSink() override { nc::report::ReportOutput::setSink(previous_); }
    void present(const nc::report::ReportDocument& doc, const nc::report::ReportJob& job) override {
        nc::report::exportPdf(doc, path_, job.title);
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path_, QStringLiteral("-")});
        p.waitForFinished(60000);
        pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
    }
    QStringList pages;

private:
    QString path_;
    nc::report::ReportSink* previous_;
};

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;
    std::optional<nc::test::ProgramFolder> current_; // folder_, as the current directory

    QString layout(const QString& name, const QString& text) {
        const QString path = folder_.filePath(name);
        writeFile(path, text);
        return path;
    }

private Q_SLOTS:
    // Layouts and chart pictures are found in the current directory, as in the program's folder.
    void init() {
        current_.emplace(folder_.path(), nc::test::ProgramFolder::Layouts::None);
        QCOMPARE(QDir::currentPath(), QDir(folder_.path()).canonicalPath());
    }
    void cleanup() { current_.reset(); }

    void fillsDataSetsAndParameters() {
        FixtureDb db;
        db.exec(QStringLiteral("update personinf set name='王小梅 <b>&', age=29, csjd='孕妇'"));
        db.exec(QStringLiteral("update sdrn set value1=15.5 where id=1"));
        layout(QStringLiteral("yyfx.rav"),
               QStringLiteral("<html><head><title>t</title></head><body>"
                              "{{#RvDataSetConnection1}}<p>姓名：{{name}}，年龄：{{age}}，人群：{{csjd}}</"
                              "p>{{/RvDataSetConnection1}}"
                              "<p>天数：{{days}}</p>"
                              "{{#RvDataSetConnection2}}<p>{{mc}}={{value1}}</p>{{/RvDataSetConnection2}}"
                              "{{^RvDataSetConnection3}}<p>没有评价</p>{{/RvDataSetConnection3}}"
                              "</body></html>"));
        Query person;
        person.setSql(QStringLiteral("select * from personinf;"));
        person.open();
        DataSet split;
        split.setSql(QStringLiteral("select * from sdrn"));
        split.open();
        Query none;
        none.setSql(QStringLiteral("select * from app_pj where z_id = -1"));
        none.open();

        ReportCapture capture;
        RvSystem system;
        system.setTitle(nc::report::kTitleAnalysis);
        RvProject project(&system);
        project.setProjectFile(QStringLiteral("yyfx"));
        project.addConnection({QStringLiteral("RvDataSetConnection1"), person});
        project.addConnection({QStringLiteral("RvDataSetConnection2"), split});
        project.addConnection({QStringLiteral("RvDataSetConnection3"), none});
        project.setParam(QStringLiteral("days"), QStringLiteral("3"));
        project.execute();

        QCOMPARE(capture.size(), 1);
        const ReportCapture::Report& r = capture.last();
        QCOMPARE(r.title, QStringLiteral("营养分析"));
        QCOMPARE(r.layoutPath, QDir(folder_.path()).filePath(QStringLiteral("yyfx.rav")));
        QCOMPARE(r.pageCount, 1);
        // Values are text, never markup: the name shows as typed and is escaped in the HTML.
        QVERIFY2(r.text.contains(QStringLiteral("姓名：王小梅 <b>&，年龄：29，人群：孕妇")),
                 qPrintable(r.text));
        QVERIFY(r.html.contains(QStringLiteral("王小梅 &lt;b&gt;&amp;")));
        QVERIFY(r.text.contains(QStringLiteral("天数：3")));
        QVERIFY(r.text.contains(QStringLiteral("蛋白质=15.5\n脂肪=0\n碳水化合物=0")));
        QVERIFY(r.text.contains(QStringLiteral("没有评价")));
        QVERIFY(r.pages.first().contains(QStringLiteral("第 1 页  共 1 页")));
    }

    // A value reads the same wherever the layout prints it: header line (left and right), footer line,
    // body text and list-table cell all show it as stored, character for character.
    void valuesReadTheSameInHeaderFooterBodyAndLists_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("quotes, ampersand, angle brackets") << QStringLiteral("测试'甲\"乙&丙<丁>");
        QTest::newRow("text that looks like a reference") << QStringLiteral("&amp;&#39;&lt;李");
        QTest::newRow("plain") << QStringLiteral("周雨桐");
    }
    void valuesReadTheSameInHeaderFooterBodyAndLists() {
        QFETCH(QString, name);
        FixtureDb db;
        Query update;
        update.setSql(QStringLiteral("update personinf set name=:n"));
        update.setParam(QStringLiteral("n"), nc::data::Value(name));
        update.execute();
        Query person;
        person.setSql(QStringLiteral("select * from personinf;"));
        person.open();
        layout(QStringLiteral("names.rav"),
               QStringLiteral(
                   "<html><head>"
                   "<meta name=\"page-header\" "
                   "content=\"{{#RvDataSetConnection1}}左{{name}}{{/RvDataSetConnection1}}\">"
                   "<meta name=\"page-header-right\" content=\"右{{who}}\">"
                   "<meta name=\"page-footer\" content=\"脚{{who}} 第 {page} 页\">"
                   "</head><body>{{#RvDataSetConnection1}}<p>正文{{name}}</p>{{/RvDataSetConnection1}}"
                   "<table data-rows=\"RvDataSetConnection1\"><tr><th>姓名</th></tr>"
                   "<tr><td>表{{name}}</td></tr></table></body></html>"));
        ReportCapture capture;
        RvSystem system;
        RvProject project(&system);
        project.setProjectFile(QStringLiteral("names.rav"));
        project.addConnection({QStringLiteral("RvDataSetConnection1"), person});
        project.setParam(QStringLiteral("who"), name);
        project.execute();
        QCOMPARE(capture.size(), 1);
        const QString page = capture.last().pages.first();
        for (const QString& where : {QStringLiteral("左"), QStringLiteral("右"), QStringLiteral("脚"),
                                     QStringLiteral("正文"), QStringLiteral("表")})
            QVERIFY2(page.contains(where + name), qPrintable(where + QStringLiteral(" in: ") + page));
    }

    // A data set is read when the report runs; a closed one is an error naming the connection.
    void closedDataSetIsAnError() {
        FixtureDb db;
        layout(QStringLiteral("x.rav"),
               QStringLiteral("<p>{{#RvDataSetConnection1}}{{name}}{{/RvDataSetConnection1}}</p>"));
        Query person;
        person.setSql(QStringLiteral("select * from personinf;"));
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("x"));
        project.addConnection({QStringLiteral("RvDataSetConnection1"), person});
        try {
            project.execute();
            QFAIL("a closed data set ran");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(QStringLiteral("RvDataSetConnection1")), qPrintable(e.text()));
        }
        QVERIFY(capture.isEmpty());
    }

    // Several hundred rows run over several pages: every row exactly once and in order, the header
    // rows again at the top of every page, the page numbers in the footer.
    void longListPaginatesWithHeaderRepeated() {
        FixtureDb db;
        {
            nc::data::Transaction t(db.connection());
            for (int i = 1; i <= 400; ++i)
                db.exec(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:day, :name, :grams)"),
                        {{QStringLiteral("day"), i / 10 + 1},
                         {QStringLiteral("name"), QStringLiteral("食物%1").arg(i)},
                         {QStringLiteral("grams"), i % 7 * 25 + 50}});
            t.commit();
        }
        layout(QStringLiteral("sumrep.rav"),
               QStringLiteral(
                   "<html><head><meta name=\"page-header\" content=\"食物清单 {{days}}\"></head><body>"
                   "<h1>食物清单</h1>"
                   "<table data-rows=\"RvDataSetConnection1\" width=\"100%\">"
                   "<thead><tr><th>天</th><th>食物</th><th>重量</th></tr></thead>"
                   "{{#RvDataSetConnection1}}<tr><td align=\"center\">{{tc}}</td><td>{{swname}}</td>"
                   "<td align=\"right\">{{zl}} g</td></tr>{{/RvDataSetConnection1}}"
                   "</table><p>合计 {{days}} 天</p></body></html>"));
        Query list;
        list.setSql(QStringLiteral("select tc, swname, zl from foodcheck order by foodid"));
        list.open();
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("sumrep.rav"));
        project.addConnection({QStringLiteral("RvDataSetConnection1"), list});
        project.setParam(QStringLiteral("days"), QStringLiteral("41"));
        project.execute();

        const ReportCapture::Report& r = capture.last();
        QVERIFY2(r.pageCount >= 5, qPrintable(QString::number(r.pageCount)));
        const QString header = QStringLiteral("天\t食物\t重量");
        for (int p = 0; p < r.pageCount; ++p) {
            const QStringList lines = r.pages.at(p).split(QLatin1Char('\n'));
            QCOMPARE(lines.first(), QStringLiteral("食物清单 41"));
            QVERIFY2(lines.contains(header),
                     qPrintable(QStringLiteral("page %1:\n%2").arg(p + 1).arg(r.pages.at(p))));
            QCOMPARE(lines.last(), QStringLiteral("第 %1 页  共 %2 页").arg(p + 1).arg(r.pageCount));
        }
        const QStringList rows = listRows(r, header);
        QCOMPARE(rows.size(), 400);
        for (int i = 1; i <= 400; ++i)
            QCOMPARE(rows.at(i - 1),
                     QStringLiteral("%1\t食物%2\t%3 g").arg(i / 10 + 1).arg(i).arg(i % 7 * 25 + 50));
        QVERIFY(r.pages.last().contains(QStringLiteral("合计 41 天")));
        QVERIFY(r.html.contains(QStringLiteral("<td align=\"left\">食物400</td>")));
    }

    // Long flowing text breaks between lines: nothing is lost or printed twice at a page end.
    void longTextBreaksBetweenLines() {
        FixtureDb db;
        {
            nc::data::Transaction t(db.connection());
            for (int i = 1; i <= 150; ++i)
                db.exec(QStringLiteral("insert into app_pj (z_id, range, content, rg_name, appraise) "
                                       "values (:id, '<90', '内容', :nutrient, :text)"),
                        {{QStringLiteral("id"), i},
                         {QStringLiteral("nutrient"), QStringLiteral("营养素%1").arg(i)},
                         {QStringLiteral("text"), QStringLiteral("第%1条评价").arg(i)}});
            t.commit();
        }
        layout(QStringLiteral("pj.rav"),
               QStringLiteral(
                   "<table border=\"1\" cellspacing=\"0\"><tr><th>营养素</th><th>评价</th></tr>"
                   "{{#RvDataSetConnection4}}<tr><td>{{rg_name}}</td><td>{{appraise}}</td></tr>{{/"
                   "RvDataSetConnection4}}"
                   "</table>"
                   "{{#RvDataSetConnection4}}<p>{{rg_name}}：{{appraise}}</p>{{/RvDataSetConnection4}}"));
        Query texts;
        texts.setSql(QStringLiteral("select rg_name, appraise from app_pj order by z_id"));
        texts.open();
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("pj"));
        project.addConnection({QStringLiteral("RvDataSetConnection4"), texts});
        project.execute();

        const ReportCapture::Report& r = capture.last();
        QVERIFY(r.pageCount >= 3);
        const QString all = r.pages.join(QLatin1Char('\n'));
        for (int i = 1; i <= 150; ++i) {
            QCOMPARE(all.count(QStringLiteral("营养素%1：第%1条评价\n").arg(i)), 1);
            QCOMPARE(all.count(QStringLiteral("营养素%1\n第%1条评价\n").arg(i)), 1);
        }
    }

    // Paragraphs that fit on a page are never split, and a heading is never the last line of a page:
    // each heading, its paragraph's first words and its last words are on one page.
    void paragraphsStayWholeAndHeadingsStayWithTheirText() {
        QString html;
        const QString filler = QStringLiteral("膳食评价的正文较长，需要分成几行来排版。").repeated(8);
        for (int i = 1; i <= 40; ++i)
            html += QStringLiteral("<h3>标题%1</h3><p>第%1段：%2（第%1段完）</p>").arg(i).arg(filler);
        layout(QStringLiteral("keep.rav"), html);
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("keep"));
        project.execute();

        const ReportCapture::Report& r = capture.last();
        QVERIFY(r.pageCount >= 3);
        for (int i = 1; i <= 40; ++i) {
            int pages = 0;
            for (const QString& page : r.pages) {
                if (!page.contains(QStringLiteral("标题%1\n").arg(i)))
                    continue;
                ++pages;
                QVERIFY2(page.contains(QStringLiteral("第%1段：").arg(i)), qPrintable(QString::number(i)));
                QVERIFY2(page.contains(QStringLiteral("（第%1段完）").arg(i)),
                         qPrintable(QString::number(i)));
            }
            QCOMPARE(pages, 1);
        }
        for (const QString& page : r.pages)
            QVERIFY2(!page.section(QLatin1Char('\n'), -1).startsWith(QStringLiteral("标题")),
                     qPrintable(page));
    }

    void pageBreakBeforeStartsNewPage() {
        layout(QStringLiteral("pb.rav"),
               QStringLiteral(
                   "<p>第一部分</p><h2 style=\"page-break-before: always\">第二部分</h2><p>正文</p>"));
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("pb"));
        project.execute();
        QCOMPARE(capture.last().pageCount, 2);
        QVERIFY(capture.last().pages.at(0).contains(QStringLiteral("第一部分")));
        QVERIFY(!capture.last().pages.at(0).contains(QStringLiteral("第二部分")));
        QVERIFY(capture.last().pages.at(1).startsWith(QStringLiteral("第二部分\n正文")));
    }

    // Two parts of one report both name their rows "RvDataSetConnection1" and a parameter "title":
    // each part prints its own, and the later part's cannot replace the earlier one's.
    void combinedPartsKeepTheirOwnConnectionsAndParameters() {
        layout(QStringLiteral("a.rav"),
               QStringLiteral(
                   "<p>{{title}}</p>{{#RvDataSetConnection1}}<p>甲行{{v}}</p>{{/RvDataSetConnection1}}"
                   "<table data-rows=\"RvDataSetConnection1\"><tr><td>甲表{{v}}</td></tr></table>"));
        layout(QStringLiteral("b.rav"),
               QStringLiteral(
                   "<p>{{title}}</p>{{#RvDataSetConnection1}}<p>乙行{{v}}</p>{{/RvDataSetConnection1}}"
                   "{{^RvDataSetConnection2}}<p>乙无第二连接</p>{{/RvDataSetConnection2}}"));
        RvProject a;
        a.setProjectFile(QStringLiteral("a"));
        a.addConnection(
            {QStringLiteral("RvDataSetConnection1"), [] { return rowsOf({QStringLiteral("1")}); }});
        a.addConnection(
            {QStringLiteral("RvDataSetConnection2"), [] { return rowsOf({QStringLiteral("x")}); }});
        a.setParam(QStringLiteral("title"), QStringLiteral("体格部分"));
        RvProject b;
        b.setProjectFile(QStringLiteral("b"));
        b.addConnection({QStringLiteral("RvDataSetConnection1"), [] {
                             return rowsOf({QStringLiteral("2"), QStringLiteral("3")});
                         }});
        b.setParam(QStringLiteral("title"), QStringLiteral("分析部分"));

        ReportCapture capture;
        RvSystem system;
        system.setTitle(QStringLiteral("完整报告"));
        RvCombinedProject combined(&system);
        combined.addPart(a);
        combined.addPart(b);
        combined.execute();

        QCOMPARE(capture.size(), 1);
        const ReportCapture::Report& r = capture.last();
        QCOMPARE(r.title, QStringLiteral("完整报告"));
        QCOMPARE(r.layoutPath, QDir(folder_.path()).filePath(QStringLiteral("a.rav")));
        QCOMPARE(r.pageCount, 2);
        QCOMPARE(r.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("体格部分"), QStringLiteral("甲行1"), QStringLiteral("甲表1"),
                              QStringLiteral("分析部分"), QStringLiteral("乙行2"), QStringLiteral("乙行3"),
                              QStringLiteral("乙无第二连接")}));
    }

    // Each part starts on a new page (never a blank one, even when the part itself begins with a page
    // break), the pages of all parts are numbered as one report, and every page carries the first
    // part's header and footer: the later parts' own are not printed.
    // clang-format off
    void combinedPagesAreNumberedAcrossParts_data() {
        QTest::addColumn<QList<int>>("pages"); // of each part alone
        QTest::newRow("one page each") << QList<int>{1, 1};
        QTest::newRow("cover and two longer parts") << QList<int>{1, 3, 2};
        QTest::newRow("a single part") << QList<int>{2};
    }
    // clang-format on
    void combinedPagesAreNumberedAcrossParts() {
        QFETCH(QList<int>, pages);
        std::vector<std::unique_ptr<RvProject>> parts;
        RvCombinedProject combined;
        int total = 0;
        for (int i = 0; i < pages.size(); ++i) {
            const QString name = QStringLiteral("部分%1").arg(i + 1);
            layout(QStringLiteral("p%1.rav").arg(i + 1), pagedLayout(name, pages.at(i)));
            parts.push_back(std::make_unique<RvProject>());
            parts.back()->setProjectFile(QStringLiteral("p%1").arg(i + 1));
            combined.addPart(*parts.back());
            total += pages.at(i);
        }
        ReportCapture capture;
        combined.execute();

        const ReportCapture::Report& r = capture.last();
        QCOMPARE(r.pageCount, total);
        QCOMPARE(r.pages.size(), total);
        int page = 0;
        for (int i = 0; i < pages.size(); ++i) {
            for (int k = 1; k <= pages.at(i); ++k, ++page) {
                const QStringList lines = r.pages.at(page).split(QLatin1Char('\n'));
                QCOMPARE(lines, (QStringList{QStringLiteral("部分1的页眉"),
                                             QStringLiteral("部分%1 页%2").arg(i + 1).arg(k),
                                             QStringLiteral("部分1的页脚 %1/%2").arg(page + 1).arg(total)}));
            }
        }
        QVERIFY(r.pages.last().endsWith(QStringLiteral("部分1的页脚 %1/%1").arg(total)));
    }

    // Without a footer of its own the cover gives every page the usual numbering, the last page
    // reading "第 m 页  共 m 页"; a short part still leaves the rest of its page empty.
    void combinedReportEndsWithTheLastPageNumber() {
        layout(QStringLiteral("cover.rav"), QStringLiteral("<h1>封面</h1>"));
        layout(QStringLiteral("body.rav"), pagedLayout(QStringLiteral("正文"), 2));
        RvProject cover;
        cover.setProjectFile(QStringLiteral("cover"));
        RvProject body;
        body.setProjectFile(QStringLiteral("body"));
        RvCombinedProject combined;
        combined.addPart(cover);
        combined.addPart(body);
        combined.addPart(cover);
        ReportCapture capture;
        combined.execute();
        const ReportCapture::Report& r = capture.last();
        QCOMPARE(r.pageCount, 4);
        QCOMPARE(r.pages.at(0), QStringLiteral("封面\n第 1 页  共 4 页"));
        QCOMPARE(r.pages.at(3), QStringLiteral("封面\n第 4 页  共 4 页"));
    }

    // A part's styles stay in that part: the cover's large type and its class style do not reach the
    // next part, whose twenty lines of ordinary text fit on one page (at the cover's 30 pt they would
    // need two).
    void combinedPartsKeepTheirOwnStyles() {
        layout(
            QStringLiteral("big.rav"),
            QStringLiteral("<html><head><style>p { font-size: 30pt; } .x { font-size: 30pt; }</style></head>"
                           "<body><p>大字</p></body></html>"));
        QString lines;
        for (int i = 1; i <= 20; ++i)
            lines += QStringLiteral("<p class=\"x\">第%1行</p>").arg(i);
        layout(QStringLiteral("plain.rav"), QStringLiteral("<html><body>%1</body></html>").arg(lines));
        RvProject big;
        big.setProjectFile(QStringLiteral("big"));
        RvProject plain;
        plain.setProjectFile(QStringLiteral("plain"));

        ReportCapture capture;
        plain.execute();
        QCOMPARE(capture.last().pageCount, 1);
        RvCombinedProject combined;
        combined.addPart(big);
        combined.addPart(plain);
        combined.execute();
        QCOMPARE(capture.last().pageCount, 2);
        QVERIFY(capture.last().pages.at(1).contains(QStringLiteral("第20行")));
    }

    // A part whose layout is missing stops the whole report before anything is shown.
    void combinedReportWithAMissingPartIsAnError() {
        layout(QStringLiteral("cover.rav"), QStringLiteral("<h1>封面</h1>"));
        RvProject cover;
        cover.setProjectFile(QStringLiteral("cover"));
        RvProject missing;
        missing.setProjectFile(QStringLiteral("nowhere"));
        RvCombinedProject combined;
        combined.addPart(cover);
        combined.addPart(missing);
        ReportCapture capture;
        try {
            combined.execute();
            QFAIL("a report with a missing part ran");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(QStringLiteral("nowhere.rav")), qPrintable(e.text()));
        }
        QVERIFY(capture.isEmpty());
    }

    // The exported PDF holds both parts in order, one per page, under the cover's numbering.
    void combinedReportExportsBothPartsInOrder() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QFAIL("pdftotext (poppler-utils) is needed");
        layout(QStringLiteral("first.rav"), QStringLiteral("<h1>体格评价部分</h1><p>体质指数 20.31</p>"));
        layout(QStringLiteral("second.rav"), QStringLiteral("<h1>膳食分析部分</h1><p>能量 2283.94</p>"));
        RvProject first;
        first.setProjectFile(QStringLiteral("first"));
        RvProject second;
        second.setProjectFile(QStringLiteral("second"));
        RvCombinedProject combined;
        combined.addPart(first);
        combined.addPart(second);
        PdfTextSink sink(folder_.filePath(QStringLiteral("combined.pdf")));
        combined.execute();
        QCOMPARE(sink.pages.size(), 2);
        QStringList pages = sink.pages;
        for (QString& page : pages)
            page.remove(QRegularExpression(QStringLiteral("\\s")));
        QVERIFY2(pages.at(0).contains(QStringLiteral("体格评价部分体质指数20.31")), qPrintable(pages.at(0)));
        QVERIFY(pages.at(0).contains(QStringLiteral("第1页共2页")));
        QVERIFY(!pages.at(0).contains(QStringLiteral("膳食分析部分")));
        QVERIFY2(pages.at(1).contains(QStringLiteral("膳食分析部分能量2283.94")), qPrintable(pages.at(1)));
        QVERIFY(pages.at(1).contains(QStringLiteral("第2页共2页")));
    }

    void missingLayoutNamesFullPath() {
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("yyfx_rm"));
        const QString expected =
            QDir::toNativeSeparators(QDir(folder_.path()).filePath(QStringLiteral("yyfx_rm.rav")));
        try {
            project.execute();
            QFAIL("a missing layout ran");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(expected), qPrintable(e.text()));
        }
        QVERIFY(capture.isEmpty());
    }

    void malformedLayoutIsAnError_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("section never closed") << QStringLiteral("<p>{{#RvDataSetConnection1}}{{name}}</p>");
        QTest::newRow("list table without a data row")
            << QStringLiteral("<table data-rows=\"RvDataSetConnection1\"><tr><th>天</th></tr></table>");
        QTest::newRow("list table with two data rows") << QStringLiteral(
            "<table "
            "data-rows=\"RvDataSetConnection1\"><tr><td>{{a}}</td></tr><tr><td>{{b}}</td></tr></table>");
    }
    void malformedLayoutIsAnError() {
        QFETCH(QString, text);
        const QString path = layout(QStringLiteral("bad.rav"), text);
        ReportCapture capture;
        RvProject project;
        project.setProjectFile(QStringLiteral("bad"));
        try {
            project.execute();
            QFAIL("a malformed layout ran");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(path)), qPrintable(e.text()));
        }
        QVERIFY(capture.isEmpty());
    }

    // clang-format off
    void layoutPath_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // relative to the folder "/work/app"
        QTest::newRow("no extension") << "tzbg" << "/work/app/tzbg.rav";
        QTest::newRow("with extension") << "yftzbg.rav" << "/work/app/yftzbg.rav";
        QTest::newRow("other extension kept") << "report.txt" << "/work/app/report.txt";
        QTest::newRow("trailing dot kept") << "tzbg." << "/work/app/tzbg.";
        QTest::newRow("sub folder") << "layouts/yyfx" << "/work/app/layouts/yyfx.rav";
        QTest::newRow("dot in folder name only") << "my.layouts/yyfx" << "/work/app/my.layouts/yyfx.rav";
        QTest::newRow("parent folder") << "../shared/sumrep" << "/work/shared/sumrep.rav";
        QTest::newRow("absolute") << "/opt/layouts/rmtzbg" << "/opt/layouts/rmtzbg.rav";
        QTest::newRow("Chinese name") << "体质报告" << "/work/app/体质报告.rav";
    }
    // clang-format on
    void layoutPath() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(nc::report::resolveLayoutPath(name, QStringLiteral("/work/app")), expected);
    }

    // The project takes a relative name from the current directory at the time it is set.
    void projectFileFollowsCurrentDirectory() {
        QDir(folder_.path()).mkdir(QStringLiteral("sub"));
        QVERIFY(QDir::setCurrent(folder_.filePath(QStringLiteral("sub"))));
        RvProject project;
        project.setProjectFile(QStringLiteral("tzbg"));
        QCOMPARE(project.projectFile(), QDir(folder_.path()).filePath(QStringLiteral("sub/tzbg.rav")));
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
