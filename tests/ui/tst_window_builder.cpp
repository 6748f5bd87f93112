// The window builder: the prologue every window shares, a table of picture buttons made with their
// names, places and faces, the hover rule over them, and handlers that cannot escape the event loop.

#include "data/errors.h"
#include "support/messages_recorder.h"
#include "support/pointer.h"
#include "ui/window_builder.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using nc::test::MessagesRecorder;
using nc::ui::PictureButton;
namespace art = nc::ui::art;

namespace {

const QSize kClient(300, 200);

// A small window built as the program's windows are: a close mark that lifts, a button that starts
// two pixels below its rest top, an arrow that never lifts, a field and a hidden push button.
class Probe : public QDialog {
public:
    int saves = 0;
    int arrows = 0;
    std::function<void()> fail; // run by every handler once set

    explicit Probe(const QString& title = QStringLiteral("试验窗口")) {
        nc::ui::WindowBuilder build(this, {.name = "TProbe",
                                           .title = title,
                                           .client = kClient,
                                           .frame = nc::ui::Frame::Borderless,
                                           .background = art::canvas(kClient, Qt::white)});
        background = build.background();
        using nc::ui::kNoLift;
        namespace face = nc::ui::face;
        // clang-format off
        build.pictures({
            {"Image9", {260, 10, 26, 26},  10,  7,   face::closeMark(), &Probe::close1},
            {"Image2", {20, 152, 100, 40}, 150, 147, face::button(QStringLiteral("保存"), art::Tone::Rose, art::Glyph::Save), &Probe::save},
            {"Image3", {200, 60, 18, 22},  kNoLift, kNoLift, face::dropDownArrow(), &Probe::arrow},
            {"Image4", {150, 152, 60, 40}, 150, 147, face::text(QStringLiteral("标签"), 14)},
        });
        // clang-format on
        Edit1 = build.make<QLineEdit>("Edit1", {20, 60, 120, 24});
        Button1 = build.pushButton("Button1", {}, QStringLiteral("保存"), &Probe::save);
        Button1->hide();
        build.on(Edit1, &QLineEdit::textChanged, [this](const QString&) { save(); });
    }

    PictureButton* background = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;

    PictureButton* picture(const char* name) const {
        auto* b = findChild<PictureButton*>(QString::fromLatin1(name));
        if (!b)
            qFatal("no picture %s", name);
        return b;
    }

private:
    void close1() { close(); }
    void save() {
        ++saves;
        if (fail)
            fail();
    }
    void arrow() {
        ++arrows;
        if (fail)
            fail();
    }
};

bool sameImage(const QPixmap& a, const QPixmap& b) {
    return a.toImage().convertToFormat(QImage::Format_ARGB32) ==
           b.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(Probe&)>)

class TestWindowBuilder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prologue() {
        Probe w;
        QCOMPARE(w.objectName(), QStringLiteral("TProbe"));
        QCOMPARE(w.windowTitle(), QStringLiteral("试验窗口"));
        QCOMPARE(w.minimumSize(), kClient);
        QCOMPARE(w.maximumSize(), kClient);
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.background->objectName(), QStringLiteral("Image1"));
        QCOMPARE(w.background->geometry(), QRect(QPoint(0, 0), kClient));
        // The background lies under everything made after it.
        QCOMPARE(w.children().indexOf(w.background), 0);

        // No caption when none is given; another name and place for the background.
        QDialog bare;
        bare.setWindowTitle(QStringLiteral("先前的标题"));
        nc::ui::WindowBuilderBase build(&bare, {.name = "TBare",
                                                .client = kClient,
                                                .frame = nc::ui::Frame::Dialog,
                                                .background = art::canvas(QSize(310, 210)),
                                                .backgroundName = "Image2",
                                                .backgroundPlace = QRect(-1, -1, 310, 210)});
        QCOMPARE(bare.windowTitle(), QStringLiteral("先前的标题"));
        QCOMPARE(build.background()->objectName(), QStringLiteral("Image2"));
        QCOMPARE(build.background()->geometry(), QRect(-1, -1, 310, 210));
    }

    // clang-format off
    void tableMakesButtonsWithNamesPlacesAndFaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QPixmap>("face");
        QTest::newRow("close mark") << "Image9" << QRect(260, 10, 26, 26) << art::closeMark(QSize(26, 26));
        QTest::newRow("button below its rest top") << "Image2" << QRect(20, 152, 100, 40)
            << art::buttonFace(QSize(100, 40), QStringLiteral("保存"), art::Tone::Rose, art::Glyph::Save);
        QTest::newRow("arrow") << "Image3" << QRect(200, 60, 18, 22) << art::dropDownArrow(QSize(18, 22));
        QTest::newRow("text") << "Image4" << QRect(150, 152, 60, 40)
                              << art::textPicture(QSize(60, 40), QStringLiteral("标签"), 14);
    }
    // clang-format on
    void tableMakesButtonsWithNamesPlacesAndFaces() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QPixmap, face);
        Probe w;
        PictureButton* b = w.picture(qPrintable(name));
        QCOMPARE(b->parentWidget(), &w);
        QCOMPARE(b->geometry(), place);
        QVERIFY(sameImage(b->picture(), face));
    }

    // Rows are made in table order, so a later row lies above an earlier one, and the standard
    // controls made after them come later in the tab order.
    void tableOrderIsStackingOrder() {
        Probe w;
        QStringList names;
        for (QObject* c : w.children())
            if (qobject_cast<QWidget*>(c))
                names << c->objectName();
        QCOMPARE(names,
                 QStringList({QStringLiteral("Image1"), QStringLiteral("Image9"), QStringLiteral("Image2"),
                              QStringLiteral("Image3"), QStringLiteral("Image4"), QStringLiteral("Edit1"),
                              QStringLiteral("Button1")}));
        QCOMPARE(w.Edit1->geometry(), QRect(20, 60, 120, 24));
        QVERIFY(w.Button1->isHidden());
    }

    void hoverLiftsAndTheBackgroundRestores() {
        Probe w;
        PictureButton* close = w.picture("Image9");
        PictureButton* save = w.picture("Image2");
        PictureButton* arrow = w.picture("Image3");
        nc::test::movePointer(close);
        nc::test::movePointer(arrow);
        QCOMPARE(close->y(), 7);
        QCOMPARE(save->y(), 152); // starts off its rest top and keeps it until the first restore
        QCOMPARE(arrow->y(), 60); // never lifts
        nc::test::movePointer(save);
        QCOMPARE(save->y(), 147);
        nc::test::movePointer(w.background, QPoint(5, 100));
        QCOMPARE(close->y(), 10);
        QCOMPARE(save->y(), 150);
        QCOMPARE(arrow->y(), 60);
    }

    void handlersRun_data() {
        QTest::addColumn<std::function<void(Probe&)>>("trigger");
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("arrows");
        QTest::newRow("picture click") << std::function<void(Probe&)>([](Probe& w) {
            QTest::mouseClick(w.picture("Image2"), Qt::LeftButton);
        }) << 1 << 0;
        QTest::newRow("arrow that never lifts") << std::function<void(Probe&)>([](Probe& w) {
            QTest::mouseClick(w.picture("Image3"), Qt::LeftButton);
        }) << 0 << 1;
        QTest::newRow("hidden push button")
            << std::function<void(Probe&)>([](Probe& w) { w.Button1->click(); }) << 1 << 0;
        QTest::newRow("signal of a field")
            << std::function<void(Probe&)>([](Probe& w) { w.Edit1->setText(QStringLiteral("1")); }) << 1 << 0;
        QTest::newRow("a row without handler does nothing") << std::function<void(Probe&)>([](Probe& w) {
            QTest::mouseClick(w.picture("Image4"), Qt::LeftButton);
        }) << 0 << 0;
    }
    void handlersRun() {
        QFETCH(std::function<void(Probe&)>, trigger);
        QFETCH(int, saves);
        QFETCH(int, arrows);
        MessagesRecorder messages;
        Probe w;
        w.show();
        trigger(w);
        QCOMPARE(w.saves, saves);
        QCOMPARE(w.arrows, arrows);
        QVERIFY(messages.isEmpty());
    }

    // Whatever a handler throws is reported with its own text; the window stays open and answers the
    // next click.
    void aThrowingHandlerIsReportedAndTheWindowStays_data() { handlersRun_data(); }
    void aThrowingHandlerIsReportedAndTheWindowStays() {
        QFETCH(std::function<void(Probe&)>, trigger);
        QFETCH(int, saves);
        QFETCH(int, arrows);
        if (saves + arrows == 0)
            QSKIP("no handler to throw");
        MessagesRecorder messages;
        Probe w;
        w.fail = [] { throw nc::data::Error(QStringLiteral("保存失败：磁盘已满。")); };
        w.show();
        trigger(w);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QCOMPARE(messages.last().text, QStringLiteral("保存失败：磁盘已满。"));
        QVERIFY(w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));

        w.fail = [] { throw 42; };
        QTest::mouseClick(w.picture("Image2"), Qt::LeftButton);
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.last().text, QStringLiteral("发生了未知错误，操作没有完成。"));
        QVERIFY(w.isVisible());
    }

    void closeRowClosesTheWindow() {
        MessagesRecorder messages;
        Probe w;
        w.show();
        QTest::mouseClick(w.picture("Image9"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(TestWindowBuilder)
#include "tst_window_builder.moc"
