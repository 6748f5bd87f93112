// The chart pictures the reports show: written where the layouts look for them, at their size, with
// something drawn, and replacing the picture of an earlier run.

#include "data/errors.h"
#include "data/query.h"
#include "report/chart_pictures.h"
#include "report/report_document.h"
#include "support/fixture_db.h"
#include "support/program_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using nc::report::ChartPicture;

namespace {

struct Ink {
    int dark = 0; // pixels that are not near-white
    int red = 0;  // strongly red pixels
};

Ink ink(const QImage& image) {
    Ink n;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 235 || c.green() < 235 || c.blue() < 235)
                ++n.dark;
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                ++n.red;
        }
    return n;
}

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

} // namespace

class TestChartPictures : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;
    std::optional<nc::test::ProgramFolder> current_; // folder_, as the current directory

    static QString write(const QString& chart, double value) {
        if (chart == QLatin1String("bmi"))
            return nc::report::saveBmiChart({value}, QStringLiteral("正常"));
        return nc::report::saveEnergyChart({{QStringLiteral("蛋白质"), value},
                                            {QStringLiteral("脂肪"), 30},
                                            {QStringLiteral("碳水化合物"), 100 - 30 - value}});
    }

private Q_SLOTS:
    void init() {
        current_.emplace(folder_.path(), nc::test::ProgramFolder::Layouts::None);
        QCOMPARE(QDir::currentPath(), QDir(folder_.path()).canonicalPath());
    }
    void cleanup() { current_.reset(); }

    // clang-format off
    void writesPictureAtItsSize_data() {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("minimumRed"); // the BMI bar and the protein slice are red
        QTest::newRow("BMI bar chart") << "bmi" << "lsbmp.bmp" << QSize(209, 169) << 1500;
        QTest::newRow("energy pie chart") << "energy" << "lsbmp1.bmp" << QSize(257, 153) << 200;
    }
    // clang-format on
    void writesPictureAtItsSize() {
        QFETCH(QString, chart);
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(int, minimumRed);
        QFile::remove(file);
        const QString path = write(chart, 23.5);
        QCOMPARE(path, QDir(folder_.path()).filePath(file));
        QImage image;
        QVERIFY(image.load(path, "BMP"));
        QCOMPARE(image.size(), size);
        QCOMPARE(image.pixelColor(0, size.height() - 1), QColor(Qt::white)); // white background
        const Ink n = ink(image);
        QVERIFY2(n.dark > image.width() * image.height() / 20, qPrintable(QString::number(n.dark)));
        QVERIFY2(n.red >= minimumRed, qPrintable(QString::number(n.red)));
    }

    // A second run replaces the picture, and so does a run over a file that is not a picture at all.
    // clang-format off
    void secondRunReplacesPicture_data() {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("file");
        QTest::newRow("BMI bar chart") << "bmi" << "lsbmp.bmp";
        QTest::newRow("energy pie chart") << "energy" << "lsbmp1.bmp";
    }
    // clang-format on
    void secondRunReplacesPicture() {
        QFETCH(QString, chart);
        QFETCH(QString, file);
        {
            QFile junk(file);
            QVERIFY(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
            junk.write("an earlier file");
        }
        const QString path = write(chart, 12);
        const QByteArray first = digest(path);
        QVERIFY(QImage(path).width() > 0);
        write(chart, 28);
        const QByteArray second = digest(path);
        QVERIFY(!second.isEmpty());
        QVERIFY(first != second);
        QVERIFY(!QImage(path).isNull());
        QCOMPARE(QDir(folder_.path()).entryList({QStringLiteral("*.bmp*")}, QDir::Files).count(file), 1);
    }

    // A picture that cannot be written is refused with a sentence naming it and saying what to do,
    // never the file layer's bare "Unknown error"; the report run stops there.
    void pictureThatCannotBeWrittenIsRefusedClearly_data() { secondRunReplacesPicture_data(); }
    void pictureThatCannotBeWrittenIsRefusedClearly() {
        QFETCH(QString, chart);
        QFETCH(QString, file);
        QFile::remove(QDir(folder_.path()).filePath(file));
        QVERIFY(QDir(folder_.path()).mkdir(file)); // a folder where the picture should go
        try {
            write(chart, 12);
            QFAIL("the picture was reported written");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(file) && e.text().contains(QStringLiteral("再试一次")),
                     qPrintable(e.text()));
            QVERIFY2(!e.text().contains(QLatin1String("Unknown error")), qPrintable(e.text()));
        }
        QVERIFY(QFileInfo(QDir(folder_.path()).filePath(file)).isDir());
        QVERIFY(QDir(folder_.path()).rmdir(file));
    }

    // The bars of a BMI above 35 still show: the axis grows rather than cutting the bar off.
    void bmiAboveAxisStillShowsItsBar() {
        const QString path = nc::report::saveBmiChart({38.6}, QStringLiteral("肥胖"));
        const QImage image(path);
        // Red reaches well into the upper half of the picture.
        int topRed = image.height();
        for (int y = 0; y < image.height() && topRed == image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 90 && c.blue() < 90) {
                    topRed = y;
                    break;
                }
            }
        QVERIFY2(topRed < image.height() / 3, qPrintable(QString::number(topRed)));
    }

    void fromQueries() {
        nc::test::FixtureDb db;
        db.exec(QStringLiteral("update lstzpj set y=21.48"));
        db.exec(QStringLiteral("update sdrn set value1=14.5 where id=1"));
        db.exec(QStringLiteral("update sdrn set value1=28.3 where id=2"));
        db.exec(QStringLiteral("update sdrn set value1=57.2 where id=3"));
        nc::data::Query pic;
        pic.setSql(QStringLiteral("select y from lstzpj;"));
        pic.open();
        QCOMPARE(QImage(nc::report::saveBmiChart(pic, QStringLiteral("正常"))).size(),
                 nc::report::kBmiChartSize);
        nc::data::Query split;
        split.setSql(QStringLiteral("select * from sdrn"));
        split.open();
        const QImage pie(nc::report::saveEnergyChart(split));
        QCOMPARE(pie.size(), nc::report::kEnergyChartSize);
        QVERIFY(ink(pie).red > 200);

        nc::data::Query wrong;
        wrong.setSql(QStringLiteral("select csdate from lstzpj"));
        wrong.open();
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, nc::report::saveBmiChart(wrong, QStringLiteral("正常")));
    }

    // The energy figures stand in a legend beside the pie: one row per share, 0 % and tiny slices
    // included, no two texts or swatches in the same place, nothing over the pie or the title, and
    // each text as wide as it needs inside the picture.
    // clang-format off
    void energyLabelsNeverOverlap_data() {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("usual split") << QList<double>{14.5, 28.3, 57.2} << QStringList{QStringLiteral("蛋白质 14.5%"),
                                                    QStringLiteral("脂肪 28.3%"),
                                                    QStringLiteral("碳水化合物 57.2%")};
        QTest::newRow("two empty slices") << QList<double>{100, 0, 0}
            << QStringList{QStringLiteral("蛋白质 100.0%"), QStringLiteral("脂肪 0.0%"),
                           QStringLiteral("碳水化合物 0.0%")};
        QTest::newRow("small neighbours") << QList<double>{88.6, 9.1, 2.3}
            << QStringList{QStringLiteral("蛋白质 88.6%"), QStringLiteral("脂肪 9.1%"),
                           QStringLiteral("碳水化合物 2.3%")};
        QTest::newRow("a negative share counts as 0") << QList<double>{-3, 25, 75}
            << QStringList{QStringLiteral("蛋白质 0.0%"), QStringLiteral("脂肪 25.0%"),
                           QStringLiteral("碳水化合物 75.0%")};
    }
    // clang-format on
    void energyLabelsNeverOverlap() {
        QFETCH(QList<double>, values);
        QFETCH(QStringList, labels);
        const QStringList names{QStringLiteral("蛋白质"), QStringLiteral("脂肪"),
                                QStringLiteral("碳水化合物")};
        QList<nc::report::EnergyShare> shares;
        for (int i = 0; i < values.size(); ++i)
            shares.append({names.at(i), values.at(i)});
        const QSize size = nc::report::kEnergyChartSize;
        const auto layout = nc::report::energyChartLayout(shares, size);
        QVERIFY(layout.messageText.isEmpty());
        QCOMPARE(layout.legend.size(), labels.size());
        QList<QRectF> placed{layout.title, layout.pie};
        QFont font(nc::report::reportFontFamily());
        font.setPixelSize(10);
        const QFontMetricsF metrics(font);
        for (int i = 0; i < layout.legend.size(); ++i) {
            const auto& row = layout.legend.at(i);
            QCOMPARE(row.label, labels.at(i));
            QVERIFY(metrics.horizontalAdvance(row.label) <= row.text.width() + 0.01);
            for (const QRectF& r : {row.swatch, row.text}) {
                QVERIFY2(QRectF(QPointF(0, 0), QSizeF(size)).contains(r), qPrintable(row.label));
                for (const QRectF& other : placed)
                    QVERIFY2(!r.intersects(other), qPrintable(row.label));
                placed << r;
            }
        }
        QVERIFY(!layout.title.intersects(layout.pie));
        // The picture draws it: every slice colour with weight appears.
        const QImage image(nc::report::saveEnergyChart(shares));
        QVERIFY(ink(image).red > 20);
    }

    // With nothing to split the picture says so inside an empty ring rather than showing a bare title.
    void anEmptySplitSaysSo() {
        const QList<nc::report::EnergyShare> none{
            {QStringLiteral("蛋白质"), 0}, {QStringLiteral("脂肪"), 0}, {QStringLiteral("碳水化合物"), 0}};
        const auto layout = nc::report::energyChartLayout(none, nc::report::kEnergyChartSize);
        QVERIFY(layout.legend.isEmpty());
        QCOMPARE(layout.messageText, QStringLiteral("无供能数据"));
        QVERIFY(layout.pie.contains(layout.message));
        QVERIFY(!layout.title.intersects(layout.pie));
        const QImage image(nc::report::saveEnergyChart(
            none, {nc::report::kEnergyChartFile, nc::report::kEnergyChartSize, 2}));
        // Dark text in the middle of the ring.
        const QRect middle = QRectF(layout.message.topLeft() * 2, layout.message.size() * 2).toAlignedRect();
        int dark = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        QVERIFY2(dark > 40, qPrintable(QString::number(dark)));
    }

    // A larger pixel ratio gives a sharper picture of the same chart.
    void pixelRatioScalesPicture() {
        const QString path = nc::report::saveBmiChart(
            {22}, QStringLiteral("正常"), ChartPicture{QStringLiteral("sharp.bmp"), {209, 169}, 2});
        QCOMPARE(QImage(path).size(), QSize(418, 338));
    }

    void unwritablePlaceIsAnError() {
        const QString target = QStringLiteral("no such folder/lsbmp.bmp");
        try {
            nc::report::saveBmiChart({22}, QStringLiteral("正常"), ChartPicture{target, {209, 169}});
            QFAIL("saved into a missing folder");
        } catch (const nc::data::Error& e) {
            QVERIFY2(e.text().contains(QStringLiteral("no such folder")) &&
                         e.text().contains(QStringLiteral("再试一次")),
                     qPrintable(e.text()));
        }
    }
};

QTEST_MAIN(TestChartPictures)
#include "tst_chart_pictures.moc"
