#include "report_engine.h"

#include "data/dataset.h"
#include "data/errors.h"
#include "data/places.h"
#include "data/query.h"
#include "report_document.h"
#include "report_sink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nc::report {

namespace {

QString notOpen(const QString& name) {
    return QStringLiteral("报表的数据连接“%1”的数据集没有打开。").arg(name);
}

} // namespace

RvDataSetConnection::RvDataSetConnection(const QString& name, const data::Query& query) : name_(name) {
    read_ = [name, &query] {
        if (!query.isOpen())
            throw data::Error(notOpen(name));
        DataTable t;
        t.columns = query.fieldNames();
        t.rows.reserve(query.rows().size());
        for (const QList<data::Value>& row : query.rows()) {
            QStringList texts;
            texts.reserve(row.size());
            for (const data::Value& v : row)
                texts.append(v.toText());
            t.rows.append(std::move(texts));
        }
        return t;
    };
}

RvDataSetConnection::RvDataSetConnection(const QString& name, const data::DataSet& dataSet) : name_(name) {
    read_ = [name, &dataSet] {
        if (!dataSet.isOpen())
            throw data::Error(notOpen(name));
        DataTable t;
        t.columns = dataSet.fieldNames();
        t.rows.reserve(dataSet.rowCount());
        for (int r = 0; r < dataSet.rowCount(); ++r) {
            QStringList texts;
            texts.reserve(t.columns.size());
            for (int c = 0; c < t.columns.size(); ++c)
                texts.append(dataSet.value(r, c).toText());
            t.rows.append(std::move(texts));
        }
        return t;
    };
}

RvDataSetConnection::RvDataSetConnection(const QString& name, std::function<DataTable()> rows)
    : name_(name), read_(std::move(rows)) {}

DataTable RvDataSetConnection::read() const {
    return read_();
}

QString resolveLayoutPath(const QString& name, const QString& folder) {
    QString file = name.trimmed();
    if (!QFileInfo(file).fileName().contains(QLatin1Char('.')))
        file += QStringLiteral(".rav");
    const QDir base(folder.isEmpty() ? data::shippedFolder() : folder);
    return QDir::cleanPath(base.absoluteFilePath(file));
}

void RvProject::setProjectFile(const QString& name) {
    file_ = resolveLayoutPath(name);
}

void RvProject::addConnection(const RvDataSetConnection& connection) {
    for (RvDataSetConnection& c : connections_) {
        if (c.name() == connection.name()) {
            c = connection;
            return;
        }
    }
    connections_.append(connection);
}

void RvProject::addAction(const ReportAction& action) {
    for (ReportAction& a : actions_) {
        if (a.name == action.name) {
            a = action;
            return;
        }
    }
    actions_.append(action);
}

FilledLayout RvProject::fill() const {
    const QString path = file_;
    if (path.isEmpty())
        throw data::Error(QStringLiteral("没有指定报表布局文件。"));
    if (!QFileInfo(path).isFile())
        throw data::Error(QStringLiteral("找不到报表布局文件“%1”。").arg(QDir::toNativeSeparators(path)));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw data::Error(QStringLiteral("无法读取报表布局文件“%1”：%2")
                              .arg(QDir::toNativeSeparators(path), f.errorString()));
    const QString text = QString::fromUtf8(f.readAll());

    ReportData data;
    data.params = params_;
    for (const RvDataSetConnection& c : connections_)
        data.tables.insert(c.name(), c.read());
    return fillLayout(text, data, QDir::toNativeSeparators(path));
}

ReportJob RvProject::job() const {
    ReportJob job;
    job.layoutPath = file_;
    job.title =
        engine_ && !engine_->title().isEmpty() ? engine_->title() : QFileInfo(file_).completeBaseName();
    job.actions = actions_;
    return job;
}

void RvProject::execute() {
    FilledLayout filled = fill();
    ReportJob report = job();
    report.fileName = filled.fileName;
    const ReportDocument doc(std::move(filled));
    ReportOutput::present(doc, report);
}

void RvCombinedProject::execute() {
    if (parts_.isEmpty())
        throw data::Error(QStringLiteral("没有指定报表布局文件。"));
    QList<FilledLayout> filled;
    for (const RvProject* part : std::as_const(parts_))
        filled.append(part->fill());
    ReportJob job = parts_.first()->job();
    if (engine_ && !engine_->title().isEmpty())
        job.title = engine_->title();
    job.fileName = filled.first().fileName;
    const ReportDocument doc(std::move(filled));
    ReportOutput::present(doc, job);
}

} // namespace nc::report
