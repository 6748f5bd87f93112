#include "chart_pictures.h"

#include "data/errors.h"
#include "data/query.h"
#include "report_document.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QValueAxis>
#include <cmath>

namespace nc::report {

namespace {

// Charts are laid out at twice the picture size and drawn scaled down: at the picture size itself
// Qt Charts squeezes the axes and elides their labels. Sizes below are in picture pixels.
constexpr int kLayoutScale = 2;

QFont pixelFont(int px, bool bold = false) {
    QFont f(reportFontFamily());
    f.setPixelSize(px * kLayoutScale);
    f.setBold(bold);
    return f;
}

// A chart laid out at its picture size with no margins, white all over.
void prepare(QChart& chart, const QString& title, QSize size) {
    chart.setTitle(title);
    chart.setTitleFont(pixelFont(12, true));
    chart.setTitleBrush(Qt::black);
    chart.setBackgroundBrush(Qt::white);
    chart.setBackgroundPen(Qt::NoPen);
    chart.setBackgroundRoundness(0);
    chart.setPlotAreaBackgroundVisible(false);
    chart.setMargins(QMargins(5, 0, 5, 2) * kLayoutScale);
    chart.layout()->setContentsMargins(0, 0, 0, 0);
    chart.legend()->hide();
    chart.setAnimationOptions(QChart::NoAnimation);
    chart.resize(QSizeF(size)); // any other size: the real one is set once the chart is complete
}

// Renders the chart on white and writes it as a BMP, replacing an earlier file.
QString save(QChart* chart, const ChartPicture& picture) {
    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns the chart from here on
    scene.setSceneRect(QRectF(QPointF(0, 0), QSizeF(picture.size) * kLayoutScale));
    // The chart lays itself out from posted events once it has its size; without them it paints
    // nothing, or labels measured for another size.
    QApplication::processEvents();
    chart->setGeometry(scene.sceneRect());
    QApplication::processEvents();

    QImage image = whiteChartPicture(picture);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        scene.render(&p, QRectF(QPointF(0, 0), QSizeF(image.size())), scene.sceneRect());
    }
    return writeChartBmp(image, picture);
}

} // namespace

QString saveBmiChart(const QList<double>& values, const QString& classWord, const ChartPicture& picture) {
    auto* chart = new QChart;
    prepare(*chart, QStringLiteral("体质指数"), picture.size);

    auto* set = new QBarSet(QStringLiteral("BMI"));
    QStringList categories;
    double highest = 0;
    for (int i = 0; i < values.size(); ++i) {
        set->append(values.at(i));
        highest = qMax(highest, values.at(i));
        categories << (values.size() == 1 ? QStringLiteral("BMI") : QString::number(i + 1));
    }
    // A red bar shaded from its edges to its middle: a hint of depth that costs nothing.
    QLinearGradient shade(0, 0, 1, 0);
    shade.setCoordinateMode(QGradient::ObjectMode);
    shade.setColorAt(0, QColor(0xB0, 0x10, 0x10));
    shade.setColorAt(0.45, QColor(0xF0, 0x40, 0x40));
    shade.setColorAt(1, QColor(0xA0, 0x08, 0x08));
    set->setBrush(shade);
    set->setPen(QPen(QColor(0x80, 0x00, 0x00), kLayoutScale));
    set->setLabelColor(Qt::black);
    set->setLabelFont(pixelFont(11, true));

    auto* series = new QBarSeries;
    series->append(set);
    series->setBarWidth(0.42);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    QString mark = classWord;
    mark.replace(QLatin1Char('@'), QStringLiteral("＠")); // "@value" and the like are placeholders
    series->setLabelsFormat(mark);
    chart->addSeries(series);

    auto* axisX = new QBarCategoryAxis;
    axisX->append(categories);
    axisX->setLabelsFont(pixelFont(10));
    axisX->setGridLineVisible(false);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);

    // The axis runs to 35; a higher value lifts it to the next step of 5 so the bar and its mark show.
    auto* axisY = new QValueAxis;
    const int top = highest > 35 ? int(std::ceil(highest / 5.0)) * 5 : 35;
    axisY->setRange(0, top);
    axisY->setTickCount(top / 5 + 1);
    axisY->setLabelFormat(QStringLiteral("%d"));
    axisY->setLabelsFont(pixelFont(9));
    axisY->setGridLinePen(QPen(QColor(0xDD, 0xDD, 0xDD), kLayoutScale));
    axisY->setLinePen(QPen(QColor(0x88, 0x88, 0x88), kLayoutScale));
    axisX->setLinePen(QPen(QColor(0x88, 0x88, 0x88), kLayoutScale));
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);

    return save(chart, picture);
}

QString saveBmiChart(const data::Query& query, const QString& classWord, const ChartPicture& picture) {
    const int column = query.fieldIndex(QStringLiteral("y"));
    if (!query.isOpen() || column < 0)
        throw data::Error(QStringLiteral("体质指数图表需要一个打开的、含有 y 列的查询。"));
    QList<double> values;
    for (const QList<data::Value>& row : query.rows())
        values << row.at(column).toReal();
    return saveBmiChart(values, classWord, picture);
}

} // namespace nc::report
