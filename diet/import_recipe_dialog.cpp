// The import-recipe dialog (TForm10).

#include "import_recipe_dialog.h"

#include "recipe_store.h"
#include "ui/artwork.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/window_setup.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace nc::diet {

TForm10::TForm10(CurrentDay& day, QWidget* parent) : QDialog(parent), day_(day) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("导出食谱"));
    ui::setUpWindow(this, QSize(345, 46), ui::Frame::Tool);

    Label1 = new QLabel(QStringLiteral("请选择要导入的食谱名称："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(ui::art::font(12));
    Label1->setGeometry(8, 1, 240, 18);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setFont(ui::art::font(13));
    ComboBox1->setGeometry(8, 19, 242, 24);
    xpButton1 = new QPushButton(QStringLiteral("导   出"), this);
    xpButton1->setObjectName(QStringLiteral("xpButton1"));
    xpButton1->setFont(ui::art::font(13));
    xpButton1->setGeometry(258, 17, 80, 27);
    xpButton1->setAutoDefault(false);
    connect(xpButton1, &QPushButton::clicked, this, ui::guarded([this](bool) { xpButton1Click(); }));

    FormCreate();
}

// The saved recipes' names, each once; the box starts with no recipe chosen.
void TForm10::FormCreate() {
    ComboBox1->clear();
    ComboBox1->addItems(recipeNames());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->clearEditText();
}

// Appends the chosen recipe's lines to the current day (all or none) and closes. The box's text
// must name one of the listed recipes: picking it, or typing it in full.
void TForm10::xpButton1Click() {
    const QString name = ComboBox1->currentText().trimmed();
    if (name.isEmpty() || ComboBox1->findText(name, Qt::MatchExactly) < 0) {
        ui::Messages::inform(QStringLiteral("请选择食谱！"));
        return;
    }
    if (day_.currentDay() == 0) {
        ui::Messages::inform(QStringLiteral("请先增加天数！"));
        return;
    }
    loadRecipe(name, day_.currentDayFoods(), day_.currentDay());
    accept();
}

} // namespace nc::diet
