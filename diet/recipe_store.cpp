#include "recipe_store.h"

#include "data/clock.h"
#include "data/connection.h"
#include "data/errors.h"
#include "data/query.h"

namespace nc::diet {

using namespace nc::data;

bool saveRecipe(const QString& name, DataSet& foods) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return false;
    foods.checkBrowseMode();
    Transaction t(Connection::required());
    DataSet sps;
    sps.setSql(QStringLiteral("select * from sps"));
    sps.open();
    for (int r = 0; r < foods.rowCount(); ++r) {
        foods.moveTo(r);
        sps.append();
        sps.setField(QStringLiteral("spname"), trimmed);
        sps.setField(QStringLiteral("sptime"), Value::fromDateTime(Clock::now()));
        sps.setField(QStringLiteral("foodid"), foods.field(QStringLiteral("foodid")).toText());
        sps.setField(QStringLiteral("swname"), foods.field(QStringLiteral("swname")));
        sps.setField(QStringLiteral("zl"), foods.field(QStringLiteral("zl")));
        sps.setField(QStringLiteral("meal"), foods.field(QStringLiteral("meal")));
        sps.setField(QStringLiteral("portion"), foods.field(QStringLiteral("portion")));
        sps.post();
    }
    t.commit();
    return true;
}

QStringList recipeNames() {
    QStringList names;
    Query q;
    q.setSql(QStringLiteral("select  DISTINCT spname from sps"));
    q.open();
    for (q.first(); !q.eof(); q.next())
        names << q.field(QStringLiteral("spname")).toText();
    return names;
}

int loadRecipe(const QString& name, DataSet& foods, int day) {
    Query lines;
    lines.setSql(QStringLiteral("select * from sps where spname=:name order by sptime;"));
    lines.setParam(QStringLiteral("name"), name.trimmed());
    lines.open();
    foods.checkBrowseMode();
    try {
        Transaction t(Connection::required());
        for (lines.first(); !lines.eof(); lines.next()) {
            foods.append();
            foods.setField(QStringLiteral("tc"), day);
            foods.setField(QStringLiteral("swname"), lines.field(QStringLiteral("swname")));
            foods.setField(QStringLiteral("zl"), lines.field(QStringLiteral("zl")));
            foods.setField(QStringLiteral("meal"), lines.field(QStringLiteral("meal")));
            foods.setField(QStringLiteral("portion"), lines.field(QStringLiteral("portion")));
            foods.post();
        }
        foods.close();
        foods.open(); // the loaded lines take their places among the day's meals
        foods.last();
        // Committed only once the day is read again: a failed read must not report a load whose
        // lines were stored all the same (loading again would add them twice).
        t.commit();
    } catch (...) {
        foods.cancel();
        foods.close();
        foods.open(); // the rows posted before the failure were undone
        throw;
    }
    return lines.recordCount();
}

} // namespace nc::diet
