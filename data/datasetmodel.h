#pragma once
// A table model over a DataSet for grids. Edits go through the data set (convert, then store when
// the row is left); the model only mirrors what the data set announces.

#include "dataset.h"

#include <QAbstractTableModel>
#include <QList>

namespace nc::data {

struct GridColumn {
    QString field;
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetModel(DataSet* dataSet, QList<GridColumn> columns, bool editable, QObject* parent = nullptr);

    // The data set shown; null once it has been destroyed.
    DataSet* dataSet() const { return ds_; }
    const QList<GridColumn>& columns() const { return columns_; }
    // Whether the rows are being changed: between the announcements of a reset, an insertion or a
    // removal and their end. A view moves its current row by itself then; that is nobody's choice.
    bool isChanging() const { return changing_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Text shown for a value of a column type: reals with up to 15 significant digits, moments
    // without a zero time.
    static QString displayText(const Value& v, ColumnType type);

Q_SIGNALS:
    // An edit was refused (a malformed number, a refused store); the text says why, in Chinese.
    void editRejected(const QString& message);

private:
    int fieldOf(int column) const;

    DataSet* ds_;
    QList<GridColumn> columns_;
    bool editable_;
    bool resetting_ = false;
    bool changing_ = false;
};

} // namespace nc::data
