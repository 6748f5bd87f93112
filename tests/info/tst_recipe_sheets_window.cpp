// The recommended recipes window: the first sheet on every opening, sheets shown at their own size
// centred (or cut), a missing or broken sheet reported while the window keeps its picture, and the
// ways to close it.

#include "info/recipe_sheets_window.h"
#include "info/sheet_list.h"
#include "info/sheet_picture.h"
#include "support/messages_recorder.h"
#include "support/pointer.h"
#include "support/widgets.h"
#include "ui/picture_button.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using nc::info::SheetPicture;
using nc::info::TForm6;
using nc::test::child;
using nc::test::click;
using nc::test::MessagesRecorder;
using nc::ui::PictureButton;

namespace {

// A program folder whose sp folder holds a plain-coloured JPEG for every item, item i in colour i.
class SheetFolder {
public:
    SheetFolder() {
        QDir(dir.path()).mkpath(QStringLiteral("sp"));
        for (int i = 0; i < nc::info::sheetItems().size(); ++i)
            write(i, QSize(300, 200));
    }
    static QColor colourOf(int item) { return QColor::fromHsv((item * 37) % 360, 200, 220); }
    QString path(int item) const { return nc::info::sheetPath(dir.path(), nc::info::sheetItems()[item]); }
    void write(int item, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colourOf(item));
        QVERIFY(image.save(path(item), "JPEG", 95));
    }
    QTemporaryDir dir;
};

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

QColor shownColour(TForm6& w) {
    auto* picture = child<SheetPicture>(w, QStringLiteral("Image1"));
    return picture->picture().isNull() ? QColor()
                                       : picture->picture().pixelColor(picture->picture().rect().center());
}

QComboBox* list(TForm6& w) {
    return child<QComboBox>(w, QStringLiteral("ComboBox1"));
}

} // namespace

class TestRecipeSheetsWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyOpeningStartsAtTheFirstSheet() {
        SheetFolder folder;
        MessagesRecorder messages;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        QCOMPARE(list(w)->currentIndex(), 0);
        QVERIFY(near(shownColour(w), SheetFolder::colourOf(0)));

        list(w)->setCurrentIndex(7);
        QVERIFY(near(shownColour(w), SheetFolder::colourOf(7)));
        w.hide();
        w.show();
        QCOMPARE(list(w)->currentIndex(), 0);
        QVERIFY(near(shownColour(w), SheetFolder::colourOf(0)));
        QVERIFY(messages.isEmpty());
    }

    void sheetsAreShownAtTheirOwnSizeCentred_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("smaller: centred with margins") << QSize(401, 300) << QRect(137, 78, 401, 300);
        QTest::newRow("exactly the area") << QSize(675, 456) << QRect(0, 0, 675, 456);
        QTest::newRow("larger: cut at every edge") << QSize(875, 556) << QRect(-100, -50, 875, 556);
    }
    void sheetsAreShownAtTheirOwnSizeCentred() {
        QFETCH(QSize, size);
        QFETCH(QRect, drawn);
        SheetFolder folder;
        folder.write(3, size);
        MessagesRecorder messages;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        list(w)->setCurrentIndex(3);
        auto* area = child<SheetPicture>(w, QStringLiteral("Image1"));
        QCOMPARE(area->size(), QSize(675, 456));
        QCOMPARE(area->pictureRect(), drawn);

        // What is on the screen: the picture's colour inside its rectangle, none outside it.
        const QImage shot = area->grab().toImage();
        const QColor sheet = SheetFolder::colourOf(3);
        QVERIFY(near(shot.pixelColor(shot.rect().center()), sheet));
        const bool margins = size.width() < 675;
        QCOMPARE(near(shot.pixelColor(2, 2), sheet), !margins);
        QCOMPARE(near(shot.pixelColor(672, 453), sheet), !margins);
        if (margins) {
            QVERIFY(near(shot.pixelColor(drawn.left() + 2, drawn.top() + 2), sheet));
            QVERIFY(!near(shot.pixelColor(drawn.left() - 3, drawn.center().y()), sheet));
        }
    }

    // On a scaled screen the sheet with twice the pixels is read, unless the plain picture was put
    // in place after it (a counsellor's own picture must not be hidden by an outdated sharper copy).
    void sharperSheetOnScaledScreens_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("sharpAge"); // seconds the @2x file is older than the plain one; -1: none
        QTest::addColumn<bool>("sharpChosen");
        QTest::newRow("100 %: plain") << 1.0 << 0 << false;
        QTest::newRow("200 %: sharp") << 2.0 << 0 << true;
        QTest::newRow("150 %: sharp") << 1.5 << 0 << true;
        QTest::newRow("200 %, no sharp picture") << 2.0 << -1 << false;
        QTest::newRow("200 %, plain picture replaced later") << 2.0 << 60 << false;
    }
    void sharperSheetOnScaledScreens() {
        QFETCH(qreal, ratio);
        QFETCH(int, sharpAge);
        QFETCH(bool, sharpChosen);
        SheetFolder folder;
        const QString item = nc::info::sheetItems()[5];
        const QString plain = folder.path(5);
        const QString sharp =
            QDir(folder.dir.path()).filePath(QStringLiteral("sp/") + nc::info::sheetFileName(item, 2));
        QCOMPARE(sharp, plain.chopped(4) + QStringLiteral("@2x.jpg"));
        if (sharpAge >= 0) {
            QVERIFY(QFile::copy(plain, sharp));
            QFile f(sharp);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const QDateTime plainTime = QFileInfo(plain).lastModified();
            QVERIFY(f.setFileTime(plainTime.addSecs(-sharpAge), QFileDevice::FileModificationTime));
        }
        QCOMPARE(nc::info::sheetPathForScreen(folder.dir.path(), QStringLiteral(" ") + item, ratio),
                 sharpChosen ? sharp : plain);
    }

    // A picture with twice the pixels takes the same place as the plain one.
    void sharperPictureShowsAtTheSameSize() {
        QWidget parent;
        SheetPicture area(QStringLiteral("Image1"), QRect(0, 0, 675, 456), &parent);
        QImage sharp(QSize(1350, 912), QImage::Format_RGB32);
        sharp.fill(Qt::white);
        sharp.setDevicePixelRatio(2);
        area.setPicture(sharp);
        QCOMPARE(area.pictureRect(), QRect(0, 0, 675, 456));
        sharp = QImage(QSize(802, 600), QImage::Format_RGB32);
        sharp.setDevicePixelRatio(2);
        area.setPicture(sharp);
        QCOMPARE(area.pictureRect(), QRect(137, 78, 401, 300));
    }

    void anUnreadableSheetKeepsThePreviousPicture_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QByteArray() << QStringLiteral("无法打开文件");
        QTest::newRow("not a picture") << QByteArray("这不是图片") << QStringLiteral("JPEG");
        QTest::newRow("a PNG named .jpg") << QByteArray("PNG") << QStringLiteral("JPEG");
    }
    void anUnreadableSheetKeepsThePreviousPicture() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        SheetFolder folder;
        const QString broken = folder.path(12);
        QFile::remove(broken);
        if (content == "PNG") {
            QImage image(50, 50, QImage::Format_RGB32);
            image.fill(Qt::red);
            QVERIFY(image.save(broken, "PNG"));
        } else if (!content.isEmpty()) {
            QFile f(broken);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        MessagesRecorder messages;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        list(w)->setCurrentIndex(5);
        list(w)->setCurrentIndex(12);

        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QVERIFY2(messages.last().text.contains(QDir::toNativeSeparators(broken)),
                 qPrintable(messages.last().text));
        QVERIFY2(messages.last().text.contains(reason), qPrintable(messages.last().text));
        QVERIFY(w.isVisible());
        QCOMPARE(list(w)->currentIndex(), 12);
        QVERIFY(near(shownColour(w), SheetFolder::colourOf(5)));
    }

    void aMissingFirstSheetLeavesTheAreaEmpty() {
        SheetFolder folder;
        QFile::remove(folder.path(0));
        MessagesRecorder messages;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        QCOMPARE(messages.size(), 1);
        QVERIFY(child<SheetPicture>(w, QStringLiteral("Image1"))->picture().isNull());
        list(w)->setCurrentIndex(1);
        QVERIFY(near(shownColour(w), SheetFolder::colourOf(1)));
    }

    void theWindowCloses_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("close mark") << QStringLiteral("Image4") << false;
        QTest::newRow("double click on the sheet") << QStringLiteral("Image1") << true;
        QTest::newRow("double click on the background") << QStringLiteral("Image2") << true;
        QTest::newRow("double click on 双击关闭") << QStringLiteral("Label2") << true;
    }
    void theWindowCloses() {
        QFETCH(QString, control);
        QFETCH(bool, doubleClick);
        SheetFolder folder;
        MessagesRecorder messages;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        auto* target = child<QWidget>(w, control);
        QVERIFY(target);
        const QPoint at = target->rect().center() + QPoint(0, control == QLatin1String("Image4") ? 8 : 0);
        if (doubleClick)
            QTest::mouseDClick(target, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
        QVERIFY(!w.isVisible());
    }

    void singleClicksDoNotClose() {
        SheetFolder folder;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        click(w, QStringLiteral("Image1"));
        click(w, QStringLiteral("Label2"));
        QVERIFY(w.isVisible());
    }

    void hoverEffects() {
        SheetFolder folder;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        auto* label = child<QLabel>(w, QStringLiteral("Label2"));
        QVERIFY(label->font().bold());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        nc::test::movePointer(label);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));

        auto* mark = child<PictureButton>(w, QStringLiteral("Image4"));
        QCOMPARE(mark->y(), -4);
        nc::test::movePointer(mark, QPoint(mark->width() / 2, 30));
        QCOMPARE(mark->y(), -7);
        nc::test::movePointer(child<QWidget>(w, QStringLiteral("Label2")));
        QCOMPARE(mark->y(), -7); // only the background puts it back
        nc::test::movePointer(child<QWidget>(w, QStringLiteral("Image2")), QPoint(20, 300));
        QCOMPARE(mark->y(), -4);
    }

    void theArrowOpensTheList() {
        SheetFolder folder;
        TForm6 w(nullptr, folder.dir.path());
        w.show();
        QVERIFY(!list(w)->view()->isVisible());
        Q_EMIT child<PictureButton>(w, QStringLiteral("Image3"))->clicked();
        QTRY_VERIFY(list(w)->view()->isVisible());
        list(w)->hidePopup();
    }

    void theListIsPickOnlyWithEveryItem() {
        SheetFolder folder;
        TForm6 w(nullptr, folder.dir.path());
        QVERIFY(!list(w)->isEditable());
        QStringList items;
        for (int i = 0; i < list(w)->count(); ++i)
            items << list(w)->itemText(i);
        QCOMPARE(items, nc::info::sheetItems());
        QCOMPARE(items.size(), 24);
    }
};

QTEST_MAIN(TestRecipeSheetsWindow)
#include "tst_recipe_sheets_window.moc"
