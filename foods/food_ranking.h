#pragma once
// The food query's lists in the order the diet record's type-ahead ranks them: the food meant first.

#include "data/dataset.h"

#include <QStringList>

namespace nc::foods {

// Opens the food list on the foods of these numbers (foodid), in the order of the list.
void listInOrder(data::DataSet& foods, const QStringList& ids);

} // namespace nc::foods
