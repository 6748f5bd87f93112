// Every report, exported as PDF, reads back (pdftotext) with exactly the characters its pages were
// filled with: every Chinese character, digit and unit, header and footer lines included. The person
// has a name with quotes, & and angle brackets, which every page header must show as typed.

#include "analysis/analysis_reports.h"
#include "analysis/complete_report.h"
#include "data/query.h"
#include "person/physique_report.h"
#include "person/record_store.h"
#include "person/reference_intakes.h"
#include "report/report_document.h"
#include "report/report_engine.h"
#include "report/report_sink.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/program_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using nc::test::FixtureDb;
using nc::test::ProgramFolder;

namespace {

const QString kName = QStringLiteral("测试'甲\"乙&丙<丁>");

// The characters of a text without its white space and picture places (U+FFFC), sorted: two texts
// with the same characters in any order and spacing compare equal.
QString characters(const QString& text) {
    QList<uint> codes;
    for (uint c : text.toUcs4())
        if (!QChar::isSpace(c) && c != 0xFFFC)
            codes << c;
    std::sort(codes.begin(), codes.end());
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.constData()), codes.size());
}

// What differs between two character multisets, for the failure message.
QString difference(const QString& expected, const QString& actual) {
    QMap<uint, int> count;
    for (uint c : expected.toUcs4())
        ++count[c];
    for (uint c : actual.toUcs4())
        --count[c];
    QString missing;
    QString extra;
    for (auto it = count.begin(); it != count.end(); ++it) {
        const char32_t c = it.key();
        for (int i = 0; i < qAbs(it.value()); ++i)
            (it.value() > 0 ? missing : extra) += QString::fromUcs4(&c, 1);
    }
    return QStringLiteral("missing from the PDF text: %1 | extra in the PDF text: %2").arg(missing, extra);
}

// Exports every report it is given and keeps the page texts beside the PDF's own text.
class PdfSink : public nc::report::ReportSink {
public:
    struct Exported {
        QString layout;
        QString fileName;
        QStringList pages;    // as filled
        QStringList pdfPages; // as pdftotext reads them
    };

    explicit PdfSink(const QString& folder) : folder_(folder), previous_(nc::report::ReportOutput::sink()) {
        nc::report::ReportOutput::setSink(this);
    }
    ~PdfSink() override { nc::report::ReportOutput::setSink(previous_); }

    void present(const nc::report::ReportDocument& doc, const nc::report::ReportJob& job) override {
        Exported e;
        e.layout = QFileInfo(job.layoutPath).fileName();
        e.fileName = job.fileName;
        for (int i = 0; i < doc.pageCount(); ++i)
            e.pages << doc.pageText(i);
        const QString pdf = QDir(folder_).filePath(e.layout + QStringLiteral(".pdf"));
        nc::report::exportPdf(doc, pdf, job.title);
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        e.pdfPages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!e.pdfPages.isEmpty() && e.pdfPages.last().trimmed().isEmpty())
            e.pdfPages.removeLast();
        exported.append(e);
    }

    QList<Exported> exported;

private:
    QString folder_;
    nc::report::ReportSink* previous_;
};

void exec(const QString& sql, const QMap<QString, nc::data::Value>& params = {}) {
    nc::data::Query q;
    q.setSql(sql);
    for (auto it = params.begin(); it != params.end(); ++it)
        q.setParam(it.key(), it.value());
    q.execute();
}

// The physique report as the personal record window runs it.
void runPhysiqueReport(const QString& category) {
    nc::data::Query person;
    person.setSql(QStringLiteral("select * from personinf;"));
    person.open();
    const nc::person::Evaluation evaluation = nc::person::evaluateRecord(category);
    person.close();
    person.open();
    nc::data::Query grades;
    grades.setSql(QStringLiteral("select * from lstzpj;"));
    grades.open();
    nc::report::RvSystem system;
    system.setTitle(nc::report::kTitlePhysique);
    nc::report::RvProject project(&system);
    project.setProjectFile(evaluation.layout);
    project.addConnection({QStringLiteral("RvDataSetConnection1"), grades});
    project.addConnection({QStringLiteral("RvDataSetConnection2"), person});
    const QMap<QString, QString> params = nc::person::physiqueReportParams(evaluation);
    for (auto it = params.begin(); it != params.end(); ++it)
        project.setParam(it.key(), it.value());
    project.execute();
}

} // namespace

class TestReportPdfText : public QObject {
    Q_OBJECT
    std::optional<nc::test::FixedClock> clock_;

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QFAIL("pdftotext (poppler-utils) is needed");
        clock_.emplace(QDate(2026, 12, 10), QTime(9, 30));
    }
    void cleanupTestCase() { clock_.reset(); }

    // clang-format off
    void everyReportReadsAsItsPages_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("layouts");
        QTest::newRow("育龄") << "育龄" << "update personinf set age=27, high=158, yltz=52.5, yftz=52.5, hdsp='中'"
                              << QStringList{QStringLiteral("tzbg.rav"), QStringLiteral("yyfx.rav"),
                                             QStringLiteral("sumrep.rav"), QStringLiteral("wzbg.rav")};
        QTest::newRow("孕妇") << "孕妇" << "update personinf set age=29, high=160, yltz=54, yftz=60.5, hdsp='轻', "
                                 "mcyjrq='2026-06-01', ycq='2027-03-08', yq_week=27, yq_jd='中期'"
                              << QStringList{QStringLiteral("yftzbg.rav"), QStringLiteral("yyfx_yf.rav"),
                                             QStringLiteral("sumrep.rav"), QStringLiteral("wzbg_yf.rav")};
        QTest::newRow("乳母") << "乳母"
            << "update personinf set age=31, high=162, yltz=55, yftz=61.5, rmtz=58, hdsp='重'"
            << QStringList{QStringLiteral("rmtzbg.rav"), QStringLiteral("yyfx_rm.rav"),
                           QStringLiteral("sumrep.rav"), QStringLiteral("wzbg_rm.rav")};
    }
    // clang-format on
    void everyReportReadsAsItsPages() {
        QFETCH(QString, category);
        QFETCH(QString, record);
        QFETCH(QStringList, layouts);
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        exec(record);
        exec(QStringLiteral("update personinf set name=:name, csjd=:category"),
             {{QStringLiteral("name"), kName}, {QStringLiteral("category"), category}});
        exec(QStringLiteral("update lstzpj set y=21.5, csdate='2026-12-10'")); // as the save leaves it
        // Three days of foods from across the food table, so the food list and the evaluation texts
        // carry the table's own names and the analysis every kind of figure.
        exec(QStringLiteral("insert into ts (tsid) values (1), (2), (3)"));
        exec(QStringLiteral("insert into foodcheck (tc, swname, zl) select (rowid % 3) + 1, foodname, "
                            "(rowid % 7) * 35 + 12.5 from Foodnurti where rowid % 53 = 0"));
        QVERIFY(db.count(QStringLiteral("foodcheck")) > 20);
        for (const nc::person::ReferenceIntake& ri :
             nc::person::referenceIntakes(category, QStringLiteral("中"), 160, 55, 21.5, 120))
            exec(QStringLiteral("update lsyysfx set ckl=:ckl where id=:id"),
                 {{QStringLiteral("ckl"), ri.value}, {QStringLiteral("id"), ri.row}});

        QTemporaryDir out;
        ProgramFolder folder(db.folder());
        nc::test::MessagesRecorder messages;
        PdfSink sink(out.path());
        runPhysiqueReport(category);
        nc::analysis::AnalysisReport analysis;
        analysis.run();
        nc::analysis::FoodListReport foodList;
        foodList.run();
        // The complete report from the analysis report's preview.
        nc::analysis::printCompleteReport(analysis);

        QCOMPARE(sink.exported.size(), 4);
        const QStringList titles{QStringLiteral("体质测试报告"), QStringLiteral("膳食营养分析报告"),
                                 QStringLiteral("膳食食物清单"), QStringLiteral("膳食营养咨询完整报告")};
        for (int r = 0; r < 4; ++r) {
            const PdfSink::Exported& e = sink.exported.at(r);
            QCOMPARE(e.layout, layouts.at(r));
            QCOMPARE(e.fileName, kName + QLatin1Char('-') + titles.at(r));
            QCOMPARE(e.pdfPages.size(), e.pages.size());
            for (int p = 0; p < e.pages.size(); ++p) {
                // The header line shows the name as typed on every page.
                QVERIFY2(e.pages.at(p).contains(kName),
                         qPrintable(e.layout + QStringLiteral(": ") + e.pages.at(p).left(200)));
                const QString expected = characters(e.pages.at(p));
                const QString actual = characters(e.pdfPages.at(p));
                QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 page %2: %3")
                                                            .arg(e.layout)
                                                            .arg(p + 1)
                                                            .arg(difference(expected, actual))));
            }
        }
        // Searches a reader makes in the exported text.
        const QString foodListText = sink.exported.at(2).pdfPages.join(QLatin1Char('\n'));
        QVERIFY(foodListText.contains(QStringLiteral("食物")));
        const QString analysisText = sink.exported.at(1).pdfPages.join(QLatin1Char('\n'));
        for (const QString& word :
             {QStringLiteral("维生素B1"), QStringLiteral("维生素B2"), QStringLiteral("身高"),
              QStringLiteral("μgRE"), QStringLiteral("适宜范围"), QStringLiteral("10%～15%")})
            QVERIFY2(analysisText.contains(word), qPrintable(word));
        // The complete report's text holds the physique report's pages, then the analysis report's.
        const PdfSink::Exported& complete = sink.exported.at(3);
        QCOMPARE(complete.pdfPages.size(),
                 1 + sink.exported.at(0).pdfPages.size() + sink.exported.at(1).pdfPages.size());
        auto squeezed = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); };
        const QList<const PdfSink::Exported*> parts{&sink.exported.at(0), &sink.exported.at(1)};
        int page = 1; // after the cover
        for (const PdfSink::Exported* part : parts) {
            for (int p = 0; p < part->pages.size(); ++p, ++page) {
                // The page's first line under the header lines, as filled, is on the same page of the
                // complete report's PDF.
                const QString first = squeezed(part->pages.at(p).split(QLatin1Char('\n')).value(2));
                QVERIFY(!first.isEmpty());
                QVERIFY2(squeezed(complete.pdfPages.at(page)).contains(first),
                         qPrintable(QStringLiteral("page %1: %2").arg(page + 1).arg(first)));
            }
        }
    }
};

QTEST_MAIN(TestReportPdfText)
#include "tst_report_pdf_text.moc"
