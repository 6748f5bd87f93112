#include "artwork.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleFactory>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace nc::ui::art {

namespace {

const QString kFamily = QStringLiteral("Noto Sans CJK SC");

QPixmap blank(QSize size) {
    return canvas(size);
}

void antialias(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

struct ToneColours {
    QColor top, bottom, edge, text;
};

ToneColours toneColours(Tone tone) {
    switch (tone) {
    case Tone::Rose:
        return {QColor(0xF2, 0xA9, 0xB1), colour::rose, QColor(0xC9, 0x6A, 0x77), Qt::white};
    case Tone::Sage:
        return {QColor(0xAE, 0xD3, 0xB6), colour::sage, QColor(0x68, 0x9E, 0x78), Qt::white};
    case Tone::Peach:
        return {QColor(0xF8, 0xCB, 0xAE), QColor(0xEE, 0xA2, 0x7D), QColor(0xD3, 0x85, 0x60), Qt::white};
    case Tone::Lavender:
        return {QColor(0xC9, 0xBB, 0xE2), colour::lavender, QColor(0x8A, 0x76, 0xB0), Qt::white};
    case Tone::Neutral:
        return {QColor(0xFF, 0xFC, 0xFA), QColor(0xF1, 0xE4, 0xE0), QColor(0xD2, 0xBC, 0xB6), colour::ink};
    }
    return {};
}

// The largest pixel size up to maxPx at which every line fits the box.
int fittingSize(const QStringList& lines, QSizeF box, int maxPx, QFont::Weight weight, qreal lineGap) {
    for (int px = maxPx; px > 8; --px) {
        const QFontMetricsF fm(font(px, weight));
        qreal widest = 0;
        for (const QString& l : lines)
            widest = std::max(widest, fm.horizontalAdvance(l));
        const qreal height = lines.size() * fm.height() + (lines.size() - 1) * lineGap * px;
        if (widest <= box.width() && height <= box.height())
            return px;
    }
    return 8;
}

// Lines of text centred in a box, each on its own baseline.
void drawLinesCentred(QPainter& p, const QStringList& lines, const QRectF& box, int px, QFont::Weight weight,
                      qreal lineGap) {
    const QFont f = font(px, weight);
    const QFontMetricsF fm(f);
    p.setFont(f);
    const qreal step = fm.height() + lineGap * px;
    const qreal total = lines.size() * fm.height() + (lines.size() - 1) * lineGap * px;
    qreal top = box.center().y() - total / 2;
    for (const QString& l : lines) {
        const qreal w = fm.horizontalAdvance(l);
        p.drawText(QPointF(box.center().x() - w / 2, top + fm.ascent()), l);
        top += step;
    }
}

// A soft shadow under a rounded plate: a few widening, fading outlines.
void softShadow(QPainter& p, const QRectF& plate, qreal radius, QColor colour, int steps = 4) {
    p.setPen(Qt::NoPen);
    for (int i = steps; i >= 1; --i) {
        const qreal grow = i * 0.9;
        p.setBrush(withAlpha(colour, 16 + 10 * (steps - i)));
        p.drawRoundedRect(plate.adjusted(-grow * 0.6, -grow * 0.2, grow * 0.6, grow), radius + grow,
                          radius + grow);
    }
}

QPainterPath leafPath(QPointF base, QPointF tip, qreal width) {
    const QPointF axis = tip - base;
    const QPointF normal(-axis.y(), axis.x());
    const qreal len = std::hypot(axis.x(), axis.y());
    const QPointF n = normal / len * width;
    QPainterPath path(base);
    path.cubicTo(base + axis * 0.25 + n, base + axis * 0.75 + n, tip);
    path.cubicTo(base + axis * 0.75 - n, base + axis * 0.25 - n, base);
    return path;
}

// The white line drawings at the left of button faces, drawn in a square box.
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
    if (glyph == Glyph::None)
        return;
    const qreal s = box.width();
    const QPointF c = box.center();
    QPen pen(colour, std::max(1.6, s / 13), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.save();
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Person: {
        p.drawEllipse(QPointF(c.x(), c.y() - s * 0.18), s * 0.16, s * 0.16);
        QPainterPath body;
        body.moveTo(c.x() - s * 0.32, c.y() + s * 0.36);
        body.cubicTo(c.x() - s * 0.30, c.y() + s * 0.02, c.x() + s * 0.30, c.y() + s * 0.02, c.x() + s * 0.32,
                     c.y() + s * 0.36);
        p.drawPath(body);
        break;
    }
    case Glyph::Bowl: {
        QPainterPath bowl;
        bowl.moveTo(c.x() - s * 0.38, c.y() + s * 0.02);
        bowl.lineTo(c.x() + s * 0.38, c.y() + s * 0.02);
        bowl.cubicTo(c.x() + s * 0.34, c.y() + s * 0.36, c.x() - s * 0.34, c.y() + s * 0.36, c.x() - s * 0.38,
                     c.y() + s * 0.02);
        p.drawPath(bowl);
        for (int i = -1; i <= 1; ++i) {
            QPainterPath steam;
            const qreal x = c.x() + i * s * 0.15;
            steam.moveTo(x, c.y() - s * 0.08);
            steam.cubicTo(x - s * 0.07, c.y() - s * 0.18, x + s * 0.07, c.y() - s * 0.26, x,
                          c.y() - s * 0.36);
            p.drawPath(steam);
        }
        break;
    }
    case Glyph::Leaf: {
        const QPointF base(c.x() - s * 0.30, c.y() + s * 0.32);
        const QPointF tip(c.x() + s * 0.32, c.y() - s * 0.32);
        p.drawPath(leafPath(base, tip, s * 0.26));
        p.drawLine(base, c + (tip - c) * 0.45);
        break;
    }
    case Glyph::Book: {
        QPainterPath book;
        book.moveTo(c.x(), c.y() - s * 0.22);
        book.cubicTo(c.x() - s * 0.14, c.y() - s * 0.32, c.x() - s * 0.30, c.y() - s * 0.30, c.x() - s * 0.40,
                     c.y() - s * 0.24);
        book.lineTo(c.x() - s * 0.40, c.y() + s * 0.28);
        book.cubicTo(c.x() - s * 0.30, c.y() + s * 0.22, c.x() - s * 0.14, c.y() + s * 0.22, c.x(),
                     c.y() + s * 0.32);
        book.cubicTo(c.x() + s * 0.14, c.y() + s * 0.22, c.x() + s * 0.30, c.y() + s * 0.22, c.x() + s * 0.40,
                     c.y() + s * 0.28);
        book.lineTo(c.x() + s * 0.40, c.y() - s * 0.24);
        book.cubicTo(c.x() + s * 0.30, c.y() - s * 0.30, c.x() + s * 0.14, c.y() - s * 0.32, c.x(),
                     c.y() - s * 0.22);
        book.lineTo(c.x(), c.y() + s * 0.32);
        p.drawPath(book);
        break;
    }
    case Glyph::Info: {
        p.drawEllipse(c, s * 0.38, s * 0.38);
        p.drawLine(QPointF(c.x(), c.y() - s * 0.02), QPointF(c.x(), c.y() + s * 0.20));
        p.setBrush(colour);
        p.drawEllipse(QPointF(c.x(), c.y() - s * 0.17), s * 0.03, s * 0.03);
        break;
    }
    case Glyph::Exit: {
        p.drawArc(QRectF(c.x() - s * 0.34, c.y() - s * 0.30, s * 0.68, s * 0.68), 120 * 16, 300 * 16);
        p.drawLine(QPointF(c.x(), c.y() - s * 0.40), QPointF(c.x(), c.y() + s * 0.02));
        break;
    }
    case Glyph::Save: {
        p.drawRoundedRect(QRectF(c.x() - s * 0.34, c.y() - s * 0.34, s * 0.68, s * 0.68), s * 0.08, s * 0.08);
        p.drawRect(QRectF(c.x() - s * 0.18, c.y() - s * 0.34, s * 0.36, s * 0.22));
        p.drawLine(QPointF(c.x() - s * 0.18, c.y() + s * 0.14), QPointF(c.x() + s * 0.18, c.y() + s * 0.14));
        break;
    }
    case Glyph::Delete: {
        p.drawLine(QPointF(c.x() - s * 0.34, c.y() - s * 0.24), QPointF(c.x() + s * 0.34, c.y() - s * 0.24));
        p.drawLine(QPointF(c.x() - s * 0.10, c.y() - s * 0.36), QPointF(c.x() + s * 0.10, c.y() - s * 0.36));
        QPainterPath bin;
        bin.moveTo(c.x() - s * 0.26, c.y() - s * 0.24);
        bin.lineTo(c.x() - s * 0.20, c.y() + s * 0.36);
        bin.lineTo(c.x() + s * 0.20, c.y() + s * 0.36);
        bin.lineTo(c.x() + s * 0.26, c.y() - s * 0.24);
        p.drawPath(bin);
        break;
    }
    case Glyph::Cancel: {
        p.drawLine(QPointF(c.x() - s * 0.26, c.y() - s * 0.26), QPointF(c.x() + s * 0.26, c.y() + s * 0.26));
        p.drawLine(QPointF(c.x() + s * 0.26, c.y() - s * 0.26), QPointF(c.x() - s * 0.26, c.y() + s * 0.26));
        break;
    }
    case Glyph::Ok: {
        QPainterPath tick;
        tick.moveTo(c.x() - s * 0.32, c.y() + s * 0.02);
        tick.lineTo(c.x() - s * 0.08, c.y() + s * 0.26);
        tick.lineTo(c.x() + s * 0.34, c.y() - s * 0.24);
        p.drawPath(tick);
        break;
    }
    case Glyph::None:
        break;
    }
    p.restore();
}

// The emblem: a mother's embrace around a child, with a fresh leaf, on a soft round ground.
void paintEmblem(QPainter& p, QPointF c, qreal r) {
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient ground(c, r);
    ground.setColorAt(0, Qt::white);
    ground.setColorAt(0.75, QColor(0xFD, 0xF1, 0xEC));
    ground.setColorAt(1, QColor(0xF9, 0xE0, 0xDA));
    p.setBrush(ground);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(withAlpha(colour::rose, 90), std::max(1.0, r / 60)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.93, r * 0.93);
    p.setPen(Qt::NoPen);

    auto at = [&](qreal x, qreal y) { return QPointF(c.x() + x * r, c.y() + y * r); };

    // The embrace: a crescent opening towards the child.
    QPainterPath outer;
    outer.addEllipse(at(-0.06, 0.12), r * 0.52, r * 0.50);
    QPainterPath inner;
    inner.addEllipse(at(0.08, 0.02), r * 0.40, r * 0.40);
    QPainterPath embrace = outer.subtracted(inner);
    QPainterPath lowerHalf;
    lowerHalf.addRect(QRectF(at(-0.7, -0.22), at(0.7, 0.75)));
    embrace = embrace.intersected(lowerHalf);
    QLinearGradient roseFill(at(-0.5, -0.2), at(0.4, 0.7));
    roseFill.setColorAt(0, QColor(0xEC, 0x9A, 0xA4));
    roseFill.setColorAt(1, colour::roseDeep);
    p.setBrush(roseFill);
    p.drawPath(embrace);
    // The mother's head above the embrace.
    p.drawEllipse(at(-0.22, -0.42), r * 0.15, r * 0.15);

    // The child, held inside.
    QLinearGradient peachFill(at(0, -0.2), at(0.2, 0.4));
    peachFill.setColorAt(0, QColor(0xF8, 0xC7, 0xA8));
    peachFill.setColorAt(1, QColor(0xEE, 0x9C, 0x76));
    p.setBrush(peachFill);
    p.drawEllipse(at(0.10, 0.04), r * 0.15, r * 0.15);
    p.drawEllipse(at(0.06, 0.30), r * 0.24, r * 0.11);

    // A leaf for nourishment.
    QLinearGradient leafFill(at(0.25, -0.15), at(0.55, -0.55));
    leafFill.setColorAt(0, colour::sageDeep);
    leafFill.setColorAt(1, QColor(0xA9, 0xD2, 0xB3));
    p.setBrush(leafFill);
    p.drawPath(leafPath(at(0.22, -0.18), at(0.56, -0.52), r * 0.11));
    p.setBrush(withAlpha(colour::sage, 200));
    p.drawPath(leafPath(at(0.22, -0.18), at(0.60, -0.16), r * 0.07));
    p.restore();
}

// Soft round light spots on a ground.
void bokeh(QPainter& p, QPointF c, qreal r, QColor colour, int alpha) {
    QRadialGradient g(c, r);
    g.setColorAt(0, withAlpha(colour, alpha));
    g.setColorAt(1, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

} // namespace

qreal screenPixelRatio() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap canvas(QSize size, const QColor& fill) {
    const qreal ratio = screenPixelRatio();
    QPixmap pm(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)));
    pm.setDevicePixelRatio(ratio);
    pm.fill(fill);
    return pm;
}

void drawEmblem(QPainter& p, QPointF centre, qreal radius) {
    paintEmblem(p, centre, radius);
}

QFont font(int pixelSize, QFont::Weight weight) {
    QFont f(kFamily);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void applyTheme(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setFont(font(13));
    QPalette pal = app.style()->standardPalette();
    pal.setColor(QPalette::Window, colour::paper);
    pal.setColor(QPalette::WindowText, colour::ink);
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::AlternateBase, colour::blush);
    pal.setColor(QPalette::Text, colour::ink);
    pal.setColor(QPalette::Button, colour::blush);
    pal.setColor(QPalette::ButtonText, colour::ink);
    pal.setColor(QPalette::Highlight, colour::rose);
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::ToolTipBase, colour::paper);
    pal.setColor(QPalette::ToolTipText, colour::ink);
    app.setPalette(pal);
}

QPixmap buttonFace(QSize size, const QString& caption, Tone tone, Glyph glyph) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    antialias(p);
    const ToneColours tc = toneColours(tone);
    // Room for the shadow below and at the sides.
    const QRectF plate = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(2.5, 1.5, -2.5, -4.5);
    const qreal radius = std::min(plate.height() * 0.30, 14.0);
    softShadow(p, plate, radius, QColor(0x8A, 0x4A, 0x55));

    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0, tc.top);
    fill.setColorAt(1, tc.bottom);
    p.setPen(QPen(tc.edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(plate, radius, radius);
    // A light edge along the top, as on glazed china.
    p.setPen(QPen(withAlpha(Qt::white, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(plate.adjusted(1, 1, -1, -1), radius - 1, radius - 1);

    const QStringList lines = caption.split(QLatin1Char('\n'));
    QRectF textBox = plate.adjusted(8, 3, -8, -3);
    if (glyph != Glyph::None) {
        const qreal g = std::min(plate.height() * 0.56, 30.0);
        const qreal gap = plate.height() > 60 ? 14 : 9;
        // Glyph and text form one centred group.
        const int px0 = fittingSize(lines, QSizeF(textBox.width() - g - gap, textBox.height()),
                                    std::min(20, int(plate.height() * 0.52)), QFont::Bold, 0.15);
        const QFontMetricsF fm(font(px0, QFont::Bold));
        qreal textW = 0;
        for (const QString& l : lines)
            textW = std::max(textW, fm.horizontalAdvance(l));
        const qreal groupW = g + gap + textW;
        const qreal left = plate.center().x() - groupW / 2;
        drawGlyph(p, glyph, QRectF(left, plate.center().y() - g / 2, g, g), withAlpha(tc.text, 235));
        textBox = QRectF(left + g + gap, textBox.top(), textW, textBox.height());
        p.setPen(tc.text);
        drawLinesCentred(p, lines, textBox, px0, QFont::Bold, 0.15);
        return pm;
    }
    const int px =
        fittingSize(lines, textBox.size(), std::min(20, int(plate.height() * 0.52)), QFont::Bold, 0.15);
    p.setPen(tc.text);
    drawLinesCentred(p, lines, textBox, px, QFont::Bold, 0.15);
    return pm;
}

QPixmap windowBackground(QSize size, const Backdrop& backdrop) {
    QPixmap pm = canvas(size, colour::paper);
    QPainter p(&pm);
    antialias(p);
    const QRectF all(QPointF(0, 0), QSizeF(size));
    bokeh(p, QPointF(size.width() * 0.92, size.height() * 0.85), size.height() * 0.45, colour::blush, 255);
    bokeh(p, QPointF(size.width() * 0.05, size.height() * 0.95), size.height() * 0.30, colour::sage, 28);

    if (backdrop.bandHeight > 0) {
        const QRectF band(0, 0, size.width(), backdrop.bandHeight);
        QLinearGradient g(band.topLeft(), band.topRight());
        g.setColorAt(0, QColor(0xF6, 0xC9, 0xCD));
        g.setColorAt(1, QColor(0xFB, 0xE3, 0xDA));
        p.fillRect(band, g);
        p.setPen(QPen(withAlpha(colour::rose, 110), 1));
        p.drawLine(band.bottomLeft() + QPointF(0, -0.5), band.bottomRight() + QPointF(0, -0.5));
        // A small leaf mark, then the title.
        const qreal h = backdrop.bandHeight;
        p.setPen(Qt::NoPen);
        p.setBrush(colour::sage);
        p.drawPath(leafPath(QPointF(16, h * 0.68), QPointF(30, h * 0.30), h * 0.11));
        p.setBrush(colour::rose);
        p.drawEllipse(QPointF(16, h * 0.40), h * 0.09, h * 0.09);
        p.setPen(colour::roseDeep);
        p.setFont(font(std::clamp(int(h * 0.45), 12, 20), QFont::Bold));
        p.drawText(QRectF(40, 0, size.width() - 50, h), Qt::AlignLeft | Qt::AlignVCenter, backdrop.title);
    }

    for (const Label& l : backdrop.labels) {
        p.setPen(colour::ink);
        p.setFont(font(l.pixelSize, l.bold ? QFont::Bold : QFont::Normal));
        p.drawText(l.rect, int(l.align), l.text);
    }

    // A thin frame: borderless windows need a visible edge.
    p.setPen(QPen(colour::rose, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(withAlpha(Qt::white, 200), 1));
    p.drawRect(all.adjusted(1.5, 1.5, -1.5, -1.5));
    return pm;
}

QPixmap mainBackground(QSize size, const QString& title, const QString& subtitle) {
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    antialias(p);
    const qreal w = size.width(), h = size.height();
    QLinearGradient ground(0, 0, w * 0.3, h);
    ground.setColorAt(0, colour::paper);
    ground.setColorAt(1, colour::blush);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), ground);

    bokeh(p, QPointF(w * 0.86, h * 0.12), h * 0.42, colour::peach, 70);
    bokeh(p, QPointF(w * 0.02, h * 0.98), h * 0.38, colour::sage, 45);
    bokeh(p, QPointF(w * 0.55, h * 1.05), h * 0.30, colour::rose, 35);

    // A wide, calm wave across the bottom.
    QPainterPath wave;
    wave.moveTo(0, h * 0.86);
    wave.cubicTo(w * 0.30, h * 0.78, w * 0.55, h * 0.96, w, h * 0.82);
    wave.lineTo(w, h);
    wave.lineTo(0, h);
    wave.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 110));
    p.drawPath(wave);

    // Title block, left aligned with the first column of buttons.
    const qreal left = 73;
    p.setPen(colour::roseDeep);
    p.setFont(font(34, QFont::Bold));
    p.drawText(QRectF(left, 34, w - left - 60, 52), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(colour::inkSoft);
    p.setFont(font(16));
    p.drawText(QRectF(left + 2, 88, w - left - 60, 28), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    // A short rule with three dots under the title.
    p.setPen(QPen(withAlpha(colour::rose, 150), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(left + 2, 129), QPointF(left + 120, 129));
    p.setPen(Qt::NoPen);
    const QColor dots[] = {colour::rose, colour::peach, colour::sage};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(QPointF(left + 134 + i * 12, 129), 3, 3);
    }

    paintEmblem(p, QPointF(w * 0.815, h * 0.50), 118);

    p.setPen(colour::inkSoft);
    p.setFont(font(13));
    p.drawText(QRectF(left, h - 46, 500, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("科学膳食 · 合理营养 · 健康孕育"));
    return pm;
}

QPixmap splashPicture(QSize size, const QString& title, const QString& subtitle) {
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    antialias(p);
    // Compose inside the part that stays visible when the picture is cut at the right and bottom.
    const qreal w = size.width() - 6, h = size.height() - 2;
    QLinearGradient ground(0, 0, w, h);
    ground.setColorAt(0, QColor(0xFF, 0xF6, 0xF1));
    ground.setColorAt(1, QColor(0xF9, 0xDE, 0xD8));
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), ground);
    bokeh(p, QPointF(w * 0.95, h * 0.05), h * 0.55, colour::peach, 80);
    bokeh(p, QPointF(w * 0.02, h * 0.95), h * 0.50, colour::sage, 55);

    paintEmblem(p, QPointF(w / 2, 92), 60);

    p.setPen(colour::roseDeep);
    const int titlePx = fittingSize({title}, QSizeF(w - 40, 44), 30, QFont::Bold, 0);
    drawLinesCentred(p, {title}, QRectF(0, 162, w, 44), titlePx, QFont::Bold, 0);
    p.setPen(colour::ink);
    drawLinesCentred(p, {subtitle}, QRectF(0, 206, w, 26), 15, QFont::Normal, 0);

    p.setPen(QPen(withAlpha(colour::rose, 140), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w / 2 - 60, 246), QPointF(w / 2 + 60, 246));
    p.setPen(colour::inkSoft);
    drawLinesCentred(p, {QStringLiteral("正在启动，请稍候……")}, QRectF(0, 262, w, 22), 12, QFont::Normal, 0);

    // The edge of the visible area.
    p.setPen(QPen(colour::rose, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return pm;
}

QPixmap aboutPicture(QSize size, const QString& title, const QString& sentence, const QString& credit) {
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    antialias(p);
    const qreal w = size.width(), h = size.height();
    QLinearGradient ground(0, 0, w * 0.4, h);
    ground.setColorAt(0, colour::paper);
    ground.setColorAt(1, colour::blush);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), ground);
    bokeh(p, QPointF(w * 0.95, h * 0.05), h * 0.45, colour::peach, 70);
    bokeh(p, QPointF(w * 0.02, h * 0.75), h * 0.35, colour::sage, 40);

    paintEmblem(p, QPointF(54, 56), 38);
    p.setPen(colour::roseDeep);
    const int titlePx = fittingSize({title}, QSizeF(w - 112, 30), 21, QFont::Bold, 0);
    p.setFont(font(titlePx, QFont::Bold));
    p.drawText(QRectF(102, 28, w - 112, 30), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QPen(withAlpha(colour::rose, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(103, 64), QPointF(190, 64));
    p.setPen(Qt::NoPen);
    const QColor dots[] = {colour::rose, colour::peach, colour::sage};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(QPointF(200 + i * 10, 64), 2.5, 2.5);
    }

    p.setPen(colour::ink);
    p.setFont(font(13));
    p.drawText(QRectF(22, 106, w - 44, 48), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, sentence);
    p.setPen(colour::inkSoft);
    p.setFont(font(12));
    p.drawText(QRectF(22, 158, w - 44, 22), Qt::AlignRight | Qt::AlignVCenter, credit);

    // The quiet strip for the contact lines and the button.
    p.setPen(QPen(withAlpha(colour::rose, 90), 1));
    p.drawLine(QPointF(14, 196.5), QPointF(w - 14, 196.5));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 120));
    p.drawRect(QRectF(0, 197, w, h - 197));
    return pm;
}

QPixmap dropDownArrow(QSize size) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    antialias(p);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0xF6, 0xC0, 0xC6));
    g.setColorAt(1, colour::rose);
    p.setPen(QPen(QColor(0xC9, 0x6A, 0x77), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);
    const QPointF c = r.center();
    const qreal s = std::min(r.width(), r.height());
    p.setPen(QPen(Qt::white, std::max(1.5, s / 9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath chevron;
    chevron.moveTo(c.x() - s * 0.25, c.y() - s * 0.10);
    chevron.lineTo(c.x(), c.y() + s * 0.15);
    chevron.lineTo(c.x() + s * 0.25, c.y() - s * 0.10);
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
    return pm;
}

QPixmap closeMark(QSize size) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    antialias(p);
    const qreal d = std::min(size.width(), size.height()) - 2;
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    QRadialGradient g(c - QPointF(d * 0.15, d * 0.2), d * 0.7);
    g.setColorAt(0, QColor(0xF6, 0xB6, 0xBE));
    g.setColorAt(1, colour::roseDeep);
    p.setPen(QPen(withAlpha(Qt::white, 220), std::max(1.0, d / 16)));
    p.setBrush(g);
    p.drawEllipse(c, d / 2, d / 2);
    p.setPen(QPen(Qt::white, std::max(1.6, d / 9), Qt::SolidLine, Qt::RoundCap));
    const qreal a = d * 0.18;
    p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
    p.drawLine(c + QPointF(a, -a), c + QPointF(-a, a));
    return pm;
}

QPixmap magnifier(QSize size) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    antialias(p);
    const qreal s = std::min(size.width(), size.height());
    const QPointF o((size.width() - s) / 2, (size.height() - s) / 2);
    const QPointF lens = o + QPointF(s * 0.42, s * 0.42);
    const qreal r = s * 0.28;
    p.setPen(QPen(colour::roseDeep, std::max(2.0, s * 0.16), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + QPointF(r * 0.75, r * 0.75), o + QPointF(s * 0.88, s * 0.88));
    QRadialGradient glass(lens - QPointF(r * 0.3, r * 0.3), r * 1.2);
    glass.setColorAt(0, Qt::white);
    glass.setColorAt(1, QColor(0xFB, 0xE3, 0xE0));
    p.setPen(QPen(colour::rose, std::max(1.5, s * 0.09)));
    p.setBrush(glass);
    p.drawEllipse(lens, r, r);
    return pm;
}

QPixmap fieldFrame(QSize size) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    antialias(p);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min(r.height() * 0.3, 8.0);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, colour::blush);
    p.setPen(QPen(withAlpha(colour::rose, 150), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    return pm;
}

QPixmap textPicture(QSize size, const QString& text, int pixelSize, Qt::Alignment align) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    antialias(p);
    const int px = fittingSize({text}, QSizeF(size) - QSizeF(2, 0), pixelSize, QFont::Normal, 0);
    p.setFont(font(px));
    p.setPen(colour::ink);
    p.drawText(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 0, -1, 0), int(align), text);
    return pm;
}

} // namespace nc::ui::art
