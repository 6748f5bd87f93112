#pragma once
// A filled report laid out on A4 pages. The HTML parts are laid out by QTextDocument as one
// continuous column; list tables are laid out row by row by the engine itself. Pages are cut from
// that column between lines, between table rows and between list rows, never through a line of text,
// and a list table that continues on a new page starts there with its header rows again.
// A report may be made of several filled layouts (parts): each part is laid out with its own styles,
// starts on a new page, and the pages of all parts are numbered as one report.

#include "layout_fill.h"

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <memory>

class QPainter;
class QPagedPaintDevice;

namespace nc::report {

// Layout units: 1200 per inch, so that text is measured as finely as print needs.
inline constexpr qreal kLayoutDpi = 1200;
inline constexpr qreal mmToUnits(qreal mm) {
    return mm * kLayoutDpi / 25.4;
}
inline constexpr qreal ptToUnits(qreal pt) {
    return pt * kLayoutDpi / 72;
}

// The system typeface the report typeface is derived from, and what reports use without it.
inline const QString kReportFontFamily = QStringLiteral("Noto Sans CJK SC");

// The font family of every report: Chinese glyphs on screen, in print and in PDF. The report
// typeface "NC Report Sans" (fonts/ beside the program, made at build time) draws the glyphs of
// Noto Sans CJK SC with one character per glyph, so an exported PDF's text reads as its pages; it is
// loaded on first use. Without it, kReportFontFamily.
QString reportFontFamily();

class ReportDocument {
public:
    explicit ReportDocument(FilledLayout content);
    // Several parts in print order, each after the first on a new page. The first part's page header,
    // footer, file name and orientation serve every page; each part keeps its own <head> (styles), so
    // a style of one part never changes the look of another. At least one part.
    explicit ReportDocument(QList<FilledLayout> parts);
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    int pageCount() const { return int(pages_.size()); }
    // A4 in the layout's orientation, no printer margins: the page is drawn to the paper's edge.
    QPageLayout pageLayout() const;

    // Draws one page (0-based) with the painter in layout units, origin at the paper's corner.
    void paintPage(QPainter& painter, int page) const;
    // Draws pages from..to (0-based, inclusive) on a printer or PDF writer, one sheet each.
    void render(QPagedPaintDevice& device, int from, int to) const;

    // The filled HTML, list tables written out as HTML tables; of several parts, each part's page in
    // order.
    QString html() const;
    // The first part's page settings: header, footer, file name, orientation.
    const FilledLayout& frame() const { return parts_.first(); }
    // The text of the whole report, and of one page (header and footer lines included).
    QString plainText() const;
    QString pageText(int page) const;

    class Piece;

private:
    struct Slice {
        int piece;
        bool header;  // the piece's repeated header rows
        qreal y0, y1; // in the piece's own coordinates
        qreal top;    // on the page, from the top of the body area
    };
    struct Page {
        QList<Slice> slices;
    };

    void addPieces(const FilledLayout& part, bool newPage);
    void paginate();
    QString headerFooter(const QString& text, int page) const;

    QList<FilledLayout> parts_;
    QImage device_; // the resolution text is measured at
    QRectF page_;
    QRectF body_;
    std::vector<std::unique_ptr<Piece>> pieces_;
    QList<Page> pages_;
};

// Writes the report as a PDF file. Throws nc::data::Error when the file cannot be written.
void exportPdf(const ReportDocument& doc, const QString& path, const QString& title);

} // namespace nc::report
