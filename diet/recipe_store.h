#pragma once
// Recipes: a named copy of one day's food list in table sps, saved from and loaded back into the
// current day of the diet record.

#include "data/dataset.h"

#include <QStringList>

namespace nc::diet {

// Saves every food entry of the current day (the foods data set, first to last) with its meal and
// portion under the trimmed name, each line stamped with the current moment, as one transaction.
// Returns false, storing nothing, when the trimmed name is empty. A day without entries stores nothing.
bool saveRecipe(const QString& name, data::DataSet& foods);

// The names of all saved recipes, each once, in the order the database returns them.
QStringList recipeNames();

// Appends the recipe's lines with their meals and portions, ordered by the time they were saved, to
// the current day through the foods data set, as one transaction; the day's earlier entries stay.
// Returns the number of lines. On a failure nothing is added and the foods data set shows the stored
// day again.
int loadRecipe(const QString& name, data::DataSet& foods, int day);

} // namespace nc::diet
