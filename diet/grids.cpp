#include "grids.h"

#include "data/value.h"
#include "diet_record.h"

namespace nc::diet {

using namespace nc::data;

FoodEntriesModel::FoodEntriesModel(DataSet* foods, QObject* parent)
    : DataSetModel(
          foods,
          {{QStringLiteral("swname"), QStringLiteral("食物名称")},
           {QStringLiteral("zl"), QStringLiteral("重量 (克/毫升)"), Qt::AlignRight | Qt::AlignVCenter},
           {QStringLiteral("portion"), QStringLiteral("份量")}},
          true, parent) {}

QVariant FoodEntriesModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::ToolTipRole)
        return DataSetModel::data(index, Qt::DisplayRole);
    return DataSetModel::data(index, role);
}

namespace {
QString mealOf(const DataSet* ds, int row) {
    if (!ds)
        return {};
    const int meal = ds->fieldIndex(QStringLiteral("meal"));
    return meal < 0 || row < 0 || row >= ds->rowCount() ? QString() : ds->value(row, meal).toText().trimmed();
}
} // namespace

QVariant FoodEntriesModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Vertical)
        return DataSetModel::headerData(section, o, role);
    if (role != Qt::DisplayRole)
        return {};
    const QString meal = mealOf(dataSet(), section);
    return section > 0 && mealOf(dataSet(), section - 1) == meal ? QString() : meal;
}

Qt::ItemFlags FoodEntriesModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = DataSetModel::flags(index);
    if (index.isValid() && index.column() < columns().size() &&
        columns()[index.column()].field == QLatin1String("portion"))
        f &= ~Qt::ItemIsEditable;
    return f;
}

bool FoodEntriesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role == Qt::EditRole && index.isValid() && index.column() < columns().size() &&
        columns()[index.column()].field == QLatin1String("zl")) {
        const QString text = value.toString();
        const QString shown = DataSetModel::data(index, Qt::EditRole).toString();
        double grams = 0;
        if (text != shown) {
            if (const auto read = DietRecord::checkWeight(text, &grams); read != DietRecord::Weight::Read) {
                Q_EMIT weightRefused(DietRecord::weightMessage(read));
                return false;
            }
        }
        if (text == shown)
            return DataSetModel::setData(index, value, role);
        if (!DataSetModel::setData(index, value, role))
            return false;
        DataSet* ds = dataSet();
        if (ds->fieldIndex(QStringLiteral("portion")) >= 0 &&
            !ds->field(QStringLiteral("portion")).isNull()) {
            ds->setField(QStringLiteral("portion"), Value());
            const QModelIndex portion = this->index(index.row(), columns().size() - 1);
            Q_EMIT dataChanged(portion, portion);
        }
        return true;
    }
    return DataSetModel::setData(index, value, role);
}

} // namespace nc::diet
