// Reference daily intakes by category, pregnancy period, activity level and body.

#include "data/errors.h"
#include "person/physique.h"
#include "person/reference_intakes.h"

#include <QMap>
#include <QTest>

using namespace nc::person;

namespace {

QMap<int, double> byRow(const QList<ReferenceIntake>& list) {
    QMap<int, double> m;
    for (const ReferenceIntake& r : list)
        m.insert(r.row, r.value);
    return m;
}

} // namespace

class TestReferenceIntakes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void energyAndProtein_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("activity");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("weight");
        QTest::addColumn<int>("days");
        QTest::addColumn<double>("energy");
        QTest::addColumn<double>("protein");
        QTest::addColumn<double>("iron");
        QTest::newRow("childbearing age, moderate") << "育龄" << "中" << 160.0 << 55.0 << 0 << 2145.0 << 71.5 << 20.0;
        QTest::newRow("pregnant day 100, BMI above 26") << "孕妇"
            << "轻" << 160.0 << 70.0 << 100 << 2125.0 << 78.8 << 25.0;
        QTest::newRow("pregnant day 187") << "孕妇" << "轻" << 160.0 << 70.0 << 187 << 2125.0 << 88.8 << 35.0;
        QTest::newRow("pregnant day 186") << "孕妇" << "轻" << 160.0 << 70.0 << 186 << 2125.0 << 78.8 << 25.0;
        QTest::newRow("pregnant day 94") << "孕妇" << "轻" << 160.0 << 70.0 << 94 << 2125.0 << 78.8 << 25.0;
        QTest::newRow("pregnant day 93, middle stage, early supplements") << "孕妇"
            << "轻" << 160.0 << 70.0 << 93 << 2075.0 << 68.8 << 20.0;
        QTest::newRow("pregnant day 90") << "孕妇" << "轻" << 160.0 << 70.0 << 90 << 2075.0 << 68.8 << 20.0;
        QTest::newRow("nursing, heavy") << "乳母" << "重" << 165.0 << 60.0 << 0 << 3260.0 << 115.0 << 25.0;
        QTest::newRow("underweight uses height - 105") << "育龄"
            << "轻" << 170.0 << 50.0 << 0 << 2275.0 << 75.4 << 20.0;
        QTest::newRow("fractional weight") << "育龄" << "中" << 162.0 << 55.55 << 0 << 2166.45 << 72.21 << 20.0;
        QTest::newRow("pregnant middle, 48.5 kg") << "孕妇" << "轻" << 150.0 << 48.5 << 120 << 1897.5 << 71.26 << 25.0;
        QTest::newRow("nursing, 42.7 kg") << "乳母" << "中" << 145.0 << 42.7 << 0 << 2165.3 << 80.51 << 25.0;
    }
    // clang-format on
    void energyAndProtein() {
        QFETCH(QString, category);
        QFETCH(QString, activity);
        QFETCH(double, height);
        QFETCH(double, weight);
        QFETCH(int, days);
        QFETCH(double, energy);
        QFETCH(double, protein);
        QFETCH(double, iron);
        const double bmi = bodyMassIndex(height, weight);
        const auto rows = byRow(referenceIntakes(category, activity, height, weight, bmi, days));
        QCOMPARE(rows.value(1), energy);
        QCOMPARE(rows.value(2), protein);
        QCOMPARE(rows.value(12), iron);
    }

    // Every weight from 40.0 to 100.0 kg by 0.1, for every category, activity level and stage, against
    // the same rule worked in whole ten-thousandths: weight x factor + supplement, then cut to 0.01.
    void everyWeightMatchesTheExactDecimal() {
        struct Stage {
            QString category;
            int days;
            qint64 energySupplement;  // kcal
            qint64 proteinSupplement; // g
        };
        const QList<Stage> stages{{QStringLiteral("育龄"), 0, 0, 0},
                                  {QStringLiteral("孕妇"), 50, 150, 5},
                                  {QStringLiteral("孕妇"), 120, 200, 15},
                                  {QStringLiteral("孕妇"), 200, 200, 25},
                                  {QStringLiteral("乳母"), 0, 500, 25}};
        struct Activity {
            QString name;
            qint64 energyPerKg;  // ten-thousandths
            qint64 proteinPerKg; // ten-thousandths
        };
        const QList<Activity> activities{{QStringLiteral("轻"), 350000, 11600},
                                         {QStringLiteral("中"), 390000, 13000},
                                         {QStringLiteral("重"), 460000, 15000}};
        // Cuts a positive amount in ten-thousandths to hundredths.
        auto cut = [](qint64 units) { return double(units / 100) / 100.0; };
        QStringList wrong;
        for (const Stage& stage : stages) {
            for (const Activity& a : activities) {
                for (int tenths = 400; tenths <= 1000; ++tenths) {
                    const qint64 weight = qint64(tenths) * 1000; // ten-thousandths of a kg
                    const double energy =
                        cut(weight * a.energyPerKg / 10000 + stage.energySupplement * 10000);
                    const double protein =
                        cut(weight * a.proteinPerKg / 10000 + stage.proteinSupplement * 10000);
                    const double kg = tenths / 10.0;
                    const auto rows =
                        byRow(referenceIntakes(stage.category, a.name, 160, kg, 22, stage.days));
                    if (rows.value(1) != energy || rows.value(2) != protein)
                        wrong << QStringLiteral("%1 %2 day %3 %4 kg: %5/%6, expected %7/%8")
                                     .arg(stage.category, a.name)
                                     .arg(stage.days)
                                     .arg(kg)
                                     .arg(rows.value(1), 0, 'g', 17)
                                     .arg(rows.value(2), 0, 'g', 17)
                                     .arg(energy)
                                     .arg(protein);
                }
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("%1 wrong, first: %2")
                                                 .arg(wrong.size())
                                                 .arg(wrong.mid(0, 5).join(QStringLiteral("; ")))));
    }

    void boundaryBmiUsesTheWeight_data() {
        QTest::addColumn<double>("bmi");
        QTest::addColumn<double>("expected");
        QTest::newRow("19.79") << 19.79 << 160.0 - 105;
        QTest::newRow("19.8") << 19.8 << 58.0;
        QTest::newRow("26") << 26.0 << 58.0;
        QTest::newRow("26.01") << 26.01 << 160.0 - 105;
    }
    void boundaryBmiUsesTheWeight() {
        QFETCH(double, bmi);
        QFETCH(double, expected);
        QCOMPARE(referenceWeight(bmi, 160, 58), expected);
    }

    void micronutrientsAndOrder() {
        const auto list = referenceIntakes(QStringLiteral("乳母"), QStringLiteral("重"), 165, 60, 22.03, 0);
        QList<int> order;
        for (const auto& r : list)
            order << r.row;
        QCOMPARE(order, (QList<int>{1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
        const auto rows = byRow(list);
        const QList<double> nursing{1200, 14, 130, 1.8, 1.7, 18, 1200, 25, 21.5, 65};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(rows.value(5 + i), nursing[i]);

        const auto early =
            byRow(referenceIntakes(QStringLiteral("孕妇"), QStringLiteral("中"), 160, 55, 21.48, 50));
        const QList<double> childbearing{800, 14, 100, 1.3, 1.2, 13, 800, 20, 11.5, 50};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(early.value(5 + i), childbearing[i]);
        const auto middle =
            byRow(referenceIntakes(QStringLiteral("孕妇"), QStringLiteral("中"), 160, 55, 21.48, 120));
        const QList<double> pregnant{900, 14, 130, 1.5, 1.7, 15, 1200, 25, 16.5, 50};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(middle.value(5 + i), pregnant[i]);
    }

    void unknownValuesAreRefused() {
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, referenceIntakes(QStringLiteral("男性"),
                                                                   QStringLiteral("中"), 160, 55, 21.48, 0));
        QVERIFY_THROWS_EXCEPTION(nc::data::Error,
                                 referenceIntakes(QStringLiteral("育龄"), QString(), 160, 55, 21.48, 0));
    }
};

QTEST_GUILESS_MAIN(TestReferenceIntakes)
#include "tst_reference_intakes.moc"
