#include "pages.h"

#include "app/main_window.h"
#include "app/password_window.h"
#include "app/splash_window.h"
#include "app/working_windows.h"
#include "clients/client_list_window.h"
#include "clients/client_store.h"
#include "clients/restore_window.h"
#include "data/backups.h"
#include "data/clock.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/password.h"
#include "data/query.h"
#include "data/value.h"
#include "diet/diet_record.h"
#include "diet/diet_record_window.h"
#include "diet/import_recipe_dialog.h"
#include "diet/recipe_details_window.h"
#include "diet/save_recipe_dialog.h"
#include "info/recipe_sheets_window.h"
#include "person/record_window.h"
#include "person/standards.h"
#include "ui/artwork.h"
#include "ui/picture_button.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>

namespace nc::gallery {

namespace {

// A sample of the kit's artwork as later windows use it: a window background with its title and
// field labels, the button faces in every tone, the arrow, the close mark and the magnifier.
std::unique_ptr<QWidget> kitSample() {
    namespace art = ui::art;
    auto w = std::make_unique<QWidget>();
    w->setObjectName(QStringLiteral("kit"));
    w->setFixedSize(560, 330);
    art::Backdrop backdrop;
    backdrop.title = QStringLiteral("个人信息");
    backdrop.labels = {{QRect(30, 62, 60, 24), QStringLiteral("姓名")},
                       {QRect(30, 96, 60, 24), QStringLiteral("年龄")},
                       {QRect(30, 130, 60, 24), QStringLiteral("身高(cm)")},
                       {QRect(300, 62, 60, 24), QStringLiteral("类别")}};
    new ui::PictureButton(QStringLiteral("Image1"), QRect(0, 0, 560, 330),
                          art::windowBackground(QSize(560, 330), backdrop), w.get());
    new ui::PictureButton(QStringLiteral("Image2"), QRect(516, 8, 26, 26), art::closeMark(QSize(26, 26)),
                          w.get());
    new ui::PictureButton(QStringLiteral("Image3"), QRect(440, 62, 18, 24), art::dropDownArrow(QSize(18, 24)),
                          w.get());
    new ui::PictureButton(QStringLiteral("Image4"), QRect(470, 58, 32, 32), art::magnifier(QSize(32, 32)),
                          w.get());
    const struct {
        const char* caption;
        art::Tone tone;
        art::Glyph glyph;
    } faces[] = {
        {"保存", art::Tone::Rose, art::Glyph::Save},    {"删除", art::Tone::Peach, art::Glyph::Delete},
        {"确定", art::Tone::Sage, art::Glyph::Ok},      {"取消", art::Tone::Lavender, art::Glyph::Cancel},
        {"退出", art::Tone::Neutral, art::Glyph::Exit},
    };
    int x = 30;
    for (const auto& f : faces) {
        new ui::PictureButton(QStringLiteral("Face"), QRect(x, 200, 92, 40),
                              art::buttonFace(QSize(92, 40), QString::fromUtf8(f.caption), f.tone, f.glyph),
                              w.get());
        new ui::PictureButton(QStringLiteral("Plain"), QRect(x, 256, 92, 36),
                              art::buttonFace(QSize(92, 36), QString::fromUtf8(f.caption), f.tone), w.get());
        x += 102;
    }
    return w;
}

// A recipe window as the diet record window makes it: over the diet record, opened with its last day
// current. The record lives as long as the window.
template <class W> std::unique_ptr<QWidget> overDietRecord(void (*prepare)(W&) = nullptr) {
    auto* record = new diet::DietRecord;
    record->open();
    auto w = std::make_unique<W>(*record);
    record->setParent(w.get());
    if (prepare)
        prepare(*w);
    return w;
}

// The diet record window with a food name typed key by key, then, when an amount is given, the
// food picked, the amount typed and the unit chosen.
std::unique_ptr<QWidget> dietRecordTyping(const QString& name, const QString& amount, int unit) {
    auto w = std::make_unique<diet::TForm8>();
    w->findChild<QComboBox*>(QStringLiteral("ComboBox4"))->setCurrentIndex(1);
    QLineEdit* edit = w->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->lineEdit();
    for (const QChar c : name) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
    if (amount.isEmpty())
        return w;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
    w->findChild<QLineEdit*>(QStringLiteral("LabeledEdit1"))->setText(amount);
    w->findChild<QComboBox*>(QStringLiteral("ComboBox3"))->setCurrentIndex(unit);
    return w;
}

// Made-up people, one per category, stored as the record before the personal record window opens.
void storeSampleRecord(const QString& category) {
    data::Query q;
    const QDate today = data::Clock::today();
    if (category == QStringLiteral("孕妇")) {
        q.setSql(
            QStringLiteral("update personinf set name='张小雨', age=28, high=162, csjd='孕妇', hdsp='轻', "
                           "yltz=54, yftz=62, rmtz=0, mcyjrq=:lmp"));
        q.setParam(QStringLiteral("lmp"), data::Value::fromDate(today.addDays(-150)));
    } else if (category == QStringLiteral("乳母")) {
        q.setSql(QStringLiteral("update personinf set name='刘芳', age=31, high=160, csjd='乳母', hdsp='中', "
                                "yltz=56, yftz=0, rmtz=60, yq_week=38, mcyjrq=:lmp"));
        q.setParam(QStringLiteral("lmp"), data::Value::fromDate(today.addDays(-400)));
    } else {
        q.setSql(QStringLiteral("update personinf set name='陈静', age=26, high=158, csjd='育龄', hdsp='中', "
                                "yltz=68, yftz=0, rmtz=0, mcyjrq=:lmp"));
        q.setParam(QStringLiteral("lmp"), data::Value::fromDate(today.addDays(-20)));
    }
    q.execute();
}

// The client list with three clients: the current client's record becomes 林晓雯's (pregnant, in
// her 24th week), 王芳 and 张丽 are made beside her, and she is current again. Her record changes, so
// the page comes last.
std::unique_ptr<QWidget> clientList() {
    data::Connection& c = data::Connection::required();
    const auto store = [](const QString& name, const QString& category, const data::Value& week,
                          const data::Value& stage) {
        data::Query q;
        q.setSql(QStringLiteral("update personinf set name = :name, csjd = :category, yq_week = :week, "
                                "yq_jd = :stage"));
        q.setParam(QStringLiteral("name"), name);
        q.setParam(QStringLiteral("category"), category);
        q.setParam(QStringLiteral("week"), week);
        q.setParam(QStringLiteral("stage"), stage);
        q.execute();
    };
    const std::optional<clients::ClientEntry> first = clients::currentClient(c);
    if (!first)
        throw data::Error(QStringLiteral("没有当前客户。"));
    store(QStringLiteral("林晓雯"), QStringLiteral("孕妇"), data::Value(24),
          data::Value(QStringLiteral("孕中期")));
    clients::newClient(c);
    store(QStringLiteral("王芳"), QStringLiteral("乳母"), {}, {});
    clients::newClient(c);
    store(QStringLiteral("张丽"), QStringLiteral("育龄"), {}, {});
    clients::openClient(c, *first);
    return std::make_unique<clients::TFormClients>();
}

// The restore window over the current client's copies: three days of her diet record, copied at the
// end of each of three days, and a fourth copy with pages overwritten. Comes after the client
// list, whose 林晓雯 it shows.
std::unique_ptr<QWidget> restoreWindow() {
    data::Connection& c = data::Connection::required();
    const std::optional<clients::ClientEntry> current = clients::currentClient(c);
    if (!current)
        throw data::Error(QStringLiteral("没有当前客户。"));
    const QString folder = data::backupFolderFor(c.databasePath());
    const QDateTime first(data::Clock::today().addDays(-4), QTime(9, 12));
    data::Query q;
    q.setSql(QStringLiteral("select coalesce(max(tsid), 0) from ts"));
    q.open();
    const qint64 last = q.field(0).toInteger();
    for (qint64 day = last + 1; day <= last + 3; ++day) {
        q.setSql(QStringLiteral("insert into ts (tsid) values (:day)"));
        q.setParam(QStringLiteral("day"), day);
        q.execute();
        q.setSql(QStringLiteral("insert into foodcheck (tc, swname, zl) values (:day, '米饭', 150)"));
        for (qint64 food = 0; food < 8 + day - last; ++food) {
            q.setParam(QStringLiteral("day"), day);
            q.execute();
        }
        (void)data::backupDatabaseFile(c, QStringLiteral("client"), folder, first.addDays(day - last - 1));
    }
    QFile damaged(data::backupDatabaseFile(c, QStringLiteral("client"), folder, first.addDays(3)));
    if (damaged.open(QIODevice::ReadWrite)) {
        damaged.seek(1024); // the pages after the first: tables every check reads
        damaged.write(QByteArray(4096, '\x5a'));
        damaged.close(); // written before the window reads it
    }
    return std::make_unique<clients::TFormRestore>(*current, nullptr);
}

// The personal record window as it opens on a stored record of the category.
Page recordPage(const QString& file, const QString& category) {
    return {file, [category]() -> std::unique_ptr<QWidget> {
                storeSampleRecord(category);
                return std::make_unique<person::TForm3>();
            }};
}

// The physique report of the category: the window's 体格评价 on a stored record; the report itself
// is saved by the gallery's report sink.
Page physiqueReportPage(const QString& file, const QString& category) {
    return {file, [category]() -> std::unique_ptr<QWidget> {
                storeSampleRecord(category);
                person::TForm3 window;
                window.Image4Click();
                return nullptr;
            }};
}

// The same report judged by the current national standards: the choice is stored for the page and
// put back afterwards, and the report is saved as "<layout>-national".
Page nationalReportPage(const QString& file, const QString& category) {
    return {file, [category]() -> std::unique_ptr<QWidget> {
                person::chooseStandard(person::Standard::National);
                reportNameSuffix() = QStringLiteral("-national");
                storeSampleRecord(category);
                {
                    person::TForm3 window;
                    window.Image4Click();
                }
                reportNameSuffix().clear();
                person::chooseStandard(person::Standard::Original);
                return nullptr;
            }};
}

} // namespace

QString& reportNameSuffix() {
    static QString suffix;
    return suffix;
}

QList<data::SeedTable> sampleRecords() {
    const auto table = [](const QString& name, const QStringList& header, const QList<QStringList>& rows) {
        data::SeedTable t;
        t.table = name;
        t.data.header = header;
        t.data.rows = rows;
        return t;
    };
    // Day, food, grams, meal, household portion as entered.
    const QList<QStringList> meals = {
        {QStringLiteral("1"), QStringLiteral("稻米（代表值）"), QStringLiteral("150"), QStringLiteral("午餐"),
         QString()},
        {QStringLiteral("1"), QStringLiteral("鸡蛋（代表值）"), QStringLiteral("52.2"),
         QStringLiteral("早餐"), QStringLiteral("1个")},
        {QStringLiteral("1"), QStringLiteral("纯牛奶（代表值，全脂）"), QStringLiteral("250"),
         QStringLiteral("早餐"), QStringLiteral("1杯")},
        {QStringLiteral("1"), QStringLiteral("大白菜（代表值）"), QStringLiteral("200"),
         QStringLiteral("晚餐"), QString()},
        {QStringLiteral("2"), QStringLiteral("挂面（代表值）"), QStringLiteral("120"), QString(), QString()},
        {QStringLiteral("2"), QStringLiteral("鸡（代表值）"), QStringLiteral("80"), QString(), QString()},
        {QStringLiteral("2"), QStringLiteral("苹果（代表值）"), QStringLiteral("200"), QString(), QString()},
        {QStringLiteral("3"), QStringLiteral("米饭（蒸，代表值）"), QStringLiteral("300"),
         QStringLiteral("午餐"), QStringLiteral("2碗")},
        {QStringLiteral("3"), QStringLiteral("豆腐（代表值）"), QStringLiteral("100"), QStringLiteral("午餐"),
         QStringLiteral("1块")},
        {QStringLiteral("3"), QStringLiteral("牛肉（代表值，瘦，fat 3g）"), QStringLiteral("75"),
         QStringLiteral("午餐"), QString()},
        {QStringLiteral("3"), QStringLiteral("茄子（代表值）"), QStringLiteral("150"), QStringLiteral("晚餐"),
         QString()},
        {QStringLiteral("3"), QStringLiteral("酸奶（代表值，全脂）"), QStringLiteral("125"),
         QStringLiteral("晚加餐"), QStringLiteral("1杯")},
        {QStringLiteral("3"), QStringLiteral("葡萄（代表值）"), QStringLiteral("150"),
         QStringLiteral("午加餐"), QString()},
        {QStringLiteral("3"), QStringLiteral("纯牛奶（代表值，全脂）"), QStringLiteral("250"),
         QStringLiteral("早餐"), QStringLiteral("1杯")},
        {QStringLiteral("3"), QStringLiteral("鸡蛋（代表值）"), QStringLiteral("104.4"),
         QStringLiteral("早餐"), QStringLiteral("2个")},
    };
    QList<QStringList> recipe;
    int second = 0;
    for (const QStringList& m : meals) {
        if (m[0] == QLatin1String("1"))
            recipe.append({QStringLiteral("孕中期一日食谱"),
                           QStringLiteral("2026-03-02 09:30:%1.000").arg(second++, 2, 10, QLatin1Char('0')),
                           m[1], m[2], m[3], m[4]});
    }
    recipe.append({QStringLiteral("清淡午餐"), QStringLiteral("2026-03-05 12:10:00.000"),
                   QStringLiteral("面条（生，代表值）"), QStringLiteral("100"), QString(), QString()});
    recipe.append({QStringLiteral("清淡午餐"), QStringLiteral("2026-03-05 12:10:01.000"),
                   QStringLiteral("茄子（代表值）"), QStringLiteral("150"), QString(), QString()});
    return {table(QStringLiteral("ts"), {QStringLiteral("tsid")},
                  {{QStringLiteral("1")}, {QStringLiteral("2")}, {QStringLiteral("3")}}),
            table(QStringLiteral("foodcheck"),
                  {QStringLiteral("tc"), QStringLiteral("swname"), QStringLiteral("zl"),
                   QStringLiteral("meal"), QStringLiteral("portion")},
                  meals),
            table(QStringLiteral("sps"),
                  {QStringLiteral("spname"), QStringLiteral("sptime"), QStringLiteral("swname"),
                   QStringLiteral("zl"), QStringLiteral("meal"), QStringLiteral("portion")},
                  recipe)};
}

QList<Page> pages() {
    // Windows that the main window's registry does not reach (the start-up windows, and the windows
    // opened from other windows) get their page here; so does a window that needs something set up
    // first, and its page here takes the place of the registry's plain one.
    QList<Page> list = {
        {QStringLiteral("splash"), [] { return std::make_unique<app::TForm5>(); }},
        {QStringLiteral("main"), [] { return std::make_unique<app::TForm1>(); }},
        // Asked at start when the data files have her own password.
        {QStringLiteral("TFormPassword"),
         [] {
             const data::Connection* c = data::Connection::current();
             return std::make_unique<app::TFormPassword>(c ? c->databasePath() : QStringLiteral("yfdb.dbz"));
         }},
        {QStringLiteral("kit"), kitSample},
        // The viewer shows the food the diet record window selected: one of the shipped foods.
        {QStringLiteral("TForm11"),
         [] {
             diet::lsfoodname() = QStringLiteral("奶片");
             return ui::WindowRegistry::program().create(QStringLiteral("TForm11"), nullptr);
         }},
        // The recipe windows, opened from the diet record window.
        {QStringLiteral("TForm4"),
         [] {
             return overDietRecord<diet::TForm4>([](diet::TForm4& w) {
                 w.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("孕中期一日食谱"));
             });
         }},
        {QStringLiteral("TForm10"),
         [] {
             return overDietRecord<diet::TForm10>([](diet::TForm10& w) {
                 w.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
             });
         }},
        {QStringLiteral("TForm16"), [] { return overDietRecord<diet::TForm16>(); }},
        // The diet record window while a food is typed (its matches dropped down), and with a household
        // portion chosen beside the weight.
        {QStringLiteral("TForm8-typeahead"), [] { return dietRecordTyping(QStringLiteral("鸡蛋"), {}, 0); }},
        {QStringLiteral("TForm8-portion"),
         [] { return dietRecordTyping(QStringLiteral("鸡蛋（代表值）"), QStringLiteral("2"), 1); }},
        recordPage(QStringLiteral("TForm3-childbearing"), QStringLiteral("育龄")),
        recordPage(QStringLiteral("TForm3-pregnant"), QStringLiteral("孕妇")),
        recordPage(QStringLiteral("TForm3-nursing"), QStringLiteral("乳母")),
        physiqueReportPage(QStringLiteral("tzbg"), QStringLiteral("育龄")),
        physiqueReportPage(QStringLiteral("yftzbg"), QStringLiteral("孕妇")),
        physiqueReportPage(QStringLiteral("rmtzbg"), QStringLiteral("乳母")),
        nationalReportPage(QStringLiteral("tzbg-national"), QStringLiteral("育龄")),
        nationalReportPage(QStringLiteral("yftzbg-national"), QStringLiteral("孕妇")),
        nationalReportPage(QStringLiteral("rmtzbg-national"), QStringLiteral("乳母")),
    };
    // The recipe sheets window over the sheets the build made beside the program (build/bin, two
    // folders up from the gallery's), at a menu, a diet-therapy sheet, the table and the guide; the
    // first page replaces the registry's, which finds no sheets beside the gallery.
    const QString programFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/../../bin");
    for (const int item : {0, 3, 12, 22, 23}) {
        const QString file = item ? QStringLiteral("TForm6-%1").arg(item) : QStringLiteral("TForm6");
        list.append({file, [item, programFolder]() -> std::unique_ptr<QWidget> {
                         auto w = std::make_unique<info::TForm6>(nullptr, programFolder);
                         w->show(); // opening selects the first sheet; then the page's own
                         w->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(item);
                         return w;
                     }});
    }
    ui::WindowRegistry& windows = ui::WindowRegistry::program();
    if (windows.classNames().isEmpty())
        app::registerWorkingWindows(windows);
    QStringList listed;
    for (const Page& p : std::as_const(list))
        listed << p.file;
    for (const QString& name : windows.classNames())
        if (!listed.contains(name) && name != QStringLiteral("TFormClients") &&
            name != QStringLiteral("TFormRestore"))
            list.append({name, [&windows, name]() -> std::unique_ptr<QWidget> {
                             return windows.create(name, nullptr);
                         }});
    list.append({QStringLiteral("TFormClients"), clientList});
    list.append({QStringLiteral("TFormRestore"), restoreWindow});
    // The password window once she has a password of her own (当前密码 above the new one). Last, since
    // it gives the gallery's files that password.
    list.append({QStringLiteral("TFormChangePassword-own"), [] {
                     data::changePassword(data::Connection::required(), QStringLiteral("gallery-1"),
                                          data::Clock::now());
                     return std::make_unique<app::TFormChangePassword>();
                 }});
    return list;
}

} // namespace nc::gallery
