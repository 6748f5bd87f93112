#pragma once
// Keeps every report the code under test runs instead of opening the preview: the filled HTML, the
// plain text, the text of each page, the page count and the actions the preview would offer.
// Installed for the life of the object.

#include "report/report_document.h"
#include "report/report_sink.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace nc::test {

class ReportCapture : public report::ReportSink {
public:
    struct Report {
        QString layoutPath; // full path of the layout file
        QString title;      // print job title
        QString html;       // the filled layout
        QString text;       // the whole report as plain text
        QStringList pages;  // the text of each page, header and footer lines included
        int pageCount = 0;
        QList<report::ReportAction> actions; // the buttons the preview would offer
    };

    ReportCapture() : previous_(report::ReportOutput::sink()) { report::ReportOutput::setSink(this); }
    ~ReportCapture() override { report::ReportOutput::setSink(previous_ == this ? nullptr : previous_); }

    const QList<Report>& reports() const { return reports_; }
    bool isEmpty() const { return reports_.isEmpty(); }
    int size() const { return int(reports_.size()); }
    const Report& last() const { return reports_.last(); }
    void clear() { reports_.clear(); }

    void present(const report::ReportDocument& doc, const report::ReportJob& job) override {
        Report r;
        r.layoutPath = job.layoutPath;
        r.title = job.title;
        r.html = doc.html();
        r.text = doc.plainText();
        r.pageCount = doc.pageCount();
        r.actions = job.actions;
        for (int i = 0; i < doc.pageCount(); ++i)
            r.pages << doc.pageText(i);
        reports_.append(r);
    }

private:
    report::ReportSink* previous_;
    QList<Report> reports_;
};

} // namespace nc::test
