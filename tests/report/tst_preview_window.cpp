// The report preview: opens maximized at 100 %, zooms in steps of 20 %, moves page by page; and the
// PDF export that it offers.

#include "data/errors.h"
#include "report/layout_fill.h"
#include "report/preview_window.h"
#include "report/report_document.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using nc::report::PreviewWindow;
using nc::report::ReportDocument;

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
        PreviewWindow w(doc, {QStringLiteral("/x/yyfx.rav"), QStringLiteral("营养分析")});
        QCOMPARE(w.windowTitle(), QStringLiteral("预览"));
        QVERIFY(w.isModal());
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(w.zoomPercent(), 100);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("ZoomLabel"))->text(), QStringLiteral("100%"));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("PageLabel"))->text(), QStringLiteral("第 1 页 / 共 3 页"));
    }

    void zoomsInStepsOfTwenty() {
        const ReportDocument doc(pagesOf(1));
        PreviewWindow w(doc, {});
        w.findChild<QAction*>(QStringLiteral("ZoomInAction"))->trigger();
        QCOMPARE(w.zoomPercent(), 120);
        w.zoomOut();
        w.zoomOut();
        QCOMPARE(w.zoomPercent(), 80);
        w.findChild<QAction*>(QStringLiteral("ActualSizeAction"))->trigger();
        QCOMPARE(w.zoomPercent(), 100);
        for (int i = 0; i < 20; ++i)
            w.zoomOut();
        QCOMPARE(w.zoomPercent(), PreviewWindow::kZoomMin);
    }

    void movesPageByPage() {
        const ReportDocument doc(pagesOf(3));
        PreviewWindow w(doc, {});
        auto* next = w.findChild<QAction*>(QStringLiteral("NextPageAction"));
        auto* prior = w.findChild<QAction*>(QStringLiteral("PriorPageAction"));
        QVERIFY(!prior->isEnabled());
        next->trigger();
        QCOMPARE(w.currentPage(), 2);
        w.findChild<QAction*>(QStringLiteral("LastPageAction"))->trigger();
        QCOMPARE(w.currentPage(), 3);
        QVERIFY(!next->isEnabled());
        w.goToPage(99);
        QCOMPARE(w.currentPage(), 3);
        w.findChild<QAction*>(QStringLiteral("FirstPageAction"))->trigger();
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

    void exportToUnwritablePlaceIsAnError() {
        const ReportDocument doc(pagesOf(1));
        QVERIFY_THROWS_EXCEPTION(nc::data::Error,
                                 nc::report::exportPdf(doc, QStringLiteral("/no/such/folder/r.pdf"), QString()));
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_preview_window.moc"
