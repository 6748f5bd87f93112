// The complete report offered by the analysis report's preview: a cover, the physique report of the
// stored record and the analysis report as one document, run against a small diet record with the
// real layouts. The physique evaluation writes its grade as 体格评价 does and nothing else.

#include "analysis/analysis_window.h"
#include "analysis/complete_report.h"
#include "data/errors.h"
#include "data/query.h"
#include "person/physique_report.h"
#include "report/chart_pictures.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/program_folder.h"
#include "support/report_capture.h"

#include <QFile>
#include <QTest>
#include <optional>

using namespace nc::analysis;
using nc::test::databaseContents;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::test::ProgramFolder;
using nc::test::ReportCapture;
using nc::test::seed;

namespace {

// Two days of milk and rice.
QList<nc::data::SeedTable> dietRecord() {
    return {
        seed(QStringLiteral("Foodnurti"),
             {QStringLiteral("foodid"), QStringLiteral("foodname"), QStringLiteral("energy"),
              QStringLiteral("protein"), QStringLiteral("fat"), QStringLiteral("carbohydra"),
              QStringLiteral("ca")},
             {{QStringLiteral("01001"), QStringLiteral("稻米"), QStringLiteral("346"), QStringLiteral("7.9"),
               QStringLiteral("0.9"), QStringLiteral("77.2"), QStringLiteral("8")},
              {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("65"), QStringLiteral("3.3"),
               QStringLiteral("3.6"), QStringLiteral("4.9"), QStringLiteral("107")}}),
        seed(QStringLiteral("ts"), {QStringLiteral("tsid")}, {{QStringLiteral("1")}, {QStringLiteral("2")}}),
        seed(QStringLiteral("foodcheck"),
             {QStringLiteral("tc"), QStringLiteral("swname"), QStringLiteral("zl")},
             {{QStringLiteral("1"), QStringLiteral("稻米"), QStringLiteral("300")},
              {QStringLiteral("1"), QStringLiteral("牛奶"), QStringLiteral("250")},
              {QStringLiteral("2"), QStringLiteral("稻米"), QStringLiteral("350")}})};
}

// What a saved record leaves: the person, the BMI of 52 kg at 160 cm (52 / 1.6² = 20.3125, stored
// cut to 20.31, class 正常) with the date of the save, and an earlier grade that only a pregnant
// woman's or a nursing mother's evaluation replaces.
void recordWoman(FixtureDb& db, const QString& category) {
    db.exec(QStringLiteral("update personinf set name='周雨桐', age=29, high=160, ycq='2027-03-18', "
                           "yq_week=22, yq_jd='中期', csjd=:c, yltz=52, yftz=58.5, rmtz=55, hdsp='轻', "
                           "mcyjrq='2026-06-11'"),
            {{QStringLiteral("c"), category}});
    db.exec(QStringLiteral("update lstzpj set y=20.31, csdate='2026-12-01', week_add=9.9, week_dj='旧'"));
}

// The lines of a page between its two header lines and its footer line.
QStringList body(const QString& page) {
    QStringList lines = page.split(QLatin1Char('\n'));
    return lines.mid(2, lines.size() - 3);
}

// The tables the complete report must leave as they were (lstzpj's grade columns aside).
QString recordContents(FixtureDb& db) {
    return databaseContents(db.connection(), {"personinf", "lsyysfx", "sdrn", "ts", "foodcheck"}) +
           db.scalar(QStringLiteral("select y || '|' || csdate from lstzpj")).toText();
}

} // namespace

class TestCompleteReport : public QObject {
    Q_OBJECT
    std::optional<nc::test::FixedClock> clock_;

private Q_SLOTS:
    void init() { clock_.emplace(QDate(2026, 12, 10), QTime(9, 30)); }
    void cleanup() { clock_.reset(); }

    // The analysis report's preview offers "完整报告"; it prints the cover, then the physique report,
    // then the analysis report, each from a new page, numbered as one report. The grade is the one
    // 体格评价 writes for the stored record, and nothing else changes.
    // clang-format off
    void theCompleteReportFollowsTheCategory_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("cover");
        QTest::addColumn<QStringList>("coverTexts");
        QTest::addColumn<QString>("physiqueLayout");
        QTest::addColumn<double>("weekAdd");
        QTest::addColumn<QString>("weekGrade");
        // 58.5 kg and 52 kg in whole kilograms (halves to even): 58 − 52 = 6 over 22 weeks = 0.2727 kg,
        // below 正常's 0.29: 过轻.
        QTest::newRow("孕妇") << "孕妇" << kLayoutCompletePregnant
            << QStringList{QStringLiteral("孕妇 · 报告日期：2026年12月10日"), QStringLiteral("孕前体重 52 kg"),
                           QStringLiteral("目前体重 58.5 kg"), QStringLiteral("预产期 2027-03-18"),
                           QStringLiteral("孕周 第 22 周"), QStringLiteral("孕期阶段 中期")}
            << "yftzbg.rav" << 6.0 / 22 << "过轻";
        // 55 kg − 52 kg = 3 over the 22 weeks stored = 0.1364 kg: 过轻 as well; the cover shows the
        // nursing mother's weights and no pregnancy dates.
        QTest::newRow("乳母") << "乳母" << kLayoutCompleteNursing
            << QStringList{QStringLiteral("乳母 · 报告日期：2026年12月10日"), QStringLiteral("非孕期体重 52 kg"),
                           QStringLiteral("目前体重 55 kg")}
            << "rmtzbg.rav" << 3.0 / 22 << "过轻";
        // A woman of childbearing age has no gain grade: the earlier one stays.
        QTest::newRow("育龄") << "育龄" << kLayoutCompleteChildbearing
            << QStringList{QStringLiteral("育龄妇女 · 报告日期：2026年12月10日"), QStringLiteral("体重 52 kg")}
            << "tzbg.rav" << 9.9 << "旧";
    }
    // clang-format on
    void theCompleteReportFollowsTheCategory() {
        QFETCH(QString, category);
        QFETCH(QString, cover);
        QFETCH(QStringList, coverTexts);
        QFETCH(QString, physiqueLayout);
        QFETCH(double, weekAdd);
        QFETCH(QString, weekGrade);
        FixtureDb db(FixtureDb::Content::FixedRows, dietRecord());
        recordWoman(db, category);
        ProgramFolder folder(db.folder());
        ReportCapture reports;
        MessagesRecorder messages;
        TForm13 w;
        w.Timer1Timer();
        QCOMPARE(reports.size(), 1);
        const ReportCapture::Report analysis = reports.last();
        QCOMPARE(analysis.actions.size(), 1);
        QCOMPARE(analysis.actions.first().name, kCompleteReportAction);
        QCOMPARE(analysis.actions.first().label, QStringLiteral("完整报告"));
        const QString before = recordContents(db);
        QFile::remove(folder.file(nc::report::kBmiChartFile));

        analysis.actions.first().run();
        QVERIFY(messages.isEmpty());
        QCOMPARE(reports.size(), 2);
        const ReportCapture::Report complete = reports.last();
        QCOMPARE(complete.title, QStringLiteral("膳食营养咨询完整报告"));
        QCOMPARE(complete.layoutPath, folder.file(cover));
        QVERIFY(QFile::exists(folder.file(nc::report::kBmiChartFile)));
        QCOMPARE(recordContents(db), before);
        QCOMPARE(db.scalar(QStringLiteral("select week_add from lstzpj")).toReal(), weekAdd);
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), weekGrade);

        // The physique report alone, as it prints now (the grade it writes is the same again).
        nc::data::Query person;
        nc::data::Query evaluation;
        nc::report::RvProject project;
        nc::person::preparePhysiqueReport(category, person, evaluation, project);
        project.execute();
        const ReportCapture::Report physique = reports.last();
        QCOMPARE(physique.layoutPath, folder.file(physiqueLayout));

        // The cover page, then every page of the physique report, then every page of the analysis.
        QCOMPARE(complete.pageCount, 1 + physique.pageCount + analysis.pageCount);
        const QString coverPage = complete.pages.first().simplified();
        QVERIFY2(coverPage.startsWith(QStringLiteral("女性膳食营养咨询 · 膳食营养咨询完整报告 周雨桐 "
                                                     "膳食营养咨询完整报告")),
                 qPrintable(coverPage));
        for (const QString& text : coverTexts)
            QVERIFY2(coverPage.contains(text), qPrintable(text + QStringLiteral(" | ") + coverPage));
        QVERIFY(coverPage.contains(QStringLiteral("营养咨询师（签名）：")));
        if (category != QStringLiteral("孕妇"))
            QVERIFY(!coverPage.contains(QStringLiteral("预产期")));
        for (int p = 0; p < physique.pageCount; ++p)
            QCOMPARE(body(complete.pages.at(1 + p)), body(physique.pages.at(p)));
        for (int p = 0; p < analysis.pageCount; ++p)
            QCOMPARE(body(complete.pages.at(1 + physique.pageCount + p)), body(analysis.pages.at(p)));
        for (int p = 0; p < complete.pageCount; ++p) {
            const QStringList lines = complete.pages.at(p).split(QLatin1Char('\n'));
            QCOMPARE(lines.first(), QStringLiteral("女性膳食营养咨询 · 膳食营养咨询完整报告"));
            QCOMPARE(lines.last(), QStringLiteral("第 %1 页  共 %2 页").arg(p + 1).arg(complete.pageCount));
        }
        QCOMPARE(complete.actions.size(), 0);
    }

    // Without a category the physique report cannot be made: the complete report says so and writes
    // nothing; so for a record never saved (no BMI). The analysis report itself printed as always.
    // clang-format off
    void aRecordThatCannotBeEvaluatedIsExplained_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("no category") << "update personinf set csjd=null" << "没有选择人群类别";
        QTest::newRow("category not one of the three") << "update personinf set csjd='孕妇 '" << "没有选择人群类别";
        QTest::newRow("never saved") << "update lstzpj set y=null, csdate=null" << "还没有保存过身高和体重";
    }
    // clang-format on
    void aRecordThatCannotBeEvaluatedIsExplained() {
        QFETCH(QString, change);
        QFETCH(QString, message);
        FixtureDb db(FixtureDb::Content::FixedRows, dietRecord());
        recordWoman(db, QStringLiteral("孕妇"));
        db.exec(change);
        ProgramFolder folder(db.folder());
        ReportCapture reports;
        AnalysisReport analysis;
        offerCompleteReport(analysis);
        analysis.run();
        QCOMPARE(reports.size(), 1);
        const QString before = databaseContents(db.connection());
        try {
            reports.last().actions.first().run();
            QFAIL("the complete report ran");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(message), qPrintable(e.text()));
        }
        QCOMPARE(reports.size(), 1);
        QCOMPARE(databaseContents(db.connection()), before);
    }
};

QTEST_MAIN(TestCompleteReport)
#include "tst_complete_report.moc"
