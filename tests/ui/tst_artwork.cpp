// The artwork's lettering is really the CJK face (else Chinese shows as empty boxes), button faces
// are transparent around their plates so the window's background shows through, and every picture
// holds the screen's device pixels (this test also runs at QT_SCALE_FACTOR=2 as tst_artwork_scaled).

#include "ui/artwork.h"
#include "ui/picture_button.h"

#include <QApplication>
#include <functional>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QtMath>

namespace art = nc::ui::art;

class TestArtwork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void letteringHasChineseGlyphs() {
        const QFont f = art::font(16, QFont::Bold);
        QCOMPARE(QFontInfo(f).family(), QStringLiteral("Noto Sans CJK SC"));
        const QFontMetrics fm(f);
        for (const QChar c : QStringLiteral("膳食营养咨询孕妇乳母育龄退出"))
            QVERIFY2(fm.inFont(c), qPrintable(QString(c)));
    }

    void facesAreTheirSizeAndOpenAtTheCorners_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("caption");
        QTest::newRow("two lines") << QSize(182, 82) << QStringLiteral("个人信息\n体格评价");
        QTest::newRow("long caption, small plate") << QSize(60, 24) << QStringLiteral("食物成分管理");
        QTest::newRow("exit") << QSize(104, 54) << QStringLiteral("退出");
    }
    void facesAreTheirSizeAndOpenAtTheCorners() {
        QFETCH(QSize, size);
        QFETCH(QString, caption);
        const QImage face = art::buttonFace(size, caption, art::Tone::Sage, art::Glyph::Leaf).toImage();
        QCOMPARE(face.deviceIndependentSize().toSize(), size);
        QCOMPARE(qAlpha(face.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(face.pixel(face.width() - 1, 0)), 0);
        QCOMPARE(qAlpha(face.pixel(face.width() / 2, face.height() / 2)), 255);
    }

    // Painted at the screen's pixel ratio, in the same logical size: at 200 % a picture has twice the
    // pixels each way, so its text is drawn with the screen's pixels instead of being blown up.
    void picturesHoldTheScreensPixels_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<std::function<QPixmap(QSize)>>("paint");
        const auto row = [](const char* name, QSize size, std::function<QPixmap(QSize)> paint) {
            QTest::newRow(name) << size << paint;
        };
        row("button face", {213, 43},
            [](QSize s) { return art::buttonFace(s, QStringLiteral("食谱信息管理")); });
        row("window background", {747, 491}, [](QSize s) {
            return art::windowBackground(
                s, {QStringLiteral("个人信息"), {{QRect(20, 60, 80, 20), QStringLiteral("姓名")}}});
        });
        row("main background", {843, 530}, [](QSize s) {
            return art::mainBackground(s, QStringLiteral("女性膳食营养咨询系统"), QStringLiteral("育龄"));
        });
        row("splash", {465, 321}, [](QSize s) {
            return art::splashPicture(s, QStringLiteral("女性膳食营养咨询系统"), QStringLiteral("孕妇"));
        });
        row("about", {342, 260}, [](QSize s) {
            return art::aboutPicture(s, QStringLiteral("系统信息"), QStringLiteral("说明"),
                                     QStringLiteral("制作"));
        });
        row("text picture", {120, 22},
            [](QSize s) { return art::textPicture(s, QStringLiteral("体重（公斤）")); });
        row("drop-down arrow", {17, 21}, [](QSize s) { return art::dropDownArrow(s); });
        row("close mark", {30, 30}, [](QSize s) { return art::closeMark(s); });
        row("magnifier", {24, 24}, [](QSize s) { return art::magnifier(s); });
        row("field frame", {150, 26}, [](QSize s) { return art::fieldFrame(s); });
    }
    void picturesHoldTheScreensPixels() {
        QFETCH(QSize, size);
        QFETCH(std::function<QPixmap(QSize)>, paint);
        const qreal ratio = qApp->devicePixelRatio();
        const QPixmap picture = paint(size);
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
        QCOMPARE(picture.size(), QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)));
    }

    // A picture control shows its face pixel for pixel: nothing is scaled between the painted
    // picture and the screen (a face scaled up or down would differ from its own pixels).
    void pictureControlShowsTheFacePixelForPixel() {
        const QSize size(182, 82);
        const QPixmap face =
            art::buttonFace(size, QStringLiteral("个人信息\n体格评价"), art::Tone::Rose, art::Glyph::Person);
        QWidget window;
        window.resize(240, 120);
        auto* button =
            new nc::ui::PictureButton(QStringLiteral("Image8"), QRect(QPoint(10, 10), size), face, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage painted = face.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(shown.size(), painted.size());
        // Over the window's ground the transparent corners differ; the plate's middle must match.
        const QRect middle(painted.width() / 4, painted.height() / 4, painted.width() / 2,
                           painted.height() / 2);
        QCOMPARE(shown.copy(middle), painted.copy(middle));
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
