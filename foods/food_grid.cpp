#include "food_grid.h"

#include "food_fields.h"

#include <QEvent>
#include <QHeaderView>

namespace nc::foods {

FoodGrid::FoodGrid(const QString& name, data::DataSet* foods, QWidget* parent) : QTableView(parent) {
    setObjectName(name);
    auto* model = new data::DataSetModel(foods, foodGridColumns(), false, this);
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Widths from the titles, so every title reads in full; names get room of their own.
    const QFontMetrics fm(horizontalHeader()->font());
    const auto columns = model->columns();
    for (int c = 0; c < columns.size(); ++c) {
        int w = std::max(52, fm.horizontalAdvance(columns[c].title) + 18);
        if (columns[c].field == QLatin1String("foodname"))
            w = 168;
        setColumnWidth(c, w);
    }
    viewport()->installEventFilter(this);
    binding_ = new ui::GridBinding(this, model);
}

bool FoodGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT gridDoubleClicked();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace nc::foods
