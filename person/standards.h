#pragma once
// The two standards a physique report can judge by, chosen once in the program's settings: the
// program's own bands (BMI 19.8/26/29 with the weekly gains of physique.h), and the current national
// standards, WS/T 428-2013 for the adult BMI and WS/T 801-2022 for the weight gain in pregnancy.
// Whatever is chosen, lstzpj keeps the program's own grade (physique.h); only the report changes.

#include <QString>

namespace nc::person {

enum class Standard {
    Original, // 本程序原有标准: the default, so a stored evaluation keeps its meaning
    National, // 现行国家标准
};

// The settings key and the text stored for each choice.
QString standardSettingKey();
QString standardSettingValue(Standard standard);
// The standard a stored text names; anything else (no row, an unknown text) is the program's own.
Standard standardFromSetting(const QString& value);

// The chosen standard of the database file in use, and storing a choice.
Standard chosenStandard();
void chooseStandard(Standard standard);

// "本程序原有标准" or "现行国家标准".
QString standardName(Standard standard);
// One line for the settings window: what the standard grades by.
QString standardDescription(Standard standard);
// The line every physique report prints: "评价标准：…".
QString standardCitation(Standard standard);

// WS/T 428-2013: "体重过低" below 18.5, "体重正常" from 18.5 to below 24.0, "超重" from 24.0 to below
// 28.0, "肥胖" from 28.0.
QString nationalBmiClass(double bmi);
// The class word of the standard: bmiClass (physique.h) or nationalBmiClass.
QString standardBmiClass(Standard standard, double bmi);

// Where a class word of either standard lies: the four rows of a report's class table.
enum class ClassRow { Low, Normal, High, Obese };
ClassRow classRow(const QString& classWord);

// WS/T 801-2022, single pregnancy, by the class of the pre-pregnancy BMI (nationalBmiClass): the total
// gain, the gain in the first trimester, and the weekly gain in the second and third trimesters
// (recommended value and range). kg, limits included.
struct NationalGainBand {
    double totalLowest;
    double totalHighest;
    double firstLowest;
    double firstHighest;
    double weekly;
    double weeklyLowest;
    double weeklyHighest;
};
NationalGainBand nationalGainBand(const QString& nationalClass);

// A stored week count below this is the first trimester.
inline constexpr int kSecondTrimesterWeek = 14;

// The gain of a pregnant woman judged by WS/T 801-2022, per trimester. In the first trimester the gain
// so far must lie within the first-trimester range. Later the gain after the first trimester must
// grow by the weekly range for each week from week 14 on; since only the weight before pregnancy is
// known, the first trimester may have taken anything within its range, so the gain so far is
// suitable from (weeks - 13) x lowest weekly gain to the first trimester's highest plus (weeks - 13)
// x highest weekly gain.
struct GainJudgement {
    enum class Grade { Low, Suitable, High };
    Grade grade = Grade::Suitable;
    bool firstTrimester = true;
    double gain = 0;   // kg since before pregnancy, two decimals
    double lowest = 0; // the suitable gain so far at this week, kg, two decimals
    double highest = 0;
};
// weeks: the stored week count, above 0.
GainJudgement judgeNationalGain(const QString& nationalClass, double weightBefore, double weightNow,
                                int weeks);
// "偏低", "适宜" or "偏高".
QString gradeWord(GainJudgement::Grade grade);

} // namespace nc::person
