#include "food_fields.h"

#include "data/query.h"

namespace nc::foods {

namespace {

FoodField text(const char* column, const char* caption, const char* title) {
    return {QString::fromLatin1(column), QString::fromUtf8(caption), QString::fromUtf8(title), {}, false};
}

FoodField number(const char* column, const char* caption, const char* title, const char* unit) {
    return {QString::fromLatin1(column), QString::fromUtf8(caption), QString::fromUtf8(title),
            QString::fromUtf8(unit), true};
}

} // namespace

const QList<FoodField>& foodFields() {
    static const QList<FoodField> fields = {
        text("foodid", "食物编号：", "食物编号"),
        text("foodname", "食物名称：", "食物名称"),
        text("dm", "简        码：", "简码"),
        number("foodish", "食        部：", "食部", "%"),
        number("energy", "能        量：", "能量", "kcal"),
        number("protein", "蛋  白  质：", "蛋白质", "g"),
        number("fat", "脂        肪：", "脂肪", "g"),
        number("carbohydra", "碳水化物：", "碳水化物", "g"),
        number("water", "水        份：", "水份", "g"),
        number("vita", "维生素 A：", "维生素A", "RE"),
        number("vite", "维生素 E ：", "维生素E", "mg"),
        number("vitb1", "维生素B1：", "维生素B1", "mg"),
        number("vitb2", "维生素B2：", "维生素B2", "mg"),
        number("vitc", "维生素 C：", "维生素C", "mg"),
        number("vitpp", "尼 克 酸  ：", "尼克酸", "mg"),
        number("ca", "钙：", "钙", "mg"),
        number("fe", "铁：", "铁", "mg"),
        number("zn", "锌：", "锌", "mg"),
        number("cu", "铜：", "铜", "mg"),
        number("mg", "镁：", "镁", "mg"),
        number("na", "纳：", "纳", "mg"),
        number("se", "晒：", "晒", "ug"),
    };
    return fields;
}

QList<data::GridColumn> foodGridColumns() {
    QList<data::GridColumn> columns;
    for (const FoodField& f : foodFields())
        columns.append({f.column, f.title,
                        f.numeric ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter});
    return columns;
}

QStringList categoryItems() {
    data::Query q;
    q.setSql(QStringLiteral("select * from foodkind ;"));
    q.open();
    QStringList items;
    for (q.first(); !q.eof(); q.next())
        items << q.field(QStringLiteral("foodkindid")).toText() + QStringLiteral("   ") +
                     q.field(QStringLiteral("foodkindname")).toText();
    return items;
}

QString categoryCode(const QString& item) {
    return item.left(2);
}

void listCategory(data::DataSet& foods, const QString& item) {
    foods.close();
    foods.setSql(QStringLiteral("select * from Foodnurti where foodkind=:lskind"));
    foods.setParam(QStringLiteral("lskind"), categoryCode(item));
    foods.open();
}

void listByName(data::DataSet& foods, const QString& search) {
    foods.close();
    foods.setSql(QStringLiteral("select * from Foodnurti where foodname like :lskind"));
    foods.setParam(QStringLiteral("lskind"), QLatin1Char('%') + search.trimmed() + QLatin1Char('%'));
    foods.open();
}

} // namespace nc::foods
