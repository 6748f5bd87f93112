#include "analysis_reports.h"

#include "data/clock.h"
#include "data/connection.h"
#include "data/numeric.h"
#include "data/upper_levels.h"
#include "data/values.h"
#include "report/energy_chart.h"

#include <cmath>

namespace nc::analysis {

using data::Query;
using report::RvDataSetConnection;

namespace {

// The chart picture keeps its layout size and gets three times the pixels, so it prints sharp.
constexpr qreal kChartPixelRatio = 3;

// A total as the list prints its amounts: two decimals, halves away from zero, like the database's
// round() that gives each food's amount, so a day of one food totals exactly what its row shows. The
// value is read at twelve decimals first, so 4.2449999999999997 (the double for 4.245) counts as 4.245.
QString roundedAmount(double v) {
    const QString text = QString::number(std::fabs(v), 'f', 12);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    qint64 hundredths = text.left(point).toLongLong() * 100 + text.mid(point + 1, 2).toLongLong();
    if (text.at(point + 3) >= QLatin1Char('5'))
        ++hundredths;
    const double rounded = double(hundredths) / 100;
    return QString::number(v < 0 ? -rounded : rounded, 'g', 15);
}

void reopen(Query& q, const QString& sql) {
    q.close();
    q.setSql(sql);
    q.open();
}

// The stored shares of the open sdrn query by row id: protein, fat, carbohydrate (0 for a missing row).
std::array<double, 3> storedShares(const Query& sdrn) {
    std::array<double, 3> shares{0, 0, 0};
    const int idColumn = sdrn.fieldIndex(QStringLiteral("id"));
    const int valueColumn = sdrn.fieldIndex(QStringLiteral("value1"));
    for (const QList<data::Value>& row : sdrn.rows()) {
        const qint64 id = row.at(idColumn).toInteger();
        if (id >= data::kSplitProtein && id <= data::kSplitCarbohydrate)
            shares[std::size_t(id - data::kSplitProtein)] = row.at(valueColumn).toReal();
    }
    return shares;
}

report::DataTable evaluationTable(const QList<EvaluationLine>& lines) {
    report::DataTable table;
    table.columns =
        QStringList{QStringLiteral("content"), QStringLiteral("rg_name"), QStringLiteral("sentence"),
                    QStringLiteral("appraise"), QStringLiteral("key")};
    for (const EvaluationLine& line : lines)
        table.rows.append({line.content, line.rgName, line.sentence, line.appraise,
                           line.key ? QStringLiteral("【重点】") : QString()});
    return table;
}

} // namespace

QString analysisLayoutFor(const data::Value& category) {
    const QString text = category.isNull() ? QString() : category.toText();
    if (text == data::kCategoryChildbearing)
        return kLayoutChildbearing;
    if (text == data::kCategoryPregnant)
        return kLayoutPregnant;
    return kLayoutNursing;
}

EnergyShareGrams energyShareGrams(double energyReference) {
    if (!(energyReference > 0))
        return {};
    // Tenths of a gram, halves to the even neighbour like the program's other rounding.
    auto grams = [&](int lowPercent, int highPercent, int kcalPerGram) {
        auto g = [&](int percent) {
            return QString::number(data::roundHalfEven(energyReference * percent / 100.0 / kcalPerGram, 1),
                                   'f', 1);
        };
        return g(lowPercent) + QStringLiteral("～") + g(highPercent);
    };
    const EnergyShareRange& fat = kEnergyShareRanges[std::size_t(data::kSplitFat - 1)];
    const EnergyShareRange& carbohydrate = kEnergyShareRanges[std::size_t(data::kSplitCarbohydrate - 1)];
    return {grams(fat.low, fat.high, 9), grams(carbohydrate.low, carbohydrate.high, 4)};
}

QString reportDate() {
    return data::Clock::today().toString(QStringLiteral("yyyy年M月d日"));
}

AnalysisReport::AnalysisReport() : RvProject1(&RvSystem2) {
    RvSystem2.setTitle(report::kTitleAnalysis);
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection1"), ADOQuery_gy));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection2"), ADOTable_ts));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection3"),
                                                 [this] { return evaluationTable(evaluation_.shortfalls); }));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection4"),
                                                 [this] { return evaluationTable(evaluation_.excess); }));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("energy_split"), [this] {
        report::DataTable table;
        table.columns = QStringList{QStringLiteral("nutrient"), QStringLiteral("share"),
                                    QStringLiteral("range"), QStringLiteral("judgement")};
        for (const EnergyShareRow& row : energyReview_.rows)
            table.rows.append({row.nutrient, row.share, row.range, row.judgement});
        return table;
    }));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("energy_advice"), [this] {
        report::DataTable table;
        table.columns = QStringList{QStringLiteral("advice")};
        for (const QString& line : energyReview_.advice)
            table.rows.append(QStringList{line});
        return table;
    }));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("gap_foods"), [this] {
        report::DataTable table;
        table.columns =
            QStringList{QStringLiteral("nutrient"), QStringLiteral("foods"), QStringLiteral("line")};
        for (const GapFoodLine& line : gapFoods_)
            table.rows.append({line.nutrient, line.foods, line.line});
        return table;
    }));
}

AnalysisResult AnalysisReport::run() {
    const AnalysisResult result = runIntakeAnalysis();
    print(result);
    return result;
}

void AnalysisReport::print(const AnalysisResult& result) {
    prepare(result);
    RvProject1.execute();
}

void AnalysisReport::prepare(const AnalysisResult& result) {
    // The energy pie, from the shares just stored.
    reopen(ADOTable_yyfx1, QStringLiteral("select * from sdrn"));
    report::saveEnergyChart(ADOTable_yyfx1, report::ChartPicture{report::kEnergyChartFile,
                                                                 report::kEnergyChartSize, kChartPixelRatio});
    // The table under the pie judges the same shares.
    energyReview_ = reviewEnergySplit(storedShares(ADOTable_yyfx1));

    // The evaluation lines follow the comparison just written, and so do the foods that close the
    // shortfalls among them.
    evaluation_ = evaluateStoredIntakes();
    gapFoods_ = gapFoodLines(suggestGapFoods(readShortfalls(), readCandidateFoods()));

    reopen(ADOQuery_gy, QStringLiteral("select * from personinf;"));
    ADOQuery_gy.first();
    const data::Value category = ADOQuery_gy.field(QStringLiteral("csjd"));
    reopen(ADOTable_ts, data::holdsUpperLevels(data::Connection::required())
                            ? kNutrientRowsSql
                            : kNutrientRowsWithoutUpperLevelsSql);

    RvProject1.setProjectFile(analysisLayoutFor(category));
    RvProject1.clearParams();
    // The days the intakes were divided by, so the report never states more days than it averaged.
    RvProject1.setParam(QStringLiteral("days"), QString::number(result.days));
    RvProject1.setParam(QStringLiteral("date"), reportDate());
    if (!evaluation_.headline.isEmpty())
        RvProject1.setParam(QStringLiteral("key_shortfalls"), evaluation_.headline);
    Query energy;
    energy.setSql(QStringLiteral("select ckl from lsyysfx where id=1"));
    energy.open();
    const double energyReference = energy.eof() ? 0 : energy.field(QStringLiteral("ckl")).toReal();
    const EnergyShareGrams grams = energyShareGrams(energyReference);
    if (!grams.fat.isEmpty()) {
        RvProject1.setParam(QStringLiteral("energy_reference"), QString::number(energyReference, 'g', 15));
        RvProject1.setParam(QStringLiteral("fat_grams"), grams.fat);
        RvProject1.setParam(QStringLiteral("carbohydrate_grams"), grams.carbohydrate);
    }
    // Only what was missing is set: the layout prints a note for each parameter present.
    const MissingDataNotes notes = missingDataNotes(result);
    if (!notes.unknownFoods.isEmpty())
        RvProject1.setParam(QStringLiteral("missing_foods"), notes.unknownFoods);
    if (!notes.withoutAmount.isEmpty())
        RvProject1.setParam(QStringLiteral("missing_amounts"), notes.withoutAmount);
    if (!notes.missingValues.isEmpty())
        RvProject1.setParam(QStringLiteral("missing_values"), notes.missingValues);
    if (!gapFoods_.isEmpty())
        RvProject1.setParam(QStringLiteral("gap_foods_present"), QStringLiteral("1"));
}

report::DataTable withDailyTotals(const report::DataTable& list, const IntakeTotals& totals, int days) {
    // Which nutrient each column holds, -1 for the others.
    QList<int> nutrientOf;
    for (const QString& column : list.columns) {
        int found = -1;
        for (std::size_t i = 0; i < data::kNutrients.size(); ++i)
            if (column.compare(QLatin1String(data::kNutrients[i].column), Qt::CaseInsensitive) == 0)
                found = int(i);
        nutrientOf << found;
    }
    const int dayColumn = int(list.columns.indexOf(QStringLiteral("tsid")));
    const int nameColumn = int(list.columns.indexOf(QStringLiteral("swname")));
    auto row = [&](const QString& day, const QString& label, const std::array<double, 14>& amounts,
                   bool cut) {
        QStringList cells;
        for (int c = 0; c < list.columns.size(); ++c) {
            if (c == dayColumn)
                cells << day;
            else if (c == nameColumn)
                cells << label;
            else if (nutrientOf.at(c) >= 0)
                cells << (cut ? QString::number(amounts[std::size_t(nutrientOf.at(c))], 'g', 15)
                              : roundedAmount(amounts[std::size_t(nutrientOf.at(c))]));
            else
                cells << QString();
        }
        return cells;
    };

    report::DataTable out;
    out.columns = list.columns;
    out.rows.reserve(list.rows.size() + totals.byDay.size() + 1);
    for (int r = 0; r < list.rows.size(); ++r) {
        out.rows.append(list.rows.at(r));
        const QString day = list.rows.at(r).value(dayColumn);
        if (r + 1 < list.rows.size() && list.rows.at(r + 1).value(dayColumn) == day)
            continue;
        out.rows.append(row(day, day.isEmpty() ? QStringLiteral("无天次合计") : QStringLiteral("当日合计"),
                            totals.byDay.value(day), false));
    }
    if (!list.rows.isEmpty() && days > 0)
        out.rows.append(row(QString(), QStringLiteral("每日平均（%1 天）").arg(days),
                            averageIntakes(totals.all, days), true));
    return out;
}

FoodListReport::FoodListReport() : RvProject1(&RvSystem2) {
    RvSystem2.setTitle(report::kTitlePhysique); // the food list prints under the same job title
    ADOQuery1.setSql(kFoodListSql);
    ADOQuery1.addLine(kFoodListFromSql);
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection1"), [this] {
        const report::DataTable list =
            RvDataSetConnection(QStringLiteral("RvDataSetConnection1"), ADOQuery1).read();
        Query days;
        days.setSql(QStringLiteral("select count(*) as n from ts"));
        days.open();
        return withDailyTotals(list, readIntakeTotals(), int(days.field(QStringLiteral("n")).toInteger()));
    }));
    RvProject1.addConnection(RvDataSetConnection(QStringLiteral("RvDataSetConnection2"), ADOQuery_gy));
}

void FoodListReport::run() {
    ADOQuery1.close();
    ADOQuery1.open();
    reopen(ADOQuery_gy, QStringLiteral("select * from personinf;"));
    RvProject1.setProjectFile(kLayoutFoodList);
    RvProject1.clearParams();
    RvProject1.setParam(QStringLiteral("date"), reportDate());
    RvProject1.execute();
}

} // namespace nc::analysis
