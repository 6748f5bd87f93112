// The number rules behind every stored result: two-decimal truncation and four-decimal rounding.

#include "data/energy_split.h"
#include "data/errors.h"
#include "data/numeric.h"
#include "data/value.h"

#include <QTest>

using nc::data::Decimal4;
using nc::data::roundHalfEven;
using nc::data::trunc2;

class TestNumeric : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void truncation_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("stored");
        QTest::newRow("15 significant digits cut") << 0.129999999999999 << 0.12;
        QTest::newRow("16th digit rounds the fraction up first") << 0.1299999999999999 << 0.13;
        QTest::newRow("negative cuts toward zero") << -1.256 << -1.25;
        QTest::newRow("energy of two days") << 2283.9455 << 2283.94;
        QTest::newRow("never rounds up") << 0.999 << 0.99;
        QTest::newRow("fraction below a hundredth leaves none") << 7.004 << 7.0;
        QTest::newRow("whole number") << 3.0 << 3.0;
        QTest::newRow("one decimal") << 12.5 << 12.5;
        QTest::newRow("binary neighbour of .29 is not cut to .28") << 0.29 << 0.29;
        QTest::newRow("binary neighbour of 1.15 stays 1.15") << 1.15 << 1.15;
        QTest::newRow("two decimals of a sum") << 0.1 + 0.2 << 0.3;
        QTest::newRow("BMI 21.4844") << 21.4844 << 21.48;
        QTest::newRow("negative fraction only") << -0.256 << -0.25;
        QTest::newRow("fraction rounding to a whole one") << 0.9999999999999999 << 1.0;
        QTest::newRow("fourteen nines are cut, not rounded") << 99.99999999999999 << 99.99;
        QTest::newRow("protein 1.16 x 55 + 15") << 1.16 * 55 + 15 << 78.8;
        QTest::newRow("protein 1.16 x 55 + 25") << 1.16 * 55 + 25 << 88.8;
        QTest::newRow("whole part takes the double's precision") << 78.8 << 78.8;
        QTest::newRow("large whole part") << 3260.07 << 3260.07;
        QTest::newRow("tiny value") << 1e-7 << 0.0;
        QTest::newRow("negative tiny value") << -0.004 << 0.0;
        QTest::newRow("zero") << 0.0 << 0.0;
        QTest::newRow("large value") << 123456789.987 << 123456789.98;
        QTest::newRow("share 12.698") << 240.0 / 1890.0 * 100 << 12.69;
        QTest::newRow("share 63.492") << 1200.0 / 1890.0 * 100 << 63.49;
    }
    void truncation() {
        QFETCH(double, value);
        QFETCH(double, stored);
        QCOMPARE(trunc2(value), stored);
    }

    void halfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("rounded");
        QTest::newRow("BMI 21.484375") << 21.484375 << 4 << 21.4844;
        QTest::newRow("half to even, down") << 0.12345 << 4 << 0.1234;
        QTest::newRow("half to even, up") << 0.12355 << 4 << 0.1236;
        QTest::newRow("above half") << 0.123451 << 4 << 0.1235;
        QTest::newRow("negative half") << -0.12345 << 4 << -0.1234;
        QTest::newRow("weight 52.5 to whole kg") << 52.5 << 0 << 52.0;
        QTest::newRow("weight 50.5 to whole kg") << 50.5 << 0 << 50.0;
        QTest::newRow("weight 55.4 to whole kg") << 55.4 << 0 << 55.0;
        QTest::newRow("weight 50.6 to whole kg") << 50.6 << 0 << 51.0;
        QTest::newRow("53.5 to whole kg") << 53.5 << 0 << 54.0;
        QTest::newRow("already short") << 1.5 << 4 << 1.5;
        QTest::newRow("tiny half to zero") << 0.00005 << 4 << 0.0;
        QTest::newRow("decimal 2.675 is a half") << 2.675 << 2 << 2.68;
        QTest::newRow("height 1.6") << 160.0 / 100 << 4 << 1.6;
    }
    void halfEven() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, rounded);
        QCOMPARE(roundHalfEven(value, decimals), rounded);
    }

    void decimal4Arithmetic() {
        // BMI of height 160 and weight 55: 55 / 1.6² = 21.484375 -> 21.4844.
        const Decimal4 h = Decimal4(160.0 / 100);
        QCOMPARE(h.toString(), QStringLiteral("1.6"));
        const Decimal4 bmi = Decimal4(55.0) / (h * h);
        QCOMPARE(bmi.toString(), QStringLiteral("21.4844"));
        // A product is rounded to four decimals with halves to even: 1.16 * 55.0001 = 63.800116.
        QCOMPARE((Decimal4(1.16) * Decimal4(55.0001)).toString(), QStringLiteral("63.8001"));
        QCOMPARE((Decimal4(0.0001) * Decimal4(0.5)).toString(), QStringLiteral("0")); // 0.00005 -> even 0
        QCOMPARE((Decimal4(0.0003) * Decimal4(0.5)).toString(),
                 QStringLiteral("0.0002")); // 0.00015 -> 0.0002
        QCOMPARE((Decimal4(1) / Decimal4(3)).toString(), QStringLiteral("0.3333"));
        QCOMPARE((Decimal4(-2) / Decimal4(3)).toString(), QStringLiteral("-0.6667"));
        QCOMPARE((Decimal4(55) * Decimal4(35) + Decimal4(200)).toDouble(), 2125.0);
        QVERIFY(Decimal4(19.8) < Decimal4(19.81));
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, Decimal4(1) / Decimal4(0));
    }

    void energySplit_data() {
        QTest::addColumn<double>("protein");
        QTest::addColumn<double>("fat");
        QTest::addColumn<double>("carbohydrate");
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("f");
        QTest::addColumn<double>("c");
        QTest::newRow("typical day") << 60.0 << 50.0 << 300.0 << 12.69 << 23.8 << 63.49;
        QTest::newRow("protein only") << 50.0 << 0.0 << 0.0 << 100.0 << 0.0 << 0.0;
        QTest::newRow("nothing eaten") << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("truncated intakes") << 71.5 << 48.33 << 287.91 << 15.27 << 23.22 << 61.49;
    }
    void energySplit() {
        QFETCH(double, protein);
        QFETCH(double, fat);
        QFETCH(double, carbohydrate);
        QFETCH(double, p);
        QFETCH(double, f);
        QFETCH(double, c);
        for (auto mode : {nc::data::SplitRounding::FourDecimals, nc::data::SplitRounding::None}) {
            const auto s = nc::data::energySplit(protein, fat, carbohydrate, mode);
            QCOMPARE(s.protein, p);
            QCOMPARE(s.fat, f);
            QCOMPARE(s.carbohydrate, c);
        }
    }

    // The save rounds a share of 10.78998… to 10.79 before cutting; the analysis cuts it to 10.78.
    void energySplitRoundingModes() {
        QCOMPARE(nc::data::energySplit(14, 7, 100, nc::data::SplitRounding::FourDecimals).protein, 10.79);
        QCOMPARE(nc::data::energySplit(14, 7, 100, nc::data::SplitRounding::None).protein, 10.78);
    }

    void realText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "55" << true << 55.0;
        QTest::newRow("decimal") << "55.5" << true << 55.5;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("blanks around") << " 160 " << true << 160.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("lone point") << "." << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("comma separator") << "1,5" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("full-width digits") << "１２" << false << 0.0;
    }
    void realText() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        double out = -1;
        QCOMPARE(nc::data::parseReal(text, &out), valid);
        if (valid)
            QCOMPARE(out, value);
    }

    void realDisplay() {
        QCOMPARE(nc::data::formatReal(55.0), QStringLiteral("55"));
        QCOMPARE(nc::data::formatReal(21.48), QStringLiteral("21.48"));
        QCOMPARE(nc::data::formatReal(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(nc::data::formatReal(-0.0), QStringLiteral("0"));
        QCOMPARE(nc::data::formatReal(2283.94), QStringLiteral("2283.94"));
    }
};

QTEST_GUILESS_MAIN(TestNumeric)
#include "tst_numeric.moc"
