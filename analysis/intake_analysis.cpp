#include "intake_analysis.h"

#include "data/connection.h"
#include "data/energy_split.h"
#include "data/errors.h"
#include "data/numeric.h"
#include "data/query.h"
#include "data/values.h"

namespace nc::analysis {

using namespace nc::data;

namespace {

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

} // namespace

AnalysisResult runIntakeAnalysis() {
    Connection& conn = Connection::required();
    Transaction transaction(conn);
    AnalysisResult result;

    // 1. Totals over every food entry, whatever its day.
    std::array<long double, 14> totals{};
    Query entries;
    entries.setSql(QStringLiteral("select * from foodcheck"));
    entries.open();
    Query lookup;
    lookup.setSql(QStringLiteral("select energy,protein,fat,carbohydra,vita,vite,vitc,vitb1,vitb2,vitpp,ca,fe,zn,se "
                                 "from foodnurti "));
    lookup.addLine(QStringLiteral("where foodname=:lsfn;"));
    for (entries.first(); !entries.eof(); entries.next()) {
        const QString name = cleanName(entries.field(QStringLiteral("swname")).toText());
        const double amount = entries.field(QStringLiteral("zl")).toReal();
        lookup.setParam(QStringLiteral("lsfn"), name);
        lookup.open();
        if (lookup.eof())
            continue; // a food missing from the table adds nothing
        for (std::size_t i = 0; i < kNutrients.size(); ++i)
            totals[i] += lookup.field(int(i)).toReal() * amount / 100;
    }
    lookup.close();

    // 2. Days.
    Query q;
    q.setSql(QStringLiteral("select count(*) as xyz from ts "));
    q.open();
    result.days = int(q.field(QStringLiteral("xyz")).toInteger());
    if (result.days <= 0 && entries.recordCount() > 0)
        throw Error(QStringLiteral("膳食记录里有食物，但没有任何天次，无法计算每日平均摄入量。请先增加天数。"));
    const int divisor = result.days > 0 ? result.days : 1; // no days and no foods: every intake is 0

    // 3. Average daily intakes.
    for (std::size_t i = 0; i < kNutrients.size(); ++i) {
        const long double average = totals[i] / divisor;
        result.intakes[i] = trunc2(double(average));
        q.setSql(QStringLiteral("update lsyysfx set srl=:s_ene where id=%1").arg(kNutrients[i].id));
        q.setParam(QStringLiteral("s_ene"), result.intakes[i]);
        q.execute();
    }

    // 4. Comparison with the reference intakes, only where there is a reference.
    try {
        Transaction comparison(conn);
        q.setSql(QStringLiteral("update lsyysfx set cz=round(srl-ckl,2),dris=round(srl/ckl*100,2) where ckl<>0"));
        q.execute();
        comparison.commit();
    } catch (const DbError& e) {
        result.comparisonFailed = true;
        result.comparisonError = e.text();
    }

    // 5. Energy split of the stored intakes.
    storeEnergySplit(SplitRounding::None);
    transaction.commit();
    return result;
}

} // namespace nc::analysis
