#pragma once
// The evaluation lines of the analysis report: which texts of app_pj each nutrient gets, chosen by how
// far its intake is from the reference and from the tolerable upper level, and by the person's
// category; and in which order the shortfalls are printed, the ones that matter most first.
//
// The rules, nutrient by nutrient (dris = intake as a percentage of the reference, as the analysis
// stores it; a row without a stored dris, such as fat and carbohydrate, which have no reference, is
// judged on its upper level alone):
//   - intake at or above the upper level (ul): a sentence naming intake and level, followed by the
//     ">=UL" texts (the ">110" texts when there are none). This warning does not depend on the reference.
//   - otherwise dris above 110: the ">110" texts (the intake is more than needed); but while energy is
//     below 80 % of its reference these are not printed: one line says instead that the shares are high
//     because too little food is eaten, and that enough energy comes first.
//   - dris below 90: the "<90" texts.
//   - 90 to 110 inclusive: nothing.
// For each nutrient and range the texts of the person's category (grp) are used when there are any,
// otherwise the general ones (grp null or empty); several texts of one nutrient, range and group all
// print, in the order of the table.
//
// Shortfalls in order: each nutrient below 90 % scores its shortfall in percentage points (100 − dris),
// doubled for the nutrients that matter most for the category (kPriorityNutrients). The three highest
// scores are the key points: they come first, highest score first, and are named in the report's
// headline ("最需要改善：钙、铁、蛋白质"); the other shortfalls follow from the largest (lowest dris) to
// the smallest. Equal scores or percentages keep the order of the nutrient rows.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace nc::analysis {

// One row of lsyysfx as the evaluation needs it.
struct NutrientRow {
    int id = 0;
    QString name; // yysmc
    QString unit; // dw
    double intake = 0;
    double reference = 0;
    std::optional<double> dris; // null: no comparison stored
    std::optional<double> ul;   // null: no upper level
};

// One row of app_pj.
struct EvaluationText {
    int nutrient = 0; // z_id
    QString range;    // "<90", ">110", ">=UL"
    QString content;
    QString rgName;
    QString appraise;
    QString group; // "" for every category
};

// One printed line: "<b>content（rg_name）：</b>sentence appraise".
struct EvaluationLine {
    int nutrient = 0;
    QString content;
    QString rgName;
    QString sentence; // the upper-level sentence on the first line of such a warning, else empty
    QString appraise;
    bool key = false; // a shortfall among the three that matter most
};

struct Evaluation {
    QList<EvaluationLine> shortfalls; // the key ones first, then from the largest shortfall
    QList<EvaluationLine> excess;     // upper-level warnings, then intakes above 110 %, by row
    QStringList keyNutrients;         // names of the key shortfalls, in their order
    QString headline;                 // "最需要改善：钙、铁、蛋白质", empty without shortfalls
};

// The rows (lsyysfx ids) whose shortfall counts double for a category; none for an unknown one.
QList<int> priorityNutrients(const QString& category);

// The upper-level sentence: "每日平均摄入 2500 毫克，已达到或超过可耐受最高摄入量（2000 毫克）。"
QString upperLevelSentence(double intake, double ul, const QString& unit);

Evaluation evaluateIntakes(const QList<NutrientRow>& rows, const QString& category,
                           const QList<EvaluationText>& texts);

// The same from the database: the fourteen rows of lsyysfx, the category of personinf (csjd) and the
// texts of app_pj in table order. A file whose update failed, without upper levels and categories of
// texts, is read as having none: the texts are those of the release before.
QList<NutrientRow> readNutrientRows();
QList<EvaluationText> readEvaluationTexts();
Evaluation evaluateStoredIntakes();

} // namespace nc::analysis
