// The personal record window (TForm3).

#include "record_window.h"

#include "physique_report.h"
#include "record_store.h"

#include "data/clock.h"
#include "data/value.h"
#include "data/values.h"
#include "report/chart_pictures.h"
#include "ui/artwork.h"
#include "ui/messages.h"
#include "ui/numeric_key_filter.h"
#include "ui/window_builder.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace nc::person {

namespace {

namespace art = ui::art;
using data::kCategoryChildbearing;
using data::kCategoryNursing;
using data::kCategoryPregnant;

const QSize kClient(747, 491);
constexpr int kFieldHeight = 26;
constexpr int kFontPx = 16;

// Design widths that showing a category-dependent control gives back.
constexpr int kEditWidth = 121;
constexpr int kDateWidth = 113;
constexpr int kCurrentWeightLabelWidth = 113; // Image7
constexpr int kWeightLabelWidth = 136;        // Image8, Image11
constexpr int kDateLabelWidth = 201;          // Image10
constexpr int kFrameWidth = 153;
constexpr int kUnitWidth = 49;

// Tops of the label 现体重: beside the first weight for 育龄, beside the second otherwise.
constexpr int kCurrentWeightTopFirst = 152;
constexpr int kCurrentWeightTopSecond = 205;

// Picture buttons: rest and raised tops. Image6 starts two pixels low and settles at its rest top
// with the first pointer move over the background.
constexpr int kButtonRest = 436;
constexpr int kButtonRaised = 433;
constexpr int kExitStartTop = 438;

QFont inputFont() {
    return art::font(kFontPx);
}

// The background: title band, the painted field labels, and frames behind the fields that are
// always shown (the category-dependent fields have frame pictures of their own).
QPixmap background() {
    art::Backdrop b;
    b.title = QStringLiteral("档案管理及体格分析");
    b.bandHeight = 64;
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    b.labels = {
        {QRect(30, 104, 82, kFieldHeight), QStringLiteral("姓名"), kFontPx, right},
        {QRect(30, 160, 82, kFieldHeight), QStringLiteral("年龄"), kFontPx, right},
        {QRect(272, 160, 40, kFieldHeight), QStringLiteral("岁"), kFontPx, left},
        {QRect(30, 216, 82, kFieldHeight), QStringLiteral("身高"), kFontPx, right},
        {QRect(272, 216, 40, kFieldHeight), QStringLiteral("cm"), kFontPx, left},
        {QRect(330, 104, 106, kFieldHeight), QStringLiteral("活动水平"), kFontPx, right},
        {QRect(60, 272, 112, kFieldHeight), QStringLiteral("测试阶段"), kFontPx, right},
        {QRect(44, 350, 660, 24),
         QStringLiteral("填写完整后点击“保存”；点击“体格评价”保存并打印体质测试报告。"), 13, left},
        {QRect(44, 374, 660, 24), QStringLiteral("孕妇请填写末次月经日期，用于推算预产期和孕周。"), 13, left},
    };
    QPixmap pm = art::windowBackground(kClient, b);
    QPainter p(&pm);
    for (int top : {104, 160, 216})
        p.drawPixmap(112, top - 5, art::fieldFrame(QSize(kFrameWidth, 36)));
    // A thin rule above the buttons.
    p.setPen(QPen(art::colour::line, 1));
    p.drawLine(QPointF(30, 415.5), QPointF(kClient.width() - 30, 415.5));
    return pm;
}

void setWidth(QWidget* w, int width) {
    w->resize(width, w->height());
}

// Hidden controls have no width; an input without width also leaves the Tab order, so nothing can
// be typed into a field the counsellor cannot see.
void hideControl(QWidget* w) {
    setWidth(w, 0);
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QDateEdit*>(w))
        w->setEnabled(false);
}
void showControl(QWidget* w, int width) {
    setWidth(w, width);
    w->setEnabled(true);
}

} // namespace

bool& TForm3::confirmationFlag() {
    static bool flag = false;
    return flag;
}

TForm3::TForm3(QWidget* parent, const ui::WindowRegistry& windows) : QDialog(parent), windows_(windows) {
    ui::WindowBuilder build(this, {.name = "TForm3",
                                   .title = QStringLiteral("档案管理及体格分析"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = background()});
    hover_ = build.hover();
    build.subject({300, 15, 370, 34}); // whose record this is, filled by the program
    RvSystem2.setTitle(report::kTitlePhysique);

    using ui::kNoLift;
    namespace face = ui::face;
    const QSize frame(kFrameWidth, 36), unit(kUnitWidth, kFieldHeight);
    const QSize label7(kCurrentWeightLabelWidth, 44), label8(kWeightLabelWidth, 40),
        label10(kDateLabelWidth, 40);
    const auto unitAlign = Qt::AlignLeft | Qt::AlignVCenter;
    const QFont font = inputFont();

    // Frames and label pictures lie under the fields, so they are made first.
    // clang-format off
    Image9  = build.picture({"Image9",  {QPoint(440, 155), frame}, kNoLift, kNoLift, face::fieldFrame()});
    Image14 = build.picture({"Image14", {QPoint(440, 211), frame}, kNoLift, kNoLift, face::fieldFrame()});
    Image15 = build.picture({"Image15", {QPoint(532, 267), frame}, kNoLift, kNoLift, face::fieldFrame()});
    Image12 = build.picture({"Image12", {QPoint(597, 160), unit}, kNoLift, kNoLift, face::text(QStringLiteral("kg"), kFontPx, unitAlign)});
    Image13 = build.picture({"Image13", {QPoint(597, 216), unit}, kNoLift, kNoLift, face::text(QStringLiteral("kg"), kFontPx, unitAlign)});
    Image7  = build.picture({"Image7",  {QPoint(323, kCurrentWeightTopFirst), label7}, kNoLift, kNoLift, face::text(QStringLiteral("现体重"), kFontPx)});
    Image8  = build.picture({"Image8",  {QPoint(300, 153), label8}, kNoLift, kNoLift, face::text(QStringLiteral("非孕体重"), kFontPx)});
    Image11 = build.picture({"Image11", {QPoint(300, 153), label8}, kNoLift, kNoLift, face::text(QStringLiteral("孕前体重"), kFontPx)});
    Image10 = build.picture({"Image10", {QPoint(327, 267), label10}, kNoLift, kNoLift, face::text(QStringLiteral("末次月经日期"), kFontPx)});

    Edit1 = build.make<QLineEdit>("Edit1", {128, 104, kEditWidth, kFieldHeight}, font);
    Edit2 = build.make<QLineEdit>("Edit2", {128, 160, kEditWidth, kFieldHeight}, font);
    Edit3 = build.make<QLineEdit>("Edit3", {128, 216, kEditWidth, kFieldHeight}, font);
    Edit4 = build.make<QLineEdit>("Edit4", {456, 160, kEditWidth, kFieldHeight}, font);
    Edit5 = build.make<QLineEdit>("Edit5", {456, 216, kEditWidth, kFieldHeight}, font);
    ComboBox2 = build.make<QComboBox>("ComboBox2", {456, 104, kEditWidth, kFieldHeight}, font);
    ComboBox1 = build.make<QComboBox>("ComboBox1", {184, 272, 137, kFieldHeight}, font);
    DateTimePicker1 = build.make<QDateEdit>("DateTimePicker1", {552, 272, kDateWidth, kFieldHeight}, font);
    // clang-format on
    for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5})
        ui::NumericKeyFilter::install(e);
    ComboBox2->addItems(data::activityLevels());
    ComboBox1->addItems(data::categories());
    for (QComboBox* list : {ComboBox2, ComboBox1}) {
        list->setPlaceholderText(QStringLiteral("请选择"));
        list->setCurrentIndex(-1);
    }
    build.on(ComboBox1, &QComboBox::activated, [this](int) { ComboBox1Change(); });
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setMinimumDate(data::zeroDate());

    // The arrows lie over the lists' own arrow buttons; then the magnifier, the close mark and the
    // buttons. 退出 starts two pixels low and settles at its rest top with the first pointer move
    // over the background.
    // clang-format off
    build.pictures({
        {"Image20", {295, 272, 26, kFieldHeight}, kNoLift, kNoLift, face::dropDownArrow(), &TForm3::Image20Click},
        {"Image21", {544, 104, 33, kFieldHeight}, kNoLift, kNoLift, face::dropDownArrow(), &TForm3::Image21Click},
    });
    build.picture({"Image19", {592, 100, 32, 32}, 100, 97, face::magnifier(), &TForm3::Image19Click})
        ->setToolTip(QStringLiteral("活动水平标准"));
    build.pictures({
        {"Image18", {684, 19, 30, 30},  19,  16, face::closeMark(), &TForm3::Image18Click},
        {"Image2", {44, kButtonRest, 120, 44},   kButtonRest, kButtonRaised, face::button(QStringLiteral("保存"), art::Tone::Rose, art::Glyph::Save),       &TForm3::Image2Click},
        {"Image3", {182, kButtonRest, 112, 44},  kButtonRest, kButtonRaised, face::button(QStringLiteral("清除"), art::Tone::Peach, art::Glyph::Delete),    &TForm3::Image3Click},
        {"Image4", {312, kButtonRest, 150, 44},  kButtonRest, kButtonRaised, face::button(QStringLiteral("体格评价"), art::Tone::Sage, art::Glyph::Person), &TForm3::Image4Click},
        {"Image6", {617, kExitStartTop, 104, 44}, kButtonRest, kButtonRaised, face::button(QStringLiteral("退出"), art::Tone::Neutral, art::Glyph::Exit),  &TForm3::Image6Click},
    });
    // clang-format on

    // The save routine sits behind a button the counsellor never sees; 保存 and 体格评价 run it.
    BitBtn1 = build.pushButton("BitBtn1", {}, QStringLiteral("保存"), &TForm3::BitBtn1Click);
    BitBtn1->hide();

    ADOQuery_gy.setSql(QStringLiteral("select * from personinf"));
    FormCreate();
}

// Loads the record. A category or activity level that is none of the listed ones (an empty one
// after a clear, or a new database) shows nothing chosen, so the save asks for it; a missing period
// date shows today.
void TForm3::FormCreate() {
    ADOQuery_gy.close();
    ADOQuery_gy.setSql(QStringLiteral("select * from personinf"));
    ADOQuery_gy.open();
    Edit1->setText(ADOQuery_gy.field(QStringLiteral("name")).toText());
    Edit2->setText(ADOQuery_gy.field(QStringLiteral("age")).toText());
    Edit3->setText(ADOQuery_gy.field(QStringLiteral("high")).toText());

    ComboBox1->setCurrentIndex(
        int(data::categories().indexOf(ADOQuery_gy.field(QStringLiteral("csjd")).toText())));
    ComboBox2->setCurrentIndex(
        int(data::activityLevels().indexOf(ADOQuery_gy.field(QStringLiteral("hdsp")).toText())));
    const QDate lmp = ADOQuery_gy.field(QStringLiteral("mcyjrq")).toDate();
    DateTimePicker1->setDate(lmp.isValid() && lmp != data::zeroDate() ? lmp : data::Clock::today());
    applyCategoryLayout();
}

void TForm3::ComboBox1Change() {
    applyCategoryLayout();
}

// Shows the fields of the chosen category with the weights as stored when the window opened; weights
// typed since are dropped.
void TForm3::applyCategoryLayout() {
    for (QWidget* w : std::initializer_list<QWidget*>{Edit4, Edit5, DateTimePicker1, Image7, Image8, Image9,
                                                      Image10, Image11, Image12, Image13, Image14, Image15})
        hideControl(w);
    Edit4->clear();
    Edit5->clear();

    const QString category = ComboBox1->currentIndex() < 0 ? QString() : ComboBox1->currentText();
    if (category.isEmpty())
        return;
    showControl(Edit4, kEditWidth);
    showControl(Image9, kFrameWidth);
    showControl(Image12, kUnitWidth);
    Edit4->setText(ADOQuery_gy.field(QStringLiteral("yltz")).toText());

    if (category == kCategoryChildbearing) {
        Image7->move(Image7->x(), kCurrentWeightTopFirst);
        showControl(Image7, kCurrentWeightLabelWidth);
        return;
    }
    showControl(category == kCategoryPregnant ? Image11 : Image8, kWeightLabelWidth);
    Image7->move(Image7->x(), kCurrentWeightTopSecond);
    showControl(Image7, kCurrentWeightLabelWidth);
    showControl(Edit5, kEditWidth);
    showControl(Image14, kFrameWidth);
    showControl(Image13, kUnitWidth);
    Edit5->setText(
        ADOQuery_gy.field(category == kCategoryPregnant ? QStringLiteral("yftz") : QStringLiteral("rmtz"))
            .toText());
    if (category == kCategoryPregnant) {
        showControl(DateTimePicker1, kDateWidth);
        showControl(Image15, kFrameWidth);
        showControl(Image10, kDateLabelWidth);
    }
}

bool TForm3::inputsComplete() {
    QWidget* empty = nullptr;
    const QString category = ComboBox1->currentIndex() < 0 ? QString() : ComboBox1->currentText();
    if (Edit1->text().isEmpty())
        empty = Edit1;
    else if (Edit2->text().isEmpty())
        empty = Edit2;
    else if (Edit3->text().isEmpty())
        empty = Edit3;
    else if (const auto missing = checkChoices(input())) {
        // A list left unchosen is named: a record without a category or activity level has no targets.
        ui::Messages::inform(missing->message, ui::kCaptionHint);
        empty = missing->field == RecordField::Category ? ComboBox1 : ComboBox2;
    } else if (Edit4->text().isEmpty())
        empty = Edit4;
    else if ((category == kCategoryPregnant || category == kCategoryNursing) && Edit5->text().isEmpty())
        empty = Edit5;
    if (!empty)
        return true;
    empty->setFocus();
    return false;
}

bool TForm3::numbersValid() {
    const auto problem = checkInput(input(), data::Clock::today());
    if (!problem)
        return true;
    ui::Messages::inform(problem->message, ui::kCaptionHint);
    switch (problem->field) {
    case RecordField::Category:
        ComboBox1->setFocus();
        return false;
    case RecordField::Activity:
        ComboBox2->setFocus();
        return false;
    case RecordField::PeriodDate:
        DateTimePicker1->setFocus();
        return false;
    default:
        break;
    }
    QLineEdit* field = problem->field == RecordField::Age       ? Edit2
                       : problem->field == RecordField::Height  ? Edit3
                       : problem->field == RecordField::Weight1 ? Edit4
                                                                : Edit5;
    field->setFocus();
    field->selectAll();
    return false;
}

RecordInput TForm3::input() const {
    RecordInput in;
    in.name = Edit1->text();
    in.age = Edit2->text();
    in.height = Edit3->text();
    in.weight1 = Edit4->text();
    in.weight2 = Edit5->text();
    in.category = ComboBox1->currentIndex() < 0 ? QString() : ComboBox1->currentText();
    in.activity = ComboBox2->currentIndex() < 0 ? QString() : ComboBox2->currentText();
    in.lmp = DateTimePicker1->date();
    return in;
}

void TForm3::Image2Click() {
    if (!inputsComplete() || !numbersValid())
        return;
    confirmationFlag() = true;
    BitBtn1Click();
}

// Saves as one transaction: a save that fails leaves every table as it was, and the typed values stay.
void TForm3::BitBtn1Click() {
    saveRecord(input(), data::Clock::today());
    if (confirmationFlag())
        ui::Messages::inform(QStringLiteral("数据保存成功！"), ui::kCaptionHint);
}

// Clears the fields, both lists and the stored record once the counsellor has said yes; the fields
// shown stay shown. No leaves the window and the record as they were.
void TForm3::Image3Click() {
    if (!ui::Messages::confirm(QStringLiteral("确定要清除当前档案吗？"), ui::kCaptionHint))
        return;
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5})
        e->clear();
    ComboBox1->setCurrentIndex(-1);
    ComboBox2->setCurrentIndex(-1);
    DateTimePicker1->setDate(data::Clock::today());
    clearRecord();
}

void TForm3::Image4Click() {
    if (!inputsComplete() || !numbersValid())
        return;
    confirmationFlag() = false;
    BitBtn1Click();
    evaluate();
}

// Grades the stored BMI and weekly gain, draws the BMI chart (marked with the chosen standard's class)
// beside the layouts and runs the physique report of the category. A missing layout is reported after
// the grade and the picture are written.
void TForm3::evaluate() {
    report::RvProject project(&RvSystem2);
    const Evaluation evaluation =
        preparePhysiqueReport(ComboBox1->currentText(), ADOQxxx, ADOQuery_pic, project);
    report::saveBmiChart(ADOQuery_pic, evaluation.standardClass, kPhysiqueChart);
    project.execute();
}

void TForm3::Image6Click() {
    reject();
}
void TForm3::Image18Click() {
    reject();
}

void TForm3::Image19Click() {
    ui::openWindow(QStringLiteral("TForm2"), this, windows_);
}

void TForm3::Image20Click() {
    ComboBox1->showPopup();
}
void TForm3::Image21Click() {
    ComboBox2->showPopup();
}

} // namespace nc::person
