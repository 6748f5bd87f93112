// The food composition viewer (TForm11).

#include "food_viewer_window.h"

#include "diet/food_handover.h"
#include "food_fields.h"
#include "ui/artwork.h"
#include "ui/bound_line_edit.h"
#include "ui/window_builder.h"

namespace nc::foods {

namespace {

namespace art = ui::art;

const QSize kClient(428, 582);
constexpr int kRows = 11;
constexpr int kTop = 62;
constexpr int kPitch = 41;
constexpr int kHeight = 26;

// Left column: the first eleven fields; right column: the other eleven.
struct Column {
    int captionX, captionW, editX, editW;
};
constexpr Column kColumns[] = {{10, 72, 84, 124}, {216, 72, 290, 124}};

QRect cell(int x, int w, int row) {
    return QRect(x, kTop + row * kPitch, w, kHeight);
}

art::Backdrop backdrop() {
    art::Backdrop b;
    b.title = QStringLiteral("食物信息管理");
    b.bandHeight = 48;
    const QList<FoodField>& fields = foodFields();
    for (int f = 0; f < fields.size(); ++f) {
        const Column& c = kColumns[f / kRows];
        b.labels.append({cell(c.captionX, c.captionW, f % kRows), fields[f].caption, 13,
                         Qt::AlignRight | Qt::AlignVCenter});
    }
    return b;
}

} // namespace

TForm11::TForm11(QWidget* parent) : QDialog(parent) {
    ui::WindowBuilder build(this, {.name = "TForm11",
                                   .title = QStringLiteral("食物成份"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = art::windowBackground(kClient, backdrop())});
    hover_ = build.hover();
    ADOQuery_swcf.setObjectName(QStringLiteral("ADOQuery_swcf"));

    const QList<FoodField>& fields = foodFields();
    for (int f = 0; f < fields.size(); ++f) {
        const Column& c = kColumns[f / kRows];
        auto* edit = new ui::BoundLineEdit(QStringLiteral("DBEdit%1").arg(f + 1), this);
        edit->setGeometry(cell(c.editX, c.editW, f % kRows));
        edit->setReadOnly(true);
        edit->setDisplayName(fields[f].title);
        if (fields[f].numeric)
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->bind(&ADOQuery_swcf, fields[f].column);
        edits_.append(edit);
    }

    // clang-format off
    build.pictures({
        {"Image2", {kClient.width() - 112, 527, 96, 40}, 527, 524,
         ui::face::button(QStringLiteral("确定"), art::Tone::Sage, art::Glyph::Ok), &TForm11::Image2Click},
        {"Image3", {kClient.width() - 36, 11, 26, 26}, 11, 8, ui::face::closeMark(), &TForm11::Image3Click},
    });
    // clang-format on

    FormCreate();
}

// The first food whose name is the one handed over, as it was handed over.
void TForm11::FormCreate() {
    ADOQuery_swcf.close();
    ADOQuery_swcf.setSql(QStringLiteral("select * from Foodnurti where foodname=:lskind"));
    ADOQuery_swcf.setParam(QStringLiteral("lskind"), diet::lsfoodname());
    ADOQuery_swcf.open();
}

void TForm11::Image2Click() {
    accept();
}

void TForm11::Image3Click() {
    accept();
}

} // namespace nc::foods
