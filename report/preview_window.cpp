#include "preview_window.h"

#include "data/clock.h"
#include "data/errors.h"
#include "report_document.h"
#include "ui/guard.h"
#include "ui/messages.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace nc::report {

PreviewWindow::PreviewWindow(const ReportDocument& doc, const ReportJob& job, QWidget* parent)
    : QDialog(parent), doc_(doc), job_(job), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("预览"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(600, 800);
    setWindowState(Qt::WindowMaximized);

    printer_.setDocName(job_.title);
    printer_.setFullPage(true);
    printer_.setPageLayout(doc_.pageLayout());

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const QString& name, const QString& text, const QKeySequence& key, auto handler) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, [handler] { ui::guard(handler); });
        return a;
    };
    add(QStringLiteral("PrintAction"), QStringLiteral("打印"), QKeySequence::Print,
        [this] { printReport(); });
    add(QStringLiteral("PdfAction"), QStringLiteral("导出PDF"), QKeySequence(), [this] { exportToPdf(); });
    // What this report offers besides (another report over this one, say); this preview stays open.
    if (!job_.actions.isEmpty()) {
        bar->addSeparator();
        for (const ReportAction& action : std::as_const(job_.actions))
            add(action.name, action.label, QKeySequence(), action.run);
    }
    bar->addSeparator();
    add(QStringLiteral("ZoomOutAction"), QStringLiteral("缩小"), QKeySequence::ZoomOut,
        [this] { zoomOut(); });
    zoomLabel_ = new QLabel(bar);
    zoomLabel_->setObjectName(QStringLiteral("ZoomLabel"));
    zoomLabel_->setMinimumWidth(48);
    zoomLabel_->setAlignment(Qt::AlignCenter);
    bar->addWidget(zoomLabel_);
    add(QStringLiteral("ZoomInAction"), QStringLiteral("放大"), QKeySequence::ZoomIn, [this] { zoomIn(); });
    add(QStringLiteral("ActualSizeAction"), QStringLiteral("实际大小"), QKeySequence(),
        [this] { setZoomPercent(100); });
    bar->addSeparator();
    first_ = add(QStringLiteral("FirstPageAction"), QStringLiteral("首页"),
                 QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { goToPage(1); });
    prior_ = add(QStringLiteral("PriorPageAction"), QStringLiteral("上一页"), QKeySequence(Qt::Key_PageUp),
                 [this] { goToPage(currentPage() - 1); });
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    pageLabel_->setMinimumWidth(120);
    bar->addWidget(pageLabel_);
    next_ = add(QStringLiteral("NextPageAction"), QStringLiteral("下一页"), QKeySequence(Qt::Key_PageDown),
                [this] { goToPage(currentPage() + 1); });
    last_ = add(QStringLiteral("LastPageAction"), QStringLiteral("末页"),
                QKeySequence(Qt::CTRL | Qt::Key_End), [this] { goToPage(doc_.pageCount()); });
    bar->addSeparator();
    add(QStringLiteral("CloseAction"), QStringLiteral("关闭"), QKeySequence(), [this] { accept(); });

    preview_ = new QPrintPreviewWidget(&printer_, this);
    preview_->setObjectName(QStringLiteral("PreviewWidget"));
    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        ui::guard([&] { doc_.render(*printer, 0, doc_.pageCount() - 1); });
    });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::updateControls);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(preview_, 1);

    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    setZoomPercent(100);
    preview_->updatePreview();
    updateControls();
}

int PreviewWindow::currentPage() const {
    return preview_->currentPage();
}

void PreviewWindow::zoomIn() {
    setZoomPercent(zoom_ + kZoomStep);
}
void PreviewWindow::zoomOut() {
    setZoomPercent(zoom_ - kZoomStep);
}

void PreviewWindow::setZoomPercent(int percent) {
    zoom_ = qBound(kZoomMin, percent, kZoomMax);
    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview_->setZoomFactor(zoom_ / 100.0);
    updateControls();
}

void PreviewWindow::goToPage(int page) {
    preview_->setCurrentPage(qBound(1, page, qMax(1, doc_.pageCount())));
    updateControls();
}

void PreviewWindow::printReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job_.title);
    printer.setPageLayout(doc_.pageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setWindowTitle(QStringLiteral("打印机设置"));
    dialog.setMinMax(1, doc_.pageCount());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printDocument(doc_, printer);
}

namespace {

PreviewWindow::SaveFileChooser& saveFileChooser() {
    static PreviewWindow::SaveFileChooser chooser;
    return chooser;
}

QString& lastExportFolder() {
    static QString folder;
    return folder;
}

} // namespace

void PreviewWindow::setSaveFileChooser(SaveFileChooser chooser) {
    saveFileChooser() = std::move(chooser);
}

QString PreviewWindow::exportFolder() {
    const QString& folder = lastExportFolder();
    return folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder;
}

void PreviewWindow::setExportFolder(const QString& folder) {
    lastExportFolder() = folder;
}

void PreviewWindow::exportToPdf() {
    const QString proposed = QDir(exportFolder()).filePath(exportFileName(job_, data::Clock::today()));
    const QString caption = QStringLiteral("导出PDF");
    QString path;
    if (saveFileChooser()) {
        path = saveFileChooser()(this, caption, proposed);
    } else {
        // The dialog does not ask about an existing file: the name may still get ".pdf" appended,
        // so the question is asked below, once, about the file actually written.
        path = QFileDialog::getSaveFileName(this, caption, proposed, QStringLiteral("PDF 文件 (*.pdf)"),
                                            nullptr, QFileDialog::DontConfirmOverwrite);
    }
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path) &&
        !ui::Messages::confirm(
            QStringLiteral("“%1”已存在。\n要替换它吗？").arg(QDir::toNativeSeparators(path)), caption))
        return;
    exportPdf(doc_, path, job_.title);
    setExportFolder(QFileInfo(path).absolutePath());
    ui::Messages::inform(QStringLiteral("报表已导出到“%1”。").arg(QDir::toNativeSeparators(path)));
}

void PreviewWindow::updateControls() {
    const int pages = doc_.pageCount();
    const int page = currentPage();
    pageLabel_->setText(QStringLiteral("第 %1 页 / 共 %2 页").arg(page).arg(pages));
    zoomLabel_->setText(QStringLiteral("%1%").arg(zoom_));
    first_->setEnabled(page > 1);
    prior_->setEnabled(page > 1);
    next_->setEnabled(page < pages);
    last_->setEnabled(page < pages);
}

void printDocument(const ReportDocument& doc, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(doc.pageLayout());
    int from = 0;
    int to = doc.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = printer.toPage() > 0 ? printer.toPage() - 1 : to;
    }
    // Copies: a printer that cannot make them itself (a file) gets every page that many times.
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
    QList<int> sequence;
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c)
            for (int i = from; i <= to; ++i)
                sequence << i;
    } else {
        for (int i = from; i <= to; ++i)
            for (int c = 0; c < copies; ++c)
                sequence << i;
    }
    QPainter p;
    if (!p.begin(&printer))
        throw data::Error(QStringLiteral("无法开始打印：打印机或文件不可用。"));
    const qreal scale = printer.logicalDpiX() / kLayoutDpi;
    for (int i = 0; i < sequence.size(); ++i) {
        if (i > 0)
            printer.newPage();
        p.save();
        p.scale(scale, scale);
        doc.paintPage(p, sequence.at(i));
        p.restore();
    }
    p.end();
}

namespace {

class PreviewSink : public ReportSink {
public:
    void present(const ReportDocument& doc, const ReportJob& job) override {
        PreviewWindow window(doc, job);
        window.exec();
    }
};

} // namespace

void usePreviewWindowForReports() {
    static PreviewSink preview;
    ReportOutput::setDefaultSink(&preview);
}

} // namespace nc::report
