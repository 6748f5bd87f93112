// The two evaluation standards: the national BMI classes at their edges, the gain in pregnancy judged
// per trimester, and the choice kept in the database file's settings.

#include "data/settings.h"
#include "person/standards.h"
#include "support/fixture_db.h"

#include <QTest>

using namespace nc::person;
using nc::test::FixtureDb;

class TestStandards : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // WS/T 428-2013: each lower limit belongs to the class above it. The program's own classes for
    // the same values show where the two differ.
    // clang-format off
    void nationalClass_data() {
        QTest::addColumn<double>("bmi");
        QTest::addColumn<QString>("national");
        QTest::addColumn<QString>("original");
        QTest::newRow("just below 18.5") << 18.49 << "体重过低" << "低";
        QTest::newRow("18.5")            << 18.5  << "体重正常" << "低";
        QTest::newRow("19.8")            << 19.8  << "体重正常" << "正常";
        QTest::newRow("just below 24")   << 23.99 << "体重正常" << "正常";
        QTest::newRow("24.0")            << 24.0  << "超重"     << "正常";
        QTest::newRow("26.01")           << 26.01 << "超重"     << "高";
        QTest::newRow("just below 28")   << 27.99 << "超重"     << "高";
        QTest::newRow("28.0")            << 28.0  << "肥胖"     << "高";
        QTest::newRow("29.01")           << 29.01 << "肥胖"     << "肥胖";
    }
    // clang-format on
    void nationalClass() {
        QFETCH(double, bmi);
        QFETCH(QString, national);
        QFETCH(QString, original);
        QCOMPARE(nationalBmiClass(bmi), national);
        QCOMPARE(standardBmiClass(Standard::National, bmi), national);
        QCOMPARE(standardBmiClass(Standard::Original, bmi), original);
        // Both words land on the same row of a report's class table when the classes agree.
        if (bmi == 19.8 || bmi == 29.01)
            QCOMPARE(classRow(national), classRow(original));
    }

    // Before week 14 the gain so far against 0-2.0 kg; from week 14 the first trimester's range plus
    // the weekly range for each week from week 14 on (normal: 0.26-0.48, so week 14 allows 0.26-2.48).
    // clang-format off
    void gainByTrimester_data() {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("now");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<bool>("first");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        QTest::addColumn<QString>("grade");
        QTest::newRow("week 13, 2.0 kg: the limit")    << "体重正常" << 55.0 << 57.0  << 13 << true  << 0.0  << 2.0  << "适宜";
        QTest::newRow("week 13, 2.1 kg")               << "体重正常" << 55.0 << 57.1  << 13 << true  << 0.0  << 2.0  << "偏高";
        QTest::newRow("week 13, no gain")              << "体重正常" << 55.0 << 55.0  << 13 << true  << 0.0  << 2.0  << "适宜";
        QTest::newRow("week 8, weight lost")           << "体重正常" << 55.0 << 54.6  << 8  << true  << 0.0  << 2.0  << "偏低";
        QTest::newRow("decimals: 2.0 kg exactly")      << "超重"     << 66.3 << 68.3  << 5  << true  << 0.0  << 2.0  << "适宜";
        QTest::newRow("week 14, 2.1 kg")               << "体重正常" << 55.0 << 57.1  << 14 << false << 0.26 << 2.48 << "适宜";
        QTest::newRow("week 14, 0.2 kg")               << "体重正常" << 55.0 << 55.2  << 14 << false << 0.26 << 2.48 << "偏低";
        QTest::newRow("week 14, lowest limit")         << "体重正常" << 55.0 << 55.26 << 14 << false << 0.26 << 2.48 << "适宜";
        QTest::newRow("week 23, highest limit")        << "体重过低" << 45.0 << 52.6  << 23 << false << 3.7  << 7.6  << "适宜";
        QTest::newRow("week 23, above it")             << "体重过低" << 45.0 << 52.61 << 23 << false << 3.7  << 7.6  << "偏高";
        QTest::newRow("week 30, overweight")           << "超重"     << 70.0 << 77.0  << 30 << false << 3.74 << 8.29 << "适宜";
        QTest::newRow("week 40, obese, 12 kg")         << "肥胖"     << 85.0 << 97.0  << 40 << false << 4.05 << 10.1 << "偏高";
        QTest::newRow("week 40, obese, 4 kg")          << "肥胖"     << 85.0 << 89.0  << 40 << false << 4.05 << 10.1 << "偏低";
    }
    // clang-format on
    void gainByTrimester() {
        QFETCH(QString, cls);
        QFETCH(double, before);
        QFETCH(double, now);
        QFETCH(int, weeks);
        QFETCH(bool, first);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        QFETCH(QString, grade);
        const GainJudgement j = judgeNationalGain(cls, before, now, weeks);
        QCOMPARE(j.firstTrimester, first);
        QCOMPARE(j.lowest, lowest);
        QCOMPARE(j.highest, highest);
        QCOMPARE(gradeWord(j.grade), grade);
    }

    // The table of the standard, one row per class, read back through the class words.
    void gainBands() {
        const NationalGainBand low = nationalGainBand(QStringLiteral("体重过低"));
        QCOMPARE(low.totalLowest, 11.0);
        QCOMPARE(low.totalHighest, 16.0);
        QCOMPARE(low.weekly, 0.46);
        const NationalGainBand normal = nationalGainBand(QStringLiteral("体重正常"));
        QCOMPARE(normal.totalLowest, 8.0);
        QCOMPARE(normal.weeklyHighest, 0.48);
        const NationalGainBand over = nationalGainBand(QStringLiteral("超重"));
        QCOMPARE(over.totalHighest, 11.0);
        QCOMPARE(over.weeklyLowest, 0.22);
        const NationalGainBand obese = nationalGainBand(QStringLiteral("肥胖"));
        QCOMPARE(obese.totalLowest, 5.0);
        QCOMPARE(obese.weeklyHighest, 0.30);
        for (const NationalGainBand& b : {low, normal, over, obese}) {
            QCOMPARE(b.firstLowest, 0.0);
            QCOMPARE(b.firstHighest, 2.0);
            QVERIFY(b.weeklyLowest < b.weekly && b.weekly < b.weeklyHighest);
        }
    }

    // The choice in the file: the program's own standard when nothing (or something unknown) is
    // stored, so evaluations keep their meaning; a choice stored is read back.
    void choiceInTheFile() {
        FixtureDb db;
        QCOMPARE(chosenStandard(), Standard::Original);
        chooseStandard(Standard::National);
        db.connection().close();
        QCOMPARE(chosenStandard(), Standard::National);
        chooseStandard(Standard::Original);
        QCOMPARE(chosenStandard(), Standard::Original);
        nc::data::writeSetting(standardSettingKey(), QStringLiteral("WS/T 428"));
        QCOMPARE(chosenStandard(), Standard::Original);
    }

    void choiceInAFileWithoutSettings() {
        FixtureDb db(FixtureDb::Content::SecondRelease);
        QCOMPARE(chosenStandard(), Standard::Original);
    }

    // Each report names the standard it used.
    void citations() {
        QVERIFY(standardCitation(Standard::National).contains(QStringLiteral("WS/T 428—2013")));
        QVERIFY(standardCitation(Standard::National).contains(QStringLiteral("WS/T 801—2022")));
        QVERIFY(standardCitation(Standard::Original).contains(QStringLiteral("本程序原有标准")));
        QVERIFY(standardCitation(Standard::Original).startsWith(QStringLiteral("评价标准：")));
    }
};

QTEST_GUILESS_MAIN(TestStandards)
#include "tst_standards.moc"
