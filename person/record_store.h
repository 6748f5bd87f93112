#pragma once
// Saving, clearing and evaluating the one person's record: the statements behind the personal record
// window, kept apart from the widgets so they can be tested on a database alone.

#include "standards.h"

#include <QDate>
#include <QString>
#include <optional>

namespace nc::person {

// What the counsellor typed and chose, as the window holds it.
struct RecordInput {
    QString name;
    QString age;     // years
    QString height;  // cm
    QString weight1; // kg: current (育龄), before pregnancy (孕妇), when not pregnant (乳母)
    QString weight2; // kg: current weight of a pregnant woman or nursing mother
    QString category;
    QString activity;
    QDate lmp; // first day of the last menstrual period
};

enum class RecordField { Age, Height, Weight1, Weight2, Category, Activity, PeriodDate };

struct InputProblem {
    RecordField field;
    QString message;
};

// Checks the numbers before anything is written: age, height and the weights shown for the category
// must be numbers ("." or "1.2.3" are not) within the bounds of physique.h (kAgeYears, kHeightCm,
// kWeightKg). Returns the first problem in field order; its message names the field and, for a number
// out of bounds, the range allowed.
std::optional<InputProblem> checkNumbers(const RecordInput& in);

// Checks that a category (育龄, 孕妇 or 乳母) and an activity level (轻, 中 or 重) are chosen; the message
// names whichever is missing, both when both are (field: the category then).
std::optional<InputProblem> checkChoices(const RecordInput& in);

// Everything the save checks before writing, in this order: the choices, the numbers, and for a
// pregnant woman the last-period date (periodDateAllowed: not after today, at most 300 days back;
// the message names the date as yyyy-MM-dd).
std::optional<InputProblem> checkInput(const RecordInput& in, const QDate& today);

// The values the save computed, for the evaluation that may follow.
struct SaveResult {
    QDate dueDate;
    int dayCount = 0; // pregnant women only
    int weekCount = 0;
    QString stage;
    double bmi = 0;
};

// Saves the record as one transaction: the BMI and date into lstzpj, the twelve reference intakes into
// lsyysfx.ckl with the tolerable upper levels of her category beside them (ul), the energy split of the
// stored intakes into sdrn, then personinf (week count and stage only for a pregnant woman). Throws
// nc::data::Error with nothing written when checkInput finds a problem or the record row is missing, and when
// the database refuses a statement.
SaveResult saveRecord(const RecordInput& in, const QDate& today);

// Empties the record's name, age, height, category, activity level and weights; the dates, week count,
// stage and the working tables keep their values.
void clearRecord();

// The physique evaluation after a save: the BMI class of the stored BMI, the layout for the category
// and, for a pregnant woman or a nursing mother, the weekly gain and its grade written to lstzpj.
// These stored figures are always the program's own bands (physique.h), whatever standard is chosen;
// the chosen standard and its class word are kept beside them for the report.
struct Evaluation {
    QString bmiClass; // the program's own class word
    QString layout;   // "tzbg.rav", "yftzbg.rav" or "rmtzbg.rav"
    std::optional<double> weeklyGain;
    QString grade;
    int weeks = 0; // the stored week count the gain was taken over (0 or less: none yet)
    Standard standard = Standard::Original;
    QString standardClass; // the chosen standard's class word ("" reads as bmiClass)
    // The stored weights of a pregnant woman or nursing mother: before pregnancy (when not pregnant)
    // and now; none when the row holds null or 0.
    std::optional<double> weightBefore;
    std::optional<double> weightNow;
};
// The standard is the one chosen in the settings of the database file.
Evaluation evaluateRecord(const QString& category);

} // namespace nc::person
