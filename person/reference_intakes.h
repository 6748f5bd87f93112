#pragma once
// The reference daily intakes a person's diet is measured against: energy and protein from the body,
// activity level and category, and ten micronutrients from fixed tables by category and pregnancy
// period. They are written into lsyysfx.ckl, rows 1, 2 and 5 to 14.

#include <QList>
#include <QString>

namespace nc::person {

struct ReferenceIntake {
    int row; // lsyysfx.id
    double value;
};

// The body weight the energy and protein references are based on: the weight itself for a BMI from
// 19.8 to 26, otherwise the height in cm minus 105.
double referenceWeight(double bmi, double heightCm, double weightKg);

// The twelve references in the order they are written: rows 1, 2, 5, 6, …, 14. `dayCount` matters
// only for a pregnant woman (days below 94, 94 to 186, 187 and above). Throws nc::data::Error for a
// category or activity level outside the value sets.
QList<ReferenceIntake> referenceIntakes(const QString& category, const QString& activity, double heightCm,
                                        double weightKg, double bmi, int dayCount);

} // namespace nc::person
