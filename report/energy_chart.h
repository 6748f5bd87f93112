#pragma once
// The energy split pie of the analysis report, drawn directly with QPainter and saved as a bitmap
// beside the layouts, and what every chart picture shares: where it is written and at what size.
// The layouts show the pictures by file name, so each run replaces the earlier file.

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

namespace nc::data {
class Query;
}

namespace nc::report {

inline const QString kBmiChartFile = QStringLiteral("lsbmp.bmp");
inline constexpr QSize kBmiChartSize{209, 169};
inline const QString kEnergyChartFile = QStringLiteral("lsbmp1.bmp");
inline constexpr QSize kEnergyChartSize{257, 153};

// Where and how large a picture is written. A relative file is taken from the folder the
// program writes to (data::writableFolder()), where the report reads its pictures.
// pixelRatio > 1 writes that many more pixels for the same layout size, for sharper print.
struct ChartPicture {
    QString file;
    QSize size;
    qreal pixelRatio = 1;
};

// A white picture of the chart's size times its pixel ratio, ready for antialiased painting.
QImage whiteChartPicture(const ChartPicture& picture);
// Writes a picture as a BMP, replacing an earlier file. Returns the full path; throws
// nc::data::Error when the file cannot be written.
QString writeChartBmp(const QImage& image, const ChartPicture& picture);

struct EnergyShare {
    QString label;
    double value;
};

// Each share as a percent of the sum of the shares, a share below 0 counting as 0: the sizes of the
// pie's slices. Empty when no share is above 0 (the pie then says "无供能数据").
QList<double> energySharePercents(const QList<double>& values);
// A percent as the pie's legend prints it, one decimal: "14.5".
QString energySharePercentText(double percent);

// Where the energy picture draws its parts, in picture pixels. The figures stand in a legend beside
// the pie, one row per share ("脂肪 0.0%"), so no two labels ever share a place, however small or
// empty a slice. When no share is above 0 the pie is an empty ring with `message` ("无供能数据")
// inside it and there is no legend.
struct EnergyChartLayout {
    struct Row {
        QRectF swatch;
        QRectF text;
        QString label; // "蛋白质 14.5%"
        QColor colour;
        double percent = 0;
    };
    QRectF title;
    QRectF pie;
    QList<Row> legend;
    QRectF message;
    QString messageText;
};
EnergyChartLayout energyChartLayout(const QList<EnergyShare>& shares, QSize size);

// "三大热能营养素实际摄入占总热比例": one slice per share in the given order, the figures in a legend
// (energyChartLayout). Returns the full path written.
QString saveEnergyChart(const QList<EnergyShare>& shares,
                        const ChartPicture& picture = {kEnergyChartFile, kEnergyChartSize});
// The same from the rows of an open query on sdrn: slice values from "value1", labels from "mc"
// (protein, fat, carbohydrate by row when the query has no such column).
QString saveEnergyChart(const data::Query& query,
                        const ChartPicture& picture = {kEnergyChartFile, kEnergyChartSize});

} // namespace nc::report
