#pragma once
// The update from the food table first shipped to the corrected one. A counsellor's file made from
// the first table is brought to the corrected figures and names without losing her own work:
//  - a cell that still holds the first table's value takes the corrected value; one she changed stays;
//  - a food that still has its first name takes the corrected name, and the diet record and saved
//    recipes naming it follow; a name she changed stays;
//  - the foods the first table lacked are added; where a food of hers already has one of their
//    numbers, hers stays and the added food takes the next free number of its category;
//  - her own foods are left alone.

#include "csv.h"

#include <QString>

namespace nc::data {

class Connection;

// The data the update applies, shipped inside the program.
struct FoodTableCorrection {
    CsvTable cells;   // foodid, foodname, column, old_value, new_value, … (one row per changed cell)
    CsvTable renamed; // foodid, old_name, new_name
    CsvTable added;   // the added foods, in the columns of Foodnurti
};
const FoodTableCorrection& shippedFoodTableCorrection();

// Applies the correction on the connection; runs inside the caller's transaction and throws Error
// when it cannot be applied.
void applyFoodTableCorrection(Connection& c, const FoodTableCorrection& correction);
// The update step with the shipped data.
void applyShippedFoodTableCorrection(Connection& c);

} // namespace nc::data
