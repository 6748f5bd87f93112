#pragma once
// The nutrient intake analysis: the diet record turned into average daily intakes of the fourteen
// nutrients (lsyysfx.srl), compared with the reference intakes (cz, dris), and the energy split of
// protein, fat and carbohydrate (sdrn.value1).

#include <QString>
#include <array>

namespace nc::analysis {

struct AnalysisResult {
    int days = 0;                         // the number of days divided by
    std::array<double, 14> intakes{};     // average daily intakes as stored, rows 1 to 14
    bool comparisonFailed = false;        // the comparison statement failed; cz and dris kept
    QString comparisonError;              // the database's text for that failure
};

// Runs the whole analysis as one transaction. Every food entry of every day counts; a name missing
// from the food table, or an empty amount or value, adds nothing. A failing comparison statement is
// undone on its own and reported in the result, and the energy split still runs. Throws
// nc::data::Error, with nothing written, when the diet record has food entries but no days, or when
// any other statement fails.
AnalysisResult runIntakeAnalysis();

} // namespace nc::analysis
