#include "postpartum.h"

#include "data/numeric.h"

#include <algorithm>

namespace nc::person {

using data::roundHalfEven;

RetentionJudgement judgeRetention(std::optional<double> before, std::optional<double> now) {
    RetentionJudgement j;
    if (!before || !now || *before <= 0 || *now <= 0)
        return j;
    j.change = roundHalfEven(*now - *before, 2);
    j.sharePercent = roundHalfEven(j.change / *before * 100, 1);
    j.slightLimit = std::max(kSlightRetentionKg, roundHalfEven(*before * kSlightRetentionShare, 2));
    j.moderateLimit = std::max(kModerateRetentionKg, roundHalfEven(*before * kModerateRetentionShare, 2));
    using Level = RetentionJudgement::Level;
    j.level = j.change <= 0                 ? Level::Recovered
              : j.change <= j.slightLimit   ? Level::Slight
              : j.change <= j.moderateLimit ? Level::Moderate
                                            : Level::Marked;
    return j;
}

QString retentionWord(RetentionJudgement::Level level) {
    using Level = RetentionJudgement::Level;
    switch (level) {
    case Level::Recovered:
        return QStringLiteral("已恢复到孕前体重");
    case Level::Slight:
        return QStringLiteral("轻度滞留");
    case Level::Moderate:
        return QStringLiteral("中度滞留");
    case Level::Marked:
        return QStringLiteral("明显滞留");
    case Level::Missing:
        break;
    }
    return QStringLiteral("无法评价");
}

} // namespace nc::person
