#include "evaluation_texts.h"

#include "data/connection.h"
#include "data/query.h"
#include "data/upper_levels.h"
#include "data/value.h"
#include "data/values.h"

#include <algorithm>

namespace nc::analysis {

using data::Query;
using data::Value;

namespace {

const QString kBelow = QStringLiteral("<90");
const QString kAbove = QStringLiteral(">110");
const QString kAtUpperLevel = QStringLiteral(">=UL");
const QString kUpperLevelJudgement = QStringLiteral("超过可耐受最高摄入量");

constexpr int kEnergyRow = 1;
constexpr double kEnergyFarBelow = 80; // percent of the energy reference
constexpr int kKeyCount = 3;

QString figure(double v) {
    return Value(v).toText();
}

// The units of lsyysfx.dw as a sentence says them.
QString spokenUnit(const QString& unit) {
    if (unit == QLatin1String("kcal"))
        return QStringLiteral("千卡");
    if (unit == QLatin1String("g"))
        return QStringLiteral("克");
    if (unit == QLatin1String("mg"))
        return QStringLiteral("毫克");
    if (unit == QStringLiteral("μg"))
        return QStringLiteral("微克");
    if (unit == QStringLiteral("μgRE"))
        return QStringLiteral("微克视黄醇当量");
    return unit;
}

// The texts of one nutrient and range for the category: its own group's when it has any, else the
// general ones, in table order.
QList<const EvaluationText*> textsFor(const QList<EvaluationText>& texts, int nutrient, const QString& range,
                                      const QString& category) {
    QList<const EvaluationText*> own;
    QList<const EvaluationText*> general;
    for (const EvaluationText& t : texts) {
        if (t.nutrient != nutrient || t.range != range)
            continue;
        const QString group = t.group.trimmed();
        if (group.isEmpty())
            general << &t;
        else if (!category.isEmpty() && group == category)
            own << &t;
    }
    return own.isEmpty() ? general : own;
}

EvaluationLine lineOf(const EvaluationText& t) {
    EvaluationLine line;
    line.nutrient = t.nutrient;
    line.content = t.content;
    line.rgName = t.rgName;
    line.appraise = t.appraise;
    return line;
}

bool atUpperLevel(const NutrientRow& r) {
    return r.ul && r.intake >= *r.ul;
}

} // namespace

QList<int> priorityNutrients(const QString& category) {
    // Rows: 1 energy, 2 protein, 5 vitamin A, 11 calcium, 12 iron, 13 zinc.
    if (category == data::kCategoryPregnant)
        return {1, 2, 12, 11, 13};
    if (category == data::kCategoryNursing)
        return {1, 2, 11, 5};
    if (category == data::kCategoryChildbearing)
        return {12, 11, 2};
    return {};
}

QString upperLevelSentence(double intake, double ul, const QString& unit) {
    const QString spoken = spokenUnit(unit);
    return QStringLiteral("每日平均摄入 %1 %2，已达到或超过可耐受最高摄入量（%3 %2）。")
        .arg(figure(intake), spoken, figure(ul));
}

Evaluation evaluateIntakes(const QList<NutrientRow>& rows, const QString& category,
                           const QList<EvaluationText>& texts) {
    Evaluation out;

    // Energy far below its reference: shares above 110 % are then a sign of too little food.
    std::optional<double> energyDris;
    for (const NutrientRow& r : rows)
        if (r.id == kEnergyRow)
            energyDris = r.dris;
    const bool energyFarBelow = energyDris && *energyDris < kEnergyFarBelow;

    // 1. At or above the upper level, by row.
    for (const NutrientRow& r : rows) {
        if (!atUpperLevel(r))
            continue;
        QList<const EvaluationText*> chosen = textsFor(texts, r.id, kAtUpperLevel, category);
        const bool ownTexts = !chosen.isEmpty();
        if (!ownTexts)
            chosen = textsFor(texts, r.id, kAbove, category);
        const QString sentence = upperLevelSentence(r.intake, *r.ul, r.unit);
        if (chosen.isEmpty()) {
            EvaluationLine line;
            line.nutrient = r.id;
            line.content = r.name;
            line.rgName = kUpperLevelJudgement;
            line.sentence = sentence;
            out.excess << line;
            continue;
        }
        for (int i = 0; i < chosen.size(); ++i) {
            EvaluationLine line = lineOf(*chosen.at(i));
            if (!ownTexts)
                line.rgName = kUpperLevelJudgement; // the ">110" text says why, the judgement is the level's
            if (i == 0)
                line.sentence = sentence;
            out.excess << line;
        }
    }

    // 2. Above 110 % and below the upper level.
    QStringList highShares;
    for (const NutrientRow& r : rows) {
        if (atUpperLevel(r) || !r.dris || !(*r.dris > 110))
            continue;
        if (energyFarBelow) {
            highShares << r.name;
            continue;
        }
        for (const EvaluationText* t : textsFor(texts, r.id, kAbove, category))
            out.excess << lineOf(*t);
    }
    if (!highShares.isEmpty()) {
        EvaluationLine line;
        line.content = highShares.join(QStringLiteral("、"));
        line.rgName = QStringLiteral("占推荐量的比例偏高");
        line.appraise =
            QStringLiteral("能量只达到推荐量的 %1%，吃的食物总量偏少。这些营养素占推荐量的比例偏高，"
                           "是在食物总量不足的情况下显出来的，并不说明吃得过多，不必为此减少相应的食物。"
                           "首要的是把能量吃够：增加主食和各类食物的总量，再看各营养素是否合适。")
                .arg(figure(*energyDris));
        out.excess << line;
    }

    // 3. Below 90 %: the key three first, then from the largest shortfall.
    struct Shortfall {
        const NutrientRow* row;
        double score;
    };
    const QList<int> priority = priorityNutrients(category);
    QList<Shortfall> shortfalls;
    for (const NutrientRow& r : rows) {
        if (atUpperLevel(r) || !r.dris || !(*r.dris < 90))
            continue;
        const double points = 100 - *r.dris;
        shortfalls.append({&r, priority.contains(r.id) ? 2 * points : points});
    }
    std::stable_sort(shortfalls.begin(), shortfalls.end(),
                     [](const Shortfall& a, const Shortfall& b) { return a.score > b.score; });
    const qsizetype keys = std::min<qsizetype>(kKeyCount, shortfalls.size());
    std::stable_sort(shortfalls.begin() + keys, shortfalls.end(),
                     [](const Shortfall& a, const Shortfall& b) { return *a.row->dris < *b.row->dris; });
    for (qsizetype i = 0; i < shortfalls.size(); ++i) {
        const NutrientRow& r = *shortfalls.at(i).row;
        const bool key = i < keys;
        if (key)
            out.keyNutrients << r.name;
        for (const EvaluationText* t : textsFor(texts, r.id, kBelow, category)) {
            EvaluationLine line = lineOf(*t);
            line.key = key;
            out.shortfalls << line;
        }
    }
    if (!out.keyNutrients.isEmpty())
        out.headline = QStringLiteral("最需要改善：") + out.keyNutrients.join(QStringLiteral("、"));
    return out;
}

QList<NutrientRow> readNutrientRows() {
    Query q;
    // A file whose update failed has no upper levels: every row is then without one.
    q.setSql(
        holdsUpperLevels(data::Connection::required())
            ? QStringLiteral("select id, yysmc, dw, srl, ckl, dris, ul from lsyysfx order by id")
            : QStringLiteral("select id, yysmc, dw, srl, ckl, dris, null as ul from lsyysfx order by id"));
    q.open();
    QList<NutrientRow> rows;
    for (const QList<Value>& v : q.rows()) {
        NutrientRow r;
        r.id = int(v.at(0).toInteger());
        r.name = v.at(1).toText();
        r.unit = v.at(2).toText();
        r.intake = v.at(3).toReal();
        r.reference = v.at(4).toReal();
        if (!v.at(5).isNull())
            r.dris = v.at(5).toReal();
        if (!v.at(6).isNull())
            r.ul = v.at(6).toReal();
        rows << r;
    }
    return rows;
}

QList<EvaluationText> readEvaluationTexts() {
    Query q;
    // Without the update's columns every text is general.
    q.setSql(
        holdsUpperLevels(data::Connection::required())
            ? QStringLiteral("select z_id, range, content, rg_name, appraise, grp from app_pj order by rowid")
            : QStringLiteral("select z_id, range, content, rg_name, appraise, '' as grp from app_pj "
                             "order by rowid"));
    q.open();
    QList<EvaluationText> texts;
    for (const QList<Value>& v : q.rows()) {
        if (v.at(0).isNull())
            continue; // a text of no nutrient is never printed
        texts.append({int(v.at(0).toInteger()), v.at(1).toText(), v.at(2).toText(), v.at(3).toText(),
                      v.at(4).toText(), v.at(5).toText()});
    }
    return texts;
}

Evaluation evaluateStoredIntakes() {
    Query person;
    person.setSql(QStringLiteral("select csjd from personinf"));
    person.open();
    const QString category = person.eof() ? QString() : person.field(QStringLiteral("csjd")).toText();
    return evaluateIntakes(readNutrientRows(), category, readEvaluationTexts());
}

} // namespace nc::analysis
