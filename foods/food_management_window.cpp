// The food composition management window (TForm7).

#include "food_management_window.h"
#include "portions_dialog.h"

#include "food_editing.h"
#include "food_fields.h"
#include "food_grid.h"
#include "ui/artwork.h"
#include "ui/bound_line_edit.h"
#include "ui/messages.h"
#include "ui/window_builder.h"

#include <QComboBox>
#include <QLineEdit>

namespace nc::foods {

namespace {

namespace art = ui::art;

const QSize kClient(728, 614);
constexpr int kBand = 56;

// The four columns of edit fields: where each column's caption, edit and unit stand, and how many
// of the 22 fields it holds (6, 6, 6, 4).
struct FieldColumn {
    int captionX, captionW, editX, editW, unitX, unitW, count;
};
constexpr FieldColumn kFieldColumns[] = {
    {10, 66, 78, 122, 203, 30, 6},
    {236, 66, 304, 68, 375, 28, 6},
    {406, 66, 474, 68, 545, 28, 6},
    {578, 40, 620, 68, 691, 26, 4},
};
constexpr int kFieldTop = 68;
constexpr int kFieldPitch = 32;
constexpr int kFieldHeight = 24;

constexpr int kSearchTop = 276;
constexpr int kButtonTop = 540;

QRect fieldRow(int x, int w, int row) {
    return QRect(x, kFieldTop + row * kFieldPitch, w, kFieldHeight);
}

art::Backdrop backdrop() {
    art::Backdrop b;
    b.title = QStringLiteral("食物营养成份管理");
    b.bandHeight = kBand;
    const QList<FoodField>& fields = foodFields();
    int f = 0;
    for (const FieldColumn& col : kFieldColumns) {
        for (int r = 0; r < col.count; ++r, ++f) {
            b.labels.append({fieldRow(col.captionX, col.captionW, r), fields[f].caption, 12,
                             Qt::AlignRight | Qt::AlignVCenter});
            if (!fields[f].unit.isEmpty())
                b.labels.append({fieldRow(col.unitX, col.unitW, r), fields[f].unit, 12});
        }
    }
    b.labels.append({QRect(10, kSearchTop, 62, 28), QStringLiteral("食物种类"), 13,
                     Qt::AlignRight | Qt::AlignVCenter, true});
    b.labels.append({QRect(340, kSearchTop, 62, 28), QStringLiteral("食物名称"), 13,
                     Qt::AlignRight | Qt::AlignVCenter, true});
    return b;
}

} // namespace

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    ui::WindowBuilder build(this, {.name = "TForm7",
                                   .title = QStringLiteral("食物成份管理"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = art::windowBackground(kClient, backdrop()),
                                   .backgroundName = "Background"});
    background_ = build.background();
    hover_ = build.hover();
    ADOQuery_swcf.setObjectName(QStringLiteral("ADOQuery_swcf"));

    // The edit fields, bound to the food list's current row.
    const QList<FoodField>& fields = foodFields();
    int f = 0;
    for (const FieldColumn& col : kFieldColumns) {
        for (int r = 0; r < col.count; ++r, ++f) {
            auto* edit = new ui::BoundLineEdit(QStringLiteral("DBEdit%1").arg(f + 1), this);
            edit->setGeometry(fieldRow(col.editX, col.editW, r));
            edit->setDisplayName(fields[f].title);
            if (fields[f].numeric)
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->bind(&ADOQuery_swcf, fields[f].column);
            edits_.append(edit);
        }
    }

    // The search row, the buttons under the grid and the close mark; every button lifts three pixels.
    using ui::face::button;
    const auto lifted = [](int top) { return top - 3; };
    const QSize face(100, 42);
    // clang-format off
    ComboBox1 = build.make<QComboBox>("ComboBox1", {78, kSearchTop + 1, 216, 26});
    build.picture({"Image7", {274, kSearchTop + 3, 18, 22}, ui::kNoLift, ui::kNoLift, ui::face::dropDownArrow(), &TForm7::Image7Click});
    Edit2 = build.make<QLineEdit>("Edit2", {408, kSearchTop + 1, 196, 26});
    // clang-format on
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(16);
    // clang-format off
    build.pictures({
        {"Image6", {614, kSearchTop, 92, 30},         kSearchTop, lifted(kSearchTop), button(QStringLiteral("查询"), art::Tone::Sage),                      &TForm7::Image6Click},
        {"Image2", {QPoint(138, kButtonTop), face},   kButtonTop, lifted(kButtonTop), button(QStringLiteral("保存"), art::Tone::Rose, art::Glyph::Save),     &TForm7::Image2Click},
        {"Image3", {QPoint(256, kButtonTop), face},   kButtonTop, lifted(kButtonTop), button(QStringLiteral("删除"), art::Tone::Peach, art::Glyph::Delete),  &TForm7::Image3Click},
        {"Image4", {QPoint(374, kButtonTop), face},   kButtonTop, lifted(kButtonTop), button(QStringLiteral("取消"), art::Tone::Lavender, art::Glyph::Cancel), &TForm7::Image4Click},
        {"Image5", {QPoint(492, kButtonTop), face},   kButtonTop, lifted(kButtonTop), button(QStringLiteral("退出"), art::Tone::Neutral, art::Glyph::Exit),  &TForm7::Image5Click},
        {"Image1", {kClient.width() - 36, 30, 24, 24}, 30,        lifted(30),         ui::face::closeMark(),                                               &TForm7::Image1Click},
    });
    // clang-format on

    DBGrid1 = new FoodGrid(QStringLiteral("DBGrid1"), &ADOQuery_swcf, this);
    DBGrid1->setGeometry(10, 316, kClient.width() - 20, 216);
    DBGrid1->setMoveHandler([this](int row) { return moveToRow(row); });

    // The household portions the diet record converts to grams, edited in their own dialog.
    // clang-format off
    build.picture({"PortionsButton", {QPoint(610, kButtonTop), face}, kButtonTop, lifted(kButtonTop),
                   button(QStringLiteral("家常份量"), art::Tone::Sage, art::Glyph::Bowl),
                   [](TForm7& w) { PortionsDialog(&w).exec(); }});
    // clang-format on
    build.on(ComboBox1, &QComboBox::currentIndexChanged, [this](int index) {
        if (index >= 0)
            ComboBox1Change();
    });

    FormCreate();
}

TForm7::~TForm7() {
    delete DBGrid1; // before the food list it shows, a member destroyed before the child widgets
}

// The categories in table order, no choice made; then every food, with an empty new food pending.
void TForm7::FormCreate() {
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->clear();
        ComboBox1->addItems(categoryItems());
        ComboBox1->setCurrentIndex(-1);
    }
    ADOQuery_swcf.close();
    ADOQuery_swcf.setSql(QStringLiteral("select * from Foodnurti;"));
    ADOQuery_swcf.open();
    startNewFood(ADOQuery_swcf);
}

void TForm7::ComboBox1Change() {
    if (ComboBox1->currentIndex() < 0)
        return;
    listCategory(ADOQuery_swcf, ComboBox1->currentText());
}

void TForm7::Image7Click() {
    ComboBox1->showPopup();
}

void TForm7::Image6Click() {
    listByName(ADOQuery_swcf, Edit2->text());
}

void TForm7::Image2Click() {
    storeCurrentRow();
}

void TForm7::Image3Click() {
    if (ADOQuery_swcf.isEmpty())
        ADOQuery_swcf.append(); // on an empty list the question is about a new, empty food
    const QString name = ADOQuery_swcf.field(QStringLiteral("foodname")).toText();
    if (!ui::Messages::confirm(deleteQuestion(name)))
        return;
    ADOQuery_swcf.remove();
}

void TForm7::Image4Click() {
    startNewFood(ADOQuery_swcf);
    edits_.first()->setFocus();
}

void TForm7::Image5Click() {
    reject();
}

void TForm7::Image1Click() {
    reject();
}

bool TForm7::storeCurrentRow() {
    std::optional<Refusal> refusal;
    try {
        refusal = checkFood(ADOQuery_swcf);
    } catch (const data::ConversionError&) {
        focusControl(QStringLiteral("DBEdit1"));
        throw; // the conversion message, through the error report
    }
    if (refusal) {
        ui::Messages::inform(refusal->message);
        focusControl(refusal->control);
        return false;
    }
    // Text a field's column cannot hold is refused before anything is written.
    for (ui::BoundLineEdit* edit : std::as_const(edits_)) {
        if (edit->hasUnreadableText()) {
            ui::Messages::inform(edit->unreadableTextMessage());
            edit->setFocus();
            return false;
        }
    }
    // A figure no food can hold is stored only when the counsellor confirms it.
    if (const std::optional<Doubt> doubt = doubtfulFigure(ADOQuery_swcf)) {
        if (!ui::Messages::confirm(doubt->question)) {
            focusControl(doubt->control);
            return false;
        }
    }
    storeFood(ADOQuery_swcf);
    return true;
}

bool TForm7::moveToRow(int row) {
    using State = data::DataSet::State;
    const bool editing = ADOQuery_swcf.state() == State::Edit || ADOQuery_swcf.state() == State::Insert;
    bool unreadable = false;
    for (ui::BoundLineEdit* edit : std::as_const(edits_))
        unreadable = unreadable || edit->hasUnreadableText();
    if (editing && (ADOQuery_swcf.isModified() || unreadable) && !storeCurrentRow())
        return false;
    ADOQuery_swcf.moveTo(row); // an unchanged row is left as it was, an unchanged new food dropped
    return true;
}

void TForm7::focusControl(const QString& name) {
    if (auto* w = findChild<QWidget*>(name))
        w->setFocus();
}

} // namespace nc::foods
