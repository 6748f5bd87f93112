#include "report_sink.h"

#include "preview_window.h"

namespace nc::report {

QString exportFileName(const ReportJob& job, const QDate& date) {
    QString stem = job.fileName.isEmpty() ? job.title : job.fileName;
    for (QChar& c : stem)
        if (c.category() == QChar::Other_Control || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    // A record without a name leaves the separator in front: "-膳食食物清单".
    while (stem.startsWith(QLatin1Char('-')) || stem.startsWith(QLatin1Char('.')))
        stem.remove(0, 1);
    stem = stem.trimmed();
    if (stem.isEmpty())
        stem = QStringLiteral("报表");
    return QStringLiteral("%1-%2.pdf").arg(stem, date.toString(QStringLiteral("yyyy-MM-dd")));
}

namespace {

class PreviewSink : public ReportSink {
public:
    void present(const ReportDocument& doc, const ReportJob& job) override {
        PreviewWindow window(doc, job);
        window.exec();
    }
};

ReportSink* g_sink = nullptr;

} // namespace

void ReportOutput::setSink(ReportSink* sink) {
    g_sink = sink;
}

ReportSink* ReportOutput::sink() {
    static PreviewSink preview;
    return g_sink ? g_sink : &preview;
}

void ReportOutput::present(const ReportDocument& doc, const ReportJob& job) {
    sink()->present(doc, job);
}

} // namespace nc::report
