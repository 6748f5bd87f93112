#pragma once
// Reading the comma-separated seed files: UTF-8, header row, fields optionally in double quotes
// (a doubled quote inside stands for one), line breaks inside quotes kept.

#include <QList>
#include <QString>
#include <QStringList>

namespace nc::data {

struct CsvTable {
    QStringList header;
    QList<QStringList> rows; // every row has as many fields as the header
};

// Parses CSV text. Throws Error (naming the line) for an unclosed quote or a row with a different
// number of fields than the header.
CsvTable parseCsv(const QString& text, const QString& sourceName = {});
// Reads and parses a file; throws Error naming the file when it cannot be read.
CsvTable readCsvFile(const QString& path);

} // namespace nc::data
