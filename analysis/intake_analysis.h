#pragma once
// The nutrient intake analysis: the diet record turned into average daily intakes of the fourteen
// nutrients (lsyysfx.srl), compared with the reference intakes (cz, dris), the tolerable upper levels
// of the stored category (ul), and the energy split of protein, fat and carbohydrate (sdrn.value1).

#include "data/errors.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

namespace nc::analysis {

struct AnalysisResult {
    int days = 0;                     // the number of days divided by (the rows of ts)
    std::array<double, 14> intakes{}; // average daily intakes as stored, rows 1 to 14
    bool comparisonFailed = false;    // the comparison statement failed; cz and dris kept
    QString comparisonError;          // the database's text for that failure

    // What counted as 0 because it was missing, so a low figure can be told from missing data.
    // Nothing of this is stored.
    int entries = 0;                     // food entries walked
    int unknownFoods = 0;                // entries whose food is not in the food table
    int withoutAmount = 0;               // entries of a known food without a weight
    std::array<int, 14> missingValues{}; // per nutrient row: entries whose food has no value for it
};

// The diet record has food entries but no days: there is nothing to divide by.
class NoDaysError : public data::Error {
public:
    NoDaysError();
};

// The diet record's amounts as the analysis reads them, nothing written: each entry adds
// value x weight / 100 (multiplied first) to the double total of all entries, in the order the entries
// are stored, and to the total of its day, by the day's number as text ("" for entries whose day
// was deleted). Amounts are in the order of kNutrients.
struct IntakeTotals {
    std::array<double, 14> all{};
    QHash<QString, std::array<double, 14>> byDay;
    int entries = 0;
    int unknownFoods = 0;
    int withoutAmount = 0;
    std::array<int, 14> missingValues{};
};
IntakeTotals readIntakeTotals();

// The average daily intakes as the analysis stores them: each total divided by the number of days
// in extended precision and cut to two decimals (no days: the totals themselves, which are then 0).
std::array<double, 14> averageIntakes(const std::array<double, 14>& totals, int days);

// Runs the whole analysis as one transaction. Every food entry of every day counts; a name missing
// from the food table, or an empty amount or value, adds nothing (and is counted in the result). A
// failing comparison statement is undone on its own and reported in the result, and the energy split
// still runs. Throws NoDaysError, with nothing written, when the diet record has food entries but no
// days, and nc::data::Error, with nothing written, when any other statement fails.
AnalysisResult runIntakeAnalysis();

// The missing-data counts as sentences for the report, empty when nothing was missing:
// which entries' foods are not in the food table, which have no weight, and for which nutrients
// foods lacked a value.
struct MissingDataNotes {
    QString unknownFoods;
    QString withoutAmount;
    QString missingValues;
};
MissingDataNotes missingDataNotes(const AnalysisResult& result);

} // namespace nc::analysis
