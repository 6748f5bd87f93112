#pragma once
// The report preview "预览": pages at 100 %, zoom in steps of 20 %, page by page navigation, printing
// through the printer dialog "打印机设置", and export to PDF. Modal, opens maximized.

#include "report_sink.h"

#include <QDialog>
#include <QPrinter>

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
    void exportToPdf();      // a file dialog, then the PDF

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

} // namespace nc::report
