#include "intake_analysis.h"

#include "data/connection.h"
#include "data/energy_split.h"
#include "data/numeric.h"
#include "data/query.h"
#include "data/upper_levels.h"
#include "data/values.h"

#include <QHash>
#include <vector>

namespace nc::analysis {

using namespace nc::data;

namespace {

constexpr std::size_t kCount = kNutrients.size();

// Leading and trailing blanks and control characters are not part of a food name.
QString cleanName(const QString& s) {
    int b = 0;
    int e = int(s.size());
    while (b < e && s[b].unicode() <= 0x20)
        ++b;
    while (e > b && s[e - 1].unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

// Food names are compared the way the database compares the column (COLLATE NOCASE): equal when
// they differ only in the case of the Latin letters A to Z.
QString nameKey(QString s) {
    for (QChar& c : s)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    return s;
}

struct FoodValues {
    std::array<double, kCount> value{}; // per 100 g, empty as 0
    std::array<bool, kCount> missing{};
};

// The food table read once: for each name the first food row of that name, as a lookup by name
// would return it (rows of equal name come in the order they were stored).
class FoodTable {
public:
    FoodTable() {
        Query q;
        q.setSql(
            QStringLiteral("select foodname,energy,protein,fat,carbohydra,vita,vite,vitc,vitb1,vitb2,vitpp,"
                           "ca,fe,zn,se from foodnurti order by rowid"));
        q.open();
        foods_.reserve(std::size_t(q.recordCount()));
        index_.reserve(q.recordCount());
        for (const QList<Value>& row : q.rows()) {
            if (row.at(0).isNull())
                continue; // no name: no entry can match it
            const QString key = nameKey(row.at(0).toText());
            if (index_.contains(key))
                continue;
            FoodValues f;
            for (std::size_t i = 0; i < kCount; ++i) {
                const Value& v = row.at(int(i) + 1);
                f.missing[i] = v.isNull();
                f.value[i] = v.toReal();
            }
            index_.insert(key, int(foods_.size()));
            foods_.push_back(f);
        }
    }

    const FoodValues* find(const QString& name) const {
        const auto it = index_.constFind(nameKey(name));
        return it == index_.constEnd() ? nullptr : &foods_[std::size_t(*it)];
    }

private:
    std::vector<FoodValues> foods_;
    QHash<QString, int> index_;
};

} // namespace

NoDaysError::NoDaysError()
    : Error(QStringLiteral("膳食记录里有食物，但没有任何天次，无法计算每日平均摄入量。请先增加天数。")) {}

IntakeTotals readIntakeTotals() {
    IntakeTotals t;
    const FoodTable foods;
    Query entries;
    entries.setSql(QStringLiteral("select foodcheck.swname, foodcheck.zl, ts.tsid from foodcheck "
                                  "left join ts on ts.tsid=foodcheck.tc order by foodcheck.rowid"));
    entries.open();
    t.entries = entries.recordCount();
    for (const QList<Value>& row : entries.rows()) {
        const FoodValues* food = foods.find(cleanName(row.at(0).toText()));
        if (!food) {
            ++t.unknownFoods; // a food missing from the table adds nothing
            continue;
        }
        if (row.at(1).isNull())
            ++t.withoutAmount;
        const double amount = row.at(1).toReal();
        std::array<double, kCount>& day = t.byDay[row.at(2).isNull() ? QString() : row.at(2).toText()];
        for (std::size_t i = 0; i < kCount; ++i) {
            const double value = food->value[i] * amount / 100;
            t.all[i] += value;
            day[i] += value;
            t.missingValues[i] += food->missing[i] ? 1 : 0;
        }
    }
    return t;
}

std::array<double, 14> averageIntakes(const std::array<double, 14>& totals, int days) {
    const int divisor = days > 0 ? days : 1;
    std::array<double, 14> out{};
    for (std::size_t i = 0; i < kCount; ++i)
        out[i] = trunc2(double(static_cast<long double>(totals[i]) / divisor));
    return out;
}

AnalysisResult runIntakeAnalysis() {
    Connection& conn = Connection::required();
    Transaction transaction(conn);
    AnalysisResult result;

    // 1. Totals over every food entry, whatever its day, in the order the entries are stored.
    const IntakeTotals totals = readIntakeTotals();
    result.entries = totals.entries;
    result.unknownFoods = totals.unknownFoods;
    result.withoutAmount = totals.withoutAmount;
    result.missingValues = totals.missingValues;

    // 2. Days.
    Query q;
    q.setSql(QStringLiteral("select count(*) as xyz from ts "));
    q.open();
    result.days = int(q.field(QStringLiteral("xyz")).toInteger());
    if (result.days <= 0 && result.entries > 0)
        throw NoDaysError();

    // 3. Average daily intakes, divided in extended precision, stored cut to two decimals (no days
    //    and no foods: every intake is 0).
    result.intakes = averageIntakes(totals.all, result.days);
    for (std::size_t i = 0; i < kCount; ++i) {
        q.setSql(QStringLiteral("update lsyysfx set srl=:s_ene where id=%1").arg(kNutrients[i].id));
        q.setParam(QStringLiteral("s_ene"), result.intakes[i]);
        q.execute();
    }

    // 4. The upper levels of the stored category, written afresh, so that a record saved by an older
    //    program, or one whose category was changed outside the record window, is judged by its own.
    q.setSql(QStringLiteral("select csjd from personinf"));
    q.open();
    storeUpperLevels(conn, q.eof() ? QString() : q.field(QStringLiteral("csjd")).toText());
    q.close();

    // 5. Comparison with the reference intakes, only where there is a reference.
    try {
        Transaction comparison(conn);
        q.setSql(
            QStringLiteral("update lsyysfx set cz=round(srl-ckl,2),dris=round(srl/ckl*100,2) where ckl<>0"));
        q.execute();
        comparison.commit();
    } catch (const DbError& e) {
        result.comparisonFailed = true;
        result.comparisonError = e.text();
    }

    // 6. Energy split of the stored intakes.
    storeEnergySplit(SplitRounding::None);
    transaction.commit();
    return result;
}

MissingDataNotes missingDataNotes(const AnalysisResult& r) {
    MissingDataNotes notes;
    if (r.unknownFoods > 0)
        notes.unknownFoods = QStringLiteral("%1 条记录的食物不在食物成分表中，按 0 计。").arg(r.unknownFoods);
    if (r.withoutAmount > 0)
        notes.withoutAmount = QStringLiteral("%1 条记录没有填写重量，按 0 计。").arg(r.withoutAmount);
    QStringList parts;
    for (std::size_t i = 0; i < kCount; ++i)
        if (r.missingValues[i] > 0)
            parts << QStringLiteral("%1 %2 条")
                         .arg(QString::fromUtf8(kNutrients[i].name))
                         .arg(r.missingValues[i]);
    if (!parts.isEmpty())
        notes.missingValues = QStringLiteral("食物成分表中缺少以下营养素数值、按 0 计的记录：%1。")
                                  .arg(parts.join(QStringLiteral("，")));
    return notes;
}

} // namespace nc::analysis
