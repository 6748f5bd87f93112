#include "report_document.h"

#include "data/errors.h"
#include "data/places.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <array>

namespace nc::report {

QString reportFontFamily() {
    static const QString family = [] {
        const QString derived = QStringLiteral("NC Report Sans");
        // Installed, the typeface lies with the layouts in the share folder; in a build folder beside
        // the program; programs built elsewhere (tests, tools) know the build's own folder.
        const QStringList folders{data::shippedFolder() + QStringLiteral("/fonts"),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"),
                                  QStringLiteral(NC_REPORT_FONT_DIR)};
        for (const QString& folder : folders) {
            const QDir dir(folder);
            if (!dir.exists(QStringLiteral("NcReportSans-Regular.otf")))
                continue;
            bool loaded = true;
            for (const QString& style : {QStringLiteral("Regular"), QStringLiteral("Bold")})
                loaded = QFontDatabase::addApplicationFont(
                             dir.filePath(QStringLiteral("NcReportSans-%1.otf").arg(style))) >= 0 &&
                         loaded;
            if (loaded)
                return derived;
        }
        return kReportFontFamily;
    }();
    return family;
}

namespace {

constexpr qreal kBaseFontPoints = 10;
constexpr qreal kMarginSide = 18;   // mm
constexpr qreal kMarginTop = 22;    // mm, the header line sits above it
constexpr qreal kMarginBottom = 20; // mm, the footer line sits below it
const QString kDefaultFooter = QStringLiteral("第 {page} 页  共 {pages} 页");

QFont unitFont(qreal points, bool bold = false) {
    QFont f(reportFontFamily());
    f.setPixelSize(qMax(1, qRound(ptToUnits(points))));
    f.setBold(bold);
    return f;
}

} // namespace

// One part of the continuous column the pages are cut from.
class ReportDocument::Piece {
public:
    // A place where a page may end. Inside a unit that should stay together (a table of the HTML
    // part), unitTop..unitBottom is that unit.
    struct Break {
        qreal y;
        qreal unitTop;
        qreal unitBottom;
    };

    virtual ~Piece() = default;
    virtual qreal height() const = 0;
    virtual qreal headerHeight() const { return 0; }
    // How far drawing may reach over a cut, so that a rule lying on it stays whole.
    virtual qreal slack() const { return 0; }
    // The painter's origin is the piece's top left; draw what lies in y0..y1.
    virtual void paint(QPainter& p, qreal y0, qreal y1) const = 0;
    virtual void paintHeader(QPainter&) const {}
    virtual QString text(qreal y0, qreal y1) const = 0;
    virtual QString headerText() const { return {}; }

    // Where to end a page that would reach down to limit, when the piece is drawn from `from`;
    // returns from when nothing fits.
    qreal bestBreak(qreal from, qreal limit, qreal pageHeight) const {
        auto it = std::upper_bound(breaks.begin(), breaks.end(), limit,
                                   [](qreal v, const Break& b) { return v < b.y; });
        if (it == breaks.begin())
            return from;
        const Break& b = *std::prev(it);
        if (b.y <= from)
            return from;
        // A table that fits on a page is moved whole rather than cut.
        if (b.unitTop > from && b.unitBottom - b.unitTop <= pageHeight)
            return b.unitTop;
        return b.y;
    }
    qreal nextForced(qreal after) const {
        for (qreal f : forced)
            if (f > after + 0.5)
                return f;
        return std::numeric_limits<qreal>::infinity();
    }
    bool forcedAt(qreal y) const {
        return std::any_of(forced.begin(), forced.end(), [y](qreal f) { return qAbs(f - y) < 0.5; });
    }

    QList<Break> breaks;     // sorted by y
    QList<qreal> forced;     // page breaks the layout asks for ("page-break-before: always")
    bool startsPart = false; // the first piece of a part after the first: begins a new page
};

namespace {

// A picture that is missing leaves its space blank rather than showing a placeholder icon.
class ReportTextDocument : public QTextDocument {
protected:
    QVariant loadResource(int type, const QUrl& name) override {
        QVariant v = QTextDocument::loadResource(type, name);
        if (type == QTextDocument::ImageResource && v.isNull()) {
            QImage blank(1, 1, QImage::Format_ARGB32);
            blank.fill(Qt::transparent);
            return blank;
        }
        return v;
    }
};

// HTML laid out by QTextDocument, as one column of the body's width.
class FlowPiece : public ReportDocument::Piece {
public:
    FlowPiece(const QString& html, qreal width, QPaintDevice* device) {
        doc_.documentLayout()->setPaintDevice(device);
        doc_.setDocumentMargin(0);
        QFont base(reportFontFamily());
        base.setPointSizeF(kBaseFontPoints);
        doc_.setDefaultFont(base);
        // Pictures (the charts) are read from where the program writes them.
        doc_.setBaseUrl(QUrl::fromLocalFile(data::writableFolder() + QLatin1Char('/')));
        doc_.setHtml(html);
        doc_.setTextWidth(width);
        width_ = width;
        findBreaks();
    }

    qreal height() const override { return doc_.size().height(); }

    void paint(QPainter& p, qreal y0, qreal y1) const override {
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        p.setClipRect(QRectF(0, y0, width_, y1 - y0), Qt::IntersectClip);
        // The layout draws every block that touches the clip, edges included: a block ending exactly
        // where this page begins (or beginning where it ends) would be drawn here too, invisible
        // under the painter's clip but present in a PDF's text. Half a unit inside keeps it out.
        ctx.clip = QRectF(0, y0 + 0.5, width_, qMax<qreal>(0, y1 - y0 - 1));
        doc_.documentLayout()->draw(&p, ctx);
    }

    QString text(qreal y0, qreal y1) const override {
        QStringList lines;
        const auto* layout = doc_.documentLayout();
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
            const QRectF r = layout->blockBoundingRect(b);
            if (r.bottom() < y0 || r.top() >= y1)
                continue;
            const QTextLayout* tl = b.layout();
            for (int i = 0; i < tl->lineCount(); ++i) {
                const QTextLine line = tl->lineAt(i);
                // Only lines wholly on the page count: a line cut through belongs to neither page.
                const qreal y = r.top() + line.y();
                if (y >= y0 - 0.5 && y + line.height() <= y1 + 0.5)
                    lines << b.text().mid(line.textStart(), line.textLength()).trimmed();
            }
        }
        lines.removeAll(QString());
        return lines.join(QLatin1Char('\n'));
    }

private:
    // Where pages may end: between blocks, between a table's rows and, for a paragraph taller than a
    // page, between its lines. A paragraph that fits on a page is moved whole, so a page never ends
    // inside it (and a line above a page's top is never drawn into the page's text), and a heading
    // stays with the block or table after it, so it never stands alone at the foot of a page.
    void findBreaks() {
        const auto* layout = doc_.documentLayout();
        QTextFrame* root = doc_.rootFrame();
        bool afterHeading = false; // the previous block was a heading: no break before this one
        qreal headingTop = 0;      // the top of that heading (of the first of consecutive headings)
        for (auto it = root->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* f = it.currentFrame()) {
                const QRectF r = layout->frameBoundingRect(f);
                if (f->frameFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                    forced << r.top();
                if (!afterHeading)
                    breaks.append({r.top(), r.top(), r.top()});
                afterHeading = false;
                if (auto* t = qobject_cast<QTextTable*>(f))
                    tableRowBreaks(t, r);
                breaks.append({r.bottom(), r.bottom(), r.bottom()});
                continue;
            }
            const QTextBlock b = it.currentBlock();
            const QRectF r = layout->blockBoundingRect(b);
            if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                forced << r.top();
            const QTextLayout* tl = b.layout();
            if (tl->lineCount() == 0)
                continue;
            const qreal top = r.top() + tl->lineAt(0).y();
            const qreal unitTop = afterHeading ? headingTop : top;
            if (!afterHeading)
                breaks.append({top, top, top});
            for (int i = 1; i < tl->lineCount(); ++i)
                breaks.append({r.top() + tl->lineAt(i).y(), unitTop, r.bottom()});
            const bool heading = b.blockFormat().headingLevel() > 0;
            if (heading && !afterHeading)
                headingTop = top;
            afterHeading = heading;
            if (!afterHeading)
                breaks.append({r.bottom(), r.bottom(), r.bottom()});
        }
        std::sort(breaks.begin(), breaks.end(), [](const Break& a, const Break& b) { return a.y < b.y; });
        std::sort(forced.begin(), forced.end());
    }

    // Between the rows of a table, halfway between one row's text and the next's.
    void tableRowBreaks(QTextTable* t, const QRectF& frame) {
        const auto* layout = doc_.documentLayout();
        qreal prevBottom = -1;
        for (int r = 0; r < t->rows(); ++r) {
            qreal top = std::numeric_limits<qreal>::max();
            qreal bottom = -1;
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (!cell.isValid() || cell.row() != r || cell.column() != c)
                    continue;
                top = qMin(top, layout->blockBoundingRect(cell.firstCursorPosition().block()).top());
                bottom = qMax(bottom, layout->blockBoundingRect(cell.lastCursorPosition().block()).bottom());
            }
            if (r > 0 && prevBottom >= 0 && top < std::numeric_limits<qreal>::max())
                breaks.append({(prevBottom + top) / 2, frame.top(), frame.bottom()});
            if (bottom >= 0)
                prevBottom = bottom;
        }
    }

    ReportTextDocument doc_;
    qreal width_ = 0;
};

// Measures cell texts quickly: numbers and other ASCII texts from a table of advances, other texts
// once each.
class TextMeasure {
public:
    explicit TextMeasure(const QFont& font, QPaintDevice* device) : fm_(font, device) {
        for (int c = 0; c < 128; ++c)
            ascii_[c] = fm_.horizontalAdvance(QChar(c));
    }
    const QFontMetricsF& metrics() const { return fm_; }
    qreal advance(const QString& s) {
        qreal w = 0;
        for (QChar ch : s) {
            if (ch.unicode() >= 128) {
                auto it = cache_.constFind(s);
                if (it == cache_.constEnd())
                    it = cache_.insert(s, fm_.horizontalAdvance(s));
                return *it;
            }
            w += ascii_[ch.unicode()];
        }
        return w;
    }
    int lines(const QString& s, qreal width) {
        if (s.isEmpty() || advance(s) <= width * 0.98)
            return 1;
        const QRectF r = fm_.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, s);
        return qMax(1, qCeil(r.height() / fm_.lineSpacing() - 0.01));
    }

private:
    QFontMetricsF fm_;
    std::array<qreal, 128> ascii_{};
    QHash<QString, qreal> cache_;
};

// A list table, laid out row by row: header rows, then one row per data row.
class ListPiece : public ReportDocument::Piece {
public:
    ListPiece(ListTable table, qreal width, QPaintDevice* device)
        : table_(std::move(table)),
          font_(unitFont(table_.fontPoints > 0 ? table_.fontPoints : kBaseFontPoints - 1)),
          headerFont_(unitFont(table_.fontPoints > 0 ? table_.fontPoints : kBaseFontPoints - 1, true)) {
        padX_ = ptToUnits(2.5);
        padY_ = ptToUnits(1.6);
        rule_ = ptToUnits(0.6);
        marginTop_ = ptToUnits(4);
        marginBottom_ = ptToUnits(8);
        TextMeasure body(font_, device);
        TextMeasure head(headerFont_, device);
        columnEdges(width * table_.widthPercent / 100, naturalWidths(body, head));
        lineHeight_ = body.metrics().lineSpacing();
        headerLineHeight_ = head.metrics().lineSpacing();

        qreal y = marginTop_;
        for (const QList<ListHeaderCell>& row : std::as_const(table_.header)) {
            int lines = 1;
            int col = 0;
            for (const ListHeaderCell& c : row) {
                const int end = qMin(int(xs_.size()) - 1, col + c.span);
                if (col < end)
                    lines = qMax(lines, head.lines(c.text, xs_[end] - xs_[col] - 2 * padX_));
                col = end;
            }
            headerTops_ << y;
            y += lines * headerLineHeight_ + 2 * padY_;
        }
        headerBottom_ = y;
        rowTops_.reserve(table_.rows.size() + 1);
        for (const QStringList& row : std::as_const(table_.rows)) {
            int lines = 1;
            for (int c = 0; c < row.size() && c + 1 < xs_.size(); ++c)
                lines = qMax(lines, body.lines(row.at(c), xs_[c + 1] - xs_[c] - 2 * padX_));
            rowTops_ << y;
            y += lines * lineHeight_ + 2 * padY_;
            // A page may end after any row, so the header never stands alone at the foot of a page.
            if (rowTops_.size() > 1)
                breaks.append({rowTops_.last(), rowTops_.last(), rowTops_.last()});
        }
        rowTops_ << y;
        height_ = y + marginBottom_;
        breaks.append({height_, height_, height_});
    }

    qreal height() const override { return height_; }
    qreal headerHeight() const override { return headerBottom_ - marginTop_; }
    qreal slack() const override { return rule_; }

    void paint(QPainter& p, qreal y0, qreal y1) const override {
        if (y0 < headerBottom_ && y1 > marginTop_)
            paintHeaderRows(p, 0);
        const int rows = int(table_.rows.size());
        auto first = std::upper_bound(rowTops_.begin(), rowTops_.end() - 1, y0 + 0.5);
        int r = qMax(0, int(first - rowTops_.begin()) - 1);
        p.setFont(font_);
        for (; r < rows && rowTops_[r] < y1 - 0.5; ++r)
            paintRow(p, r);
    }

    void paintHeader(QPainter& p) const override { paintHeaderRows(p, -marginTop_); }

    QString text(qreal y0, qreal y1) const override {
        QStringList out;
        if (y0 < headerBottom_ && y1 > marginTop_)
            out << headerText();
        for (int r = 0; r < table_.rows.size(); ++r)
            if (rowTops_[r] >= y0 - 0.5 && rowTops_[r + 1] <= y1 + 0.5)
                out << table_.rows.at(r).join(QLatin1Char('\t'));
        return out.join(QLatin1Char('\n'));
    }

    QString headerText() const override {
        QStringList out;
        for (const QList<ListHeaderCell>& row : table_.header) {
            QStringList cells;
            for (const ListHeaderCell& c : row)
                cells << c.text;
            out << cells.join(QLatin1Char('\t'));
        }
        return out.join(QLatin1Char('\n'));
    }

private:
    // The widest text of each column, header cells of one column included.
    QList<qreal> naturalWidths(TextMeasure& body, TextMeasure& head) const {
        QList<qreal> natural(qMax<qsizetype>(1, table_.columns.size()), 0);
        for (const QStringList& row : table_.rows)
            for (int c = 0; c < row.size() && c < natural.size(); ++c)
                if (table_.columns.at(c).widthPercent <= 0)
                    natural[c] = qMax(natural[c], body.advance(row.at(c)));
        for (const QList<ListHeaderCell>& row : table_.header) {
            int col = 0;
            for (const ListHeaderCell& cell : row) {
                if (cell.span == 1 && col < natural.size())
                    natural[col] = qMax(natural[col], head.advance(cell.text));
                col += cell.span;
            }
        }
        return natural;
    }

    // Columns with a width take their share of the table; the others share the rest in proportion to
    // their widest text, so numbers stay on one line wherever the page has room for them.
    void columnEdges(qreal width, const QList<qreal>& natural) {
        const int n = int(natural.size());
        qreal fixed = 0;
        for (const ListColumn& c : table_.columns)
            fixed += c.widthPercent;
        const qreal scale = fixed > 100 ? 100 / fixed : 1;
        const qreal rest = qMax<qreal>(0, width * (1 - fixed * scale / 100));
        QList<qreal> need(n, 0);
        qreal needed = 0;
        int autoColumns = 0;
        for (int i = 0; i < n; ++i) {
            if (table_.columns.value(i).widthPercent > 0)
                continue;
            ++autoColumns;
            need[i] = natural[i] + 2 * padX_ + ptToUnits(1);
            needed += need[i];
        }
        xs_ = {0};
        qreal x = 0;
        for (int i = 0; i < n; ++i) {
            const qreal percent = table_.columns.value(i).widthPercent;
            if (percent > 0)
                x += width * percent * scale / 100;
            else if (needed > 0 && needed <= rest)
                x += need[i] + (rest - needed) * need[i] / needed;
            else if (needed > 0)
                x += rest * need[i] / needed;
            else
                x += rest / qMax(1, autoColumns);
            xs_ << x;
        }
    }

    void paintHeaderRows(QPainter& p, qreal dy) const {
        p.setFont(headerFont_);
        for (int h = 0; h < table_.header.size(); ++h) {
            const qreal top = headerTops_[h] + dy;
            const qreal bottom = (h + 1 < headerTops_.size() ? headerTops_[h + 1] : headerBottom_) + dy;
            int col = 0;
            for (const ListHeaderCell& c : table_.header.at(h)) {
                const int end = qMin(int(xs_.size()) - 1, col + c.span);
                if (col >= end)
                    break;
                const QRectF cell(xs_[col], top, xs_[end] - xs_[col], bottom - top);
                p.fillRect(cell, QColor(0xE9, 0xEE, 0xF2));
                p.setPen(QPen(Qt::black, rule_));
                p.drawRect(cell);
                p.drawText(cell.adjusted(padX_, padY_, -padX_, -padY_),
                           int(c.align | Qt::AlignVCenter) | Qt::TextWordWrap, c.text);
                col = end;
            }
        }
    }

    void paintRow(QPainter& p, int r) const {
        const qreal top = rowTops_[r];
        const qreal bottom = rowTops_[r + 1];
        const QStringList& row = table_.rows.at(r);
        p.setPen(QPen(Qt::black, rule_));
        const int cols = int(xs_.size()) - 1;
        p.drawLine(QPointF(xs_[0], bottom), QPointF(xs_[cols], bottom));
        p.drawLine(QPointF(xs_[0], top), QPointF(xs_[cols], top));
        for (int c = 0; c <= cols; ++c)
            p.drawLine(QPointF(xs_[c], top), QPointF(xs_[c], bottom));
        for (int c = 0; c < cols && c < row.size(); ++c) {
            const QRectF cell(xs_[c] + padX_, top + padY_, xs_[c + 1] - xs_[c] - 2 * padX_,
                              bottom - top - 2 * padY_);
            p.drawText(cell, int(table_.columns.value(c).align | Qt::AlignVCenter) | Qt::TextWordWrap,
                       row.at(c));
        }
    }

    ListTable table_;
    QFont font_;
    QFont headerFont_;
    qreal padX_ = 0, padY_ = 0, rule_ = 0, marginTop_ = 0, marginBottom_ = 0;
    qreal lineHeight_ = 0, headerLineHeight_ = 0;
    QList<qreal> xs_;
    QList<qreal> headerTops_;
    qreal headerBottom_ = 0;
    QList<qreal> rowTops_; // one more than rows: the last is the bottom of the last row
    qreal height_ = 0;
};

bool blankHtml(const QString& fragment) {
    static const QRegularExpression noise(QStringLiteral("<!--.*?-->|</?(html|body)\\b[^>]*>|\\s+"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    QString s = fragment;
    s.remove(noise);
    return s.isEmpty();
}

} // namespace

ReportDocument::ReportDocument(FilledLayout content)
    : ReportDocument(QList<FilledLayout>{std::move(content)}) {}

ReportDocument::ReportDocument(QList<FilledLayout> parts)
    : parts_(std::move(parts)), device_(1, 1, QImage::Format_RGB32) {
    if (parts_.isEmpty())
        parts_.append(FilledLayout{});
    const int dpm = qRound(kLayoutDpi / 0.0254);
    device_.setDotsPerMeterX(dpm);
    device_.setDotsPerMeterY(dpm);

    QSizeF a4(mmToUnits(210), mmToUnits(297));
    if (frame().landscape)
        a4.transpose();
    page_ = QRectF(QPointF(0, 0), a4);
    body_ = page_.adjusted(mmToUnits(kMarginSide), mmToUnits(kMarginTop), -mmToUnits(kMarginSide),
                           -mmToUnits(kMarginBottom));

    for (int i = 0; i < parts_.size(); ++i)
        addPieces(parts_.at(i), i > 0);
    // The list rows now live in their pieces; the parts keep them only for html().
    paginate();
}

// Each HTML fragment is laid out with its own part's <head>, so the styles stay within their part.
void ReportDocument::addPieces(const FilledLayout& part, bool newPage) {
    const std::size_t first = pieces_.size();
    for (int i = 0; i < part.fragments.size(); ++i) {
        const QString& fragment = part.fragments.at(i);
        if (!blankHtml(fragment))
            pieces_.push_back(std::make_unique<FlowPiece>(QStringLiteral("<html>") + part.head +
                                                              part.bodyTag + fragment +
                                                              QStringLiteral("</body></html>"),
                                                          body_.width(), &device_));
        if (i < part.lists.size())
            pieces_.push_back(std::make_unique<ListPiece>(part.lists.at(i), body_.width(), &device_));
    }
    if (newPage && pieces_.size() > first)
        pieces_[first]->startsPart = true;
}

QString ReportDocument::html() const {
    QStringList pages;
    for (const FilledLayout& part : parts_)
        pages << part.html();
    return pages.join(QLatin1Char('\n'));
}

ReportDocument::~ReportDocument() = default;

void ReportDocument::paginate() {
    const qreal pageHeight = body_.height();
    pages_ = {Page{}};
    qreal top = 0;
    bool hasContent = false;
    auto newPage = [&] {
        pages_.append(Page{});
        top = 0;
        hasContent = false;
    };
    for (int pi = 0; pi < int(pieces_.size()); ++pi) {
        const Piece& piece = *pieces_[pi];
        const qreal height = piece.height();
        qreal y = 0;
        if (hasContent && piece.startsPart)
            newPage();
        while (y < height - 0.5) {
            if (hasContent && piece.forcedAt(y))
                newPage();
            if (y > 0 && top == 0 && piece.headerHeight() > 0 && piece.headerHeight() < pageHeight / 2) {
                pages_.last().slices.append({pi, true, 0, piece.headerHeight(), top});
                top += piece.headerHeight();
            }
            const qreal avail = pageHeight - top;
            const qreal forced = piece.nextForced(y);
            qreal cut;
            if (forced <= y + avail && forced < height - 0.5) {
                cut = forced;
            } else if (height - y <= avail) {
                cut = height;
            } else {
                cut = piece.bestBreak(y, y + avail, pageHeight);
                if (cut <= y) {
                    if (hasContent) { // nothing more fits here: go on on a fresh page
                        newPage();
                        continue;
                    }
                    cut = y + avail; // taller than a page: cut where the page ends
                }
            }
            pages_.last().slices.append({pi, false, y, cut, top});
            hasContent = true;
            top += cut - y;
            y = cut;
            if (y < height - 0.5)
                newPage();
        }
    }
    if (pages_.size() > 1 && pages_.last().slices.isEmpty())
        pages_.removeLast();
}

QPageLayout ReportDocument::pageLayout() const {
    return QPageLayout(QPageSize(QPageSize::A4),
                       frame().landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

QString ReportDocument::headerFooter(const QString& text, int page) const {
    QString t = text;
    t.replace(QLatin1String("{page}"), QString::number(page + 1));
    t.replace(QLatin1String("{pages}"), QString::number(pageCount()));
    return t;
}

void ReportDocument::paintPage(QPainter& p, int page) const {
    if (page < 0 || page >= pageCount())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    // Header and footer lines.
    const QFont small = unitFont(8);
    const QColor grey(0x55, 0x55, 0x55);
    const QPen rule(grey, ptToUnits(0.5));
    p.setFont(small);
    const qreal lineH = QFontMetricsF(small, &device_).height();
    if (!frame().pageHeader.isEmpty() || !frame().pageHeaderRight.isEmpty()) {
        const QRectF band(body_.left(), body_.top() - mmToUnits(3) - lineH, body_.width(), lineH);
        p.setPen(grey);
        p.drawText(band, Qt::AlignLeft | Qt::AlignBottom, headerFooter(frame().pageHeader, page));
        p.drawText(band, Qt::AlignRight | Qt::AlignBottom, headerFooter(frame().pageHeaderRight, page));
        p.setPen(rule);
        p.drawLine(QPointF(body_.left(), body_.top() - mmToUnits(2)),
                   QPointF(body_.right(), body_.top() - mmToUnits(2)));
    }
    const QString footer = frame().pageFooter.isEmpty() ? kDefaultFooter : frame().pageFooter;
    p.setPen(rule);
    p.drawLine(QPointF(body_.left(), body_.bottom() + mmToUnits(2)),
               QPointF(body_.right(), body_.bottom() + mmToUnits(2)));
    p.setPen(grey);
    p.drawText(QRectF(body_.left(), body_.bottom() + mmToUnits(3), body_.width(), lineH),
               Qt::AlignHCenter | Qt::AlignTop, headerFooter(footer, page));

    for (const Slice& s : pages_.at(page).slices) {
        const Piece& piece = *pieces_[s.piece];
        p.save();
        p.setPen(Qt::black);
        if (s.header) {
            p.translate(body_.left(), body_.top() + s.top);
            piece.paintHeader(p);
        } else {
            p.translate(body_.left(), body_.top() + s.top - s.y0);
            const qreal slack = piece.slack();
            p.setClipRect(QRectF(-slack, s.y0 - slack, body_.width() + 2 * slack, s.y1 - s.y0 + 2 * slack));
            piece.paint(p, s.y0, s.y1);
        }
        p.restore();
    }
    p.restore();
}

void ReportDocument::render(QPagedPaintDevice& device, int from, int to) const {
    QList<int> pages;
    for (int i = qMax(0, from); i <= qMin(to, pageCount() - 1); ++i)
        pages << i;
    device.setPageLayout(pageLayout());
    QPainter p;
    if (!p.begin(&device))
        throw data::Error(QStringLiteral("无法开始输出报表：打印机或文件不可用。"));
    const qreal scale = device.logicalDpiX() / kLayoutDpi;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        p.save();
        p.scale(scale, scale);
        paintPage(p, pages.at(i));
        p.restore();
    }
    p.end();
}

QString ReportDocument::plainText() const {
    QStringList parts;
    for (const auto& piece : pieces_)
        parts << piece->text(0, piece->height());
    return parts.join(QLatin1Char('\n'));
}

QString ReportDocument::pageText(int page) const {
    if (page < 0 || page >= pageCount())
        return {};
    QStringList parts;
    if (!frame().pageHeader.isEmpty())
        parts << headerFooter(frame().pageHeader, page);
    if (!frame().pageHeaderRight.isEmpty())
        parts << headerFooter(frame().pageHeaderRight, page);
    for (const Slice& s : pages_.at(page).slices) {
        const Piece& piece = *pieces_[s.piece];
        parts << (s.header ? piece.headerText() : piece.text(s.y0, s.y1));
    }
    parts << headerFooter(frame().pageFooter.isEmpty() ? kDefaultFooter : frame().pageFooter, page);
    parts.removeAll(QString());
    return parts.join(QLatin1Char('\n'));
}

void exportPdf(const ReportDocument& doc, const QString& path, const QString& title) {
    QPdfWriter writer(path);
    writer.setResolution(int(kLayoutDpi));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("膳食营养咨询"));
    try {
        doc.render(writer, 0, doc.pageCount() - 1);
    } catch (const data::Error&) {
        throw data::Error(QStringLiteral("无法写入 PDF 文件“%1”。").arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace nc::report
