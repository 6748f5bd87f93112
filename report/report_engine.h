#pragma once
// The report engine as the printing windows drive it: an engine object (RvSystem) with the print job
// title, and a project (RvProject) that names the layout file, exposes data sets through named
// connections (RvDataSetConnection1, …) and text parameters, and runs the report.

#include "layout_fill.h"
#include "report_sink.h"

#include <QList>
#include <QMap>
#include <QString>
#include <functional>

namespace nc::data {
class Query;
class DataSet;
} // namespace nc::data

namespace nc::report {

// Print job titles of the reports.
inline const QString kTitleAnalysis = QStringLiteral("营养分析");
inline const QString kTitlePhysique = QStringLiteral("体质测试报告");

// The engine object: settings shared by every run. Reports go straight to the preview; printing
// from it first opens the printer dialog.
class RvSystem {
public:
    void setTitle(const QString& title) { title_ = title; }
    const QString& title() const { return title_; }

private:
    QString title_;
};

// Exposes one open data set to the layout under the component's name. The layout reads its rows and
// columns by column name; a column without a name in its SQL must be given one ("… as energy").
// The data set is read when the report runs, so it must be open then.
class RvDataSetConnection {
public:
    RvDataSetConnection(const QString& name, const data::Query& query);
    RvDataSetConnection(const QString& name, const data::DataSet& dataSet);
    // Rows made by the program when the report runs (a list with added rows, say).
    RvDataSetConnection(const QString& name, std::function<DataTable()> rows);

    const QString& name() const { return name_; }
    // The rows as text. Throws nc::data::Error when the data set is not open.
    DataTable read() const;

private:
    QString name_;
    std::function<DataTable()> read_;
};

// A layout name as the project file: ".rav" appended when the file name has no ".", a relative
// name taken from the given folder (by default the shipped files' folder, data::shippedFolder()). Returns a
// clean absolute path.
QString resolveLayoutPath(const QString& name, const QString& folder = {});

class RvProject {
public:
    explicit RvProject(RvSystem* engine = nullptr) : engine_(engine) {}

    // The name is resolved at once against the shipped files' folder.
    void setProjectFile(const QString& name);
    const QString& projectFile() const { return file_; }

    // A connection of the same name replaces the earlier one.
    void addConnection(const RvDataSetConnection& connection);
    void setParam(const QString& name, const QString& value) { params_.insert(name, value); }
    void clearParams() { params_.clear(); }
    // A button the preview offers with this report (ReportAction); one of the same name replaces it.
    void addAction(const ReportAction& action);

    // Reads the connections, fills the layout, lays it out and shows it; returns when the preview has
    // been closed. Throws nc::data::Error naming the full path when the layout file does not exist.
    void execute();
    // Reads the connections and fills the layout, without showing it (a part of a combined report).
    // Throws as execute() does.
    FilledLayout fill() const;
    // The job the report is shown with: the layout, the title, the actions (not the file name, which
    // the filled layout gives).
    ReportJob job() const;

private:
    RvSystem* engine_;
    QString file_;
    QList<RvDataSetConnection> connections_;
    QMap<QString, QString> params_;
    QList<ReportAction> actions_;
};

// Several projects printed as one report: each layout filled by its own project, with its own
// connections and parameters (two parts may both have an "RvDataSetConnection1" with different data),
// each part after the first on a new page, the styles of each part kept to that part, and one page
// numbering over the whole. The first part (a cover) gives the page header, footer, exported file
// name and orientation of every page, and the job its layout path and actions; a later part's own
// header, footer and file name are not printed. The projects are kept by reference.
class RvCombinedProject {
public:
    explicit RvCombinedProject(RvSystem* engine = nullptr) : engine_(engine) {}

    void addPart(const RvProject& part) { parts_.append(&part); }
    // Fills every part, then lays them out and shows them; returns when the preview has been closed.
    // Throws nc::data::Error (nothing shown) when a part's layout is missing or malformed, or when
    // there is no part.
    void execute();

private:
    RvSystem* engine_;
    QList<const RvProject*> parts_;
};

} // namespace nc::report
