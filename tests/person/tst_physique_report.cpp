// What the physique report prints beside the stored record: the gain as shown and the parameters
// that choose the explanations.

#include "person/physique.h"
#include "person/physique_report.h"
#include "person/standards.h"

#include <QFile>
#include <QTest>

using namespace nc::person;

class TestPhysiqueReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The shown gain never contradicts the grade: more decimals only where two would round onto or
    // across a limit.
    // clang-format off
    void gainAsShown_data() {
        QTest::addColumn<double>("gain");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ordinary") << 4.0 / 15 << "高" << "0.27";
        QTest::newRow("exactly the limit") << 0.30 << "低" << "0.30";
        QTest::newRow("just above the limit would show it") << 5.0 / 17 << "高" << "0.294";
        QTest::newRow("three decimals still on the limit") << 9.0 / 31 << "高" << "0.2903";
        QTest::newRow("just below the lowest") << 2.0 / 7 << "正常" << "0.286";
        QTest::newRow("weight lost") << -2.0 / 10 << "正常" << "-0.20";
        QTest::newRow("whole kilograms over 0.1 week") << 20.0 << "高" << "20.00";
    }
    // clang-format on
    void gainAsShown() {
        QFETCH(double, gain);
        QFETCH(QString, cls);
        QFETCH(QString, shown);
        QCOMPARE(formatGain(gain, cls), shown);
        QCOMPARE(gainGrade(shown.toDouble(), cls), gainGrade(gain, cls));
    }

    void childbearingAgeHasNoGain() {
        Evaluation e;
        e.bmiClass = QStringLiteral("高");
        e.layout = QStringLiteral("tzbg.rav");
        const auto p = physiqueReportParams(e);
        QCOMPARE(p.value(QStringLiteral("bmi_class")), QStringLiteral("高"));
        QCOMPARE(p.value(QStringLiteral("class_high")), QStringLiteral("1"));
        for (const char* absent :
             {"class_low", "class_normal", "class_obese", "gain", "no_weeks", "grade_normal"})
            QVERIFY2(!p.contains(QString::fromLatin1(absent)), absent);
    }

    void gainWithItsClassRange() {
        Evaluation e;
        e.bmiClass = QStringLiteral("低");
        e.weeklyGain = 0.5;
        e.grade = QStringLiteral("过重");
        e.weeks = 8;
        const auto p = physiqueReportParams(e);
        QCOMPARE(p.value(QStringLiteral("gain")), QStringLiteral("0.50"));
        QCOMPARE(p.value(QStringLiteral("gain_low")), QStringLiteral("0.30"));
        QCOMPARE(p.value(QStringLiteral("gain_high")), QStringLiteral("0.45"));
        QCOMPARE(p.value(QStringLiteral("weeks")), QStringLiteral("8"));
        QVERIFY(p.contains(QStringLiteral("grade_heavy")));
        QVERIFY(!p.contains(QStringLiteral("grade_light")) && !p.contains(QStringLiteral("grade_normal")));
    }

    // Over a token divisor the gain is a meaningless number: the report says the gain cannot be judged
    // yet instead of printing it.
    void noWeeksYet_data() {
        QTest::addColumn<int>("weeks");
        QTest::addColumn<double>("gain");
        QTest::newRow("period today") << 0 << 40000.0;
        QTest::newRow("period in the future") << -1 << 40000.0;
    }
    void noWeeksYet() {
        QFETCH(int, weeks);
        QFETCH(double, gain);
        Evaluation e;
        e.bmiClass = QStringLiteral("正常");
        e.weeklyGain = gain;
        e.grade = QStringLiteral("过重");
        e.weeks = weeks;
        const auto p = physiqueReportParams(e);
        QVERIFY(p.contains(QStringLiteral("no_weeks")));
        QVERIFY(!p.contains(QStringLiteral("gain")));
        QVERIFY(!p.contains(QStringLiteral("grade_heavy")));
    }

    // The class table printed in the pregnancy layout states the same limits the grade uses; the
    // nursing layout prints no weekly gain, since a nursing mother is judged by her retention.
    void layoutTablesMatchTheLimits_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("gainShown");
        QTest::newRow("pregnant") << "yftzbg.rav" << true;
        QTest::newRow("nursing") << "rmtzbg.rav" << false;
    }
    void layoutTablesMatchTheLimits() {
        QFETCH(QString, layout);
        QFETCH(bool, gainShown);
        QFile f(QStringLiteral(NC_SOURCE_DIR "/person/layouts/") + layout);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        const QStringList classes = {QStringLiteral("低"), QStringLiteral("正常"), QStringLiteral("高"),
                                     QStringLiteral("肥胖")};
        for (const QString& cls : classes) {
            const GainRange r = normalGain(cls);
            const QString range =
                QStringLiteral("%1～%2 kg").arg(r.lowest, 0, 'f', 2).arg(r.highest, 0, 'f', 2);
            QVERIFY2(text.contains(range) == gainShown, qPrintable(cls + QStringLiteral(": ") + range));
        }
        QCOMPARE(text.contains(QStringLiteral("{{gain}}")), gainShown);
    }

    // Every report names its standard, and the class rows follow the chosen standard's word.
    // clang-format off
    void standardAndClass_data() {
        QTest::addColumn<bool>("national");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("cited");
        QTest::newRow("own, 高")          << false << "高"       << "class_high"   << "本程序原有标准";
        QTest::newRow("national, 体重过低") << true  << "体重过低" << "class_low"    << "WS/T 428—2013";
        QTest::newRow("national, 体重正常") << true  << "体重正常" << "class_normal" << "WS/T 801—2022";
        QTest::newRow("national, 超重")    << true  << "超重"     << "class_high"   << "WS/T 428—2013";
        QTest::newRow("national, 肥胖")    << true  << "肥胖"     << "class_obese"  << "WS/T 428—2013";
    }
    // clang-format on
    void standardAndClass() {
        QFETCH(bool, national);
        QFETCH(QString, cls);
        QFETCH(QString, row);
        QFETCH(QString, cited);
        Evaluation e;
        e.bmiClass = QStringLiteral("正常"); // the program's own word, stored; not what this report shows
        e.standard = national ? Standard::National : Standard::Original;
        e.standardClass = cls;
        e.layout = QStringLiteral("tzbg.rav");
        const auto p = physiqueReportParams(e);
        QCOMPARE(p.value(QStringLiteral("bmi_class")), cls);
        QVERIFY(p.contains(row));
        int rows = 0;
        for (const char* r : {"class_low", "class_normal", "class_high", "class_obese"})
            rows += p.contains(QString::fromLatin1(r));
        QCOMPARE(rows, 1);
        QVERIFY(p.value(QStringLiteral("standard_line")).startsWith(QStringLiteral("评价标准：")));
        QVERIFY2(p.value(QStringLiteral("standard_line")).contains(cited),
                 qPrintable(p.value(QStringLiteral("standard_line"))));
        QCOMPARE(p.contains(QStringLiteral("standard_national")), national);
        QCOMPARE(p.contains(QStringLiteral("standard_original")), !national);
    }

    // By the national standard a pregnant woman's gain is judged for her trimester; the weekly gain of
    // the program's own bands is not printed, though it was stored.
    // clang-format off
    void nationalGain_data() {
        QTest::addColumn<int>("weeks");
        QTest::addColumn<double>("now");
        QTest::addColumn<QString>("trimester");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("flag");
        QTest::newRow("first trimester")  << 10 << 56.5 << "nat_first" << "0.00～2.00" << "适宜" << "grade_normal";
        QTest::newRow("week 20, too much") << 20 << 62.0 << "nat_later" << "1.82～5.36" << "偏高" << "grade_heavy";
        QTest::newRow("week 20, too little") << 20 << 56.5 << "nat_later" << "1.82～5.36" << "偏低" << "grade_light";
    }
    // clang-format on
    void nationalGain() {
        QFETCH(int, weeks);
        QFETCH(double, now);
        QFETCH(QString, trimester);
        QFETCH(QString, range);
        QFETCH(QString, grade);
        QFETCH(QString, flag);
        Evaluation e;
        e.layout = QStringLiteral("yftzbg.rav");
        e.bmiClass = QStringLiteral("正常");
        e.standard = Standard::National;
        e.standardClass = QStringLiteral("体重正常");
        e.weeklyGain = 0.2;
        e.grade = QStringLiteral("过轻");
        e.weeks = weeks;
        e.weightBefore = 55.0;
        e.weightNow = now;
        const auto p = physiqueReportParams(e);
        QVERIFY(p.contains(trimester));
        QCOMPARE(p.value(QStringLiteral("nat_low")) + QStringLiteral("～") +
                     p.value(QStringLiteral("nat_high")),
                 range);
        QCOMPARE(p.value(QStringLiteral("gain_grade")), grade);
        QVERIFY(p.contains(flag));
        QCOMPARE(p.value(QStringLiteral("weeks")), QString::number(weeks));
        QCOMPARE(p.value(QStringLiteral("nat_gain")), QString::number(now - 55.0, 'f', 2));
        QVERIFY(!p.contains(QStringLiteral("gain")));
        QVERIFY(!p.contains(QStringLiteral("gain_low")));
    }

    // No week count yet: nothing to judge by either standard.
    void nationalGainWithoutWeeks() {
        Evaluation e;
        e.layout = QStringLiteral("yftzbg.rav");
        e.standard = Standard::National;
        e.standardClass = QStringLiteral("体重正常");
        e.weeklyGain = 40000;
        e.weeks = 0;
        e.weightBefore = 55.0;
        e.weightNow = 59.0;
        const auto p = physiqueReportParams(e);
        QVERIFY(p.contains(QStringLiteral("no_weeks")));
        QVERIFY(!p.contains(QStringLiteral("nat_gain")));
    }

    // A nursing mother's report shows her retention, never the weekly gain, by either standard.
    // clang-format off
    void nursingRetention_data() {
        QTest::addColumn<bool>("national");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("now");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("kg");
        QTest::addColumn<QString>("share");
        QTest::newRow("moderate")        << false << 56.0 << 60.0 << "retention_moderate"  << "+4.00" << "+7.1";
        QTest::newRow("below, national") << true  << 56.0 << 54.0 << "retention_recovered" << "-2.00" << "-3.6";
        QTest::newRow("no weight now")   << false << 56.0 << 0.0  << "retention_missing"   << ""      << "";
    }
    // clang-format on
    void nursingRetention() {
        QFETCH(bool, national);
        QFETCH(double, before);
        QFETCH(double, now);
        QFETCH(QString, flag);
        QFETCH(QString, kg);
        QFETCH(QString, share);
        Evaluation e;
        e.layout = QStringLiteral("rmtzbg.rav");
        e.bmiClass = QStringLiteral("正常");
        e.standard = national ? Standard::National : Standard::Original;
        e.weeklyGain = 0.1;
        e.grade = QStringLiteral("过轻");
        e.weeks = 38;
        e.weightBefore = before;
        if (now > 0)
            e.weightNow = now;
        const auto p = physiqueReportParams(e);
        QVERIFY(p.contains(flag));
        QCOMPARE(p.value(QStringLiteral("retention_kg")), kg);
        QCOMPARE(p.value(QStringLiteral("retention_share")), share);
        QCOMPARE(p.contains(QStringLiteral("retention_below")), kg.startsWith(QLatin1Char('-')));
        for (const char* absent :
             {"gain", "nat_gain", "grade_light", "grade_normal", "grade_heavy", "no_weeks"})
            QVERIFY2(!p.contains(QString::fromLatin1(absent)), absent);
    }

    // Every layout prints the standard's line and both class tables; the national table of the
    // pregnancy layout states the figures the judgement uses.
    void layoutsNameTheStandard_data() {
        QTest::addColumn<QString>("layout");
        QTest::newRow("childbearing age") << "tzbg.rav";
        QTest::newRow("pregnant") << "yftzbg.rav";
        QTest::newRow("nursing") << "rmtzbg.rav";
    }
    void layoutsNameTheStandard() {
        QFETCH(QString, layout);
        QFile f(QStringLiteral(NC_SOURCE_DIR "/person/layouts/") + layout);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (const char* part : {"{{standard_line}}", "{{#standard_original}}", "{{#standard_national}}",
                                 "体重过低", "超重", "24.0", "28.0"})
            QVERIFY2(text.contains(QString::fromUtf8(part)), part);
        if (layout != QStringLiteral("yftzbg.rav"))
            return;
        for (const QString& cls : {QStringLiteral("体重过低"), QStringLiteral("体重正常"),
                                   QStringLiteral("超重"), QStringLiteral("肥胖")}) {
            const NationalGainBand b = nationalGainBand(cls);
            const QString total =
                QStringLiteral("%1～%2 kg").arg(b.totalLowest, 0, 'f', 1).arg(b.totalHighest, 0, 'f', 1);
            const QString weekly = QStringLiteral("%1（%2～%3）kg")
                                       .arg(b.weekly, 0, 'f', 2)
                                       .arg(b.weeklyLowest, 0, 'f', 2)
                                       .arg(b.weeklyHighest, 0, 'f', 2);
            QVERIFY2(text.contains(total), qPrintable(cls + total));
            QVERIFY2(text.contains(weekly), qPrintable(cls + weekly));
        }
    }
};

QTEST_GUILESS_MAIN(TestPhysiqueReport)
#include "tst_physique_report.moc"
