#pragma once
// A menu's day as the program itself analyses it: the menu is entered as the only day of the diet
// record of the current database, the intake analysis runs, and its energy and protein are set
// against the reference intakes of the woman the menus are written for.

#include "sheet_source.h"

#include <QStringList>

namespace nc::sheets {

// The reference woman of every menu: 160 cm, 55 kg, light activity. For a pregnant woman the record
// holds her weight before pregnancy and for a nursing mother her weight when not pregnant, so the
// references follow from 55 kg at every stage (BMI 21.48, within 19.8 to 26).
inline constexpr double kReferenceHeightCm = 160;
inline constexpr double kReferenceWeightKg = 55;

struct MenuFigures {
    double energy = 0;          // kcal per day, as the analysis stores it
    double protein = 0;         // g per day
    double energyReference = 0; // the reference woman's reference intakes for the menu's stage
    double proteinReference = 0;
};

// The foods of the menu that the food table of the current database does not hold.
QStringList unknownFoods(const Sheet& menu);

// Replaces the diet record of the current database with the menu as day 1 and runs the intake
// analysis. Meant for a scratch database: the diet record there is overwritten.
MenuFigures menuFigures(const Sheet& menu);

// The lines printed at the foot of a menu sheet: the day's figures, and whom they are measured for.
QString figuresLine(const MenuFigures& f);
QString referenceBasisLine(const Sheet& menu, const MenuFigures& f);

} // namespace nc::sheets
