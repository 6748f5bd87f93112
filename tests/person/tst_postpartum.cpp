// A nursing mother's post-partum weight retention: the change against her weight when not pregnant,
// its share, and the band, at the bands' edges for a small and a large woman.

#include "person/postpartum.h"

#include <QTest>

using namespace nc::person;
using Level = RetentionJudgement::Level;

Q_DECLARE_METATYPE(Level)

namespace {
constexpr double kNone = -1; // a weight not stored
std::optional<double> weight(double w) {
    return w == kNone ? std::nullopt : std::optional<double>(w);
}
} // namespace

class TestPostpartum : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 50 kg: the kilogram limits apply (3 and 5 kg, more than 5 % and 10 %). 80 kg: the shares apply
    // (4 and 8 kg).
    // clang-format off
    void bands_data() {
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("now");
        QTest::addColumn<Level>("level");
        QTest::addColumn<double>("change");
        QTest::addColumn<double>("share");
        QTest::newRow("same weight")              << 50.0 << 50.0  << Level::Recovered << 0.0   << 0.0;
        QTest::newRow("below before")             << 50.0 << 47.5  << Level::Recovered << -2.5  << -5.0;
        QTest::newRow("a little above")           << 50.0 << 50.1  << Level::Slight    << 0.1   << 0.2;
        QTest::newRow("3 kg: still slight")       << 50.0 << 53.0  << Level::Slight    << 3.0   << 6.0;
        QTest::newRow("just over 3 kg")           << 50.0 << 53.01 << Level::Moderate  << 3.01  << 6.0;
        QTest::newRow("5 kg: still moderate")     << 50.0 << 55.0  << Level::Moderate  << 5.0   << 10.0;
        QTest::newRow("just over 5 kg")           << 50.0 << 55.01 << Level::Marked    << 5.01  << 10.0;
        QTest::newRow("large: 4 kg is 5 %")       << 80.0 << 84.0  << Level::Slight    << 4.0   << 5.0;
        QTest::newRow("large: just over 5 %")     << 80.0 << 84.01 << Level::Moderate  << 4.01  << 5.0;
        QTest::newRow("large: 8 kg is 10 %")      << 80.0 << 88.0  << Level::Moderate  << 8.0   << 10.0;
        QTest::newRow("large: over 10 %")         << 80.0 << 88.5  << Level::Marked    << 8.5   << 10.6;
        QTest::newRow("decimals cancel")          << 56.3 << 59.3  << Level::Slight    << 3.0   << 5.3;
        QTest::newRow("no weight before")         << kNone << 60.0 << Level::Missing   << 0.0   << 0.0;
        QTest::newRow("no weight now")            << 56.0 << kNone << Level::Missing   << 0.0   << 0.0;
        QTest::newRow("stored 0 before")          << 0.0  << 60.0  << Level::Missing   << 0.0   << 0.0;
    }
    // clang-format on
    void bands() {
        QFETCH(double, before);
        QFETCH(double, now);
        QFETCH(Level, level);
        QFETCH(double, change);
        QFETCH(double, share);
        const RetentionJudgement j = judgeRetention(weight(before), weight(now));
        QCOMPARE(j.level, level);
        QCOMPARE(j.change, change);
        QCOMPARE(j.sharePercent, share);
    }

    void limitsForHer() {
        const RetentionJudgement small = judgeRetention(45.0, 47.0);
        QCOMPARE(small.slightLimit, 3.0);
        QCOMPARE(small.moderateLimit, 5.0);
        const RetentionJudgement large = judgeRetention(90.0, 92.0);
        QCOMPARE(large.slightLimit, 4.5);
        QCOMPARE(large.moderateLimit, 9.0);
    }

    void words() {
        QCOMPARE(retentionWord(Level::Recovered), QStringLiteral("已恢复到孕前体重"));
        QCOMPARE(retentionWord(Level::Slight), QStringLiteral("轻度滞留"));
        QCOMPARE(retentionWord(Level::Moderate), QStringLiteral("中度滞留"));
        QCOMPARE(retentionWord(Level::Marked), QStringLiteral("明显滞留"));
        QCOMPARE(retentionWord(Level::Missing), QStringLiteral("无法评价"));
    }
};

QTEST_GUILESS_MAIN(TestPostpartum)
#include "tst_postpartum.moc"
