// The report preview: opens maximized at 100 %, zooms in steps of 20 %, moves page by page; and the
// PDF export that it offers.

#include "data/errors.h"
#include "report/layout_fill.h"
#include "report/preview_window.h"
#include "report/report_document.h"
#include "support/fixed_clock.h"
#include "support/messages_recorder.h"
#include "support/widgets.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using nc::report::PreviewWindow;
using nc::report::ReportDocument;
using nc::report::ReportJob;
using nc::test::child;
using nc::test::MessagesRecorder;

namespace {

// A report of `pages` pages, one forced page break each.
nc::report::FilledLayout pagesOf(int pages) {
    QString html;
    for (int i = 1; i <= pages; ++i)
        html += QStringLiteral("<p style=\"page-break-before: always\">第%1部分</p>").arg(i);
    return nc::report::fillLayout(html, {}, QStringLiteral("test"));
}

} // namespace

class TestPreviewWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensMaximizedAtFullSize() {
        const ReportDocument doc(pagesOf(3));
        PreviewWindow w(doc, {QStringLiteral("/x/yyfx.rav"), QStringLiteral("营养分析"), QString()});
        QCOMPARE(w.windowTitle(), QStringLiteral("预览"));
        QVERIFY(w.isModal());
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(w.zoomPercent(), 100);
        QCOMPARE(child<QLabel>(w, QStringLiteral("ZoomLabel"))->text(), QStringLiteral("100%"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("PageLabel"))->text(), QStringLiteral("第 1 页 / 共 3 页"));
    }

    void zoomsInStepsOfTwenty() {
        const ReportDocument doc(pagesOf(1));
        PreviewWindow w(doc, {});
        child<QAction>(w, QStringLiteral("ZoomInAction"))->trigger();
        QCOMPARE(w.zoomPercent(), 120);
        w.zoomOut();
        w.zoomOut();
        QCOMPARE(w.zoomPercent(), 80);
        child<QAction>(w, QStringLiteral("ActualSizeAction"))->trigger();
        QCOMPARE(w.zoomPercent(), 100);
        for (int i = 0; i < 20; ++i)
            w.zoomOut();
        QCOMPARE(w.zoomPercent(), PreviewWindow::kZoomMin);
    }

    void movesPageByPage() {
        const ReportDocument doc(pagesOf(3));
        PreviewWindow w(doc, {});
        auto* next = child<QAction>(w, QStringLiteral("NextPageAction"));
        auto* prior = child<QAction>(w, QStringLiteral("PriorPageAction"));
        QVERIFY(!prior->isEnabled());
        next->trigger();
        QCOMPARE(w.currentPage(), 2);
        child<QAction>(w, QStringLiteral("LastPageAction"))->trigger();
        QCOMPARE(w.currentPage(), 3);
        QVERIFY(!next->isEnabled());
        w.goToPage(99);
        QCOMPARE(w.currentPage(), 3);
        child<QAction>(w, QStringLiteral("FirstPageAction"))->trigger();
        QCOMPARE(w.currentPage(), 1);
    }

    void exportsEveryPageToPdf() {
        QTemporaryDir dir;
        const ReportDocument doc(pagesOf(4));
        const QString path = dir.filePath(QStringLiteral("报表.pdf"));
        nc::report::exportPdf(doc, path, QStringLiteral("营养分析"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 4);
    }

    // Every report proposes its own name: the person, the report and the day, characters a file name
    // cannot hold replaced; a layout that names no file falls back to the print job title.
    // clang-format off
    void exportFileNames_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("analysis") << "林晓雯-膳食营养分析报告" << "营养分析" << "林晓雯-膳食营养分析报告-2025-03-08.pdf";
        QTest::newRow("food list") << "林晓雯-膳食食物清单" << "体质测试报告" << "林晓雯-膳食食物清单-2025-03-08.pdf";
        QTest::newRow("physique") << "林晓雯-体质测试报告" << "体质测试报告" << "林晓雯-体质测试报告-2025-03-08.pdf";
        QTest::newRow("characters a file cannot hold") << "测试'甲\"乙&丙<丁>/a:b*c?d|e\\f-体质测试报告" << QString()
            << "测试'甲_乙&丙_丁__a_b_c_d_e_f-体质测试报告-2025-03-08.pdf";
        QTest::newRow("no name recorded") << "-膳食食物清单" << "体质测试报告" << "膳食食物清单-2025-03-08.pdf";
        QTest::newRow("no file name in the layout") << QString() << "营养分析" << "营养分析-2025-03-08.pdf";
    }
    // clang-format on
    void exportFileNames() {
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        QFETCH(QString, expected);
        ReportJob job;
        job.title = title;
        job.fileName = fileName;
        QCOMPARE(nc::report::exportFileName(job, QDate(2025, 3, 8)), expected);
    }

    // The export proposes the report's own name in the folder last exported to, and asks before it
    // replaces a file: No leaves the file as it was, Yes replaces it.
    void exportProposesItsNameAndAsksBeforeReplacing() {
        QTemporaryDir first;
        QTemporaryDir second;
        const nc::test::FixedClock clock(QDate(2025, 3, 8), QTime(9, 0));
        PreviewWindow::setExportFolder(first.path());
        QStringList proposed;
        QString answer;
        PreviewWindow::setSaveFileChooser([&](QWidget*, const QString&, const QString& path) {
            proposed << path;
            return answer;
        });
        MessagesRecorder messages;
        const ReportDocument doc(pagesOf(2));
        PreviewWindow analysis(doc, {QStringLiteral("/x/yyfx.rav"), QStringLiteral("营养分析"),
                                     QStringLiteral("林晓雯-膳食营养分析报告")});
        PreviewWindow physique(doc, {QStringLiteral("/x/tzbg.rav"), QStringLiteral("体质测试报告"),
                                     QStringLiteral("林晓雯-体质测试报告")});

        answer = QDir(second.path()).filePath(QStringLiteral("体质"));
        physique.exportToPdf();
        const QString physiquePdf = answer + QStringLiteral(".pdf");
        QVERIFY(QFileInfo::exists(physiquePdf));
        QVERIFY(messages.texts().filter(QStringLiteral("替换")).isEmpty());

        answer.clear(); // cancelled: nothing written, the folder stays the one last exported to
        analysis.exportToPdf();
        QCOMPARE(
            proposed,
            (QStringList{
                QDir(first.path()).filePath(QStringLiteral("林晓雯-体质测试报告-2025-03-08.pdf")),
                QDir(second.path()).filePath(QStringLiteral("林晓雯-膳食营养分析报告-2025-03-08.pdf"))}));

        // Picking the physique report's file for the analysis asks first.
        QFile marker(physiquePdf);
        QVERIFY(marker.open(QIODevice::WriteOnly | QIODevice::Truncate));
        marker.write("kept");
        marker.close();
        answer = physiquePdf;
        messages.clear();
        messages.answerNext(false);
        analysis.exportToPdf();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Confirm);
        QVERIFY(messages.last().text.contains(QDir::toNativeSeparators(physiquePdf)));
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QCOMPARE(marker.readAll(), QByteArray("kept"));
        marker.close();

        messages.clear();
        messages.answerNext(true);
        analysis.exportToPdf();
        QCOMPARE(messages.entries().first().kind, MessagesRecorder::Kind::Confirm);
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QVERIFY(marker.readAll().startsWith("%PDF"));

        PreviewWindow::setSaveFileChooser({});
        PreviewWindow::setExportFolder({});
    }

    // A report offers its own actions as buttons after the export; a report without any shows the
    // usual buttons only. Clicking runs the action with the preview still open; an action that fails
    // is reported and the preview stays.
    void offersTheReportsOwnActions() {
        const ReportDocument doc(pagesOf(1));
        PreviewWindow plain(doc, {QStringLiteral("/x/tzbg.rav"), QStringLiteral("体质测试报告"), QString()});
        const QStringList usual{QStringLiteral("PrintAction"),      QStringLiteral("PdfAction"),
                                QStringLiteral("ZoomOutAction"),    QStringLiteral("ZoomInAction"),
                                QStringLiteral("ActualSizeAction"), QStringLiteral("FirstPageAction"),
                                QStringLiteral("PriorPageAction"),  QStringLiteral("NextPageAction"),
                                QStringLiteral("LastPageAction"),   QStringLiteral("CloseAction")};
        auto named = [](const QWidget& w) {
            QStringList names;
            for (const QAction* a : child<QToolBar>(w, QStringLiteral("PreviewToolBar"))->actions())
                if (!a->isSeparator() && !a->objectName().isEmpty()) // the labels have none
                    names << a->objectName();
            return names;
        };
        QCOMPARE(named(plain), usual);

        int runs = 0;
        ReportJob job{QStringLiteral("/x/yyfx.rav"), QStringLiteral("营养分析"), QString(), {}};
        job.actions.append({QStringLiteral("MoreAction"), QStringLiteral("完整报告"), [&] { ++runs; }});
        job.actions.append({QStringLiteral("FailingAction"), QStringLiteral("出错"),
                            [] { throw nc::data::Error(QStringLiteral("布局文件不见了。")); }});
        PreviewWindow analysis(doc, job);
        QStringList expected = usual;
        expected.insert(2, QStringLiteral("MoreAction"));
        expected.insert(3, QStringLiteral("FailingAction"));
        QCOMPARE(named(analysis), expected);
        auto* more = child<QAction>(analysis, QStringLiteral("MoreAction"));
        QCOMPARE(more->text(), QStringLiteral("完整报告"));

        MessagesRecorder messages;
        analysis.show();
        QVERIFY(QTest::qWaitForWindowExposed(&analysis));
        auto* bar = child<QToolBar>(analysis, QStringLiteral("PreviewToolBar"));
        QTest::mouseClick(bar->widgetForAction(more), Qt::LeftButton);
        QCOMPARE(runs, 1);
        QVERIFY(analysis.isVisible());
        child<QAction>(analysis, QStringLiteral("FailingAction"))->trigger();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QVERIFY(messages.last().text.contains(QStringLiteral("布局文件不见了。")));
        QVERIFY(analysis.isVisible());
        QCOMPARE(runs, 1);
        analysis.close();
    }

    void exportToUnwritablePlaceIsAnError() {
        const ReportDocument doc(pagesOf(1));
        QVERIFY_THROWS_EXCEPTION(
            nc::data::Error, nc::report::exportPdf(doc, QStringLiteral("/no/such/folder/r.pdf"), QString()));
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_preview_window.moc"
