#pragma once
// Filling a layout: the Mustache tags of a layout file are replaced by the rows of the data
// connections and by the parameters. List tables (tables with a data-rows attribute) are taken out of
// the HTML and filled cell by cell, so that a list of thousands of rows stays fast to lay out.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace nc::report {

// The rows of one data connection as text, with their column names.
struct DataTable {
    QStringList columns;
    QList<QStringList> rows;
};

// Everything a layout can print.
struct ReportData {
    QMap<QString, DataTable> tables; // by connection name
    QMap<QString, QString> params;
};

struct ListHeaderCell {
    QString text;
    int span = 1;
    Qt::Alignment align = Qt::AlignHCenter;
};

struct ListColumn {
    qreal widthPercent = 0; // 0: shares what the other columns leave
    Qt::Alignment align = Qt::AlignLeft;
};

// A filled list table: header rows as written, one body row per data row.
struct ListTable {
    QString source;
    qreal widthPercent = 100;
    qreal fontPoints = 0; // 0: the page's base size
    QList<ListColumn> columns;
    QList<QList<ListHeaderCell>> header;
    QList<QStringList> rows;

    QString toHtml() const;
};

// A filled layout: the HTML around the list tables, the tables themselves, and the page settings.
struct FilledLayout {
    QString head;           // the <head> element, styles included
    QString bodyTag;        // the opening <body …> tag
    QStringList fragments;  // HTML before each list table, and after the last one
    QList<ListTable> lists; // fragments.size() == lists.size() + 1

    QString pageHeader;      // left end of the header line
    QString pageHeaderRight; // right end of the header line
    QString pageFooter;      // centred under the footer line; {page} and {pages} are replaced
    QString fileName;        // what an exported file is named after: the person and the report
    bool landscape = false;

    // The whole filled page as HTML, list tables written out as HTML tables.
    QString html() const;
};

// Fills a layout text. layoutName is used in error messages. Throws nc::data::Error when the
// Mustache tags or a list table are malformed.
FilledLayout fillLayout(const QString& layoutText, const ReportData& data, const QString& layoutName);

} // namespace nc::report
