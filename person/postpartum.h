#pragma once
// Post-partum weight retention of a nursing mother: how far her weight now lies above her weight
// before pregnancy (when not pregnant), judged in plain bands that a counsellor can explain.

#include <QString>
#include <optional>

namespace nc::person {

// The bands, each limit included in the band below it:
//   已恢复到孕前体重  no more than the weight before pregnancy;
//   轻度滞留          up to 3 kg, or up to 5 % of the weight before pregnancy when that is more;
//   中度滞留          up to 5 kg, or up to 10 % when that is more;
//   明显滞留          above.
// The limit is the larger of a kilogram figure and a share, so a small woman is not judged by a share
// of a few hundred grams and a tall one not by a figure that means little for her.
inline constexpr double kSlightRetentionKg = 3.0;
inline constexpr double kSlightRetentionShare = 0.05;
inline constexpr double kModerateRetentionKg = 5.0;
inline constexpr double kModerateRetentionShare = 0.10;

struct RetentionJudgement {
    enum class Level { Missing, Recovered, Slight, Moderate, Marked };
    Level level = Level::Missing;
    double change = 0;       // kg, weight now minus weight before, two decimals (negative: below it)
    double sharePercent = 0; // the change as a percentage of the weight before, one decimal
    double slightLimit = 0;  // kg: the upper limits of 轻度 and 中度 for her, two decimals
    double moderateLimit = 0;
};

// Judges the two stored weights; a weight that is missing or not above 0 gives Level::Missing.
RetentionJudgement judgeRetention(std::optional<double> weightBefore, std::optional<double> weightNow);

// The band's words: "已恢复到孕前体重", "轻度滞留", "中度滞留", "明显滞留", "无法评价".
QString retentionWord(RetentionJudgement::Level level);

} // namespace nc::person
