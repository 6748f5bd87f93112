// The food query window (TForm15).

#include "food_query_window.h"

#include "data/query.h"
#include "data/value.h"
#include "diet/food_handover.h"
#include "food_fields.h"
#include "food_grid.h"
#include "food_ranking.h"
#include "nutrient_condition.h"
#include "ui/artwork.h"
#include "ui/messages.h"
#include "ui/window_builder.h"

#include <QComboBox>
#include <QLineEdit>

namespace nc::foods {

namespace {

namespace art = ui::art;

const QSize kClient(865, 616);
constexpr int kRow1 = 96;  // category and name
constexpr int kRow2 = 152; // nutrient condition

art::Backdrop backdrop() {
    art::Backdrop b;
    b.title = QStringLiteral("食物成分数据库");
    b.bandHeight = 60;
    const auto caption = [](int x, int top, const char* text) {
        return art::Label{QRect(x, top, 64, 30), QString::fromUtf8(text), 14,
                          Qt::AlignRight | Qt::AlignVCenter, true};
    };
    b.labels = {caption(16, kRow1, "食物类别"), caption(356, kRow1, "食物名称"),
                caption(16, kRow2, "营养成分")};
    return b;
}

QComboBox* pickList(const ui::WindowBuilderBase& build, const char* name, QRect r) {
    auto* box = build.make<QComboBox>(name, r);
    box->setEditable(false);
    box->setMaxVisibleItems(16);
    return box;
}

} // namespace

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    ui::WindowBuilder build(this, {.name = "TForm15",
                                   .title = QStringLiteral("食物成分数据库"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = art::windowBackground(kClient, backdrop())});
    hover_ = build.hover();
    ADOQuery_swcf.setObjectName(QStringLiteral("ADOQuery_swcf"));

    ComboBox1 = pickList(build, "ComboBox1", QRect(86, kRow1 + 2, 220, 26));
    Edit1 = build.make<QLineEdit>("Edit1", QRect(426, kRow1 + 2, 200, 26));
    ComboBox2 = pickList(build, "ComboBox2", QRect(86, kRow2 + 2, 150, 26));
    ComboBox2->addItems(nutrientItems());
    ComboBox3 = pickList(build, "ComboBox3", QRect(244, kRow2 + 2, 70, 26));
    ComboBox3->addItems(operatorItems());
    Edit2 = build.make<QLineEdit>("Edit2", QRect(322, kRow2 + 2, 150, 26));

    // The arrows laid over the lists' own arrows, the three searches, the list buttons and the close
    // mark; every button but the arrows lifts three pixels.
    const auto arrow = [](QComboBox* box) {
        const QRect r = box->geometry();
        return QRect(r.right() - 19, r.top() + 2, 18, 22);
    };
    const auto lifted = [](int top) { return top - 3; };
    const QSize glass(30, 30), face(112, 34);
    using ui::kNoLift;
    using ui::face::button;
    // clang-format off
    build.pictures({
        {"Image9",  arrow(ComboBox1), kNoLift, kNoLift, ui::face::dropDownArrow(), &TForm15::Image9Click},
        {"Image10", arrow(ComboBox2), kNoLift, kNoLift, ui::face::dropDownArrow(), &TForm15::Image10Click},
        {"Image11", arrow(ComboBox3), kNoLift, kNoLift, ui::face::dropDownArrow(), &TForm15::Image11Click},
        {"Image5", {QPoint(312, kRow1), glass}, kRow1, lifted(kRow1), ui::face::magnifier(), &TForm15::Image5Click},
        {"Image6", {QPoint(632, kRow1), glass}, kRow1, lifted(kRow1), ui::face::magnifier(), &TForm15::Image6Click},
        {"Image7", {QPoint(478, kRow2), glass}, kRow2, lifted(kRow2), ui::face::magnifier(), &TForm15::Image7Click},
        {"Image2", {QPoint(732, 70), face},  70,  lifted(70),  button(QStringLiteral("全部"), art::Tone::Sage, art::Glyph::Leaf),       &TForm15::Image2Click},
        {"Image3", {QPoint(732, 107), face}, 107, lifted(107), button(QStringLiteral("取消"), art::Tone::Lavender, art::Glyph::Cancel), &TForm15::Image3Click},
        {"Image4", {QPoint(732, 143), face}, 143, lifted(143), button(QStringLiteral("退出"), art::Tone::Neutral, art::Glyph::Exit),    &TForm15::Image4Click},
        {"Image8", {kClient.width() - 38, 29, 26, 26}, 29, lifted(29), ui::face::closeMark(), &TForm15::Image8Click},
    });
    // clang-format on

    DBGrid1 = new FoodGrid(QStringLiteral("DBGrid1"), &ADOQuery_swcf, this);
    DBGrid1->setGeometry(14, 200, kClient.width() - 28, kClient.height() - 214);
    connect(DBGrid1, &FoodGrid::gridDoubleClicked, this, ui::guarded([this] { DBGrid1DblClick(); }));

    FormCreate();
}

TForm15::~TForm15() {
    delete DBGrid1; // before the food list it shows, a member destroyed before the child widgets
}

// The categories in table order, then every food; no list has a choice yet.
void TForm15::FormCreate() {
    ComboBox1->clear();
    ComboBox1->addItems(categoryItems());
    for (QComboBox* box : {ComboBox1, ComboBox2, ComboBox3})
        box->setCurrentIndex(-1);
    foodIndex_ = diet::FoodIndex::load();
    recent_ = diet::RecentFoods::load();
    listAll();
}

void TForm15::listAll() {
    ADOQuery_swcf.close();
    ADOQuery_swcf.setSql(QStringLiteral("select * from Foodnurti"));
    ADOQuery_swcf.open();
}

void TForm15::Image5Click() {
    if (ComboBox1->currentIndex() < 0) {
        ComboBox1->setFocus();
        ui::Messages::inform(QStringLiteral("选择食物类别！"));
        return;
    }
    // The category's foods ranked as the diet record's list: used lately, representative value, short.
    data::Query kind;
    kind.setSql(QStringLiteral("select foodid, foodname from Foodnurti where foodkind=:lskind"));
    kind.setParam(QStringLiteral("lskind"), categoryCode(ComboBox1->currentText()));
    kind.open();
    QStringList ids, names;
    for (kind.first(); !kind.eof(); kind.next()) {
        ids << kind.field(QStringLiteral("foodid")).toText();
        names << kind.field(QStringLiteral("foodname")).toText();
    }
    QStringList ranked;
    for (int i : diet::rankOrder(names, recent_))
        ranked << ids[i];
    listInOrder(ADOQuery_swcf, ranked);
}

// Part of a name or pinyin initials, the food meant first: the whole name, the name before its
// bracket, names starting with the text, names containing it. An empty box lists every food.
void TForm15::Image6Click() {
    if (Edit1->text().trimmed().isEmpty()) {
        listAll();
        return;
    }
    listInOrder(ADOQuery_swcf, foodIndex_.matchIds(Edit1->text(), recent_, foodIndex_.size()));
}

void TForm15::Image7Click() {
    if (const auto refusal =
            checkCondition(ComboBox2->currentIndex(), ComboBox3->currentIndex(), Edit2->text())) {
        if (refusal->clear)
            Edit2->clear();
        ui::Messages::inform(refusal->message);
        if (auto* w = findChild<QWidget*>(refusal->control))
            w->setFocus();
        return;
    }
    listByCondition(ADOQuery_swcf, ComboBox2->currentIndex(), ComboBox3->currentIndex(), Edit2->text());
}

void TForm15::Image2Click() {
    listAll();
}

// Clears every choice and box; the grid keeps its last result.
void TForm15::Image3Click() {
    for (QComboBox* box : {ComboBox1, ComboBox2, ComboBox3})
        box->setCurrentIndex(-1);
    Edit1->clear();
    Edit2->clear();
}

void TForm15::Image4Click() {
    reject();
}

void TForm15::Image8Click() {
    reject();
}

void TForm15::Image9Click() {
    ComboBox1->showPopup();
}

void TForm15::Image10Click() {
    ComboBox2->showPopup();
}

void TForm15::Image11Click() {
    ComboBox3->showPopup();
}

void TForm15::DBGrid1DblClick() {
    if (ADOQuery_swcf.isEmpty()) {
        ui::Messages::inform(QStringLiteral("没有选定或无食物信息！"));
        return;
    }
    diet::setFoodBoxText(ADOQuery_swcf.field(QStringLiteral("foodname")).toText());
    accept();
}

} // namespace nc::foods
