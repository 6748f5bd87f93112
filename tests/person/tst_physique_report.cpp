// What the physique report prints beside the stored record: the gain as shown and the parameters
// that choose the explanations.

#include "person/physique.h"
#include "person/physique_report.h"

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

    // The class table printed in the pregnancy and nursing layouts states the same limits the grade uses.
    void layoutTablesMatchTheLimits_data() {
        QTest::addColumn<QString>("layout");
        QTest::newRow("pregnant") << "yftzbg.rav";
        QTest::newRow("nursing") << "rmtzbg.rav";
    }
    void layoutTablesMatchTheLimits() {
        QFETCH(QString, layout);
        QFile f(QStringLiteral(NC_SOURCE_DIR "/person/layouts/") + layout);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        const QStringList classes = {QStringLiteral("低"), QStringLiteral("正常"), QStringLiteral("高"),
                                     QStringLiteral("肥胖")};
        for (const QString& cls : classes) {
            const GainRange r = normalGain(cls);
            const QString range =
                QStringLiteral("%1～%2 kg").arg(r.lowest, 0, 'f', 2).arg(r.highest, 0, 'f', 2);
            QVERIFY2(text.contains(range), qPrintable(cls + QStringLiteral(": ") + range));
        }
    }
};

QTEST_GUILESS_MAIN(TestPhysiqueReport)
#include "tst_physique_report.moc"
