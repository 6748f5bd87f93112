#pragma once
// Where a laid-out report goes: the preview window in the program (usePreviewWindowForReports(),
// preview_window.h), a capturing sink in tests.

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

namespace nc::report {

class ReportDocument;

// A further thing a report offers where it is shown, besides printing and export: a button with the
// label that runs the function (which may run another report, shown over this one).
struct ReportAction {
    QString name;  // the button's object name
    QString label; // its caption
    std::function<void()> run;
};

// What the engine knows about the report besides its pages.
struct ReportJob {
    QString layoutPath; // the layout file, full path
    QString title;      // the print job title
    QString fileName; // the person and the report ("林晓雯-膳食营养分析报告"), empty when not given
    QList<ReportAction> actions = {}; // offered by the preview, in this order
};

// The file name an export of the report proposes: "<name and report>-<yyyy-MM-dd>.pdf" (the print
// job title when the layout names no file). Characters a file name cannot hold become "_".
QString exportFileName(const ReportJob& job, const QDate& date);

class ReportSink {
public:
    virtual ~ReportSink() = default;
    // Shows or keeps the report; returns when the user is done with it (the preview closed).
    virtual void present(const ReportDocument& doc, const ReportJob& job) = 0;
};

class ReportOutput {
public:
    // Replaces where reports go (tests); nullptr restores the default sink.
    static void setSink(ReportSink* sink);
    // Where reports go while no sink is set: the program's preview window.
    static void setDefaultSink(ReportSink* sink);
    // The sink set, else the default one; nullptr when there is neither.
    static ReportSink* sink();
    // Hands the report to sink(); throws nc::data::Error when there is none.
    static void present(const ReportDocument& doc, const ReportJob& job);
};

} // namespace nc::report
