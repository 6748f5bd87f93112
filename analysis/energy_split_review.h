#pragma once
// The energy split judged: each of protein, fat and carbohydrate with its share of the energy as the
// pie shows it, the suitable range for adults (Chinese DRIs 2000), 偏低 / 适宜 / 偏高, and a line of
// advice for every share out of its range. The analysis report prints it under the pie.

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace nc::analysis {

// The suitable share of energy of one nutrient, in percent, and what the counsellor advises when the
// share is below or above it.
struct EnergyShareRange {
    const char* nutrient; // UTF-8
    int low;
    int high;
    const char* adviceLow;  // UTF-8
    const char* adviceHigh; // UTF-8
};

// Protein, fat and carbohydrate, in the order of the sdrn rows. The grams printed for fat and
// carbohydrate under the nutrient table (energyShareGrams) come from the same ranges.
inline constexpr std::array<EnergyShareRange, 3> kEnergyShareRanges{{
    {"蛋白质", 10, 15, "蛋白质供能比偏低，宜适当多吃鱼、禽、蛋、瘦肉、奶类和大豆制品。",
     "蛋白质供能比偏高，宜适当少吃肉类，主食吃够，多吃蔬菜和水果。"},
    {"脂肪", 20, 30, "脂肪供能比偏低，烹调时可适量用植物油，每天吃少量坚果。",
     "脂肪供能比偏高，宜少用烹调油，少吃油炸食品和肥肉。"},
    {"碳水化合物", 55, 65, "碳水化合物供能比偏低，宜吃够米饭、面食等主食，适当搭配杂粮和薯类。",
     "碳水化合物供能比偏高，宜适当减少主食和甜食，少喝含糖饮料，多吃奶类、蛋类和大豆制品。"},
}};

enum class ShareJudgement {
    Low,
    Suitable, // a share exactly on a bound is suitable
    High,
};

ShareJudgement judgeShare(double percent, const EnergyShareRange& range);

// One printed row: "蛋白质", "14.5%", "10%～15%", "适宜". Share and judgement are "—" when there is
// no energy to split.
struct EnergyShareRow {
    QString nutrient;
    QString share;
    QString range;
    QString judgement;
};

struct EnergySplitReview {
    QList<EnergyShareRow> rows; // protein, fat, carbohydrate
    QStringList advice;         // one line per share out of its range, in the rows' order
};

// Judges the stored shares of sdrn rows 1 to 3 (protein, fat, carbohydrate). Each share is taken as
// the pie shows it: its percent of the three's sum (report::energySharePercents) at one decimal, and
// judged at that decimal, so the printed figure and its judgement always agree (a stored 15.04 prints
// 15.0% and is 适宜). When no share is above 0 (the pie says "无供能数据") every share and judgement is
// "—" and there is no advice.
EnergySplitReview reviewEnergySplit(const std::array<double, 3>& shares);

} // namespace nc::analysis
