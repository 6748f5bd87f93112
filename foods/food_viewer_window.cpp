// The food composition viewer (TForm11).

#include "food_viewer_window.h"

#include "diet/food_handover.h"
#include "food_fields.h"
#include "ui/artwork.h"
#include "ui/bound_line_edit.h"
#include "ui/guard.h"
#include "ui/hover_lift.h"
#include "ui/picture_button.h"
#include "ui/window_setup.h"

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
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("食物成份"));
    ui::setUpWindow(this, kClient, ui::Frame::Borderless);
    ADOQuery_swcf.setObjectName(QStringLiteral("ADOQuery_swcf"));

    auto* Image1 = new ui::PictureButton(QStringLiteral("Image1"), QRect(QPoint(0, 0), kClient),
                                         art::windowBackground(kClient, backdrop()), this);
    hover_ = new ui::HoverLift(this);
    hover_->setBackground(Image1);

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

    const QSize face(96, 40);
    auto* Image2 = new ui::PictureButton(
        QStringLiteral("Image2"), QRect(QPoint(kClient.width() - 112, 527), face),
        art::buttonFace(face, QStringLiteral("确定"), art::Tone::Sage, art::Glyph::Ok), this);
    auto* Image3 = new ui::PictureButton(QStringLiteral("Image3"), QRect(kClient.width() - 36, 11, 26, 26),
                                         art::closeMark(QSize(26, 26)), this);
    hover_->add(Image2, 527, 524);
    hover_->add(Image3, 11, 8);
    connect(Image2, &ui::PictureButton::clicked, this, ui::guarded([this] { Image2Click(); }));
    connect(Image3, &ui::PictureButton::clicked, this, ui::guarded([this] { Image3Click(); }));

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
