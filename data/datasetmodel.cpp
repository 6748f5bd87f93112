#include "datasetmodel.h"

#include "errors.h"

namespace nc::data {

DataSetModel::DataSetModel(DataSet* dataSet, QList<GridColumn> columns, bool editable, QObject* parent)
    : QAbstractTableModel(parent), ds_(dataSet), columns_(std::move(columns)), editable_(editable) {
    connect(ds_, &DataSet::aboutToReset, this, [this] {
        resetting_ = changing_ = true;
        beginResetModel();
    });
    connect(ds_, &DataSet::resetDone, this, [this] {
        if (resetting_) {
            resetting_ = false;
            endResetModel();
            changing_ = false;
        }
    });
    connect(ds_, &DataSet::aboutToInsertRow, this, [this](int row) {
        changing_ = true;
        beginInsertRows({}, row, row);
    });
    connect(ds_, &DataSet::rowInserted, this, [this](int) {
        endInsertRows();
        changing_ = false;
    });
    connect(ds_, &DataSet::aboutToRemoveRow, this, [this](int row) {
        changing_ = true;
        beginRemoveRows({}, row, row);
    });
    connect(ds_, &DataSet::rowRemoved, this, [this](int) {
        endRemoveRows();
        changing_ = false;
    });
    // A grid may be destroyed after the data set it shows (a window's data set members go before
    // the base class deletes its child widgets): the model then shows no rows and never reads it.
    connect(ds_, &QObject::destroyed, this, [this] {
        if (!resetting_)
            beginResetModel();
        ds_ = nullptr;
        resetting_ = false;
        endResetModel();
        changing_ = false;
    });
    connect(ds_, &DataSet::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && columnCount() > 0)
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !ds_ || !ds_->isOpen() ? 0 : ds_->rowCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

int DataSetModel::fieldOf(int column) const {
    if (!ds_ || column < 0 || column >= columns_.size())
        return -1;
    return ds_->fieldIndex(columns_[column].field);
}

QString DataSetModel::displayText(const Value& v, ColumnType type) {
    if (v.isNull())
        return {};
    if (type == ColumnType::DateTime && v.type() == Value::Type::Text) {
        try {
            const QDateTime t = v.toDateTime();
            if (t.time() == QTime(0, 0))
                return t.date().toString(QStringLiteral("yyyy-MM-dd"));
            return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        } catch (const ConversionError&) {
            return v.toText();
        }
    }
    return v.toText();
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int f = fieldOf(index.column());
    if (f < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return displayText(ds_->value(index.row(), f), ds_->fieldType(f));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_[index.column()].alignment);
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, o, role);
    if (o == Qt::Horizontal && section >= 0 && section < columns_.size())
        return columns_[section].title;
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable_ && index.isValid() && fieldOf(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !editable_ || !index.isValid())
        return false;
    const int f = fieldOf(index.column());
    if (f < 0)
        return false;
    try {
        if (ds_->currentRow() != index.row())
            ds_->moveTo(index.row());
        const QString text = value.toString();
        if (text == displayText(ds_->value(index.row(), f), ds_->fieldType(f)))
            return true; // nothing changed: do not start an edit
        ds_->setFieldText(columns_[index.column()].field, text);
        return true;
    } catch (const Error& e) {
        Q_EMIT editRejected(e.text());
        return false;
    }
}

} // namespace nc::data
