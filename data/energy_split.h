#pragma once
// The split of dietary energy between protein (4 kcal/g), fat (9 kcal/g) and carbohydrate (4 kcal/g),
// in percent of their sum, as stored in sdrn rows 1 to 3.

namespace nc::data {

struct EnergySplit {
    double protein = 0;
    double fat = 0;
    double carbohydrate = 0;
};

enum class SplitRounding {
    // The personal record's save rounds each energy and each share to four decimals (halves to even)
    // before the two-decimal truncation.
    FourDecimals,
    // The analysis truncates the plain shares.
    None,
};

// Shares from average daily intakes in grams. A sum of 0 or less counts as 1, so every share is 0.
// Each share is truncated to two decimals, so the three need not add up to exactly 100.
EnergySplit energySplit(double proteinGrams, double fatGrams, double carbohydrateGrams,
                        SplitRounding rounding);

// Reads the stored protein, fat and carbohydrate intakes (lsyysfx.srl rows 2 to 4, empty as 0) and
// writes their split into sdrn rows 1 to 3, on the process-wide connection.
EnergySplit storeEnergySplit(SplitRounding rounding);

} // namespace nc::data
