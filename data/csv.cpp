#include "csv.h"

#include "errors.h"

#include <QFile>

namespace nc::data {

CsvTable parseCsv(const QString& text, const QString& sourceName) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool fieldStarted = false;
    int line = 1;
    int recordLine = 1;
    const int n = int(text.size());
    auto endField = [&] {
        record << field;
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        if (!(record.size() == 1 && record.first().isEmpty())) // skip blank lines
            records << record;
        record.clear();
    };
    int i = 0;
    if (n > 0 && text[0] == QChar(0xFEFF)) // byte-order mark
        i = 1;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && !fieldStarted && field.isEmpty()) {
            inQuotes = true;
            fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r')) {
            // part of a CRLF line end
        } else if (c == QLatin1Char('\n')) {
            endRecord();
            ++line;
            recordLine = line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        throw Error(QStringLiteral("文件“%1”第 %2 行：引号没有闭合。").arg(sourceName).arg(recordLine));
    if (fieldStarted || !field.isEmpty() || !record.isEmpty())
        endRecord();

    CsvTable t;
    if (records.isEmpty())
        return t;
    t.header = records.takeFirst();
    for (int r = 0; r < records.size(); ++r) {
        if (records[r].size() != t.header.size())
            throw Error(QStringLiteral("文件“%1”第 %2 条记录有 %3 个字段，标题行有 %4 个。")
                            .arg(sourceName)
                            .arg(r + 1)
                            .arg(records[r].size())
                            .arg(t.header.size()));
    }
    t.rows = std::move(records);
    return t;
}

CsvTable readCsvFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法读取文件“%1”：%2").arg(path, f.errorString()));
    return parseCsv(QString::fromUtf8(f.readAll()), path);
}

} // namespace nc::data
