#include "energy_chart.h"

#include "data/errors.h"
#include "data/places.h"
#include "data/query.h"
#include "report_document.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace nc::report {

QString writeChartBmp(const QImage& image, const ChartPicture& picture) {
    const QString path = QDir::cleanPath(QDir(data::writableFolder()).absoluteFilePath(picture.file));
    // The picture is written under a temporary name and takes the place of the old one only when it
    // is complete, so a failure leaves the picture before (or none), never half of one.
    QSaveFile file(path);
    const auto refuse = [&](const QString& why) {
        return data::Error(
            QStringLiteral("无法保存图表图片“%1”：%2请确认数据文件夹可以写入、磁盘还有空间，再试一次。")
                .arg(QDir::toNativeSeparators(path), why));
    };
    if (!file.open(QIODevice::WriteOnly))
        throw refuse(QStringLiteral("无法在文件夹“%1”中建立文件（%2）。")
                         .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), file.errorString()));
    // A failed write inside the image writer leaves the file's own error text empty ("Unknown error").
    if (!image.save(&file, "BMP")) {
        const QString reason =
            file.error() == QFileDevice::NoError ? QStringLiteral("写入失败") : file.errorString();
        file.cancelWriting();
        throw refuse(QStringLiteral("图片没有写完（%1）。").arg(reason));
    }
    if (!file.commit())
        throw refuse(QStringLiteral("图片写完后未能保存（%1）。").arg(file.errorString()));
    return path;
}

QImage whiteChartPicture(const ChartPicture& picture) {
    const qreal ratio = qMax<qreal>(1, picture.pixelRatio);
    QImage image(QSize(qRound(picture.size.width() * ratio), qRound(picture.size.height() * ratio)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

namespace {

const QString kEnergyTitle = QStringLiteral("三大热能营养素实际摄入占总热比例");

QFont energyFont(int px, bool bold = false) {
    QFont f(reportFontFamily());
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

} // namespace

QList<double> energySharePercents(const QList<double>& values) {
    double total = 0;
    for (double v : values)
        total += qMax(0.0, v);
    QList<double> out;
    for (int i = 0; total > 0 && i < values.size(); ++i)
        out.append(qMax(0.0, values.at(i)) / total * 100);
    return out;
}

QString energySharePercentText(double percent) {
    return QString::number(percent, 'f', 1);
}

EnergyChartLayout energyChartLayout(const QList<EnergyShare>& shares, QSize size) {
    static const QList<QColor> colours{QColor(0xD7, 0x26, 0x26), QColor(0xF2, 0x9E, 0x1F),
                                       QColor(0x3A, 0x8F, 0xB7), QColor(0x6A, 0xAA, 0x3A),
                                       QColor(0x8E, 0x5E, 0xA8)};
    EnergyChartLayout out;
    const QFontMetricsF titleMetrics(energyFont(11, true));
    const QFontMetricsF textMetrics(energyFont(10));
    const qreal w = size.width();
    const qreal h = size.height();
    out.title = QRectF(0, 2, w, titleMetrics.height());

    QList<double> values;
    for (const EnergyShare& s : shares)
        values.append(s.value);
    const QList<double> percents = energySharePercents(values);

    // The legend: one row per share, as wide as its longest figure.
    qreal legendWidth = 0;
    for (int i = 0; i < percents.size(); ++i) {
        EnergyChartLayout::Row row;
        row.percent = percents.at(i);
        row.label = QStringLiteral("%1 %2%").arg(shares.at(i).label, energySharePercentText(row.percent));
        row.colour = colours.at(i % colours.size());
        legendWidth = qMax(legendWidth, textMetrics.horizontalAdvance(row.label));
        out.legend.append(row);
    }
    const qreal swatch = 8;
    const qreal gap = 4;
    const qreal rowHeight = textMetrics.height() + 3;
    if (!out.legend.isEmpty())
        legendWidth += swatch + gap;

    // The pie fills what the title and the legend leave, at the left; the legend is centred beside it.
    const qreal top = out.title.bottom() + 4;
    const qreal margin = 6;
    const qreal room = w - 2 * margin - (out.legend.isEmpty() ? 0 : legendWidth + 10);
    const qreal diameter = qMax<qreal>(10, qMin(h - top - margin, room));
    const qreal pieLeft = out.legend.isEmpty() ? (w - diameter) / 2 : margin + (room - diameter) / 2;
    out.pie = QRectF(pieLeft, top + (h - top - margin - diameter) / 2, diameter, diameter);

    const qreal legendLeft = w - margin - legendWidth;
    qreal y = out.pie.center().y() - rowHeight * out.legend.size() / 2;
    for (EnergyChartLayout::Row& row : out.legend) {
        row.swatch = QRectF(legendLeft, y + (rowHeight - swatch) / 2, swatch, swatch);
        row.text = QRectF(legendLeft + swatch + gap, y, legendWidth - swatch - gap, rowHeight);
        y += rowHeight;
    }
    if (out.legend.isEmpty()) {
        out.messageText = QStringLiteral("无供能数据");
        const qreal mw = textMetrics.horizontalAdvance(out.messageText);
        out.message =
            QRectF(out.pie.center().x() - mw / 2, out.pie.center().y() - rowHeight / 2, mw, rowHeight);
    }
    return out;
}

QString saveEnergyChart(const QList<EnergyShare>& shares, const ChartPicture& picture) {
    const EnergyChartLayout layout = energyChartLayout(shares, picture.size);
    const qreal ratio = qMax<qreal>(1, picture.pixelRatio);
    QImage image = whiteChartPicture(picture);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(ratio, ratio);
        p.setPen(Qt::black);
        p.setFont(energyFont(11, true));
        p.drawText(layout.title, Qt::AlignCenter, kEnergyTitle);
        p.setFont(energyFont(10));
        if (layout.legend.isEmpty()) {
            p.setPen(QPen(QColor(0xAA, 0xAA, 0xAA), 1.5));
            p.setBrush(QColor(0xF2, 0xF2, 0xF2));
            p.drawEllipse(layout.pie);
            p.setPen(QColor(0x55, 0x55, 0x55));
            p.drawText(layout.message, Qt::AlignCenter, layout.messageText);
        } else {
            // Slices clockwise from the top, in the order of the shares; a 0 % slice draws nothing.
            double done = 0;
            p.setPen(QPen(Qt::white, 1));
            for (const EnergyChartLayout::Row& row : layout.legend) {
                const int from = 90 * 16 - qRound(done / 100 * 360 * 16);
                done += row.percent;
                const int to = 90 * 16 - qRound(done / 100 * 360 * 16);
                if (from != to) {
                    p.setBrush(row.colour);
                    p.drawPie(layout.pie, from, to - from);
                }
            }
            for (const EnergyChartLayout::Row& row : layout.legend) {
                p.setPen(Qt::NoPen);
                p.setBrush(row.colour);
                p.drawRect(row.swatch);
                p.setPen(Qt::black);
                p.drawText(row.text, Qt::AlignLeft | Qt::AlignVCenter, row.label);
            }
        }
    }
    return writeChartBmp(image, picture);
}

QString saveEnergyChart(const data::Query& query, const ChartPicture& picture) {
    const int valueColumn = query.fieldIndex(QStringLiteral("value1"));
    if (!query.isOpen() || valueColumn < 0)
        throw data::Error(QStringLiteral("热能比例图表需要一个打开的、含有 value1 列的查询。"));
    const int labelColumn = query.fieldIndex(QStringLiteral("mc"));
    static const QStringList fallback{QStringLiteral("蛋白质"), QStringLiteral("脂肪"),
                                      QStringLiteral("碳水化合物")};
    QList<EnergyShare> shares;
    for (int r = 0; r < query.rows().size(); ++r) {
        const QList<data::Value>& row = query.rows().at(r);
        QString label = labelColumn >= 0 ? row.at(labelColumn).toText() : QString();
        if (label.isEmpty())
            label = fallback.value(r);
        shares.append({label, row.at(valueColumn).toReal()});
    }
    return saveEnergyChart(shares, picture);
}

} // namespace nc::report
