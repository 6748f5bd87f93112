#include "report_sink.h"

#include "preview_window.h"

namespace nc::report {

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

void ReportOutput::setSink(ReportSink* sink) { g_sink = sink; }

ReportSink* ReportOutput::sink() {
    static PreviewSink preview;
    return g_sink ? g_sink : &preview;
}

void ReportOutput::present(const ReportDocument& doc, const ReportJob& job) { sink()->present(doc, job); }

} // namespace nc::report
