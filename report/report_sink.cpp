#include "report_sink.h"

#include "data/errors.h"

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

ReportSink* g_sink = nullptr;
ReportSink* g_defaultSink = nullptr;

} // namespace

void ReportOutput::setSink(ReportSink* sink) {
    g_sink = sink;
}

void ReportOutput::setDefaultSink(ReportSink* sink) {
    g_defaultSink = sink;
}

ReportSink* ReportOutput::sink() {
    return g_sink ? g_sink : g_defaultSink;
}

void ReportOutput::present(const ReportDocument& doc, const ReportJob& job) {
    ReportSink* target = sink();
    if (!target)
        throw data::Error(QStringLiteral("报表“%1”无处显示：没有预览窗口。").arg(job.title));
    target->present(doc, job);
}

} // namespace nc::report
