// The energy split judged against the suitable ranges: the shares as the pie prints them, the bounds
// counting as suitable, and one line of advice per share out of its range.

#include "analysis/energy_split_review.h"

#include <QTest>

using namespace nc::analysis;

namespace {

QStringList texts(std::initializer_list<const char*> utf8) {
    QStringList out;
    for (const char* s : utf8)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

class TestEnergySplitReview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Stored shares (sdrn rows 1 to 3) → printed shares, judgements, and the beginnings of the advice
    // lines. Ranges: protein 10–15, fat 20–30, carbohydrate 55–65.
    // clang-format off
    void judgement_data() {
        QTest::addColumn<double>("protein");
        QTest::addColumn<double>("fat");
        QTest::addColumn<double>("carbohydrate");
        QTest::addColumn<QStringList>("shares");
        QTest::addColumn<QStringList>("judgements");
        QTest::addColumn<QStringList>("advice");
        QTest::newRow("inside") << 12.5 << 25.0 << 62.5
            << texts({"12.5%", "25.0%", "62.5%"}) << texts({"适宜", "适宜", "适宜"}) << QStringList();
        QTest::newRow("protein and fat on their low bounds") << 10.0 << 20.0 << 70.0
            << texts({"10.0%", "20.0%", "70.0%"}) << texts({"适宜", "适宜", "偏高"})
            << texts({"碳水化合物供能比偏高"});
        QTest::newRow("protein and fat high, carbohydrate low bound") << 15.0 << 30.0 << 55.0
            << texts({"15.0%", "30.0%", "55.0%"}) << texts({"适宜", "适宜", "适宜"}) << QStringList();
        QTest::newRow("carbohydrate on its high bound") << 15.0 << 20.0 << 65.0
            << texts({"15.0%", "20.0%", "65.0%"}) << texts({"适宜", "适宜", "适宜"}) << QStringList();
        QTest::newRow("just below") << 9.9 << 19.9 << 70.2
            << texts({"9.9%", "19.9%", "70.2%"}) << texts({"偏低", "偏低", "偏高"})
            << texts({"蛋白质供能比偏低", "脂肪供能比偏低", "碳水化合物供能比偏高"});
        QTest::newRow("just above") << 15.1 << 30.1 << 54.8
            << texts({"15.1%", "30.1%", "54.8%"}) << texts({"偏高", "偏高", "偏低"})
            << texts({"蛋白质供能比偏高", "脂肪供能比偏高", "碳水化合物供能比偏低"});
        // 15.04 prints 15.0 % and is judged as printed; 29.96 prints 30.0 %.
        QTest::newRow("judged at the printed decimal") << 15.04 << 29.96 << 55.0
            << texts({"15.0%", "30.0%", "55.0%"}) << texts({"适宜", "适宜", "适宜"}) << QStringList();
        // Truncated shares add up to 99.99: 14.99 / 99.99 = 14.9915 %, 29.99 / 99.99 = 29.9930 %,
        // 55.01 / 99.99 = 55.0155 %, as the pie shows them.
        QTest::newRow("truncated shares") << 14.99 << 29.99 << 55.01
            << texts({"15.0%", "30.0%", "55.0%"}) << texts({"适宜", "适宜", "适宜"}) << QStringList();
        // Of a sum of 80: 20 / 80 = 25 %, 40 / 80 = 50 %.
        QTest::newRow("shares of their sum") << 20.0 << 20.0 << 40.0
            << texts({"25.0%", "25.0%", "50.0%"}) << texts({"偏高", "适宜", "偏低"})
            << texts({"蛋白质供能比偏高", "碳水化合物供能比偏低"});
        QTest::newRow("fat only") << 0.0 << 100.0 << 0.0
            << texts({"0.0%", "100.0%", "0.0%"}) << texts({"偏低", "偏高", "偏低"})
            << texts({"蛋白质供能比偏低", "脂肪供能比偏高", "碳水化合物供能比偏低"});
        QTest::newRow("no energy") << 0.0 << 0.0 << 0.0
            << texts({"—", "—", "—"}) << texts({"—", "—", "—"}) << QStringList();
        QTest::newRow("a negative share counts as none") << -3.0 << 0.0 << 0.0
            << texts({"—", "—", "—"}) << texts({"—", "—", "—"}) << QStringList();
    }
    // clang-format on
    void judgement() {
        QFETCH(double, protein);
        QFETCH(double, fat);
        QFETCH(double, carbohydrate);
        QFETCH(QStringList, shares);
        QFETCH(QStringList, judgements);
        QFETCH(QStringList, advice);
        const EnergySplitReview review = reviewEnergySplit({protein, fat, carbohydrate});
        QCOMPARE(review.rows.size(), 3);
        const QStringList names{QStringLiteral("蛋白质"), QStringLiteral("脂肪"),
                                QStringLiteral("碳水化合物")};
        const QStringList ranges{QStringLiteral("10%～15%"), QStringLiteral("20%～30%"),
                                 QStringLiteral("55%～65%")};
        for (int i = 0; i < 3; ++i) {
            const EnergyShareRow& row = review.rows.at(i);
            QCOMPARE(row.nutrient, names.at(i));
            QCOMPARE(row.share, shares.at(i));
            QCOMPARE(row.range, ranges.at(i));
            QCOMPARE(row.judgement, judgements.at(i));
        }
        QCOMPARE(review.advice.size(), advice.size());
        for (int i = 0; i < advice.size(); ++i) {
            QVERIFY2(review.advice.at(i).startsWith(advice.at(i) + QStringLiteral("，")),
                     qPrintable(review.advice.at(i)));
            QVERIFY(review.advice.at(i).endsWith(QStringLiteral("。")));
        }
    }

    // The six lines of advice are six different sentences.
    void everyLineOfAdviceIsItsOwn() {
        QStringList all;
        for (const EnergyShareRange& range : kEnergyShareRanges)
            all << QString::fromUtf8(range.adviceLow) << QString::fromUtf8(range.adviceHigh);
        all.removeDuplicates();
        QCOMPARE(all.size(), 6);
    }
};

QTEST_MAIN(TestEnergySplitReview)
#include "tst_energy_split_review.moc"
