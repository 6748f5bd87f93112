#include "standards.h"

#include "physique.h"

#include "data/numeric.h"
#include "data/settings.h"

namespace nc::person {

using data::roundHalfEven;

QString standardSettingKey() {
    return QStringLiteral("evaluation_standard");
}

QString standardSettingValue(Standard standard) {
    return standard == Standard::National ? QStringLiteral("national") : QStringLiteral("original");
}

Standard standardFromSetting(const QString& value) {
    return value == standardSettingValue(Standard::National) ? Standard::National : Standard::Original;
}

Standard chosenStandard() {
    return standardFromSetting(
        data::readSetting(standardSettingKey(), standardSettingValue(Standard::Original)));
}

void chooseStandard(Standard standard) {
    data::writeSetting(standardSettingKey(), standardSettingValue(standard));
}

QString standardName(Standard standard) {
    return standard == Standard::National ? QStringLiteral("现行国家标准") : QStringLiteral("本程序原有标准");
}

QString standardDescription(Standard standard) {
    return standard == Standard::National
               ? QStringLiteral("体质指数按 WS/T 428—2013，孕期增重按 WS/T 801—2022 分孕期评价")
               : QStringLiteral("体质指数分界 19.8/26/29，孕期按每周增重评价，与以前的评价一致");
}

QString standardCitation(Standard standard) {
    return standard == Standard::National
               ? QStringLiteral(
                     "评价标准：WS/T 428—2013《成人体重判定》、WS/T 801—2022《妊娠期妇女体重增长推荐值标准》")
               : QStringLiteral(
                     "评价标准：本程序原有标准（体质指数 19.8/26/29，孕期每周增重按体质指数分类）");
}

QString nationalBmiClass(double bmi) {
    if (bmi >= 28.0)
        return QStringLiteral("肥胖");
    if (bmi >= 24.0)
        return QStringLiteral("超重");
    if (bmi >= 18.5)
        return QStringLiteral("体重正常");
    return QStringLiteral("体重过低");
}

QString standardBmiClass(Standard standard, double bmi) {
    return standard == Standard::National ? nationalBmiClass(bmi) : bmiClass(bmi);
}

ClassRow classRow(const QString& word) {
    if (word == QStringLiteral("低") || word == QStringLiteral("体重过低"))
        return ClassRow::Low;
    if (word == QStringLiteral("高") || word == QStringLiteral("超重"))
        return ClassRow::High;
    if (word == QStringLiteral("肥胖"))
        return ClassRow::Obese;
    return ClassRow::Normal;
}

NationalGainBand nationalGainBand(const QString& nationalClass) {
    // clang-format off
    switch (classRow(nationalClass)) {
    case ClassRow::Low:    return {11.0, 16.0, 0, 2.0, 0.46, 0.37, 0.56};
    case ClassRow::High:   return { 7.0, 11.0, 0, 2.0, 0.30, 0.22, 0.37};
    case ClassRow::Obese:  return { 5.0,  9.0, 0, 2.0, 0.22, 0.15, 0.30};
    case ClassRow::Normal: break;
    }
    return                        { 8.0, 14.0, 0, 2.0, 0.37, 0.26, 0.48};
    // clang-format on
}

GainJudgement judgeNationalGain(const QString& nationalClass, double weightBefore, double weightNow,
                                int weeks) {
    const NationalGainBand band = nationalGainBand(nationalClass);
    GainJudgement j;
    j.gain = roundHalfEven(weightNow - weightBefore, 2);
    j.firstTrimester = weeks < kSecondTrimesterWeek;
    if (j.firstTrimester) {
        j.lowest = band.firstLowest;
        j.highest = band.firstHighest;
    } else {
        const int later = weeks - (kSecondTrimesterWeek - 1);
        j.lowest = roundHalfEven(band.firstLowest + later * band.weeklyLowest, 2);
        j.highest = roundHalfEven(band.firstHighest + later * band.weeklyHighest, 2);
    }
    j.grade = j.gain < j.lowest    ? GainJudgement::Grade::Low
              : j.gain > j.highest ? GainJudgement::Grade::High
                                   : GainJudgement::Grade::Suitable;
    return j;
}

QString gradeWord(GainJudgement::Grade grade) {
    switch (grade) {
    case GainJudgement::Grade::Low:
        return QStringLiteral("偏低");
    case GainJudgement::Grade::High:
        return QStringLiteral("偏高");
    case GainJudgement::Grade::Suitable:
        break;
    }
    return QStringLiteral("适宜");
}

} // namespace nc::person
