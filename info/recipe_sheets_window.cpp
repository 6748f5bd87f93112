// The recommended recipes window (TForm6): pick a sheet from the list and read its picture.

#include "recipe_sheets_window.h"

#include "sheet_list.h"
#include "sheet_picture.h"

#include "data/errors.h"
#include "data/places.h"
#include "ui/artwork.h"
#include "ui/window_builder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>

namespace nc::info {

namespace {

const QSize kClient(842, 697);
const QRect kPictureArea(83, 124, 675, 456);
const QRect kList(240, 66, 320, 30);
const QRect kCloseMark(796, -4, 38, 46);
constexpr int kCloseRaised = -7;
const QColor kLabelBlue(0, 0, 255);
const QColor kLabelGreen(0, 255, 0);

QPixmap background() {
    namespace art = ui::art;
    art::Backdrop b;
    b.title = QStringLiteral("推荐食谱");
    b.bandHeight = 46;
    b.labels = {{QRect(kPictureArea.left(), kList.top(), 150, kList.height()),
                 QStringLiteral("各阶段适用食谱"), 17, Qt::AlignLeft | Qt::AlignVCenter, true},
                {QRect(kPictureArea.left(), kPictureArea.bottom() + 22, 560, 22),
                 QStringLiteral("食谱按身高 160 cm、体重 55 kg、轻体力活动的女性编制，请按个人情况增减。"),
                 13}};
    QPixmap pm = art::windowBackground(kClient, b);
    // A mount under the picture area, so a sheet sits on the page like a card.
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF mount = QRectF(kPictureArea).adjusted(-7, -7, 7, 7);
    for (int i = 4; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8A, 0x4A, 0x55, 10 + 6 * (4 - i)));
        p.drawRoundedRect(mount.adjusted(-i, -i + 1, i, i + 2), 10 + i, 10 + i);
    }
    p.setBrush(Qt::white);
    p.setPen(QPen(art::colour::line, 1));
    p.drawRoundedRect(mount, 10, 10);
    return pm;
}

// The close mark, drawn low in its picture so that the part above the window's edge is empty.
QPixmap closeFace(QSize size) {
    QPixmap pm = ui::art::canvas(size);
    QPainter p(&pm);
    const int d = size.width();
    p.drawPixmap(0, size.height() - d, ui::art::closeMark(QSize(d, d)));
    return pm;
}

} // namespace

TForm6::TForm6(QWidget* parent, const QString& programFolder)
    : QDialog(parent), programFolder_(programFolder) {
    ui::WindowBuilder build(this, {.name = "TForm6",
                                   .title = QStringLiteral("推荐食谱"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = background(),
                                   .backgroundName = "Image2"});
    Image2 = build.background();
    hover_ = build.hover();
    Image1 = new SheetPicture(QStringLiteral("Image1"), kPictureArea, this);

    ComboBox1 = build.make<QComboBox>("ComboBox1", kList, ui::art::font(15));
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(24);
    ComboBox1->addItems(sheetItems());

    // clang-format off
    Image3 = build.picture({"Image3", QRect(kList.right() - 21, kList.top() + 2, 20, kList.height() - 4),
                            ui::kNoLift, ui::kNoLift, ui::face::dropDownArrow(), &TForm6::Image3Click});
    Image4 = build.picture({"Image4", kCloseMark, kCloseMark.top(), kCloseRaised, &closeFace,
                            &TForm6::Image4Click});
    // clang-format on

    Label2 = build.make<QLabel>("Label2", QRect(kPictureArea.right() - 90, kClient.height() - 48, 90, 28),
                                ui::art::font(15, QFont::Bold));
    Label2->setText(QStringLiteral("双击关闭"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setMouseTracking(true);
    Label2->installEventFilter(this);
    setLabel2Colour(kLabelBlue);

    build.on(ComboBox1, &QComboBox::currentIndexChanged, [this](int) { ComboBox1Change(); });
    build.on(Image1, &SheetPicture::doubleClicked, [this] { close(); });
    build.onDoubleClick(Image2, [](TForm6& w) { w.close(); });

    FormCreate();
}

void TForm6::FormCreate() {
    if (programFolder_.isEmpty())
        programFolder_ = data::placesSet() ? data::shippedFolder() : QCoreApplication::applicationDirPath();
}

// Each opening starts at the first sheet, whatever was shown the last time. Being shown is the
// window's activation: a message box closing over it gives focus back without starting over.
void TForm6::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui::guard([this] { FormActivate(); });
}

void TForm6::FormActivate() {
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setCurrentIndex(0);
    }
    showSheet();
}

void TForm6::ComboBox1Change() {
    showSheet();
}

void TForm6::Image3Click() {
    ComboBox1->showPopup();
}
void TForm6::Image4Click() {
    close();
}
void TForm6::Label2DblClick() {
    close();
}
void TForm6::Image2MouseMove() {
    hover_->restoreAll();
}

void TForm6::showSheet() {
    // On a screen scaled above 100 % the sheet painted with twice the pixels, shown at the same size.
    const qreal ratio = ui::art::screenPixelRatio();
    const QString chosen = sheetPathForScreen(programFolder_, ComboBox1->currentText(), ratio);
    const bool sharp = chosen != sheetPath(programFolder_, ComboBox1->currentText());
    const QString path = QDir::toNativeSeparators(chosen);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw data::Error(QStringLiteral("无法打开文件“%1”：%2").arg(path, file.errorString()));
    // The extension decides the format: a .jpg file must hold a JPEG image.
    QImageReader reader(&file, "jpeg");
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    if (picture.isNull())
        throw data::Error(
            QStringLiteral("文件“%1”不是可以读取的 JPEG 图片：%2").arg(path, reader.errorString()));
    if (sharp)
        picture.setDevicePixelRatio(2);
    Image1->setPicture(picture);
}

void TForm6::setLabel2Colour(const QColor& colour) {
    QPalette pal = Label2->palette();
    pal.setColor(QPalette::WindowText, colour);
    Label2->setPalette(pal);
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2) {
        switch (event->type()) {
        case QEvent::MouseMove:
            setLabel2Colour(kLabelGreen);
            break;
        case QEvent::Leave:
            setLabel2Colour(kLabelBlue);
            break;
        case QEvent::MouseButtonDblClick:
            Label2DblClick();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace nc::info
