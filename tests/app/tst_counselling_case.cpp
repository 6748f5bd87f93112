// Whole cases as a counsellor works them, through the program's own windows: the record of a pregnant
// woman saved and evaluated, three days of meals entered, then the analysis report and the food list;
// and three clients kept apart through the client list.

#include "app/database_start.h"
#include "app/working_windows.h"
#include "clients/client_list_window.h"
#include "clients/client_store.h"
#include "data/client_file.h"
#include "data/database_update.h"
#include "data/query.h"
#include "support/fixed_clock.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/program_folder.h"
#include "support/report_capture.h"
#include "support/typing.h"
#include "support/widgets.h"
#include "ui/picture_button.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace nc;
using test::child;
using test::click;
using test::FixtureDb;

namespace {

struct Meal {
    const char* food;
    const char* grams;
};

// Three days, the foods of each with their weights.
struct Client {
    const char* name;
    int category; // 0 育龄, 1 孕妇, 2 乳母
    const char* food;
    const char* grams;
};

// Opens a window of the program by class name, as the main window and the other windows do.
std::unique_ptr<QDialog> window(const char* className) {
    auto w = ui::WindowRegistry::program().create(QString::fromLatin1(className), nullptr);
    w->show();
    return w;
}

// Her record saved in the personal record window, and one day with one food in the diet record.
void enterRecordAndDay(const Client& c) {
    {
        auto w = window("TForm3");
        child<QComboBox>(*w, QStringLiteral("ComboBox1"))->setCurrentIndex(c.category);
        child<QComboBox>(*w, QStringLiteral("ComboBox2"))->setCurrentIndex(0);
        child<QLineEdit>(*w, QStringLiteral("Edit1"))->setText(QString::fromUtf8(c.name));
        child<QLineEdit>(*w, QStringLiteral("Edit2"))->setText(QStringLiteral("29"));
        child<QLineEdit>(*w, QStringLiteral("Edit3"))->setText(QStringLiteral("160"));
        child<QLineEdit>(*w, QStringLiteral("Edit4"))->setText(QStringLiteral("55"));
        if (c.category != 0)
            child<QLineEdit>(*w, QStringLiteral("Edit5"))->setText(QStringLiteral("60"));
        child<QDateEdit>(*w, QStringLiteral("DateTimePicker1"))->setDate(QDate(2026, 9, 1));
        click(*w, QStringLiteral("Image2"));
        // Back in the window after the message about the save: the band names her as saved.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w.get(), &activate);
        QCOMPARE(child<QLabel>(*w, QStringLiteral("Subject"))->text(),
                 QStringLiteral("客户：") + QString::fromUtf8(c.name));
    }
    auto diet = window("TForm8");
    click(*diet, QStringLiteral("Image12")); // 增加一天
    child<QComboBox>(*diet, QStringLiteral("ComboBox2"))->setEditText(QString::fromUtf8(c.food));
    child<QLineEdit>(*diet, QStringLiteral("LabeledEdit1"))->setText(QString::fromLatin1(c.grams));
    click(*diet, QStringLiteral("Image8")); // 添 加
}

// Finds her in the client list by what the counsellor types and opens her.
void openByTyping(const QString& typed) {
    auto list = window("TFormClients");
    test::typeText(child<QLineEdit>(*list, QStringLiteral("Edit1")), typed);
    click(*list, QStringLiteral("Image3")); // 打开
}

QString shownName() {
    auto w = window("TForm3");
    return child<QLineEdit>(*w, QStringLiteral("Edit1"))->text();
}

const QList<QList<Meal>> kDays = {
    {{"稻米（代表值）", "150"}, {"鸡蛋（代表值）", "50"}, {"纯牛奶（代表值，全脂）", "250"}},
    {{"小麦粉（标准粉）", "100"}, {"豆腐（代表值）", "100"}},
    {{"稻米（代表值）", "200"}, {"苹果（代表值）", "200"}, {"花生油", "25"}},
};

} // namespace

class TestCounsellingCase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        if (ui::WindowRegistry::program().classNames().isEmpty())
            app::registerWorkingWindows(ui::WindowRegistry::program());
    }
    void pregnantWomanFromRecordToReports() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        test::MessagesRecorder messages;
        test::ReportCapture reports;
        const test::FixedClock clock(QDate(2026, 12, 10), QTime(9, 0));

        // The program's folder: the layouts lie there and the chart pictures are written there.
        QTemporaryDir dir;
        const test::ProgramFolder folder(dir.path());

        // 1. The personal record: save, then the physique evaluation.
        {
            auto w = ui::WindowRegistry::program().create(QStringLiteral("TForm3"), nullptr);
            child<QComboBox>(*w, QStringLiteral("ComboBox1"))->setCurrentIndex(1); // 孕妇
            child<QComboBox>(*w, QStringLiteral("ComboBox2"))->setCurrentIndex(0); // 轻
            child<QLineEdit>(*w, QStringLiteral("Edit1"))->setText(QStringLiteral("王芳"));
            child<QLineEdit>(*w, QStringLiteral("Edit2"))->setText(QStringLiteral("28"));
            child<QLineEdit>(*w, QStringLiteral("Edit3"))->setText(QStringLiteral("160"));
            child<QLineEdit>(*w, QStringLiteral("Edit4"))->setText(QStringLiteral("55"));
            child<QLineEdit>(*w, QStringLiteral("Edit5"))->setText(QStringLiteral("60"));
            child<QDateEdit>(*w, QStringLiteral("DateTimePicker1"))->setDate(QDate(2026, 9, 1));
            click(*w, QStringLiteral("Image2"));
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("数据保存成功！")});
            click(*w, QStringLiteral("Image4"));
            QCOMPARE(reports.size(), 1);
            QCOMPARE(QFileInfo(reports.last().layoutPath).fileName(), QStringLiteral("yftzbg.rav"));
            QVERIFY(reports.last().text.contains(QStringLiteral("王芳")));
        }
        // Day count 99: the middle-period supplement of 200 kcal; BMI 21.48 keeps her own 55 kg.
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 2125.0);

        // 2. Three days of meals in the diet record window.
        auto diet = ui::WindowRegistry::program().create(QStringLiteral("TForm8"), nullptr);
        diet->show();
        for (const QList<Meal>& day : kDays) {
            click(*diet, QStringLiteral("Image12")); // 增加一天: the new day is current
            for (const Meal& m : day) {
                child<QComboBox>(*diet, QStringLiteral("ComboBox2"))->setEditText(QString::fromUtf8(m.food));
                child<QLineEdit>(*diet, QStringLiteral("LabeledEdit1"))
                    ->setText(QString::fromLatin1(m.grams));
                click(*diet, QStringLiteral("Image8")); // 添 加
            }
        }
        QCOMPARE(db.count(QStringLiteral("ts")), 3);
        QCOMPARE(db.count(QStringLiteral("foodcheck")), 8);
        QCOMPARE(messages.size(), 1); // nothing refused

        // 3. 营养分析: the waiting window runs the analysis and the report, then closes itself.
        click(*diet, QStringLiteral("Image6"));
        QCOMPARE(reports.size(), 2);
        QCOMPARE(QFileInfo(reports.last().layoutPath).fileName(), QStringLiteral("yyfx_yf.rav"));
        QCOMPARE(reports.last().title, QStringLiteral("营养分析"));
        // Energy, kcal per 100 g × grams ÷ 100, from the shipped food table:
        //   day 1: 稻米 346 × 150 = 519, 鸡蛋 139 × 50 = 69.5, 纯牛奶 65 × 250 = 162.5
        //   day 2: 小麦粉 362 × 100 = 362, 豆腐 84 × 100 = 84
        //   day 3: 稻米 346 × 200 = 692, 苹果 53 × 200 = 106, 花生油 899 × 25 = 224.75
        // together 2219.75 kcal over 3 days = 739.9166…, cut to two decimals: 739.91.
        QCOMPARE(db.scalar(QStringLiteral("select srl from lsyysfx where id=1")).toReal(), 739.91);
        QVERIFY(reports.last().text.contains(QStringLiteral("739.91")));
        QVERIFY(QFileInfo::exists(folder.file(QStringLiteral("lsbmp1.bmp"))));

        // 4. 食谱打印: every food entry, day by day.
        click(*diet, QStringLiteral("Image7"));
        QCOMPARE(reports.size(), 3);
        QCOMPARE(QFileInfo(reports.last().layoutPath).fileName(), QStringLiteral("sumrep.rav"));
        for (const QList<Meal>& day : kDays)
            for (const Meal& m : day)
                QVERIFY2(reports.last().text.contains(QString::fromUtf8(m.food)), m.food);
        QCOMPARE(messages.size(), 1);
    }

    // Three clients made and filled through the windows, each window naming whose data it works on;
    // switching by typing her initials; the next start opens the client used last; a deleted client's
    // file is in the backups; an exported client imported into another data folder has her record.
    void threeClientsThroughTheClientList() {
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        test::MessagesRecorder messages;
        const test::FixedClock clock(QDate(2026, 12, 10), QTime(9, 0));
        const QList<Client> three = {{"林晓雯", 1, "稻米（代表值）", "150"},
                                     {"王芳", 2, "纯牛奶（代表值，全脂）", "250"},
                                     {"张丽", 0, "苹果（代表值）", "200"}};
        // The first client is the one the program made on its first start; the others are new.
        for (int i = 0; i < three.size(); ++i) {
            if (i > 0) {
                auto list = window("TFormClients");
                click(*list, QStringLiteral("Image2")); // 新建
                QVERIFY(shownName().isEmpty());
            }
            enterRecordAndDay(three[i]);
            QVERIFY(window("TForm8")->windowTitle().endsWith(QString::fromUtf8(three[i].name)));
        }
        QCOMPARE(messages.texts().count(QStringLiteral("数据保存成功！")), 3);
        QCOMPARE(clients::readClients(db.connection()).size(), 3);

        // Each client has her own record and her own day, found by her initials.
        for (const auto& [typed, name, food] : {std::tuple{"lxw", "林晓雯", "稻米（代表值）"},
                                                std::tuple{"wf", "王芳", "纯牛奶（代表值，全脂）"},
                                                std::tuple{"zl", "张丽", "苹果（代表值）"}}) {
            openByTyping(QString::fromLatin1(typed));
            QCOMPARE(shownName(), QString::fromUtf8(name));
            const QString who = QStringLiteral("客户：") + QString::fromUtf8(name);
            for (const char* className : {"TForm3", "TForm8"}) { // in the title and in the title band
                auto w = window(className);
                QVERIFY(w->windowTitle().endsWith(who));
                QCOMPARE(child<QLabel>(*w, QStringLiteral("Subject"))->text(), who);
            }
            QCOMPARE(db.count(QStringLiteral("ts")), 1);
            QCOMPARE(db.scalar(QStringLiteral("select swname from foodcheck")).toText(),
                     QString::fromUtf8(food));
        }

        // Closed and started again: 王芳, opened last, is current.
        openByTyping(QStringLiteral("wf"));
        db.connection().close();
        data::detachClientFile(db.connection());
        app::updateDatabaseAtStart();
        app::openClientAtStart();
        QCOMPARE(shownName(), QStringLiteral("王芳"));

        // 张丽 deleted: asked, and her file is in the backups, whole.
        {
            auto list = window("TFormClients");
            test::typeText(child<QLineEdit>(*list, QStringLiteral("Edit1")), QStringLiteral("zl"));
            messages.answerNext(true);
            click(*list, QStringLiteral("Image4")); // 删除
        }
        QCOMPARE(clients::readClients(db.connection()).size(), 2);
        const QStringList backups = QDir(data::backupFolderFor(db.path()))
                                        .entryList({QStringLiteral("张丽-client-*.dbz")}, QDir::Files);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(shownName(), QStringLiteral("王芳")); // she stays current

        // 林晓雯 exported, and imported into a fresh data folder.
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("林晓雯.dbz"));
        clients::TFormClients::setSaveFileChooser(
            [&](QWidget*, const QString&, const QString&) { return file; });
        clients::TFormClients::setOpenFileChooser(
            [&](QWidget*, const QString&, const QString&) { return file; });
        {
            auto list = window("TFormClients");
            test::typeText(child<QLineEdit>(*list, QStringLiteral("Edit1")), QStringLiteral("lxw"));
            click(*list, QStringLiteral("Image5")); // 导出
        }
        QVERIFY(QFileInfo::exists(file));
        FixtureDb fresh(FixtureDb::Content::ShippedSeeds);
        {
            auto list = window("TFormClients");
            click(*list, QStringLiteral("Image6")); // 导入
        }
        openByTyping(QStringLiteral("lxw"));
        clients::TFormClients::setSaveFileChooser({});
        clients::TFormClients::setOpenFileChooser({});
        QCOMPARE(shownName(), QStringLiteral("林晓雯"));
        QCOMPARE(fresh.scalar(QStringLiteral("select swname from foodcheck")).toText(),
                 QStringLiteral("稻米（代表值）"));
        QVERIFY(QDir(data::clientsFolderFor(fresh.path())).exists(data::clientFileName(2)));
        for (const test::MessagesRecorder::Entry& e : messages.entries())
            QVERIFY2(e.kind != test::MessagesRecorder::Kind::Error, qPrintable(e.text));
    }
};

QTEST_MAIN(TestCounsellingCase)
#include "tst_counselling_case.moc"
