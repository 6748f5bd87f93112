#pragma once
// Food names handed between the diet record window and the food composition windows, which open each
// other by class name only and so share nothing else.

#include <QString>

#include <functional>

namespace nc::diet {

// The name of the food whose composition the food composition viewer shows; set by the diet record
// window just before it opens the viewer.
QString& lsfoodname();

// The food query window hands a picked food name to the diet record window's food box through this.
// The diet record window installs its setter while it is open; with none installed, nothing happens.
void setFoodBoxText(const QString& name);
void setFoodBoxSetter(std::function<void(const QString&)> setter);

} // namespace nc::diet
