// The food query window (TForm15).

#include "food_query_window.h"

#include "data/query.h"
#include "data/value.h"
#include "diet/diet_record.h"
#include "food_fields.h"
#include "food_grid.h"
#include "food_ranking.h"
#include "nutrient_condition.h"
#include "ui/artwork.h"
#include "ui/guard.h"
#include "ui/hover_lift.h"
#include "ui/messages.h"
#include "ui/picture_button.h"
#include "ui/window_setup.h"

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

QComboBox* pickList(const QString& name, QRect r, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setGeometry(r);
    box->setMaxVisibleItems(16);
    return box;
}

} // namespace

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("食物成分数据库"));
    ui::setUpWindow(this, kClient, ui::Frame::Borderless);
    ADOQuery_swcf.setObjectName(QStringLiteral("ADOQuery_swcf"));

    auto* Image1 = new ui::PictureButton(QStringLiteral("Image1"), QRect(QPoint(0, 0), kClient),
                                         art::windowBackground(kClient, backdrop()), this);
    hover_ = new ui::HoverLift(this);
    hover_->setBackground(Image1);

    ComboBox1 = pickList(QStringLiteral("ComboBox1"), QRect(86, kRow1 + 2, 220, 26), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(426, kRow1 + 2, 200, 26);
    ComboBox2 = pickList(QStringLiteral("ComboBox2"), QRect(86, kRow2 + 2, 150, 26), this);
    ComboBox2->addItems(nutrientItems());
    ComboBox3 = pickList(QStringLiteral("ComboBox3"), QRect(244, kRow2 + 2, 70, 26), this);
    ComboBox3->addItems(operatorItems());
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(322, kRow2 + 2, 150, 26);

    // The arrows laid over the lists' own arrows.
    const auto arrow = [this](const char* name, QComboBox* box) {
        const QRect r = box->geometry();
        return new ui::PictureButton(QString::fromLatin1(name), QRect(r.right() - 19, r.top() + 2, 18, 22),
                                     art::dropDownArrow(QSize(18, 22)), this);
    };
    auto* Image9 = arrow("Image9", ComboBox1);
    auto* Image10 = arrow("Image10", ComboBox2);
    auto* Image11 = arrow("Image11", ComboBox3);

    const auto button = [this](const char* name, QRect r, const QPixmap& face) {
        auto* b = new ui::PictureButton(QString::fromLatin1(name), r, face, this);
        hover_->add(b, r.top(), r.top() - 3);
        return b;
    };
    const QSize glass(30, 30);
    auto* Image5 = button("Image5", QRect(QPoint(312, kRow1), glass), art::magnifier(glass));
    auto* Image6 = button("Image6", QRect(QPoint(632, kRow1), glass), art::magnifier(glass));
    auto* Image7 = button("Image7", QRect(QPoint(478, kRow2), glass), art::magnifier(glass));
    const QSize face(112, 34);
    auto* Image2 = button("Image2", QRect(QPoint(732, 70), face),
                          art::buttonFace(face, QStringLiteral("全部"), art::Tone::Sage, art::Glyph::Leaf));
    auto* Image3 =
        button("Image3", QRect(QPoint(732, 107), face),
               art::buttonFace(face, QStringLiteral("取消"), art::Tone::Lavender, art::Glyph::Cancel));
    auto* Image4 =
        button("Image4", QRect(QPoint(732, 143), face),
               art::buttonFace(face, QStringLiteral("退出"), art::Tone::Neutral, art::Glyph::Exit));
    auto* Image8 = button("Image8", QRect(kClient.width() - 38, 29, 26, 26), art::closeMark(QSize(26, 26)));

    DBGrid1 = new FoodGrid(QStringLiteral("DBGrid1"), &ADOQuery_swcf, this);
    DBGrid1->setGeometry(14, 200, kClient.width() - 28, kClient.height() - 214);

    connect(Image5, &ui::PictureButton::clicked, this, ui::guarded([this] { Image5Click(); }));
    connect(Image6, &ui::PictureButton::clicked, this, ui::guarded([this] { Image6Click(); }));
    connect(Image7, &ui::PictureButton::clicked, this, ui::guarded([this] { Image7Click(); }));
    connect(Image2, &ui::PictureButton::clicked, this, ui::guarded([this] { Image2Click(); }));
    connect(Image3, &ui::PictureButton::clicked, this, ui::guarded([this] { Image3Click(); }));
    connect(Image4, &ui::PictureButton::clicked, this, ui::guarded([this] { Image4Click(); }));
    connect(Image8, &ui::PictureButton::clicked, this, ui::guarded([this] { Image8Click(); }));
    connect(Image9, &ui::PictureButton::clicked, this, ui::guarded([this] { Image9Click(); }));
    connect(Image10, &ui::PictureButton::clicked, this, ui::guarded([this] { Image10Click(); }));
    connect(Image11, &ui::PictureButton::clicked, this, ui::guarded([this] { Image11Click(); }));
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
