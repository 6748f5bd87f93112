#pragma once
// The report preview "预览": pages at 100 %, zoom in steps of 20 %, page by page navigation, printing
// through the printer dialog "打印机设置", and export to PDF, plus a button for each action the report
// offers (ReportJob::actions). Modal, opens maximized.

#include "report_sink.h"

#include <QDialog>
#include <QPrinter>
#include <functional>

class QAction;
class QLabel;
class QPrintPreviewWidget;

namespace nc::report {

class ReportDocument;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(const ReportDocument& doc, const ReportJob& job, QWidget* parent = nullptr);

    int zoomPercent() const { return zoom_; }
    int currentPage() const; // 1-based

    void zoomIn();
    void zoomOut();
    void setZoomPercent(int percent);
    void goToPage(int page); // 1-based, clamped
    void printReport();      // the printer dialog, then printing
    // A file dialog proposing exportFileName() in the folder last exported to (the home folder at
    // first), a question before an existing file is replaced, then the PDF.
    void exportToPdf();

    // The save dialog export uses (caption, proposed path) -> chosen path, empty for cancel; tests
    // replace it. An empty function restores the file dialog.
    using SaveFileChooser =
        std::function<QString(QWidget* parent, const QString& caption, const QString& proposed)>;
    static void setSaveFileChooser(SaveFileChooser chooser);
    // The folder the next export proposes.
    static QString exportFolder();
    static void setExportFolder(const QString& folder);

    static constexpr int kZoomStep = 20;
    static constexpr int kZoomMin = 20;
    static constexpr int kZoomMax = 400;

private:
    void updateControls();

    const ReportDocument& doc_;
    ReportJob job_;
    QPrinter printer_;
    QPrintPreviewWidget* preview_;
    QLabel* pageLabel_;
    QLabel* zoomLabel_;
    QAction* first_;
    QAction* prior_;
    QAction* next_;
    QAction* last_;
    int zoom_ = 100;
};

// Prints on a printer as its print dialog left it (page range included).
void printDocument(const ReportDocument& doc, QPrinter& printer);

// Makes the preview window where reports go unless a sink is installed (ReportOutput::setSink).
// The program calls it once at start.
void usePreviewWindowForReports();

} // namespace nc::report
