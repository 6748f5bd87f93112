// The artwork's lettering is really the CJK face (else Chinese shows as empty boxes), and button faces
// are transparent around their plates so the window's background shows through.

#include "ui/artwork.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QTest>

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
        QCOMPARE(face.size(), size);
        QCOMPARE(qAlpha(face.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(face.pixel(size.width() - 1, 0)), 0);
        QCOMPARE(qAlpha(face.pixel(size.width() / 2, size.height() / 2)), 255);
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
