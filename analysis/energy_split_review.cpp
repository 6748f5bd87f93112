#include "energy_split_review.h"

#include "report/energy_chart.h"

namespace nc::analysis {

ShareJudgement judgeShare(double percent, const EnergyShareRange& range) {
    if (percent < range.low)
        return ShareJudgement::Low;
    if (percent > range.high)
        return ShareJudgement::High;
    return ShareJudgement::Suitable;
}

EnergySplitReview reviewEnergySplit(const std::array<double, 3>& shares) {
    const QList<double> percents = report::energySharePercents({shares[0], shares[1], shares[2]});
    const QString none = QStringLiteral("—");
    EnergySplitReview review;
    for (std::size_t i = 0; i < kEnergyShareRanges.size(); ++i) {
        const EnergyShareRange& range = kEnergyShareRanges[i];
        EnergyShareRow row{QString::fromUtf8(range.nutrient), none,
                           QStringLiteral("%1%～%2%").arg(range.low).arg(range.high), none};
        if (!percents.isEmpty()) {
            const QString printed = report::energySharePercentText(percents.at(qsizetype(i)));
            row.share = printed + QLatin1Char('%');
            switch (judgeShare(printed.toDouble(), range)) {
            case ShareJudgement::Low:
                row.judgement = QStringLiteral("偏低");
                review.advice << QString::fromUtf8(range.adviceLow);
                break;
            case ShareJudgement::Suitable:
                row.judgement = QStringLiteral("适宜");
                break;
            case ShareJudgement::High:
                row.judgement = QStringLiteral("偏高");
                review.advice << QString::fromUtf8(range.adviceHigh);
                break;
            }
        }
        review.rows << row;
    }
    return review;
}

} // namespace nc::analysis
