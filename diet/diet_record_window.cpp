// The diet record window (TForm8).

#include "diet_record_window.h"

#include "grids.h"
#include "import_recipe_dialog.h"
#include "recipe_details_window.h"
#include "save_recipe_dialog.h"
#include "type_ahead.h"
#include "ui/artwork.h"
#include "ui/grid_binding.h"
#include "ui/messages.h"
#include "ui/numeric_key_filter.h"
#include "ui/window_builder.h"
#include "ui/window_registry.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTableView>

namespace nc::diet {

namespace {

using ui::art::Glyph;
using ui::art::Tone;
namespace art = ui::art;

const QSize kClient(798, 618);
const QString kAddDaysFirst = QStringLiteral("请先增加天数！");

// The close cross: the control reaches past the window's right edge, so the mark is drawn in the
// part that shows.
QPixmap closeCross(QSize size) {
    QPixmap pm = art::canvas(size);
    QPainter p(&pm);
    const int d = 38;
    p.drawPixmap(QRect(14, 4, d, d), art::closeMark(QSize(d, d)));
    return pm;
}

// The day buttons are only 26 pixels high; the kit's face would letter them at 10 pixels. Their
// captions are painted a little larger, across the plate's full height.
QPixmap dayButtonFace(QSize size, const QString& caption, Tone tone) {
    QPixmap pm = art::buttonFace(size, QString(), tone);
    QPainter p(&pm);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::white);
    p.setFont(art::font(12, QFont::Bold));
    p.drawText(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(3, 1, -3, -3), Qt::AlignCenter, caption);
    return pm;
}

art::Backdrop backdrop() {
    art::Backdrop b;
    b.title = QStringLiteral("食物信息管理");
    b.bandHeight = 76;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    b.labels = {
        {QRect(47, 86, 184, 26), QStringLiteral("选择天次"), 16, left, true},
        {QRect(516, 84, 220, 26), QStringLiteral("食物录入"), 16, left, true},
        {QRect(535, 112, 172, 24), QStringLiteral("食物类别"), 14, left},
        {QRect(535, 214, 172, 24), QStringLiteral("食物名称"), 14, left},
        {QRect(535, 292, 56, 24), QStringLiteral("重量"), 14, left},
        {QRect(535, 178, 40, 28), QStringLiteral("餐次"), 14, left},
    };
    return b;
}

// A soft frame behind a grid, as the panels the grids sit in.
void addPanel(QWidget* window, const QString& name, const QRect& place) {
    auto* panel = new QFrame(window);
    panel->setObjectName(name);
    panel->setGeometry(place);
    panel->setStyleSheet(QStringLiteral("QFrame#%1 { background: rgba(255,255,255,150); border: 1px solid %2;"
                                        " border-radius: 8px; }")
                             .arg(name, art::colour::line.name()));
}

void styleGrid(QTableView* grid) {
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setFont(art::font(14));
    grid->horizontalHeader()->setFont(art::font(14, QFont::Bold));
}

// Runs a handler for some keys of a control; other keys go on as usual.
class KeyHook : public QObject {
public:
    KeyHook(QWidget* control, std::function<bool(QKeyEvent*)> handler)
        : QObject(control), handler_(std::move(handler)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        bool handled = false;
        ui::guard([&] { handled = handler_(static_cast<QKeyEvent*>(event)); });
        return handled;
    }

private:
    std::function<bool(QKeyEvent*)> handler_;
};

bool isEnter(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & Qt::ControlModifier);
}

QString gramsText(double grams) {
    return QString::number(grams, 'f', 1).remove(QRegularExpression(QStringLiteral("\\.0$")));
}

} // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent), runRecipeWindow_([](QDialog& w) { w.exec(); }) {
    buildControls();
    FormCreate();
    // The food query window puts a picked food name into the food box while this window is open.
    setFoodBoxSetter([this](const QString& name) { ComboBox2->setEditText(name); });
}

TForm8::~TForm8() {
    setFoodBoxSetter({});
    // The grids go before the diet record they show, which is destroyed before the child widgets.
    delete DBGrid1;
    delete DBGrid2;
}

void TForm8::buildControls() {
    // The background reaches a little past every edge of the window.
    ui::WindowBuilder build(this, {.name = "TForm8",
                                   .title = QStringLiteral("report"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = art::windowBackground(QSize(829, 641), backdrop()),
                                   .backgroundPlace = QRect(-1, -1, 829, 641)});
    Image1 = build.background();
    hover_ = build.hover();
    build.subject({350, 20, 370, 36}); // whose diet record this is, filled by the program

    addPanel(this, QStringLiteral("Panel2"), QRect(38, 111, 200, 288));
    addPanel(this, QStringLiteral("Panel1"), QRect(254, 119, 244, 390));

    DBGrid2 = new QTableView(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setGeometry(46, 119, 184, 272);
    daysModel_ = new data::DataSetModel(
        &record_.days(), {{QStringLiteral("tsid"), QStringLiteral("天次"), Qt::AlignCenter}}, false, this);
    DBGrid2->setModel(daysModel_);
    styleGrid(DBGrid2);
    DBGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid2->horizontalHeader()->setStretchLastSection(true);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(262, 127, 228, 337);
    foodsModel_ = new FoodEntriesModel(&record_.foods(), this);
    DBGrid1->setModel(foodsModel_);
    styleGrid(DBGrid1);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    // The grid keeps its place and size, so a long name is never cut: it wraps onto further lines and
    // its row grows (the whole name is also the cell's tip). The columns have fixed widths that leave
    // room for the scroll bar, so the row heights are measured against the widths shown; the
    // headers wrap too. The meal shows beside the first food of each meal.
    QHeaderView* columns = DBGrid1->horizontalHeader();
    columns->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    columns->setFont(art::font(12, QFont::Bold));
    columns->setFixedHeight(40);
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->setColumnWidth(0, 78);
    DBGrid1->setColumnWidth(1, 56);
    DBGrid1->setColumnWidth(2, 36);
    DBGrid1->setWordWrap(true);
    DBGrid1->setTextElideMode(Qt::ElideNone);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->verticalHeader()->show();
    DBGrid1->verticalHeader()->setFont(art::font(12, QFont::Bold));
    DBGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DBGrid1->verticalHeader()->setMinimumSectionSize(24);
    DBGrid1->verticalHeader()->setFixedWidth(44);
    // Shown once the editor has closed, so the message box does not fight the closing editor for focus.
    connect(
        foodsModel_, &FoodEntriesModel::weightRefused, this,
        [](const QString& message) { ui::Messages::inform(message); }, Qt::QueuedConnection);
    connect(
        foodsModel_, &data::DataSetModel::editRejected, this,
        [](const QString& message) { ui::Messages::error(message); }, Qt::QueuedConnection);

    new ui::GridBinding(DBGrid2, daysModel_);
    new ui::GridBinding(DBGrid1, foodsModel_);

    // The standard controls, in their tab order; the picture controls follow.
    const QFont font = art::font(14);
    // clang-format off
    xpBitBtn1    = build.pushButton("xpBitBtn1", {262, 472, 110, 30}, QStringLiteral("存为食谱"), &TForm8::xpBitBtn1Click);
    xpBitBtn2    = build.pushButton("xpBitBtn2", {380, 472, 110, 30}, QStringLiteral("导入食谱"), &TForm8::xpBitBtn2Click);
    ComboBox1    = build.make<QComboBox>("ComboBox1", {534, 140, 174, 30}, font); // category
    ComboBox2    = build.make<QComboBox>("ComboBox2", {535, 242, 172, 30}, font); // food name
    LabeledEdit1 = build.make<QLineEdit>("LabeledEdit1", {535, 344, 84, 30}, font); // weight
    ComboBox3    = build.make<QComboBox>("ComboBox3", {623, 344, 84, 30}, font); // unit: 克 or a portion
    Label2       = build.make<QLabel>("Label2", {535, 376, 172, 22}, art::font(12)); // grams of a portion
    ComboBox4    = build.make<QComboBox>("ComboBox4", {575, 178, 132, 28}, font); // meal
    // clang-format on

    for (QPushButton* b : {xpBitBtn1, xpBitBtn2}) {
        b->setFont(font);
        b->setAutoDefault(false);
    }
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert); // typed text never becomes a list entry
        box->setMaxVisibleItems(16);
    }
    build.on(ComboBox1, &QComboBox::currentIndexChanged, [this](int) { ComboBox1Change(); });
    // Typing into the box picks no category (a pick changes the text too, but then it names the entry).
    build.on(ComboBox1, &QComboBox::editTextChanged, [this](const QString& text) {
        if (text != ComboBox1->itemText(ComboBox1->currentIndex()))
            ComboBox1Change();
    });

    ui::NumericKeyFilter::install(LabeledEdit1);
    ComboBox3->setToolTip(QStringLiteral("单位：克，或这种食物的家常份量（↑↓ 在重量框中切换）"));
    Label2->setStyleSheet(QStringLiteral("color: %1;").arg(art::colour::inkSoft.name()));

    ComboBox4->addItem(QStringLiteral("不注明"));
    ComboBox4->addItems(meals());
    ComboBox4->setToolTip(
        QStringLiteral("之后添加的食物记入这一餐（Ctrl+1 … Ctrl+6 选餐次，Ctrl+0 不注明）"));
    for (int i = 0; i <= meals().size(); ++i) {
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + i)), this);
        build.on(key, &QShortcut::activated, [this, i] { ComboBox4->setCurrentIndex(i); });
    }

    // Type-ahead under the name box: Chinese characters or pinyin initials, ranked matches.
    ComboBox2->setCompleter(nullptr);
    typeAhead_ = new TypeAheadList(
        ComboBox2->lineEdit(), ComboBox2,
        [this](const QString& text) { return foodIndex_.match(text, recent_, 50); }, this, 262);
    build.on(typeAhead_, &TypeAheadList::picked, [this](const QString&) { foodChosen(); });
    build.on(typeAhead_, &TypeAheadList::enterWithoutList, [this] {
        if (foodIndex_.find(ComboBox2->currentText()))
            foodChosen();
        else
            Image8Click(); // says what is missing: the name, or the food
    });
    build.on(ComboBox2, &QComboBox::editTextChanged, [this](const QString& text) { showPortions(text); });
    build.on(ComboBox3, &QComboBox::currentIndexChanged, [this](int) { showGrams(); });
    build.on(LabeledEdit1, &QLineEdit::textChanged, [this](const QString&) { showGrams(); });
    new KeyHook(LabeledEdit1, [this](QKeyEvent* key) {
        if (isEnter(key)) {
            addFromKeyboard();
            return true;
        }
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && ComboBox3->count() > 1) {
            const int step = key->key() == Qt::Key_Down ? 1 : -1;
            ComboBox3->setCurrentIndex((ComboBox3->currentIndex() + step + ComboBox3->count()) %
                                       ComboBox3->count());
            return true;
        }
        return false;
    });
    new KeyHook(ComboBox3, [this](QKeyEvent* key) {
        if (!isEnter(key))
            return false;
        addFromKeyboard();
        return true;
    });
    setTabOrder(ComboBox1, ComboBox4);
    setTabOrder(ComboBox4, ComboBox2);
    setTabOrder(ComboBox2, LabeledEdit1);
    setTabOrder(LabeledEdit1, ComboBox3);

    Label1 = build.make<QLabel>("Label1", {}, art::font(14, QFont::Bold)); // placed and sized to its text
    Label1->setText(QStringLiteral("(克/毫升)"));
    Label1->setStyleSheet(QStringLiteral("color: #D0303A;"));
    Label1->move(592, 296);
    Label1->adjustSize();

    // The arrows over the two lists.
    using ui::kNoLift;
    build.pictures({
        {"Image10", {676, 141, 30, 28}, kNoLift, kNoLift, ui::face::dropDownArrow(), &TForm8::Image10Click},
        {"Image11", {675, 244, 30, 28}, kNoLift, kNoLift, ui::face::dropDownArrow(), &TForm8::Image11Click},
    });

    // The hidden buttons that carry the add-day and delete-day handlers.
    Button2 = build.pushButton("Button2", {}, QStringLiteral("增加一天"), &TForm8::Button2Click);
    Button3 = build.pushButton("Button3", {}, QStringLiteral("删除一天"), &TForm8::Button3Click);
    for (QPushButton* b : {Button2, Button3}) {
        b->hide();
        b->setAutoDefault(false);
    }

    // The picture buttons with their rest and raised tops, in the order the background puts them back.
    const auto button = [](const char* caption, Tone tone, Glyph glyph) {
        return ui::face::button(QString::fromUtf8(caption), tone, glyph);
    };
    const auto dayButton = [](const char* caption, Tone tone) -> ui::Face {
        return [caption = QString::fromUtf8(caption), tone](QSize size) {
            return dayButtonFace(size, caption, tone);
        };
    };
    // clang-format off
    build.pictures({
        {"Button1", {56, 513, 110, 49},  513, 510, button("历史食谱", Tone::Lavender, Glyph::Book), &TForm8::Button1Click},
        {"Image3",  {195, 513, 110, 49}, 513, 510, button("食物成份", Tone::Sage, Glyph::Leaf),     &TForm8::Image3Click},
        {"Image4",  {335, 513, 110, 49}, 513, 510, button("快速查询", Tone::Peach, Glyph::Info),    &TForm8::Image4Click},
        {"Image5",  {471, 513, 110, 49}, 513, 510, button("退 出", Tone::Neutral, Glyph::Exit),     &TForm8::Image5Click},
        {"Image8",  {506, 404, 97, 45},  404, 401, button("添 加", Tone::Rose, Glyph::Ok),          &TForm8::Image8Click},
        {"Image9",  {637, 404, 97, 45},  404, 401, button("删 除", Tone::Peach, Glyph::Delete),     &TForm8::Image9Click},
        {"Image6",  {606, 483, 136, 46}, 483, 480, button("营养分析", Tone::Rose, Glyph::Bowl),     &TForm8::Image6Click},
        {"Image7",  {608, 543, 136, 46}, 543, 541, button("食谱打印", Tone::Lavender, Glyph::Save), &TForm8::Image7Click},
        {"Image2",  {732, 28, 88, 80},   28,  25,  &closeCross,                                    &TForm8::Image2Click},
        {"Image12", {59, 436, 74, 26},   436, 433, dayButton("增加一天", Tone::Sage),               &TForm8::Image12Click},
        {"Image13", {142, 436, 74, 26},  436, 433, dayButton("删除一天", Tone::Peach),              &TForm8::Image13Click},
    });
    // clang-format on
}

// Categories with the first one picked and its foods listed, then the days with the last one current
// and its last food selected.
void TForm8::FormCreate() {
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->clear();
        ComboBox1->addItems(DietRecord::categoryItems());
        ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    }
    foodIndex_ = FoodIndex::load();
    recent_ = RecentFoods::load();
    portionTable_ = PortionTable::load();
    ComboBox2->clear();
    if (ComboBox1->currentIndex() >= 0)
        ComboBox2->addItems(rankNames(DietRecord::foodNamesOfCategory(ComboBox1->currentText()), recent_));
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->clearEditText();
    showPortions(QString());
    record_.open();
}

// A category picked from the list lists its foods; text typed into the box picks nothing, and the
// food list stays as it was.
void TForm8::ComboBox1Change() {
    const int picked = ComboBox1->currentIndex();
    if (picked < 0 || ComboBox1->currentText() != ComboBox1->itemText(picked)) {
        ComboBox1->setFocus();
        return;
    }
    // The foods she used lately first, then each food's representative value, shorter names first.
    const QStringList names = rankNames(DietRecord::foodNamesOfCategory(ComboBox1->currentText()), recent_);
    ComboBox2->clear();
    ComboBox2->addItems(names);
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->clearEditText();
}

void TForm8::Image1MouseMove() {
    hover_->restoreAll();
}

void TForm8::Image2Click() {
    close();
}
void TForm8::Image5Click() {
    close();
}

void TForm8::Image3Click() {
    lsfoodname() =
        record_.foods().isEmpty() ? QString() : record_.foods().field(QStringLiteral("swname")).toText();
    if (lsfoodname().isEmpty()) {
        ui::Messages::inform(QStringLiteral("没有选定食物或食物录入为空！"));
        return;
    }
    ui::openWindow(QStringLiteral("TForm11"), this);
}

void TForm8::Image4Click() {
    ui::openWindow(QStringLiteral("TForm15"), this);
}

void TForm8::Image6Click() {
    if (!record_.hasFoodEntries()) {
        ui::Messages::inform(QStringLiteral("没有食物数据可以处理！"));
        return;
    }
    ui::openWindow(QStringLiteral("TForm13"), this);
}

void TForm8::Image7Click() {
    ui::openWindow(QStringLiteral("TForm14"), this);
}

void TForm8::Image8Click() {
    const DietRecord::AddFood outcome =
        record_.addFood(ComboBox2->currentText(), LabeledEdit1->text(), chosenMeal(), chosenPortion());
    if (outcome == DietRecord::AddFood::Added)
        recent_ = RecentFoods::load();
    switch (outcome) {
    case DietRecord::AddFood::NoDays:
        ui::Messages::inform(kAddDaysFirst);
        return;
    case DietRecord::AddFood::EmptyName:
        ui::Messages::inform(QStringLiteral("请输入食物名称！"));
        ComboBox2->setFocus();
        return;
    case DietRecord::AddFood::UnknownFood:
        ui::Messages::inform(QStringLiteral("无此食物！"));
        ComboBox2->setFocus();
        return;
    case DietRecord::AddFood::BadWeight:
    case DietRecord::AddFood::WeightOutOfRange:
        ui::Messages::inform(DietRecord::weightMessage(outcome == DietRecord::AddFood::BadWeight
                                                           ? DietRecord::Weight::Malformed
                                                           : DietRecord::Weight::OutOfRange));
        LabeledEdit1->setFocus();
        LabeledEdit1->selectAll();
        return;
    case DietRecord::AddFood::Added:
        DBGrid1->setFocus();
        DBGrid1->scrollTo(DBGrid1->currentIndex());
        return;
    }
}

// Enter in the weight box: the food is added and the name box is ready for the next one (its text
// selected, so typing replaces it); after a refusal the focus stays where the message put it.
void TForm8::addFromKeyboard() {
    const int before = record_.foods().recordCount();
    Image8Click();
    if (record_.foods().recordCount() == before)
        return;
    ComboBox2->setFocus();
    ComboBox2->lineEdit()->selectAll();
}

void TForm8::foodChosen() {
    showPortions(ComboBox2->currentText());
    LabeledEdit1->setFocus();
    LabeledEdit1->selectAll();
}

// The units offered beside the weight: grams, then the food's household portions.
void TForm8::showPortions(const QString& food) {
    const FoodEntry* entry = foodIndex_.find(food);
    const QList<Portion> portions = entry ? portionTable_.portionsOf(entry->name) : QList<Portion>();
    if (portions == portions_ && ComboBox3->count() == portions.size() + 1)
        return;
    portions_ = portions;
    const QSignalBlocker block(ComboBox3);
    ComboBox3->clear();
    ComboBox3->addItem(QStringLiteral("克"));
    for (const Portion& p : portions_) {
        ComboBox3->addItem(p.unit);
        const QString tip = p.edible
                                ? QStringLiteral("1%1 约 %2 克（可食部）").arg(p.unit, gramsText(p.grams))
                                : QStringLiteral("1%1 约 %2 克（市品，按可食部 %3% 计）")
                                      .arg(p.unit, gramsText(p.grams), gramsText(entry->ediblePercent));
        ComboBox3->setItemData(ComboBox3->count() - 1, tip, Qt::ToolTipRole);
    }
    ComboBox3->setCurrentIndex(0);
    showGrams();
}

// What will be stored: the weight is always of the edible part; a portion shows the grams it stands for.
void TForm8::showGrams() {
    const std::optional<Portion> portion = chosenPortion();
    if (!portion) {
        Label2->setText(QStringLiteral("按可食部重量计"));
        return;
    }
    double count = 0;
    const FoodEntry* entry = foodIndex_.find(ComboBox2->currentText());
    if (!DietRecord::readAmount(LabeledEdit1->text(), &count) || !entry) {
        Label2->setText(QStringLiteral("1%1 = %2 克 可食部")
                            .arg(portion->unit,
                                 gramsText(portionGrams(1, *portion, entry ? entry->ediblePercent : 100))));
        return;
    }
    Label2->setText(
        QStringLiteral("= %1 克 可食部").arg(gramsText(portionGrams(count, *portion, entry->ediblePercent))));
}

std::optional<Portion> TForm8::chosenPortion() const {
    const int i = ComboBox3->currentIndex() - 1;
    if (i < 0 || i >= portions_.size())
        return std::nullopt;
    return portions_[i];
}

QString TForm8::chosenMeal() const {
    return ComboBox4->currentIndex() > 0 ? ComboBox4->currentText() : QString();
}

void TForm8::Image9Click() {
    DBGrid1->setFocus();
    record_.deleteCurrentFood();
}

void TForm8::Image10Click() {
    ComboBox1->showPopup();
}
void TForm8::Image11Click() {
    ComboBox2->showPopup();
}

void TForm8::Image12Click() {
    Button2->click();
}
void TForm8::Image13Click() {
    Button3->click();
}

void TForm8::Button2Click() {
    record_.addDay();
    DBGrid2->scrollToBottom();
}

// Deletes the current day with its foods after a Yes; on either answer the foods are read again.
void TForm8::Button3Click() {
    DBGrid2->setFocus();
    if (record_.days().isEmpty())
        return;
    const bool yes = ui::Messages::confirm(DietRecord::deleteDayQuestion(record_.currentDay()));
    if (yes)
        record_.deleteCurrentDay();
    reloadFoods();
}

void TForm8::reloadFoods() {
    data::DataSet& foods = record_.foods();
    foods.checkBrowseMode(); // an edit typed into the grid is stored, not dropped
    foods.close();
    foods.open();
    DBGrid1->viewport()->update();
}

bool TForm8::checkDays() {
    if (record_.hasDays())
        return true;
    ui::Messages::inform(kAddDaysFirst);
    return false;
}

void TForm8::Button1Click() {
    if (!checkDays())
        return;
    TForm16 details(record_, this);
    runRecipeWindow_(details);
}

void TForm8::xpBitBtn1Click() {
    TForm4 save(record_, this);
    runRecipeWindow_(save);
}

void TForm8::xpBitBtn2Click() {
    if (!checkDays())
        return;
    TForm10 import(record_, this);
    runRecipeWindow_(import);
}

// Closing stores an edit still pending in the foods grid. When that store fails, the error is shown,
// the row goes back to its stored values and the window stays open.
void TForm8::done(int result) {
    const bool stored = ui::guard([this] {
        record_.foods().checkBrowseMode();
        record_.days().checkBrowseMode();
    });
    if (!stored) {
        record_.foods().cancel();
        return;
    }
    QDialog::done(result);
}

} // namespace nc::diet
