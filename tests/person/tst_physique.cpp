// Pregnancy dating, BMI and the weekly weight-gain grade, with the worked examples of the counselling
// rules.

#include "data/errors.h"
#include "person/physique.h"
#include "person/reference_intakes.h"

#include <QTest>

using namespace nc::person;

class TestPhysique : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void dueDates_data() {
        QTest::addColumn<QDate>("lmp");
        QTest::addColumn<QDate>("due");
        QTest::newRow("January") << QDate(2007, 1, 10) << QDate(2007, 10, 17);
        QTest::newRow("April has 30 days, threshold 23") << QDate(2007, 7, 24) << QDate(2008, 5, 1);
        QTest::newRow("February 2008 has 29 days") << QDate(2007, 5, 30) << QDate(2008, 3, 8);
        QTest::newRow("February 2007 has 28 days") << QDate(2006, 5, 30) << QDate(2007, 3, 9);
        QTest::newRow("carry past December") << QDate(2007, 3, 28) << QDate(2008, 1, 4);
        QTest::newRow("on the threshold, no carry") << QDate(2007, 3, 24) << QDate(2007, 12, 31);
        QTest::newRow("March stays in the year") << QDate(2007, 3, 1) << QDate(2007, 12, 8);
        QTest::newRow("April moves to next year") << QDate(2007, 4, 1) << QDate(2008, 1, 8);
        QTest::newRow("31st into a 30-day due month") << QDate(2007, 12, 31) << QDate(2008, 10, 8);
        QTest::newRow("zero date of an empty record") << QDate(1899, 12, 30) << QDate(1900, 10, 7);
    }
    // clang-format on
    void dueDates() {
        QFETCH(QDate, lmp);
        QFETCH(QDate, due);
        QCOMPARE(dueDate(lmp), due);
    }

    // clang-format off
    void dating_data() {
        QTest::addColumn<QDate>("lmp");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<QString>("stage");
        QTest::newRow("months count 30 days") << QDate(2007, 1, 31) << QDate(2007, 3, 1) << 30 << 5 << "早期";
        QTest::newRow("same day") << QDate(2026, 12, 10) << QDate(2026, 12, 10) << 0 << 0 << "早期";
        QTest::newRow("one day rounds up to a week") << QDate(2026, 12, 9) << QDate(2026, 12, 10) << 1 << 1 << "早期";
        QTest::newRow("future period") << QDate(2026, 12, 20) << QDate(2026, 12, 10) << -10 << -1 << "早期";
        QTest::newRow("future by a week") << QDate(2026, 12, 17) << QDate(2026, 12, 10) << -7 << -1 << "早期";
        QTest::newRow("year counts 365") << QDate(2025, 12, 10) << QDate(2026, 12, 10) << 365 << 53 << "晚期";
    }
    // clang-format on
    void dating() {
        QFETCH(QDate, lmp);
        QFETCH(QDate, today);
        QFETCH(int, days);
        QFETCH(int, weeks);
        QFETCH(QString, stage);
        QCOMPARE(dayCount(lmp, today), days);
        QCOMPARE(weekCount(days), weeks);
        QCOMPARE(pregnancyStage(days), stage);
    }

    // A pregnant woman's last period: today or up to 300 calendar days before it. From 2026-02-13 to
    // 2026-12-10 are 15 (rest of February) + 31 + 30 + 31 + 30 + 31 + 31 + 30 + 31 + 30 (March to
    // November) + 10 = 300 days. Calendar days, not the day count's 30-day months, by which 2026-02-12
    // would be only 298 days back.
    // clang-format off
    void periodDates_data() {
        QTest::addColumn<QDate>("lmp");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("today") << QDate(2026, 12, 10) << true;
        QTest::newRow("tomorrow") << QDate(2026, 12, 11) << false;
        QTest::newRow("next year") << QDate(2027, 1, 5) << false;
        QTest::newRow("yesterday") << QDate(2026, 12, 9) << true;
        QTest::newRow("300 days back") << QDate(2026, 2, 13) << true;
        QTest::newRow("301 days back") << QDate(2026, 2, 12) << false;
        QTest::newRow("zero date of an empty record") << QDate(1899, 12, 30) << false;
        QTest::newRow("no date") << QDate() << false;
    }
    // clang-format on
    void periodDates() {
        QFETCH(QDate, lmp);
        QFETCH(bool, allowed);
        QCOMPARE(periodDateAllowed(lmp, QDate(2026, 12, 10)), allowed);
    }

    // clang-format off
    void stages_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("stage");
        QTest::newRow("83") << 83 << "早期";
        QTest::newRow("84") << 84 << "中期";
        QTest::newRow("186") << 186 << "中期";
        QTest::newRow("187") << 187 << "晚期";
    }
    // clang-format on
    void stages() {
        QFETCH(int, days);
        QFETCH(QString, stage);
        QCOMPARE(pregnancyStage(days), stage);
    }

    // clang-format off
    void bmi_data() {
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("weight");
        QTest::addColumn<double>("bmi");
        QTest::newRow("160 cm, 55 kg") << 160.0 << 55.0 << 21.48;
        QTest::newRow("160 cm, 70 kg") << 160.0 << 70.0 << 27.34;
        QTest::newRow("165 cm, 60 kg") << 165.0 << 60.0 << 22.03;
        QTest::newRow("height with a fraction") << 163.5 << 60.0 << 22.44;
        QTest::newRow("four decimals first: 19.46998 -> 19.4700 -> 19.47") << 150.5 << 44.1 << 19.47;
        QTest::newRow("then cut, not rounded: 22.4961 -> 22.49") << 160.0 << 57.59 << 22.49;
    }
    // clang-format on
    void bmi() {
        QFETCH(double, height);
        QFETCH(double, weight);
        QFETCH(double, bmi);
        QCOMPARE(bodyMassIndex(height, weight), bmi);
    }

    void bmiOfZeroHeightIsRefused() {
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, bodyMassIndex(0, 55));
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, bodyMassIndex(0.004, 55)); // 0.00004 m rounds to 0
    }

    // clang-format off
    void bmiClasses_data() {
        QTest::addColumn<double>("bmi");
        QTest::addColumn<QString>("cls");
        QTest::newRow("19.79") << 19.79 << "低";
        QTest::newRow("19.80") << 19.80 << "正常";
        QTest::newRow("26.00") << 26.00 << "正常";
        QTest::newRow("26.01") << 26.01 << "高";
        QTest::newRow("29.00") << 29.00 << "高";
        QTest::newRow("29.01") << 29.01 << "肥胖";
    }
    // clang-format on
    void bmiClasses() {
        QFETCH(double, bmi);
        QFETCH(QString, cls);
        QCOMPARE(bmiClass(bmi), cls);
    }

    // clang-format off
    void gains_data() {
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("now");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<double>("small");
        QTest::addColumn<double>("gain");
        QTest::newRow("whole kilograms: 55.4 and 50.6 count 55 and 51")
            << 50.6 << 55.4 << 10 << kSmallWeeksPregnant << 0.4;
        QTest::newRow("halves to even: 52.5 and 50.5 count 52 and 50")
            << 50.5 << 52.5 << 10 << kSmallWeeksPregnant << 0.2;
        QTest::newRow("no weeks yet, pregnant") << 50.0 << 51.0 << 0 << kSmallWeeksPregnant << 10000.0;
        QTest::newRow("negative weeks, nursing") << 50.0 << 51.0 << -2 << kSmallWeeksNursing << 10.0;
        QTest::newRow("weight loss") << 60.0 << 58.0 << 20 << kSmallWeeksNursing << -0.1;
    }
    // clang-format on
    void gains() {
        QFETCH(double, before);
        QFETCH(double, now);
        QFETCH(int, weeks);
        QFETCH(double, small);
        QFETCH(double, gain);
        QCOMPARE(weeklyGain(before, now, weeks, small), gain);
    }

    // clang-format off
    void grades_data() {
        QTest::addColumn<double>("gain");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("grade");
        QTest::newRow("normal class, lowest limit") << 0.29 << "正常" << "正常";
        QTest::newRow("normal class, highest limit") << 0.40 << "正常" << "正常";
        QTest::newRow("normal class, below") << 0.28 << "正常" << "过轻";
        QTest::newRow("normal class, above") << 0.41 << "正常" << "过重";
        QTest::newRow("low class, 0.30") << 0.30 << "低" << "正常";
        QTest::newRow("low class, 0.45") << 0.45 << "低" << "正常";
        QTest::newRow("low class, 0.29") << 0.29 << "低" << "过轻";
        QTest::newRow("high class, 0.19") << 0.19 << "高" << "正常";
        QTest::newRow("high class, 0.3") << 0.3 << "高" << "过重";
        QTest::newRow("obese, 0.17") << 0.17 << "肥胖" << "正常";
        QTest::newRow("obese, 0.18") << 0.18 << "肥胖" << "过重";
        QTest::newRow("no gain with no weeks") << 0.0 << "正常" << "过轻";
        QTest::newRow("a kilogram with no weeks") << 10000.0 << "正常" << "过重";
        QTest::newRow("computed 3 kg over 10 weeks") << (53.0 - 50.0) / 10 << "低" << "正常";
    }
    // clang-format on
    void grades() {
        QFETCH(double, gain);
        QFETCH(QString, cls);
        QFETCH(QString, grade);
        QCOMPARE(gainGrade(gain, cls), grade);
    }
};

QTEST_GUILESS_MAIN(TestPhysique)
#include "tst_physique.moc"
