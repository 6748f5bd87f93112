#pragma once
// The physique computations of the personal record: due date, pregnancy day and week count and stage,
// body-mass index with its class, and the weekly weight gain with its grade.

#include <QDate>
#include <QString>

namespace nc::person {

// What a woman's record can hold. A number outside these ranges is a typing mistake (5 cm, a decimal
// point in the wrong place), and saving it would give targets no one could follow, so the save
// refuses it. Both limits are allowed.
struct Bounds {
    double lowest;
    double highest;
    bool contains(double v) const { return v >= lowest && v <= highest; }
};
inline constexpr Bounds kAgeYears{10, 70};
inline constexpr Bounds kHeightCm{100, 230};
inline constexpr Bounds kWeightKg{25, 250}; // each weight: now, before pregnancy, when not pregnant

// A pregnant woman's last period began at most this many calendar days before today, never after it.
inline constexpr int kPeriodDaysBackMost = 300;
// Whether a last-period date can be a pregnant woman's: today or earlier, at most 300 days back.
bool periodDateAllowed(const QDate& lmp, const QDate& today);

// Expected date of delivery from the first day of the last menstrual period: nine months on (or
// three back and one year on) and seven days, carried into the next month past the due month's end.
QDate dueDate(const QDate& lmp);

// Days since the last menstrual period, counting every month as 30 days and every year as 365 days.
// Zero or negative for a period date of today or later.
int dayCount(const QDate& lmp, const QDate& today);

// The day count divided by 7, rounded up (toward zero for a negative count).
int weekCount(int dayCount);

// "早期" below day 84, "中期" from 84 to 186, "晚期" from 187.
QString pregnancyStage(int dayCount);

// Height in metres (cm / 100, four decimals), weight / height², four decimals with halves to even,
// then cut to two decimals. 160 cm and 55 kg give 21.48. Throws nc::data::Error for a height of 0.
double bodyMassIndex(double heightCm, double weightKg);

// "低" below 19.8, "正常" from 19.8 to 26, "高" above 26 up to 29, "肥胖" above 29.
QString bmiClass(double bmi);

// The normal weekly weight gain of a BMI class, kg per week, both limits included.
struct GainRange {
    double lowest;
    double highest;
};
GainRange normalGain(const QString& bmiClass);

// Weekly gain from the whole kilograms (halves to even) of the weight before and the weight now, over
// the stored pregnancy week count; a count of 0 or less divides by `smallWeeks` instead
// (0.0001 for a pregnant woman, 0.1 for a nursing mother).
double weeklyGain(double weightBefore, double weightNow, int weeks, double smallWeeks);
inline constexpr double kSmallWeeksPregnant = 0.0001;
inline constexpr double kSmallWeeksNursing = 0.1;

// "过轻" below the class's lowest normal gain, "过重" above its highest, "正常" otherwise.
QString gainGrade(double gain, const QString& bmiClass);

} // namespace nc::person
