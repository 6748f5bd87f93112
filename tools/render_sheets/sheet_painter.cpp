#include "sheet_painter.h"

#include "data/errors.h"
#include "ui/artwork.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextLayout>

#include <algorithm>
#include <functional>

namespace nc::sheets {

namespace art = ui::art;
namespace colour = ui::art::colour;

namespace {

constexpr qreal kMargin = 14;
constexpr qreal kGap = 10;
constexpr qreal kBandHeight = 46;
constexpr qreal kLeading = 1.34; // line height as a multiple of the pixel size
constexpr qreal kCardPad = 9;

QColor accentOf(int i) {
    static const QColor accents[] = {colour::rose, colour::sageDeep, QColor(0xD9, 0x86, 0x5E),
                                     colour::lavender};
    return accents[i % 4];
}

// A run of text with its own font and colour inside a paragraph.
struct Run {
    QString text;
    bool bold = false;
    QColor colour = colour::ink;
};

// Lays out runs as one wrapped paragraph of kBodyPx text, `hang` pixels of hanging indent after the
// first line. Draws when a painter is given; returns the height either way.
qreal paragraph(QPainter* p, QPointF topLeft, qreal width, const QList<Run>& runs, qreal hang = 0,
                int px = kBodyPx) {
    QString text;
    QList<QTextLayout::FormatRange> formats;
    for (const Run& r : runs) {
        QTextLayout::FormatRange f;
        f.start = int(text.size());
        f.length = int(r.text.size());
        f.format.setFont(art::font(px, r.bold ? QFont::Bold : QFont::Normal));
        f.format.setForeground(r.colour);
        formats << f;
        text += r.text;
    }
    QTextLayout layout(text, art::font(px));
    layout.setFormats(formats);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal step = px * kLeading;
    qreal y = 0;
    layout.beginLayout();
    for (bool first = true;; first = false) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        const qreal indent = first ? 0 : hang;
        line.setLineWidth(width - indent);
        line.setPosition(QPointF(indent, y + (step - line.height()) / 2));
        y += step;
    }
    layout.endLayout();
    if (p)
        layout.draw(p, topLeft);
    return y;
}

void paintGround(QPainter& p, const QString& title, const QString& kind) {
    const QRectF all(QPointF(0, 0), QSizeF(kSheetSize));
    p.fillRect(all, colour::paper);
    QRadialGradient glow(QPointF(all.width() * 0.95, all.height() * 0.9), all.height() * 0.6);
    glow.setColorAt(0, colour::blush);
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(all, glow);

    const QRectF band(0, 0, all.width(), kBandHeight);
    QLinearGradient g(band.topLeft(), band.topRight());
    g.setColorAt(0, QColor(0xF6, 0xC9, 0xCD));
    g.setColorAt(1, QColor(0xFB, 0xE3, 0xDA));
    p.fillRect(band, g);
    p.setPen(QPen(QColor(0xE0, 0x84, 0x8F, 110), 1));
    p.drawLine(QPointF(0, kBandHeight - 0.5), QPointF(all.width(), kBandHeight - 0.5));
    // The leaf and berry mark of the program's title bands.
    p.setPen(Qt::NoPen);
    p.setBrush(colour::sage);
    QPainterPath leaf(QPointF(16, 32));
    leaf.cubicTo(QPointF(17, 22), QPointF(26, 16), QPointF(31, 13));
    leaf.cubicTo(QPointF(31, 22), QPointF(24, 30), QPointF(16, 32));
    p.drawPath(leaf);
    p.setBrush(colour::rose);
    p.drawEllipse(QPointF(15, 18), 4.5, 4.5);

    p.setPen(colour::roseDeep);
    p.setFont(art::font(22, QFont::Bold));
    p.drawText(QRectF(40, 0, all.width() - 180, kBandHeight), Qt::AlignLeft | Qt::AlignVCenter, title);

    // The kind of sheet as a small plate at the right of the band.
    const QFont kindFont = art::font(kBodyPx, QFont::Bold);
    const qreal w = QFontMetricsF(kindFont).horizontalAdvance(kind) + 22;
    const QRectF plate(all.width() - kMargin - w, 11, w, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawRoundedRect(plate, 12, 12);
    p.setPen(colour::roseDeep);
    p.setFont(kindFont);
    p.drawText(plate, Qt::AlignCenter, kind);

    p.setPen(QPen(colour::rose, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
}

// One line of a card, as runs plus its hanging indent.
struct CardLine {
    QList<Run> runs;
    qreal hang = 0;
    bool bullet = false;
};

QList<CardLine> cardLines(const Sheet& sheet, const Section& section, const QColor& accent) {
    QList<CardLine> lines;
    if (sheet.isMenu()) {
        for (const Dish& d : section.dishes) {
            QStringList foods;
            for (const Ingredient& in : d.ingredients)
                foods << QStringLiteral("%1\u00A0%2\u00A0g").arg(in.label).arg(in.grams, 0, 'g', 6);
            lines.append({{{d.name, true, colour::ink},
                           {QStringLiteral("  ") + foods.join(QStringLiteral("、")), false, colour::inkSoft}},
                          kBodyPx,
                          false});
        }
        return lines;
    }
    for (const QString& l : section.lines) {
        if (l.startsWith(QStringLiteral("- "))) {
            lines.append({{{l.mid(2), false, colour::ink}}, 0, true});
            continue;
        }
        const int colon = int(l.indexOf(QStringLiteral("：")));
        if (colon > 0 && colon <= 4) {
            lines.append(
                {{{l.left(colon + 1), true, accent}, {l.mid(colon + 1), false, colour::ink}}, 0, false});
            continue;
        }
        lines.append({{{l, false, colour::ink}}, 0, false});
    }
    return lines;
}

constexpr qreal kHeadingPx = 16;
constexpr qreal kBulletIndent = 14;

// Height of a card at a width, or paints it there.
qreal card(QPainter* p, QPointF at, qreal width, const Sheet& sheet, const Section& section, int index) {
    const QColor accent = accentOf(index);
    const QList<CardLine> lines = cardLines(sheet, section, accent);
    // A menu's meals carry their name at the left of the dishes; other cards have a heading line.
    const bool sideLabel = sheet.isMenu();
    const qreal labelW = sideLabel ? 74 : 0;
    const qreal inner = width - 2 * kCardPad - labelW;
    const qreal headingH = sideLabel ? 0 : kHeadingPx * 1.6;
    qreal h = kCardPad + headingH + (sideLabel ? 0 : 2);
    QList<qreal> heights;
    for (const CardLine& l : lines) {
        const qreal indent = l.bullet ? kBulletIndent : 0;
        heights << paragraph(nullptr, {}, inner - indent, l.runs, l.hang);
        h += heights.last() + 2;
    }
    h += kCardPad - 2;
    if (sideLabel)
        h = std::max(h, kCardPad * 2 + kHeadingPx * 1.6);
    if (!p)
        return h;

    const QRectF box(at, QSizeF(width, h));
    p->setPen(QPen(colour::line, 1));
    p->setBrush(QColor(255, 255, 255, 215));
    p->drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    // Heading: an accent bar and the section's name, above the lines or at their left.
    const qreal barH = sideLabel ? h - 2 * kCardPad - 8 : headingH - 8;
    p->setPen(Qt::NoPen);
    p->setBrush(accent);
    p->drawRoundedRect(QRectF(at.x() + kCardPad, at.y() + kCardPad + 4, 4, barH), 2, 2);
    p->setPen(accent.darker(115));
    p->setFont(art::font(int(kHeadingPx) - (sideLabel ? 1 : 0), QFont::Bold));
    const qreal labelH = kHeadingPx * 1.6;
    p->drawText(QRectF(at.x() + kCardPad + 10, at.y() + (sideLabel ? kCardPad - 3 : kCardPad),
                       sideLabel ? labelW - 10 : inner - 10, sideLabel ? labelH : headingH),
                Qt::AlignLeft | Qt::AlignVCenter, section.heading);
    const qreal left = at.x() + kCardPad + labelW;
    qreal y = at.y() + kCardPad + headingH + (sideLabel ? 0 : 2);
    for (int i = 0; i < lines.size(); ++i) {
        const CardLine& l = lines[i];
        const qreal indent = l.bullet ? kBulletIndent : 0;
        if (l.bullet) {
            p->setPen(Qt::NoPen);
            p->setBrush(accent);
            p->drawEllipse(QPointF(left + 4, y + kBodyPx * kLeading / 2), 2.6, 2.6);
        }
        paragraph(p, QPointF(left + indent, y), inner - indent, l.runs, l.hang);
        y += heights[i] + 2;
    }
    return h;
}

// A table section: first row the header, cells split at '|'.
qreal table(QPainter* p, QPointF at, qreal width, const Section& section) {
    QList<QStringList> rows;
    for (const QString& l : section.lines) {
        QStringList cells = l.split(QLatin1Char('|'));
        if (!cells.isEmpty() && cells.first().trimmed().isEmpty())
            cells.removeFirst();
        if (!cells.isEmpty() && cells.last().trimmed().isEmpty())
            cells.removeLast();
        for (QString& c : cells)
            c = c.trimmed();
        rows << cells;
    }
    if (rows.isEmpty())
        return 0;
    const int columns = int(rows.first().size());
    const qreal firstW = width * 0.32;
    const qreal otherW = (width - firstW) / std::max(1, columns - 1);
    const qreal pad = 6;
    qreal y = at.y();
    for (int r = 0; r < rows.size(); ++r) {
        const bool header = r == 0;
        qreal rowH = 0;
        for (int c = 0; c < columns; ++c) {
            const qreal w = (c == 0 ? firstW : otherW) - 2 * pad;
            rowH = std::max(rowH, paragraph(nullptr, {}, w, {{rows[r].value(c), header || c == 0}}));
        }
        rowH += 2 * 3;
        if (p) {
            const QRectF rowBox(at.x(), y, width, rowH);
            p->fillRect(rowBox, header ? QColor(0xF6, 0xC9, 0xCD)
                                       : (r % 2 ? QColor(255, 255, 255, 220) : colour::blush));
            qreal x = at.x();
            for (int c = 0; c < columns; ++c) {
                const qreal w = c == 0 ? firstW : otherW;
                const QString text = rows[r].value(c);
                const qreal textH = paragraph(nullptr, {}, w - 2 * pad, {{text, header || c == 0}});
                const QColor ink = header ? colour::roseDeep : colour::ink;
                if (c == 0) {
                    paragraph(p, QPointF(x + pad, y + (rowH - textH) / 2), w - 2 * pad, {{text, true, ink}});
                } else {
                    // Figures centred in their column.
                    const QFont f = art::font(kBodyPx, header ? QFont::Bold : QFont::Normal);
                    p->setFont(f);
                    p->setPen(ink);
                    p->drawText(QRectF(x, y, w, rowH), Qt::AlignCenter, text);
                }
                x += w;
            }
        }
        y += rowH;
    }
    if (p) {
        p->setPen(QPen(colour::line, 1));
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRectF(at.x() + 0.5, at.y() + 0.5, width - 1, y - at.y() - 1));
    }
    return y - at.y();
}

QString kindOf(const Sheet& s) {
    switch (s.layout) {
    case Layout::Menu:
        return QStringLiteral("一日食谱");
    case Layout::Therapy:
        return QStringLiteral("食疗药膳");
    case Layout::Table:
        return QStringLiteral("膳食宝塔");
    case Layout::Notes:
        return QStringLiteral("膳食指导");
    }
    return {};
}

} // namespace

QImage paintSheet(const Sheet& sheet, const QStringList& figureLines, int scale) {
    QImage image(kSheetSize * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintGround(p, sheet.title, kindOf(sheet));

    const qreal width = kSheetSize.width() - 2 * kMargin;
    qreal y = kBandHeight + 8;
    if (!sheet.subtitle.isEmpty()) {
        y += paragraph(&p, QPointF(kMargin, y), width, {{sheet.subtitle, false, colour::inkSoft}});
        y += 4;
    }
    if (!sheet.intro.isEmpty()) {
        const qreal h = paragraph(nullptr, {}, width - 20, {{sheet.intro}}) + 12;
        p.setPen(Qt::NoPen);
        p.setBrush(colour::blush);
        p.drawRoundedRect(QRectF(kMargin, y, width, h), 8, 8);
        p.setBrush(colour::peach);
        p.drawRoundedRect(QRectF(kMargin, y, 4, h), 2, 2);
        paragraph(&p, QPointF(kMargin + 12, y + 6), width - 20, {{sheet.intro}});
        y += h + kGap;
    }

    // The footer, from the bottom up: figures first, then the notes.
    QList<QList<Run>> footer;
    for (const QString& f : figureLines)
        footer.append({{f, true, colour::roseDeep}});
    for (const QString& f : sheet.footnotes)
        footer.append({{f, false, colour::inkSoft}});
    qreal footerH = 0;
    for (const auto& runs : footer)
        footerH += paragraph(nullptr, {}, width, runs);
    const qreal footerTop = kSheetSize.height() - kMargin + 4 - footerH;
    qreal fy = footerTop;
    for (const auto& runs : footer)
        fy += paragraph(&p, QPointF(kMargin, fy), width, runs);
    if (!footer.isEmpty()) {
        p.setPen(QPen(colour::line, 1));
        p.drawLine(QPointF(kMargin, footerTop - 4.5), QPointF(kMargin + width, footerTop - 4.5));
    }
    const qreal bottom = footer.isEmpty() ? kSheetSize.height() - kMargin : footerTop - kGap;

    // The sections: a table spans the width; cards go into two columns, split where the taller column
    // is shortest, keeping their order (left column first).
    qreal used = 0;
    if (sheet.layout == Layout::Table) {
        for (const Section& s : sheet.sections)
            used += table(&p, QPointF(kMargin, y + used), width, s) + kGap;
        used -= kGap;
    } else if (!sheet.sections.isEmpty()) {
        const int n = int(sheet.sections.size());
        const bool twoColumns = n > 1;
        const qreal colW = twoColumns ? (width - kGap) / 2 : width;
        QList<qreal> heights;
        for (int i = 0; i < n; ++i)
            heights << card(nullptr, {}, colW, sheet, sheet.sections[i], i);
        const auto columnHeight = [&](int from, int to) {
            qreal h = 0;
            for (int i = from; i < to; ++i)
                h += heights[i] + (i > from ? kGap : 0);
            return h;
        };
        int split = n;
        if (twoColumns) {
            qreal best = 1e9;
            for (int s = 1; s < n; ++s) {
                const qreal tallest = std::max(columnHeight(0, s), columnHeight(s, n));
                if (tallest < best) {
                    best = tallest;
                    split = s;
                }
            }
        }
        used = std::max(columnHeight(0, split), columnHeight(split, n));
        qreal cy = y;
        for (int i = 0; i < n; ++i) {
            if (i == split)
                cy = y;
            const qreal x = i < split ? kMargin : kMargin + colW + kGap;
            card(&p, QPointF(x, cy), colW, sheet, sheet.sections[i], i);
            cy += heights[i] + kGap;
        }
    }
    if (y + used > bottom)
        throw data::Error(QStringLiteral("%1：内容比图片高出 %2 像素，请精简文字。")
                              .arg(sheet.source)
                              .arg(qCeil(y + used - bottom)));
    return image;
}

} // namespace nc::sheets
