// The recipe details window (TForm16).

#include "recipe_details_window.h"

#include "data/datasetmodel.h"
#include "recipe_store.h"
#include "ui/artwork.h"
#include "ui/grid_binding.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/window_setup.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace nc::diet {

namespace {

void styleGrid(QTableView* grid) {
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setFont(ui::art::font(14, QFont::Bold));
}

// The top-level window of the chain that `w` belongs to: the main window when it opened the chain.
QWidget* outermost(QWidget* w) {
    while (w && w->parentWidget())
        w = w->parentWidget();
    return w;
}

} // namespace

TForm16::TForm16(CurrentDay& day, QWidget* parent) : QDialog(parent), day_(day) {
    setObjectName(QStringLiteral("TForm16"));
    setWindowTitle(QStringLiteral("食谱明细"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(ui::art::font(14));

    // Each name once, in the order of the names' index (as "select distinct spname" gives them), shown
    // by the recipe's first line; the lines of the current name follow it, in the order saved.
    ADOQuery1.setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1.setSql(QStringLiteral(
        "select * from sps where rowid = (select t.rowid from sps t where t.spname is sps.spname "
        "order by t.sptime, t.rowid limit 1) order by spname"));
    namesModel_ = new data::DataSetModel(&ADOQuery1, {{QStringLiteral("spname"), QStringLiteral("食谱名称")}},
                                         false, this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(namesModel_);
    DBGrid1->setFixedWidth(176);
    styleGrid(DBGrid1);

    AdoQ_sp.setObjectName(QStringLiteral("AdoQ_sp"));
    AdoQ_sp.setSql(QStringLiteral("select * from sps"));
    AdoQ_sp.setMaster(&ADOQuery1, QStringLiteral("spname"), QStringLiteral("spname"));
    AdoQ_sp.setDetailOrder(QStringLiteral("sptime"));
    linesModel_ = new data::DataSetModel(
        &AdoQ_sp,
        {{QStringLiteral("sptime"), QStringLiteral("配餐时间")},
         {QStringLiteral("swname"), QStringLiteral("食物名称")},
         {QStringLiteral("zl"), QStringLiteral("重量（克/毫升）"), Qt::AlignRight | Qt::AlignVCenter}},
        false, this);
    DBGrid2 = new QTableView(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setModel(linesModel_);
    styleGrid(DBGrid2);
    DBGrid2->setColumnWidth(0, 190);
    DBGrid2->setColumnWidth(1, 200);

    xpButton1 = new QPushButton(QStringLiteral("导   出"), this);
    xpButton1->setObjectName(QStringLiteral("xpButton1"));
    xpButton1->setAutoDefault(false);
    xpButton1->setMinimumWidth(96);
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFixedHeight(41);
    auto* barRow = new QHBoxLayout(bar);
    barRow->setContentsMargins(8, 4, 12, 4);
    barRow->addStretch(1);
    barRow->addWidget(xpButton1);

    auto* grids = new QHBoxLayout;
    grids->setSpacing(2);
    grids->addWidget(DBGrid1);
    grids->addWidget(DBGrid2, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(grids, 1);
    column->addWidget(bar);

    resize(697, 478);
    if (QWidget* main = outermost(parent))
        move(main->frameGeometry().center() - rect().center());
    else
        ui::centreOnScreen(this);

    // A click on a name, or moving through the names with the keys, shows that recipe's lines.
    new ui::GridBinding(DBGrid1, namesModel_);
    connect(&AdoQ_sp, &data::DataSet::failed, this,
            [](const QString& message) { ui::Messages::error(message); });
    connect(xpButton1, &QPushButton::clicked, this, ui::guarded([this](bool) { xpButton1Click(); }));

    FormCreate();
}

TForm16::~TForm16() {
    // The grids go before the data sets they show, members destroyed before the child widgets.
    delete DBGrid1;
    delete DBGrid2;
}

void TForm16::FormCreate() {
    ADOQuery1.open();
    AdoQ_sp.open();
}

QString TForm16::selectedName() const {
    return ADOQuery1.isEmpty() ? QString() : ADOQuery1.field(QStringLiteral("spname")).toText();
}

// Appends the selected recipe's lines, in the order they were saved, to the current day (all or
// none), then closes.
void TForm16::xpButton1Click() {
    if (ADOQuery1.isEmpty()) {
        ui::Messages::inform(QStringLiteral("食谱为空！"));
        return;
    }
    if (day_.currentDay() == 0) {
        ui::Messages::inform(QStringLiteral("请先增加天数！"));
        return;
    }
    loadRecipe(selectedName(), day_.currentDayFoods(), day_.currentDay());
    accept();
}

} // namespace nc::diet
