#include "physique.h"

#include "data/errors.h"
#include "data/numeric.h"

#include <cmath>

namespace nc::person {

using data::roundHalfEven;

bool periodDateAllowed(const QDate& lmp, const QDate& today) {
    if (!lmp.isValid())
        return false;
    const qint64 back = lmp.daysTo(today);
    return back >= 0 && back <= kPeriodDaysBackMost;
}

QDate dueDate(const QDate& lmp) {
    int year = lmp.year();
    int month = lmp.month();
    if (month > 3) {
        year += 1;
        month -= 3;
    } else {
        month += 9;
    }
    const int length = QDate(year, month, 1).daysInMonth();
    const int threshold = length - 7;
    const int day = lmp.day();
    if (day <= threshold)
        return QDate(year, month, day + 7);
    // Carry into the month after the due month.
    if (++month > 12) {
        month = 1;
        ++year;
    }
    return QDate(year, month, day - threshold);
}

int dayCount(const QDate& lmp, const QDate& today) {
    return (today.year() * 365 + today.month() * 30 + today.day()) -
           (lmp.year() * 365 + lmp.month() * 30 + lmp.day());
}

int weekCount(int days) {
    // Integer ceiling: rounds up for positive counts and toward zero for negative ones.
    return days > 0 ? (days + 6) / 7 : -((-days) / 7);
}

QString pregnancyStage(int days) {
    if (days < 84)
        return QStringLiteral("早期");
    if (days <= 186)
        return QStringLiteral("中期");
    return QStringLiteral("晚期");
}

double bodyMassIndex(double heightCm, double weightKg) {
    const double metres = roundHalfEven(heightCm / 100, 4);
    if (metres == 0)
        throw data::Error(QStringLiteral("身高不能为 0，无法计算体质指数。"));
    return data::trunc2(roundHalfEven(weightKg / (metres * metres), 4));
}

QString bmiClass(double bmi) {
    if (bmi > 29)
        return QStringLiteral("肥胖");
    if (bmi > 26)
        return QStringLiteral("高");
    if (bmi < 19.8)
        return QStringLiteral("低");
    return QStringLiteral("正常");
}

GainRange normalGain(const QString& cls) {
    if (cls == QStringLiteral("低"))
        return {0.30, 0.45};
    if (cls == QStringLiteral("高"))
        return {0.19, 0.29};
    if (cls == QStringLiteral("肥胖"))
        return {0.15, 0.17};
    return {0.29, 0.40};
}

double weeklyGain(double weightBefore, double weightNow, int weeks, double smallWeeks) {
    const double divisor = weeks <= 0 ? smallWeeks : double(weeks);
    return (roundHalfEven(weightNow, 0) - roundHalfEven(weightBefore, 0)) / divisor;
}

QString gainGrade(double gain, const QString& cls) {
    const GainRange r = normalGain(cls);
    if (gain < r.lowest)
        return QStringLiteral("过轻");
    if (gain > r.highest)
        return QStringLiteral("过重");
    return QStringLiteral("正常");
}

} // namespace nc::person
