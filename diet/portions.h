#pragma once
// Household portions (一碗, 两个, 一杯, 一勺) and meals of a food entry. A portion is only a way of
// entering the weight: the entry stores the grams of the edible part it stands for, and the portion
// as entered beside them ("2个"), so the analysis reads grams as always.

#include "data/meals.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace nc::diet {

struct Portion {
    QString unit;       // 碗, 个, 杯 …
    double grams = 0;   // one unit's typical weight
    bool edible = true; // the weight is of the edible part; false: as bought (egg in its shell)
    bool operator==(const Portion&) const = default;
};

// Whether a portion row's food name covers a food: the same name, or the name its varieties start
// with before a bracket ("鸡蛋" covers 鸡蛋（白皮） and 鸡蛋[土鸡], not 鸡蛋白 or 鸡蛋黄).
bool portionCovers(const QString& portionFood, const QString& foodName);

// The household portions known for the foods (table foodportion).
class PortionTable {
public:
    struct Row {
        QString food;
        Portion portion;
    };
    PortionTable() = default;
    explicit PortionTable(QList<Row> rows) : rows_(std::move(rows)) {}
    static PortionTable load();

    // The portions of a food, one per unit: for each unit the row naming the food most closely (the
    // whole name before a shorter one), in the table's order of units.
    QList<Portion> portionsOf(const QString& foodName) const;

private:
    QList<Row> rows_;
};

// The grams stored for `count` units: of the edible part, so a weight as bought is multiplied by the
// food's edible share (percent). Rounded to one decimal.
double portionGrams(double count, const Portion& portion, double ediblePercent);

// The portion as stored beside the grams: "2个", "1.5碗".
QString portionText(double count, const QString& unit);

using data::mealOrder;
using data::mealOrderSql;
using data::meals;

} // namespace nc::diet
