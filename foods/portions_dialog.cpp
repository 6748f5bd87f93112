// The household portions editor.

#include "portions_dialog.h"

#include "data/datasetmodel.h"
#include "ui/artwork.h"
#include "ui/grid_binding.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/window_setup.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace nc::foods {

PortionsDialog::PortionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PortionsDialog"));
    setWindowTitle(QStringLiteral("家常份量"));
    ui::setUpWindow(this, QSize(520, 460), ui::Frame::Dialog);
    portions_.setSql(QStringLiteral("select * from foodportion"));

    auto* note = new QLabel(
        QStringLiteral(
            "食物名称写全名，或写括号前的名称以包括它的各个品种（“鸡蛋”包括“鸡蛋（白皮）”）。"
            "可食部填 1 表示重量为可食部分，填 0 表示市品重量（如带壳的蛋），按食物的可食部比例折算。"),
        this);
    note->setWordWrap(true);
    note->setFont(ui::art::font(13));

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    auto* model = new data::DataSetModel(
        &portions_,
        {{QStringLiteral("foodname"), QStringLiteral("食物名称")},
         {QStringLiteral("unit"), QStringLiteral("单位"), Qt::AlignCenter},
         {QStringLiteral("grams"), QStringLiteral("每单位重量（克）"), Qt::AlignRight | Qt::AlignVCenter},
         {QStringLiteral("edible"), QStringLiteral("可食部"), Qt::AlignCenter}},
        true, this);
    grid_->setModel(model);
    grid_->setFont(ui::art::font(14));
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(
        model, &data::DataSetModel::editRejected, this,
        [](const QString& message) { ui::Messages::error(message); }, Qt::QueuedConnection);

    auto* add = new QPushButton(QStringLiteral("增加"), this);
    add->setObjectName(QStringLiteral("AddButton"));
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    remove->setObjectName(QStringLiteral("RemoveButton"));
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton* b : {add, remove, close}) {
        b->setAutoDefault(false);
        b->setFont(ui::art::font(14));
    }
    connect(add, &QPushButton::clicked, this, ui::guarded([this](bool) { addRow(); }));
    connect(remove, &QPushButton::clicked, this, ui::guarded([this](bool) { removeRow(); }));
    connect(close, &QPushButton::clicked, this, [this] { accept(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    portions_.open();
    new ui::GridBinding(grid_, model);
}

PortionsDialog::~PortionsDialog() {
    delete grid_; // before the portions it shows, a member destroyed before the child widgets
}

void PortionsDialog::addRow() {
    portions_.append();
    portions_.setField(QStringLiteral("edible"), 1);
    grid_->setFocus();
    grid_->setCurrentIndex(grid_->model()->index(portions_.currentRow(), 0));
}

void PortionsDialog::removeRow() {
    if (portions_.isEmpty())
        return;
    portions_.remove();
}

void PortionsDialog::done(int result) {
    if (!ui::guard([this] { portions_.checkBrowseMode(); }))
        return;
    QDialog::done(result);
}

} // namespace nc::foods
