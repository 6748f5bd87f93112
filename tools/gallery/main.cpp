// gallery: opens every window of the program offscreen on a fixture database and saves a picture of
// each, so the windows can be looked at without running the program.
//     gallery [output folder]   (default: screens)
// Every report a window runs is saved there too, as <layout>.pdf and its pages <layout>-N.png.

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "pages.h"
#include "report/preview_window.h"
#include "report/report_document.h"
#include "report/report_sink.h"
#include "report_pages.h"
#include "ui/artwork.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

// Messages go to the terminal: offscreen, nobody could answer a message box.
class PrintedMessages : public nc::ui::MessageSink {
public:
    void inform(const QString& text, const QString& caption) override { print(caption, text); }
    bool confirm(const QString& text, const QString& caption) override {
        print(caption + QStringLiteral("（问）"), text);
        return false;
    }
    void error(const QString& text) override { print(QStringLiteral("错误"), text); }

private:
    static void print(const QString& caption, const QString& text) {
        std::fprintf(stderr, "  [%s] %s\n", qPrintable(caption), qPrintable(text));
    }
};

// Saves every report as a PDF named after its layout, and its pages as PNG (pdftoppm, 100 dpi).
class PdfPages : public nc::report::ReportSink {
public:
    explicit PdfPages(QString folder) : folder_(std::move(folder)) {}
    void present(const nc::report::ReportDocument& doc, const nc::report::ReportJob& job) override {
        const QString base = QDir(folder_).filePath(QFileInfo(job.layoutPath).completeBaseName() +
                                                    nc::gallery::reportNameSuffix());
        nc::report::exportPdf(doc, base + QStringLiteral(".pdf"), job.title);
        const QString stem = QFileInfo(base).fileName();
        for (const QString& old : QDir(folder_).entryList({stem + QStringLiteral("-*.png")}))
            QFile::remove(QDir(folder_).filePath(old));
        const int rc = QProcess::execute(QStringLiteral("pdftoppm"),
                                         {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                                          base + QStringLiteral(".pdf"), base});
        std::fprintf(stderr, "  report %s.pdf: %d page(s)%s\n", qPrintable(stem), doc.pageCount(),
                     rc == 0 ? "" : ", no PNG pages (pdftoppm missing or failed)");
        // The preview of the first report that offers buttons of its own (the analysis report's
        // 完整报告), as the counsellor sees it.
        const QString preview = QDir(folder_).filePath(QStringLiteral("preview.png"));
        if (!job.actions.isEmpty() && !previewSaved_) {
            previewSaved_ = true;
            nc::report::PreviewWindow window(doc, job);
            window.show();
            window.resize(1100, 760);
            QApplication::processEvents();
            if (!window.grab().save(preview))
                std::fprintf(stderr, "  cannot write %s\n", qPrintable(preview));
        }
    }

private:
    QString folder_;
    bool previewSaved_ = false;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    nc::ui::art::applyTheme(app);
    PrintedMessages messages;
    nc::ui::Messages::setSink(&messages);

    const QString out = QDir(app.arguments().value(1, QStringLiteral("screens"))).absolutePath();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out));
        return 1;
    }
    PdfPages reports(out);
    nc::report::ReportOutput::setSink(&reports);

    // A fixture database with the shipped contents, never the user's own.
    QTemporaryDir dir;
    const QString source = QStringLiteral(NC_SOURCE_DIR);
    nc::data::Connection fixture;
    try {
        const QString password =
            nc::data::ConnectionString::parse(nc::data::connectionStringForFolder(dir.path())).password;
        // The shared file and one client's file, her record and diet record among the seeds.
        const QString client = nc::data::createDatabaseWithClient(
            dir.path(), password, nc::data::readTextFile(source + QStringLiteral("/data/schema.sql")),
            nc::data::readSeedFolder(source + QStringLiteral("/data/seed")) + nc::gallery::sampleRecords());
        fixture.setConnectionString(nc::data::connectionStringForFolder(dir.path()));
        nc::data::attachClientFile(fixture, client, 1);
    } catch (const nc::data::Error& e) {
        std::fprintf(stderr, "fixture database: %s\n", qPrintable(e.text()));
        return 1;
    }

    // The temporary folder plays the program's folder: the layouts lie beside the database, and the
    // chart pictures are written there.
    for (const QString& layout : QDir(QStringLiteral(NC_PROGRAM_DIR)).entryList({QStringLiteral("*.rav")}))
        QFile::copy(QDir(QStringLiteral(NC_PROGRAM_DIR)).filePath(layout), dir.filePath(layout));
    QDir::setCurrent(dir.path());

    int failures = 0;
    for (const nc::gallery::Page& page : nc::gallery::pages()) {
        std::fprintf(stderr, "%s\n", qPrintable(page.file));
        try {
            nc::data::Connection::setCurrent(&fixture);
            std::unique_ptr<QWidget> window = page.make();
            nc::data::Connection::setCurrent(&fixture);
            if (!window)
                continue; // a page that only runs a report
            window->show();
            QApplication::processEvents();
            const QString file = QDir(out).filePath(page.file + QStringLiteral(".png"));
            if (!window->grab().save(file)) {
                std::fprintf(stderr, "  cannot write %s\n", qPrintable(file));
                ++failures;
            }
            window->hide();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "  failed: %s\n", e.what());
            ++failures;
        }
    }
    std::fprintf(stderr, "reports\n");
    failures += nc::gallery::writeReportPages();
    nc::report::ReportOutput::setSink(nullptr);
    nc::data::Connection::setCurrent(nullptr);
    return failures == 0 ? 0 : 1;
}
