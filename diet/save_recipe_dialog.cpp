// The save-recipe dialog (TForm4).

#include "save_recipe_dialog.h"

#include "recipe_store.h"
#include "ui/artwork.h"
#include "ui/guard.h"
#include "ui/messages.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace nc::diet {

TForm4::TForm4(CurrentDay& day, QWidget* parent) : QDialog(parent), day_(day) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("保存为食谱"));
    // A small window with a caption and a close box only; it may be made wider.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(ui::art::font(14));

    Label1 = new QLabel(QStringLiteral("请为食谱起名字："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    xpButton1 = new QPushButton(QStringLiteral("保   存"), this);
    xpButton1->setObjectName(QStringLiteral("xpButton1"));
    // Enter in the name box saves through Edit1KeyPress alone, never through a default button as well.
    xpButton1->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(Edit1, 1);
    row->addWidget(xpButton1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 6, 10, 8);
    column->setSpacing(4);
    column->addWidget(Label1);
    column->addLayout(row);
    resize(355, 80);

    connect(xpButton1, &QPushButton::clicked, this, ui::guarded([this](bool) { xpButton1Click(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, ui::guarded([this] { Edit1KeyPress(); }));
}

// Stores every food entry of the current day under the trimmed name (all or none), then closes.
void TForm4::xpButton1Click() {
    if (Edit1->text().trimmed().isEmpty()) {
        Edit1->setFocus();
        ui::Messages::inform(QStringLiteral("食谱名称不能为空！"));
        return;
    }
    saveRecipe(Edit1->text(), day_.currentDayFoods());
    accept();
}

void TForm4::Edit1KeyPress() {
    xpButton1Click();
}

} // namespace nc::diet
