// The client list (TFormClients): search, new, open, delete, export and import of clients.

#include "client_list_window.h"

#include "client_store.h"
#include "data/client_file.h"
#include "data/connection.h"
#include "data/errors.h"
#include "data/password.h"
#include "pinyin.h"
#include "restore_window.h"
#include "ui/artwork.h"
#include "ui/messages.h"
#include "ui/window_builder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>

namespace nc::clients {

namespace {

using ui::art::Glyph;
using ui::art::Tone;

const QSize kClient(820, 520);
const QRect kGridPlace(24, 100, 772, 334);

enum Column { Name, Category, Week, Saved, ColumnCount };

ui::art::Backdrop backdrop() {
    ui::art::Backdrop b;
    b.title = QStringLiteral("客户列表");
    b.labels = {{QRect(24, 56, 48, 30), QStringLiteral("查找"), 15, Qt::AlignLeft | Qt::AlignVCenter, true}};
    return b;
}

TFormClients::FileChooser& saveFileChooser() {
    static TFormClients::FileChooser chooser;
    return chooser;
}

TFormClients::FileChooser& openFileChooser() {
    static TFormClients::FileChooser chooser;
    return chooser;
}

const QString kFileFilter = QStringLiteral("客户档案 (*.dbz)");

// Her pregnancy week and stage as the list shows them: "24周 · 孕中期", "24周", "孕中期", "".
QString weekText(const ClientEntry& e) {
    QStringList parts;
    if (!e.week.trimmed().isEmpty())
        parts << QStringLiteral("%1周").arg(e.week.trimmed());
    if (!e.stage.trimmed().isEmpty())
        parts << e.stage.trimmed();
    return parts.join(QStringLiteral(" · "));
}

// The same picture, faded: a button that cannot be used now.
QPixmap faded(const QPixmap& face) {
    QPixmap out(face.size());
    out.setDevicePixelRatio(face.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setOpacity(0.4);
    p.drawPixmap(0, 0, face);
    return out;
}

} // namespace

void TFormClients::setSaveFileChooser(FileChooser chooser) {
    saveFileChooser() = std::move(chooser);
}

void TFormClients::setOpenFileChooser(FileChooser chooser) {
    openFileChooser() = std::move(chooser);
}

QString TFormClients::exportFileName(const ClientEntry& e) {
    QString name = clientTitle(e);
    for (QChar& ch : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(ch) || ch.category() == QChar::Other_Control)
            ch = QLatin1Char('_');
    if (name.startsWith(QLatin1Char('.')))
        name.replace(0, 1, QLatin1Char('_')); // never a hidden file
    return name + QStringLiteral(".dbz");
}

TFormClients::TFormClients(QWidget* parent) : QDialog(parent) {
    ui::WindowBuilder build(this, {.name = "TFormClients",
                                   .title = QStringLiteral("客户列表"),
                                   .client = kClient,
                                   .frame = ui::Frame::Dialog,
                                   .background = ui::art::windowBackground(kClient, backdrop())});
    Image1 = build.background();
    hover_ = build.hover();

    // The pinyin of names is read as she types; opening it now keeps the first key from waiting.
    preparePinyin();

    Edit1 = build.make<QLineEdit>("Edit1", QRect(76, 56, 300, 30), ui::art::font(15));
    Edit1->setPlaceholderText(QStringLiteral("输入姓名或拼音首字母查找"));
    Edit1->setClearButtonEnabled(true);
    Label1 = build.make<QLabel>("Label1", QRect(396, 56, 400, 30), ui::art::font(13));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette soft = Label1->palette();
    soft.setColor(QPalette::WindowText, ui::art::colour::inkSoft);
    Label1->setPalette(soft);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents); // the background's hover rule goes on

    model_ = new QStandardItemModel(0, ColumnCount, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("姓名"), QStringLiteral("人群"),
                                       QStringLiteral("孕周/阶段"), QStringLiteral("最近保存")});
    DBGrid1 = build.listGrid("DBGrid1", kGridPlace, model_);
    DBGrid1->setColumnWidth(Name, 230);
    DBGrid1->setColumnWidth(Category, 90);
    DBGrid1->setColumnWidth(Week, 190);

    // Shown instead of the list when the file keeps no clients.
    Label2 = build.make<QLabel>("Label2", kGridPlace.adjusted(24, 40, -24, -40), ui::art::font(15));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->hide();

    // clang-format off
    const auto pictures = build.pictures({
        {"Image2", {24, 458, 100, 40},  458, 455, ui::face::button(QStringLiteral("新建"), Tone::Rose, Glyph::Person),     &TFormClients::Image2Click},
        {"Image3", {134, 458, 100, 40}, 458, 455, ui::face::button(QStringLiteral("打开"), Tone::Sage, Glyph::Ok),         &TFormClients::Image3Click},
        {"Image4", {244, 458, 100, 40}, 458, 455, ui::face::button(QStringLiteral("删除"), Tone::Peach, Glyph::Delete),    &TFormClients::Image4Click},
        {"Image5", {354, 458, 100, 40}, 458, 455, ui::face::button(QStringLiteral("导出"), Tone::Lavender, Glyph::Save),   &TFormClients::Image5Click},
        {"Image6", {464, 458, 100, 40}, 458, 455, ui::face::button(QStringLiteral("导入"), Tone::Lavender, Glyph::Book),   &TFormClients::Image6Click},
        {"Image8", {574, 458, 116, 40}, 458, 455, ui::face::button(QStringLiteral("从备份恢复"), Tone::Sage, Glyph::Save), &TFormClients::Image8Click},
        {"Image7", {700, 458, 96, 40},  458, 455, ui::face::button(QStringLiteral("关闭"), Tone::Neutral, Glyph::Exit),    &TFormClients::Image7Click},
    });
    // clang-format on
    Image2 = pictures.at(0);
    Image3 = pictures.at(1);
    Image4 = pictures.at(2);
    Image5 = pictures.at(3);
    Image6 = pictures.at(4);
    Image8 = pictures.at(5);
    Image7 = pictures.at(6);
    for (ui::PictureButton* b : pictures)
        faces_.insert(b, b->picture());

    build.on(Edit1, &QLineEdit::textChanged, [this] { searchChanged(); });
    // Enter in the search field opens the client selected among the matches.
    build.on(Edit1, &QLineEdit::returnPressed, [this] {
        if (selectedId() > 0)
            Image3Click();
    });
    // A double click or Enter on a row opens her.
    build.on(DBGrid1, &QTableView::activated, [this] { Image3Click(); });
    build.on(DBGrid1->selectionModel(), &QItemSelectionModel::selectionChanged,
             [this] { selectionChanged(); });

    ui::guard([this] {
        keeps_ = keepsClients(data::Connection::required());
        if (!keeps_) {
            Label2->setText(QStringLiteral("这个数据文件还没有按客户分别保存档案（启动时的升级没有完成），"
                                           "所以客户列表暂不能使用；程序仍在使用文件里原有的一份档案，"
                                           "其他窗口照常工作。\n\n重新启动程序会再次进行升级。"));
            Label2->show();
            DBGrid1->hide();
            Edit1->setEnabled(false);
            setUsable(Image2, false);
            setUsable(Image6, false);
        }
    });
    if (keeps_) {
        std::optional<ClientEntry> current;
        ui::guard([&current] { current = currentClient(data::Connection::required()); });
        reload(current ? current->id : 0);
        DBGrid1->setFocus();
    } else {
        selectionChanged();
    }
}

void TFormClients::reload(qint64 select) {
    all_.clear();
    ui::guard([this] { all_ = readClients(data::Connection::required()); });
    showRows(select);
}

void TFormClients::showRows(qint64 select) {
    qint64 current = 0;
    ui::guard([&current] { current = data::attachedClientId(data::Connection::required()); });
    shown_ = filterClients(all_, Edit1->text());

    model_->removeRows(0, model_->rowCount());
    int selectRow = -1;
    for (int r = 0; r < shown_.size(); ++r) {
        const ClientEntry& e = shown_.at(r);
        const bool isCurrent = e.id == current;
        QList<QStandardItem*> row{
            new QStandardItem(isCurrent ? clientTitle(e) + QStringLiteral("（当前）") : clientTitle(e)),
            new QStandardItem(e.category.trimmed()),
            new QStandardItem(weekText(e)),
            new QStandardItem(e.saved.isValid() ? e.saved.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                                : QString()),
        };
        for (QStandardItem* item : row) {
            item->setData(e.id, Qt::UserRole);
            item->setToolTip(clientSummary(e));
            if (isCurrent) {
                QFont bold = DBGrid1->font();
                bold.setBold(true);
                item->setFont(bold);
            }
        }
        model_->appendRow(row);
        if (e.id == select)
            selectRow = r;
    }
    if (selectRow >= 0) {
        DBGrid1->selectRow(selectRow);
        DBGrid1->scrollTo(model_->index(selectRow, Name));
    }

    if (all_.isEmpty())
        Label1->setText(QStringLiteral("还没有客户"));
    else if (Edit1->text().trimmed().isEmpty())
        Label1->setText(QStringLiteral("共 %1 位客户").arg(all_.size()));
    else if (shown_.isEmpty())
        Label1->setText(QStringLiteral("没有找到匹配的客户（共 %1 位）").arg(all_.size()));
    else
        Label1->setText(QStringLiteral("找到 %1 位（共 %2 位）").arg(shown_.size()).arg(all_.size()));
    selectionChanged();
}

// Typing keeps the selected client selected while she still matches, else selects the first match,
// so Enter opens the client she was looking for.
void TFormClients::searchChanged() {
    const qint64 before = selectedId();
    const QList<ClientEntry> matches = filterClients(all_, Edit1->text());
    const bool stillShown = std::any_of(matches.begin(), matches.end(),
                                        [before](const ClientEntry& e) { return e.id == before; });
    showRows(stillShown ? before : (matches.isEmpty() ? 0 : matches.first().id));
}

void TFormClients::selectionChanged() {
    const bool row = selectedId() > 0;
    setUsable(Image3, row);
    setUsable(Image4, row);
    setUsable(Image5, row);
    setUsable(Image8, row);
}

qint64 TFormClients::selectedId() const {
    const QModelIndexList rows = DBGrid1->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : model_->data(rows.first(), Qt::UserRole).toLongLong();
}

std::optional<ClientEntry> TFormClients::selected() const {
    const qint64 id = selectedId();
    for (const ClientEntry& e : shown_)
        if (id > 0 && e.id == id)
            return e;
    return std::nullopt;
}

void TFormClients::setUsable(ui::PictureButton* button, bool usable) {
    button->setEnabled(usable);
    button->setPicture(usable ? faces_.value(button) : faded(faces_.value(button)));
}

QString TFormClients::ensureCurrentClient() {
    data::Connection& c = data::Connection::required();
    if (const std::optional<ClientEntry> now = currentClient(c))
        return QStringLiteral("当前客户是“%1”。").arg(clientTitle(*now));
    // As at start: the most recently saved client whose file opens, else a new empty one.
    const StartOutcome out = openClientAtStart(c);
    const QString text = out.created || !out.client
                             ? QStringLiteral("已没有可以打开的客户，已新建一位空白客户作为当前客户。")
                             : QStringLiteral("现在的当前客户是“%1”。").arg(clientTitle(*out.client));
    if (!out.problems.isEmpty())
        ui::Messages::error(out.problems.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + text);
    if (!out.backupProblem.isEmpty())
        ui::Messages::error(out.backupProblem);
    return text;
}

// A new client has an empty record, and filling it in is the next thing to do: that happens in the
// personal record window, opened from the main window, so the list closes with her current and the
// main window names her.
void TFormClients::Image2Click() {
    if (!keeps_)
        return;
    newClient(data::Connection::required());
    accept();
}

void TFormClients::Image3Click() {
    const std::optional<ClientEntry> e = selected();
    if (!e)
        return;
    data::Connection& c = data::Connection::required();
    if (data::attachedClientId(c) != e->id) {
        QString problem;
        try {
            problem = openClient(c, *e);
        } catch (const data::Error& err) {
            // Her file cannot be used: the client before stays current, and a good backup of her
            // file is offered; once restored, she opens.
            const bool restored = offerClientRestore(this, *e, err.text());
            reload(e->id);
            if (!restored)
                return;
            problem = openClient(c, *e);
        }
        if (!problem.isEmpty())
            ui::Messages::error(problem);
    }
    accept();
}

void TFormClients::Image8Click() {
    const std::optional<ClientEntry> e = selected();
    if (!e)
        return;
    TFormRestore restore(*e, this);
    restore.run();
    reload(e->id);
}

void TFormClients::Image4Click() {
    const std::optional<ClientEntry> e = selected();
    if (!e)
        return;
    if (!ui::Messages::confirm(
            QStringLiteral("确定要删除客户“%1”吗？她的档案文件将移到备份文件夹，不会被销毁。")
                .arg(clientTitle(*e))))
        return;
    data::Connection& c = data::Connection::required();
    QString where;
    try {
        where = deleteClient(c, *e);
    } catch (const data::Error&) {
        reload(e->id);
        throw;
    }
    QString text = QStringLiteral("客户“%1”已删除，她的档案文件已移到：\n%2")
                       .arg(clientTitle(*e), QDir::toNativeSeparators(where));
    try {
        const QString now = ensureCurrentClient();
        text += QStringLiteral("\n\n") + now;
    } catch (const data::Error&) {
        reload(0);
        throw;
    }
    std::optional<ClientEntry> current;
    ui::guard([&current, &c] { current = currentClient(c); });
    reload(current ? current->id : 0);
    ui::Messages::inform(text);
}

void TFormClients::Image5Click() {
    const std::optional<ClientEntry> e = selected();
    if (!e)
        return;
    const QString caption = QStringLiteral("导出客户档案");
    const QString proposed = QDir(QDir::homePath()).filePath(exportFileName(*e));
    QString path = saveFileChooser() ? saveFileChooser()(this, caption, proposed)
                                     : QFileDialog::getSaveFileName(this, caption, proposed, kFileFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty()) {
        // The dialog asked about the name as typed; the file written has the suffix added.
        path += QStringLiteral(".dbz");
        if (QFileInfo::exists(path) &&
            !ui::Messages::confirm(
                QStringLiteral("文件“%1”已存在，要替换它吗？").arg(QDir::toNativeSeparators(path))))
            return;
    }
    data::Connection& c = data::Connection::required();
    exportClient(c, *e, path);
    QString text =
        QStringLiteral("客户“%1”的档案已导出到：\n%2").arg(clientTitle(*e), QDir::toNativeSeparators(path));
    if (data::hasOwnPassword(c))
        text += QStringLiteral(
            "\n\n导出的文件仍受您设置的密码保护：在别的电脑上导入时，需要先在那里设置同一个密码。");
    ui::Messages::inform(text);
}

void TFormClients::Image6Click() {
    if (!keeps_)
        return;
    const QString caption = QStringLiteral("导入客户档案");
    const QString path = openFileChooser()
                             ? openFileChooser()(this, caption, QDir::homePath())
                             : QFileDialog::getOpenFileName(this, caption, QDir::homePath(), kFileFilter);
    if (path.isEmpty())
        return;
    const ClientEntry e = importClient(data::Connection::required(), path);
    // She is shown and selected even when the search would hide her.
    {
        const QSignalBlocker quiet(Edit1);
        Edit1->clear();
    }
    reload(e.id);
    ui::Messages::inform(
        QStringLiteral("已导入客户“%1”。要为她工作，请选中后点“打开”。").arg(clientTitle(e)));
}

void TFormClients::Image7Click() {
    reject();
}

void TFormClients::Image1MouseMove() {
    hover_->restoreAll();
}

} // namespace nc::clients
