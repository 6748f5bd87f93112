#include "food_ranking.h"

namespace nc::foods {

// The order travels as one bound text of numbers between \x01 marks; a food's place is where its
// number stands in it. Values stay bound, and the statement keeps the "select * from" form the data
// set needs.
void listInOrder(data::DataSet& foods, const QStringList& ids) {
    const QChar mark(0x01);
    const QString place = QStringLiteral("instr(:ranked, char(1) || foodid || char(1))");
    foods.close();
    foods.setSql(QStringLiteral("select * from Foodnurti where %1 > 0 order by %1").arg(place));
    foods.setParam(QStringLiteral("ranked"), ids.isEmpty() ? QString() : mark + ids.join(mark) + mark);
    foods.open();
}

} // namespace nc::foods
