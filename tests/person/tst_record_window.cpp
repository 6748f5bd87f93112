// The personal record window driven as a counsellor uses it: loading, the category layout, the input
// checks, save, clear, the physique evaluation with its report, hover tops and the ways out.

#include "person/record_window.h"
#include "person/standards.h"
#include "support/failure_sweep.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/pointer.h"
#include "support/program_folder.h"
#include "support/report_capture.h"
#include "support/widgets.h"
#include "ui/numeric_key_filter.h"
#include "ui/picture_button.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <optional>

using nc::person::TForm3;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixedClock;
using nc::test::FixtureDb;
using nc::test::MessagesRecorder;
using nc::test::ProbeWindow;
using nc::test::ProgramFolder;
using nc::test::ReportCapture;
using nc::test::RunOutcome;
using nc::ui::PictureButton;

namespace {

const QDate kToday(2026, 12, 10);
const QString kSaved = QStringLiteral("数据保存成功！");

// A record as the counsellor left it: a pregnant woman since 2026-09-01 (day 99, week 15, 中期).
const char* kPregnantRecord = "update personinf set name='王芳', age=28, high=160, csjd='孕妇', hdsp='轻', "
                              "yltz=70.4, yftz=74.5, rmtz=66, mcyjrq='2026-09-01', yq_week=9, yq_jd='早期'";

// The window as the main window opens it, on screen so that focus can be followed.
struct Window {
    explicit Window(const nc::ui::WindowRegistry& windows = nc::ui::WindowRegistry::program())
        : form(nullptr, windows) {
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    template <class T = QWidget> T* get(const char* name) {
        return nc::test::child<T>(form, QString::fromLatin1(name));
    }
    QLineEdit* edit(int n) { return get<QLineEdit>(qPrintable(QStringLiteral("Edit%1").arg(n))); }
    QComboBox* category() { return get<QComboBox>("ComboBox1"); }
    QComboBox* activity() { return get<QComboBox>("ComboBox2"); }
    QDateEdit* lmp() { return get<QDateEdit>("DateTimePicker1"); }
    void click(const char* name) { nc::test::click(form, QString::fromLatin1(name)); }
    // Picks a list item as the user does: the list changes and says it was chosen.
    void pick(QComboBox* list, const QString& text) {
        const int i = list->findText(text);
        QVERIFY(i >= 0);
        list->setCurrentIndex(i);
        emit list->activated(i);
    }
    // Types into a field key by key (through its key filter); Chinese text arrives as one input.
    void type(int n, const QString& text) {
        edit(n)->clear();
        bool latin = true;
        for (QChar c : text)
            latin = latin && c.unicode() < 128;
        if (latin)
            QTest::keyClicks(edit(n), text);
        else
            edit(n)->insert(text);
    }
    QString focused() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    TForm3 form;
};

} // namespace

class TestRecordWindow : public QObject {
    Q_OBJECT
    std::optional<FixedClock> clock_;

private Q_SLOTS:
    void initTestCase() { clock_.emplace(kToday, QTime(9, 30)); }
    void cleanupTestCase() { clock_.reset(); }

    // A category or activity level outside the lists (an empty one after a clear or in a new database)
    // opens with nothing chosen; a missing period date shows today.
    // clang-format off
    void loading_data() {
        QTest::addColumn<QString>("update");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("activity");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QDate>("lmp");
        QTest::newRow("new record") << "update personinf set name=null"
            << "" << QString() << QStringList{QString(), QString(), QString()} << kToday;
        QTest::newRow("pregnant woman") << QString::fromUtf8(kPregnantRecord) << "孕妇" << QStringLiteral("轻")
            << QStringList{QStringLiteral("王芳"), QStringLiteral("28"), QStringLiteral("160")} << QDate(2026, 9, 1);
        QTest::newRow("childbearing age, moderate")
            << "update personinf set name='李 娟', age=31.5, high=158.5, csjd='育龄', hdsp='中'"
            << "育龄" << QStringLiteral("中")
            << QStringList{QStringLiteral("李 娟"), QStringLiteral("31.5"), QStringLiteral("158.5")}
            << kToday;
        QTest::newRow("unknown texts") << "update personinf set csjd='孕', hdsp='重 '" << "" << QString()
                                       << QStringList{QString(), QString(), QString()} << kToday;
    }
    // clang-format on
    void loading() {
        QFETCH(QString, update);
        QFETCH(QString, category);
        QFETCH(QString, activity);
        QFETCH(QStringList, fields);
        QFETCH(QDate, lmp);
        FixtureDb db;
        db.exec(update);
        Window w;
        QCOMPARE(w.category()->currentText(), category);
        QCOMPARE(w.category()->currentIndex() < 0, category.isEmpty());
        QCOMPARE(w.activity()->currentText(), activity);
        QCOMPARE(w.activity()->currentIndex() < 0, activity.isEmpty());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.edit(i + 1)->text(), fields[i]);
        QCOMPARE(w.lmp()->date(), lmp);
    }

    void recordRowMissingOpensEmpty() {
        FixtureDb db;
        db.exec(QStringLiteral("delete from personinf"));
        Window w;
        QCOMPARE(w.category()->currentIndex(), -1);
        QCOMPARE(w.activity()->currentIndex(), -1);
        QVERIFY(w.edit(1)->text().isEmpty());
        QCOMPARE(w.lmp()->date(), kToday);
    }

    // Which fields and labels each category shows (zero width hides), with the stored weights.
    // clang-format off
    void categoryLayout_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("edit5");
        QTest::addColumn<int>("date");
        QTest::addColumn<QString>("firstLabel");
        QTest::addColumn<int>("currentWeightTop");
        QTest::addColumn<QString>("weight1");
        QTest::addColumn<QString>("weight2");
        QTest::newRow("childbearing age") << "育龄" << 0 << 0 << "Image7" << 152 << "70.4" << "";
        QTest::newRow("pregnant") << "孕妇" << 121 << 113 << "Image11" << 205 << "70.4" << "74.5";
        QTest::newRow("nursing") << "乳母" << 121 << 0 << "Image8" << 205 << "70.4" << "66";
    }
    // clang-format on
    void categoryLayout() {
        QFETCH(QString, category);
        QFETCH(int, edit5);
        QFETCH(int, date);
        QFETCH(QString, firstLabel);
        QFETCH(int, currentWeightTop);
        QFETCH(QString, weight1);
        QFETCH(QString, weight2);
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        Window w;
        w.pick(w.category(), category);

        QCOMPARE(w.edit(4)->width(), 121);
        QCOMPARE(w.get("Image9")->width(), 153);
        QCOMPARE(w.get("Image12")->width(), 49);
        QCOMPARE(w.edit(5)->width(), edit5);
        QCOMPARE(w.get("Image14")->width(), edit5 ? 153 : 0);
        QCOMPARE(w.get("Image13")->width(), edit5 ? 49 : 0);
        QCOMPARE(w.lmp()->width(), date);
        QCOMPARE(w.get("Image15")->width(), date ? 153 : 0);
        QCOMPARE(w.get("Image10")->width(), date ? 201 : 0);
        QCOMPARE(w.get("Image7")->width(), 113);
        QCOMPARE(w.get("Image7")->y(), currentWeightTop);
        for (const char* label : {"Image8", "Image11"})
            QCOMPARE(w.get(label)->width(), firstLabel == QLatin1String(label) ? 136 : 0);
        QCOMPARE(w.edit(4)->text(), weight1);
        QCOMPARE(w.edit(5)->text(), weight2);
    }

    // Switching the category throws typed weights away and shows the stored ones again.
    void switchingShowsStoredWeights() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        Window w;
        w.type(4, QStringLiteral("71"));
        w.type(5, QStringLiteral("80"));
        w.pick(w.category(), QStringLiteral("育龄"));
        QCOMPARE(w.edit(4)->text(), QStringLiteral("70.4"));
        QVERIFY(w.edit(5)->text().isEmpty());
        w.pick(w.category(), QStringLiteral("孕妇"));
        QCOMPARE(w.edit(5)->text(), QStringLiteral("74.5"));
        w.pick(w.category(), QStringLiteral("乳母"));
        QCOMPARE(w.edit(5)->text(), QStringLiteral("66"));
    }

    // Only digits and the point reach the number fields, every other key beeps; Backspace and Delete
    // edit as usual. The name takes any text.
    void keyFilter() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        Window w;
        w.edit(1)->clear();
        QTest::keyClicks(w.edit(1), QStringLiteral("ab"));
        QCOMPARE(w.edit(1)->text(), QStringLiteral("ab"));
        QVERIFY(!w.edit(1)->findChild<nc::ui::NumericKeyFilter*>());
        for (int n = 2; n <= 5; ++n) {
            QVERIFY(w.edit(n)->width() > 0);
            QSignalSpy beeps(w.edit(n)->findChild<nc::ui::NumericKeyFilter*>(),
                             &nc::ui::NumericKeyFilter::refused);
            w.edit(n)->clear();
            QTest::keyClicks(w.edit(n), QStringLiteral("12,5"));
            QCOMPARE(w.edit(n)->text(), QStringLiteral("125"));
            QCOMPARE(beeps.size(), 1);
            QTest::keyClick(w.edit(n), Qt::Key_Backspace);
            QTest::keyClick(w.edit(n), Qt::Key_Backspace);
            QTest::keyClicks(w.edit(n), QStringLiteral(".5"));
            QCOMPARE(w.edit(n)->text(), QStringLiteral("1.5"));
            w.edit(n)->setCursorPosition(0);
            QTest::keyClick(w.edit(n), Qt::Key_Delete);
            QCOMPARE(w.edit(n)->text(), QStringLiteral(".5"));
            QCOMPARE(beeps.size(), 1);
        }
    }

    // The first empty input gets the focus and nothing is written. An empty field says nothing; an
    // unchosen category or activity level is named (both when both are). Blanks are not empty.
    // clang-format off
    void emptyInputs_data() {
        QTest::addColumn<QString>("empty");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        QTest::newRow("name") << "Edit1" << "Edit1" << "";
        QTest::newRow("age") << "Edit2" << "Edit2" << "";
        QTest::newRow("height") << "Edit3" << "Edit3" << "";
        QTest::newRow("category") << "ComboBox1" << "ComboBox1" << "请选择测试阶段（育龄、孕妇或乳母）和活动水平（轻、中或重）。";
        QTest::newRow("activity") << "ComboBox2" << "ComboBox2" << "请选择活动水平（轻、中或重）。";
        QTest::newRow("first weight") << "Edit4" << "Edit4" << "";
        QTest::newRow("second weight") << "Edit5" << "Edit5" << "";
    }
    // clang-format on
    void emptyInputs() {
        QFETCH(QString, empty);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        for (const char* button : {"Image2", "Image4"}) {
            FixtureDb db;
            db.exec(QString::fromUtf8(kPregnantRecord));
            MessagesRecorder messages;
            ReportCapture reports;
            Window w;
            // Everything after the empty input is empty too: the check stops at the first.
            const QStringList order = {QStringLiteral("Edit1"),     QStringLiteral("Edit2"),
                                       QStringLiteral("Edit3"),     QStringLiteral("ComboBox1"),
                                       QStringLiteral("ComboBox2"), QStringLiteral("Edit4"),
                                       QStringLiteral("Edit5")};
            for (qsizetype i = order.indexOf(empty); i < order.size(); ++i) {
                QWidget* c = w.form.findChild<QWidget*>(order[i]);
                if (auto* e = qobject_cast<QLineEdit*>(c))
                    e->clear();
                else if (auto* l = qobject_cast<QComboBox*>(c))
                    l->setCurrentIndex(-1);
            }
            w.form.setFocus();
            w.click(button);
            QCOMPARE(w.focused(), focus);
            QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
            QVERIFY(reports.isEmpty());
            QVERIFY(db.scalar(QStringLiteral("select y from lstzpj")).isNull());
            QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 9);
        }
    }

    // A name of blanks passes the check and is stored empty.
    void blankNameIsStoredEmpty() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        Window w;
        w.edit(1)->setText(QStringLiteral("   "));
        w.click("Image2");
        QCOMPARE(messages.texts(), QStringList{kSaved});
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QString());
    }

    // A malformed number, or a height of 0, is named in a message and focused; nothing is written.
    // clang-format off
    void badNumbers_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("age lone point") << 2 << "." << "年龄";
        QTest::newRow("height zero") << 3 << "0" << "身高";
        QTest::newRow("height two points") << 3 << "1.6.0" << "身高";
        QTest::newRow("weight before pregnancy") << 4 << "." << "孕前体重";
        QTest::newRow("current weight") << 5 << "1.2.3" << "现体重";
    }
    // clang-format on
    void badNumbers() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, named);
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        ReportCapture reports;
        ProgramFolder folder(db.folder());
        Window w;
        w.type(field, text);
        w.click("Image4");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().caption, QStringLiteral("提示"));
        QVERIFY2(messages.last().text.contains(named), qPrintable(messages.last().text));
        QCOMPARE(w.focused(), QStringLiteral("Edit%1").arg(field));
        QCOMPARE(w.edit(field)->text(), text);
        QVERIFY(reports.isEmpty());
        QVERIFY(db.scalar(QStringLiteral("select y from lstzpj")).isNull());
        QCOMPARE(db.scalar(QStringLiteral("select sum(ckl) from lsyysfx")).toReal(), 0.0);
        QCOMPARE(db.scalar(QStringLiteral("select sum(value1) from sdrn")).toReal(), 0.0);
        QCOMPARE(db.scalar(QStringLiteral("select age from personinf")).toReal(), 28.0);
        QVERIFY(!QFile::exists(db.folder() + QStringLiteral("/lsbmp.bmp")));
    }

    void savePregnantWoman() {
        FixtureDb db;
        MessagesRecorder messages;
        Window w;
        w.type(1, QStringLiteral(" 王芳 "));
        w.type(2, QStringLiteral("28"));
        w.type(3, QStringLiteral("160"));
        w.pick(w.category(), QStringLiteral("孕妇"));
        w.pick(w.activity(), QStringLiteral("轻"));
        w.type(4, QStringLiteral("70"));
        w.type(5, QStringLiteral("74.5"));
        w.lmp()->setDate(QDate(2026, 9, 1));
        w.click("Image2");

        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Inform);
        QCOMPARE(messages.last().text, kSaved);
        QCOMPARE(messages.last().caption, QStringLiteral("提示"));
        QVERIFY(TForm3::confirmationFlag());
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("王芳"));
        QCOMPARE(db.scalar(QStringLiteral("select age from personinf")).toReal(), 28.0);
        QCOMPARE(db.scalar(QStringLiteral("select ycq from personinf")).toText(),
                 QStringLiteral("2027-06-08"));
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toText(), QStringLiteral("15"));
        QCOMPARE(db.scalar(QStringLiteral("select yq_jd from personinf")).toText(), QStringLiteral("中期"));
        QCOMPARE(db.scalar(QStringLiteral("select yftz from personinf")).toReal(), 74.5);
        QCOMPARE(db.scalar(QStringLiteral("select rmtz from personinf")).toReal(), 0.0);
        QCOMPARE(db.scalar(QStringLiteral("select y from lstzpj")).toReal(), 27.34);
        QCOMPARE(db.scalar(QStringLiteral("select csdate from lstzpj")).toText(),
                 QStringLiteral("2026-12-10"));
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 2125.0);
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=2")).toReal(), 78.8);
        // The window stays open with what was typed.
        QVERIFY(w.form.isVisible());
        QCOMPARE(w.edit(1)->text(), QStringLiteral(" 王芳 "));
    }

    // 育龄 and 乳母 leave the week count and stage; the weight that is not theirs is written as 0, and
    // the hidden period date still gives mcyjrq and the due date.
    void saveOtherCategories_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<double>("yftz");
        QTest::addColumn<double>("rmtz");
        QTest::newRow("childbearing age") << "育龄" << 0.0 << 0.0;
        QTest::newRow("nursing") << "乳母" << 0.0 << 66.0;
    }
    void saveOtherCategories() {
        QFETCH(QString, category);
        QFETCH(double, yftz);
        QFETCH(double, rmtz);
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        Window w;
        w.pick(w.category(), category);
        w.click("Image2");
        QCOMPARE(messages.texts(), QStringList{kSaved});
        QCOMPARE(db.scalar(QStringLiteral("select csjd from personinf")).toText(), category);
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 9);
        QCOMPARE(db.scalar(QStringLiteral("select yq_jd from personinf")).toText(), QStringLiteral("早期"));
        QCOMPARE(db.scalar(QStringLiteral("select yftz from personinf")).toReal(), yftz);
        QCOMPARE(db.scalar(QStringLiteral("select rmtz from personinf")).toReal(), rmtz);
        QCOMPARE(db.scalar(QStringLiteral("select mcyjrq from personinf")).toText(),
                 QStringLiteral("2026-09-01"));
        QCOMPARE(db.scalar(QStringLiteral("select ycq from personinf")).toText(),
                 QStringLiteral("2027-06-08"));
    }

    // Without the record row the save says so and writes nothing, instead of claiming success.
    void missingRecordRow() {
        FixtureDb db;
        db.exec(QStringLiteral("delete from personinf"));
        MessagesRecorder messages;
        Window w;
        w.type(1, QStringLiteral("王芳"));
        w.type(2, QStringLiteral("28"));
        w.type(3, QStringLiteral("160"));
        w.pick(w.category(), QStringLiteral("乳母"));
        w.pick(w.activity(), QStringLiteral("轻"));
        w.type(4, QStringLiteral("70"));
        w.type(5, QStringLiteral("74"));
        w.click("Image2");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QVERIFY(messages.last().text.contains(QStringLiteral("没有保存")));
        QVERIFY(!messages.texts().contains(kSaved));
        QVERIFY(db.scalar(QStringLiteral("select y from lstzpj")).isNull());
        QCOMPARE(db.count(QStringLiteral("personinf")), 0);
        QVERIFY(w.form.isVisible());
    }

    // A failure at any statement of the save is reported, leaves every table as it was and keeps the
    // window open with what was typed; the next save goes through.
    void saveFailingHalfway() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        Window w;
        w.edit(2)->setText(QStringLiteral("29"));
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] {
            return databaseContents(db.connection(), {"personinf", "lstzpj", "lsyysfx", "sdrn"});
        };
        sweep.afterRun = [&](int, RunOutcome) {
            QCOMPARE(messages.size(), 1);
            QVERIFY(!messages.texts().contains(kSaved));
            QVERIFY(w.form.isVisible());
            QCOMPARE(w.edit(2)->text(), QStringLiteral("29"));
            messages.clear();
        };
        QVERIFY(sweep.run([&] {
            w.click("Image2");
            const bool failed = !messages.isEmpty() && messages.last().kind == MessagesRecorder::Kind::Error;
            return failed ? RunOutcome::Failed : RunOutcome::Completed;
        }));
        QVERIFY(sweep.brokenRuns() > 12);
        QCOMPARE(messages.texts(), QStringList{kSaved});
        QCOMPARE(db.scalar(QStringLiteral("select age from personinf")).toReal(), 29.0);
    }

    void clear() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        db.exec(QStringLiteral("update lstzpj set y=27.34"));
        MessagesRecorder messages;
        Window w;
        messages.answerNext(true);
        w.click("Image3");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Confirm);
        QCOMPARE(messages.last().text, QStringLiteral("确定要清除当前档案吗？"));
        for (int n = 1; n <= 5; ++n)
            QVERIFY(w.edit(n)->text().isEmpty());
        QCOMPARE(w.category()->currentIndex(), -1);
        QCOMPARE(w.activity()->currentIndex(), -1);
        QCOMPARE(w.lmp()->date(), kToday);
        // The layout is not applied again: the pregnant woman's fields stay shown, now empty.
        QCOMPARE(w.edit(5)->width(), 121);
        QCOMPARE(w.lmp()->width(), 113);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from personinf where name is null and age is null and "
                                     "high is null and csjd is null and hdsp is null and yltz is null and "
                                     "yftz is null and rmtz is null"))
                .toInteger(),
            1);
        QCOMPARE(db.scalar(QStringLiteral("select mcyjrq from personinf")).toText(),
                 QStringLiteral("2026-09-01"));
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 9);
        QCOMPARE(db.scalar(QStringLiteral("select y from lstzpj")).toReal(), 27.34);
        // A save right after a clear stops at the first empty input.
        w.click("Image2");
        QCOMPARE(w.focused(), QStringLiteral("Edit1"));
    }

    // No to the question leaves the fields, the lists, the date and every table as they were.
    void clearAnsweredNo() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        Window w;
        w.edit(2)->setText(QStringLiteral("29")); // typed, not saved
        const QString before = databaseContents(db.connection());
        messages.answerNext(false);
        w.click("Image3");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Confirm);
        QCOMPARE(databaseContents(db.connection()), before);
        QCOMPARE(w.edit(1)->text(), QStringLiteral("王芳"));
        QCOMPARE(w.edit(2)->text(), QStringLiteral("29"));
        QCOMPARE(w.edit(5)->text(), QStringLiteral("74.5"));
        QCOMPARE(w.category()->currentText(), QStringLiteral("孕妇"));
        QCOMPARE(w.activity()->currentText(), QStringLiteral("轻"));
        QCOMPARE(w.lmp()->date(), QDate(2026, 9, 1));
    }

    // A new record opens with nothing chosen, and its save asks for both choices instead of saving
    // heavy-activity targets for a nursing mother.
    void newRecordAsksForChoices() {
        FixtureDb db;
        MessagesRecorder messages;
        Window w;
        QCOMPARE(w.edit(4)->width(), 0); // no category: no weight fields
        w.type(1, QStringLiteral("王芳"));
        w.type(2, QStringLiteral("28"));
        w.type(3, QStringLiteral("160"));
        const QString before = databaseContents(db.connection());
        w.click("Image2");
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("请选择测试阶段（育龄、孕妇或乳母）和活动水平（轻、中或重）。")});
        QCOMPARE(w.focused(), QStringLiteral("ComboBox1"));
        QCOMPARE(databaseContents(db.connection()), before);
        // With the category chosen, the activity level is still asked for.
        messages.clear();
        w.pick(w.category(), QStringLiteral("育龄"));
        w.type(4, QStringLiteral("55"));
        w.click("Image4");
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("请选择活动水平（轻、中或重）。")});
        QCOMPARE(w.focused(), QStringLiteral("ComboBox2"));
        QCOMPARE(databaseContents(db.connection()), before);
    }

    // Values no woman can have, and a pregnant woman's period date in the future or more than 300 days
    // back, are named with the range allowed; the field is focused, nothing is written, no report runs.
    // clang-format off
    void refusalsWriteNothing_data() {
        QTest::addColumn<int>("field"); // the edit typed into; 0: the period date
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        QTest::newRow("height 5 cm") << 3 << "5" << "Edit3" << "身高“5”超出范围，应在 100～230 厘米之间，请重新输入。";
        QTest::newRow("age 10^20") << 2 << "100000000000000000000" << "Edit2" << "年龄“100000000000000000000”超出范围，应在 10～70 岁之间，请重新输入。";
        QTest::newRow("weight before 24.5") << 4 << "24.5" << "Edit4" << "孕前体重“24.5”超出范围，应在 25～250 千克之间，请重新输入。";
        QTest::newRow("current weight 251") << 5 << "251" << "Edit5" << "现体重“251”超出范围，应在 25～250 千克之间，请重新输入。";
        QTest::newRow("period tomorrow") << 0 << "2026-12-11" << "DateTimePicker1" << "末次月经日期 2026-12-11 晚于今天（2026-12-10），请重新选择。";
        QTest::newRow("period 301 days back") << 0 << "2026-02-12" << "DateTimePicker1" << "末次月经日期 2026-02-12 距今已超过 300 天，请重新选择（应在 2026-02-13 至 2026-12-10 之间）。";
    }
    // clang-format on
    void refusalsWriteNothing() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        for (const char* button : {"Image2", "Image4"}) {
            FixtureDb db;
            db.exec(QString::fromUtf8(kPregnantRecord));
            MessagesRecorder messages;
            ReportCapture reports;
            ProgramFolder folder(db.folder());
            Window w;
            if (field == 0)
                w.lmp()->setDate(QDate::fromString(text, Qt::ISODate));
            else
                w.type(field, text);
            const QString before = databaseContents(db.connection());
            w.click(button);
            QCOMPARE(messages.texts(), QStringList{message});
            QCOMPARE(messages.last().caption, QStringLiteral("提示"));
            QCOMPARE(w.focused(), focus);
            QCOMPARE(databaseContents(db.connection()), before);
            QVERIFY(reports.isEmpty());
            QVERIFY(!QFile::exists(db.folder() + QStringLiteral("/lsbmp.bmp")));
        }
    }

    // The edges themselves are allowed: the period date 300 days back and today, the bounds of each
    // number.
    void edgesAreSaved() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        Window w;
        w.type(2, QStringLiteral("70"));
        w.type(3, QStringLiteral("100"));
        w.type(4, QStringLiteral("25"));
        w.type(5, QStringLiteral("250"));
        for (const QDate& lmp : {QDate(2026, 2, 13), kToday}) {
            messages.clear();
            w.lmp()->setDate(lmp);
            w.click("Image2");
            QCOMPARE(messages.texts(), QStringList{kSaved});
            QCOMPARE(db.scalar(QStringLiteral("select mcyjrq from personinf")).toDate(), lmp);
        }
        w.type(2, QStringLiteral("10"));
        w.type(3, QStringLiteral("230"));
        w.type(4, QStringLiteral("250"));
        w.type(5, QStringLiteral("25"));
        messages.clear();
        w.click("Image2");
        QCOMPARE(messages.texts(), QStringList{kSaved});
        QCOMPARE(db.scalar(QStringLiteral("select high from personinf")).toReal(), 230.0);
    }

    // The evaluation saves without confirmation, grades, draws the chart and runs the category's
    // layout with the record and the evaluation row.
    // clang-format off
    void evaluation_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QStringList>("printed");
        // Height 160, first weight 70.4: BMI 27.5 (高, normal gain 0.19 to 0.29 kg a week).
        QTest::newRow("childbearing age")
            << QStringLiteral("育龄") << QStringLiteral("tzbg.rav") << QStringLiteral("earlier")
            << QStringList{QStringLiteral("育龄妇女体质测试报告"),
                           QStringLiteral("王芳"),
                           QStringLiteral("70.4 kg"),
                           QStringLiteral("27.5"),
                           QStringLiteral("高（本次）"),
                           QStringLiteral("2026-12-10"),
                           QStringLiteral("体重偏重")};
        // 74.5 and 70.4 count as 74 and 70: 4 kg over 15 weeks is 0.27.
        QTest::newRow("pregnant") << QStringLiteral("孕妇") << QStringLiteral("yftzbg.rav") << QStringLiteral("正常")
                                  << QStringList{QStringLiteral("孕妇体质测试报告"),
                                                 QStringLiteral("王芳"),
                                                 QStringLiteral("2027-06-08"),
                                                 QStringLiteral("第 15 周（孕中期）"),
                                                 QStringLiteral("27.5"),
                                                 QStringLiteral("0.27 kg"),
                                                 QStringLiteral("0.19～0.29 kg"),
                                                 QStringLiteral("体重增长在适宜范围内")};
        // The stored grade is still 66 and 70 over the 9 weeks stored by the last save as a pregnant
        // woman (-0.44, 过轻); the report judges her weight against 70.4 kg before pregnancy instead.
        QTest::newRow("nursing") << QStringLiteral("乳母") << QStringLiteral("rmtzbg.rav") << QStringLiteral("过轻")
                                 << QStringList{QStringLiteral("乳母体质测试报告"),
                                                QStringLiteral("王芳"),
                                                QStringLiteral("66 kg"),
                                                QStringLiteral("27.5"),
                                                QStringLiteral("产后体重滞留"),
                                                QStringLiteral("-4.40 kg"),
                                                QStringLiteral("已恢复到孕前体重（本次）"),
                                                QStringLiteral("现体重已低于孕前体重"),
                                                QStringLiteral("每周减少不超过 0.5 kg")};
    }
    // clang-format on
    void evaluation() {
        QFETCH(QString, category);
        QFETCH(QString, layout);
        QFETCH(QString, grade);
        QFETCH(QStringList, printed);
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        db.exec(QStringLiteral("update lstzpj set week_add=0.35, week_dj='earlier'"));
        MessagesRecorder messages;
        ReportCapture reports;
        ProgramFolder folder(db.folder());
        TForm3::confirmationFlag() = true;
        Window w;
        w.pick(w.category(), category);
        w.click("Image4");

        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
        QVERIFY(!TForm3::confirmationFlag());
        QCOMPARE(db.scalar(QStringLiteral("select y from lstzpj")).toReal(), 27.5);
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), grade);
        QVERIFY(QFileInfo(db.folder() + QStringLiteral("/lsbmp.bmp")).size() > 0);

        QCOMPARE(reports.size(), 1);
        const ReportCapture::Report& r = reports.last();
        QCOMPARE(QFileInfo(r.layoutPath).fileName(), layout);
        QCOMPARE(QFileInfo(r.layoutPath).absolutePath(), QFileInfo(db.folder()).canonicalFilePath());
        QCOMPARE(r.title, QStringLiteral("体质测试报告"));
        QCOMPARE(r.pageCount, 1);
        for (const QString& text : printed)
            QVERIFY2(r.text.contains(text), qPrintable(text + QStringLiteral(" missing from:\n") + r.text));
        QVERIFY(r.text.contains(QStringLiteral("评价标准：本程序原有标准")));
        QVERIFY(!r.text.contains(QStringLiteral("WS/T")));
        QVERIFY(r.html.contains(QStringLiteral("lsbmp.bmp")));
        QVERIFY(!r.text.contains(QStringLiteral("{{")));
    }

    // By the national standards the report grades and words by them, while lstzpj keeps the program's
    // own grade. BMI 27.5 is 超重 there (高 by the program's own bands).
    // clang-format off
    void evaluationByNationalStandard_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("childbearing age")
            << QStringLiteral("育龄") << QStringLiteral("earlier")
            << QStringList{QStringLiteral("超重（本次）"), QStringLiteral("24.0 至不足 28.0"), QStringLiteral("体重偏重")};
        // 74.5 - 70.4 = 4.1 kg at week 15: 超重 allows 0.44 to 2.74 kg.
        QTest::newRow("pregnant")
            << QStringLiteral("孕妇") << QStringLiteral("正常")
            << QStringList{QStringLiteral("超重（本次）"), QStringLiteral("较孕前增重：4.10 kg"), QStringLiteral("评价：偏高"),
                           QStringLiteral("0.44～2.74 kg"), QStringLiteral("7.0～11.0 kg"), QStringLiteral("体重增长偏快")};
        QTest::newRow("nursing")
            << QStringLiteral("乳母") << QStringLiteral("过轻")
            << QStringList{QStringLiteral("超重（本次）"), QStringLiteral("-4.40 kg"), QStringLiteral("已恢复到孕前体重")};
    }
    // clang-format on
    void evaluationByNationalStandard() {
        QFETCH(QString, category);
        QFETCH(QString, grade);
        QFETCH(QStringList, printed);
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        db.exec(QStringLiteral("update lstzpj set week_add=0.35, week_dj='earlier'"));
        nc::person::chooseStandard(nc::person::Standard::National);
        MessagesRecorder messages;
        ReportCapture reports;
        ProgramFolder folder(db.folder());
        Window w;
        w.pick(w.category(), category);
        w.click("Image4");

        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), grade);
        QCOMPARE(reports.size(), 1);
        const QString& text = reports.last().text;
        QVERIFY2(text.contains(QStringLiteral("评价标准：WS/T 428—2013《成人体重判定》")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("本程序原有标准")));
        QVERIFY(!text.contains(QStringLiteral("19.8")));
        QCOMPARE(reports.last().pageCount, 1);
        for (const QString& t : printed)
            QVERIFY2(text.contains(t), qPrintable(t + QStringLiteral(" missing from:\n") + text));
        QVERIFY(!text.contains(QStringLiteral("{{")));
    }

    // A period date of today gives no week count: the report says the gain cannot be judged yet rather
    // than printing the gain over a token divisor. The stored grade is as the rule gives it.
    void evaluationWithoutWeeks() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        ReportCapture reports;
        ProgramFolder folder(db.folder());
        Window w;
        w.lmp()->setDate(kToday);
        w.click("Image4");
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 0);
        QCOMPARE(db.scalar(QStringLiteral("select week_add from lstzpj")).toReal(), 40000.0);
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), QStringLiteral("过重"));
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.last().text.contains(QStringLiteral("每周增重暂时无法评价")));
        QVERIFY(!reports.last().text.contains(QStringLiteral("40000")));
    }

    // A missing layout is reported after the save, the grade and the picture; the window stays open.
    void evaluationWithoutLayout() {
        FixtureDb db;
        db.exec(QString::fromUtf8(kPregnantRecord));
        MessagesRecorder messages;
        ReportCapture reports;
        ProgramFolder folder(db.folder(), ProgramFolder::Layouts::None);
        Window w;
        w.click("Image4");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.last().kind, MessagesRecorder::Kind::Error);
        QVERIFY2(messages.last().text.contains(QStringLiteral("yftzbg.rav")),
                 qPrintable(messages.last().text));
        QVERIFY(reports.isEmpty());
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), QStringLiteral("正常"));
        QVERIFY(QFile::exists(db.folder() + QStringLiteral("/lsbmp.bmp")));
        QVERIFY(w.form.isVisible());
    }

    void hoverTops() {
        FixtureDb db;
        Window w;
        QCOMPARE(w.get("Image6")->y(), 438);
        nc::test::movePointer(w.get("Image1"));
        const QList<QPair<const char*, int>> rest = {{"Image2", 436}, {"Image3", 436}, {"Image4", 436},
                                                     {"Image6", 436}, {"Image18", 19}, {"Image19", 100}};
        const QList<int> raised = {433, 433, 433, 433, 16, 97};
        for (int i = 0; i < rest.size(); ++i) {
            QCOMPARE(w.get(rest[i].first)->y(), rest[i].second);
            nc::test::movePointer(w.get(rest[i].first));
            QCOMPARE(w.get(rest[i].first)->y(), raised[i]);
        }
        nc::test::movePointer(w.get("Image1"));
        for (const auto& [name, top] : rest)
            QCOMPARE(w.get(name)->y(), top);
    }

    void arrowsOpenTheLists() {
        FixtureDb db;
        Window w;
        w.click("Image20");
        QTRY_VERIFY(w.category()->view()->isVisible());
        w.category()->hidePopup();
        w.click("Image21");
        QTRY_VERIFY(w.activity()->view()->isVisible());
        w.activity()->hidePopup();
    }

    // The magnifier opens the activity-level table as a new modal window over this one.
    void magnifierOpensActivityLevels() {
        FixtureDb db;
        ProbeWindow::reset();
        const nc::ui::WindowRegistry windows = ProbeWindow::registry({QStringLiteral("TForm2")});
        Window w(windows);
        w.click("Image19");
        QCOMPARE(ProbeWindow::seen.size(), 1);
        QCOMPARE(ProbeWindow::seen.first().className, QStringLiteral("TForm2"));
        QCOMPARE(ProbeWindow::seen.first().parent, &w.form);
        QVERIFY(ProbeWindow::seen.first().modal);
        QCOMPARE(ProbeWindow::alive, 0);
        QVERIFY(w.form.isVisible());
    }

    // 退出 and the close mark close without saving or asking.
    void exit_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("exit") << "Image6";
        QTest::newRow("close mark") << "Image18";
    }
    void exit() {
        QFETCH(QString, button);
        FixtureDb db;
        MessagesRecorder messages;
        Window w;
        w.type(1, QStringLiteral("改过的名字"));
        w.click(qPrintable(button));
        QVERIFY(!w.form.isVisible());
        QCOMPARE(w.form.result(), int(QDialog::Rejected));
        QVERIFY(messages.isEmpty());
        QVERIFY(db.scalar(QStringLiteral("select name from personinf")).isNull());
    }
};

QTEST_MAIN(TestRecordWindow)
#include "tst_record_window.moc"
