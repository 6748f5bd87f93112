// The restore window (TFormRestore): the backup copies of one file and putting one of them in place.

#include "restore_window.h"

#include "client_store.h"
#include "data/backups.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/errors.h"
#include "ui/artwork.h"
#include "ui/messages.h"
#include "ui/window_builder.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>

namespace nc::clients {

namespace {

using ui::art::Glyph;
using ui::art::Tone;

const QSize kClient(660, 460);
const QRect kGridPlace(24, 112, 612, 270);

enum Column { Moment, Client, Days, Foods, State, ColumnCount };

QString copyTime(const QDateTime& moment) {
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

ui::art::Backdrop backdrop() {
    ui::art::Backdrop b;
    b.title = QStringLiteral("从备份恢复");
    return b;
}

QString what(const std::optional<ClientEntry>& client) {
    return client ? QStringLiteral("客户“%1”的档案").arg(clientTitle(*client))
                  : QStringLiteral("共用数据文件（食物成分表、食谱、设置和客户列表）");
}

} // namespace

QString TFormRestore::stateText(BackupInfo::State state) {
    switch (state) {
    case BackupInfo::State::Good:
        return QStringLiteral("完好");
    case BackupInfo::State::Damaged:
        return QStringLiteral("已损坏");
    case BackupInfo::State::OtherPassword:
        return QStringLiteral("密码不同");
    }
    return {};
}

TFormRestore::TFormRestore(QWidget* parent) : QDialog(parent) {
    ui::guard([this] { client_ = currentClient(data::Connection::required()); });
    build();
}

TFormRestore::TFormRestore(const ClientEntry& client, QWidget* parent) : QDialog(parent), client_(client) {
    build();
}

TFormRestore::TFormRestore(SharedFile, QWidget* parent) : QDialog(parent) {
    build();
}

void TFormRestore::build() {
    ui::WindowBuilder build(this, {.name = "TFormRestore",
                                   .title = QStringLiteral("从备份恢复"),
                                   .client = kClient,
                                   .frame = ui::Frame::Dialog,
                                   .background = ui::art::windowBackground(kClient, backdrop())});
    Image1 = build.background();
    hover_ = build.hover();

    Label1 = build.make<QLabel>("Label1", QRect(24, 52, 612, 28), ui::art::font(15));
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label2 = build.make<QLabel>("Label2", QRect(24, 80, 612, 26), ui::art::font(13));
    QPalette soft = Label2->palette();
    soft.setColor(QPalette::WindowText, ui::art::colour::inkSoft);
    Label2->setPalette(soft);
    Label2->setAttribute(Qt::WA_TransparentForMouseEvents);

    model_ = new QStandardItemModel(0, ColumnCount, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("客户"),
                                       QStringLiteral("天数"), QStringLiteral("食物数"),
                                       QStringLiteral("状态")});
    DBGrid1 = build.listGrid("DBGrid1", kGridPlace, model_);
    DBGrid1->setColumnWidth(Moment, 170);
    DBGrid1->setColumnWidth(Client, 170);
    DBGrid1->setColumnWidth(Days, 80);
    DBGrid1->setColumnWidth(Foods, 80);

    // clang-format off
    const auto pictures = build.pictures({
        {"Image2", {24, 400, 110, 40},  400, 397, ui::face::button(QStringLiteral("恢复"), Tone::Rose, Glyph::Ok),      &TFormRestore::Image2Click},
        {"Image3", {526, 400, 110, 40}, 400, 397, ui::face::button(QStringLiteral("关闭"), Tone::Neutral, Glyph::Exit), &TFormRestore::Image3Click},
    });
    // clang-format on
    Image2 = pictures.at(0);
    Image3 = pictures.at(1);

    // A double click or Enter on a copy asks to restore it.
    build.on(DBGrid1, &QTableView::activated, [this] { Image2Click(); });
    ui::guard([this] { reload(); });
    DBGrid1->setFocus();
}

void TFormRestore::reload() {
    data::Connection& c = data::Connection::required();
    if (client_) {
        if (const std::optional<ClientEntry> now = readClient(c, client_->id))
            client_ = *now;
        filePath_ = clientPath(c, *client_);
    } else {
        filePath_ = c.databasePath();
    }
    Label1->setText(QStringLiteral("%1：%2").arg(what(client_), QFileInfo(filePath_).fileName()));
    copies_ = listBackups(filePath_, data::backupFolderFor(c.databasePath()), restorePasswords(c));

    model_->removeRows(0, model_->rowCount());
    int firstGood = -1;
    for (int r = 0; r < copies_.size(); ++r) {
        const BackupInfo& b = copies_.at(r);
        QString who;
        if (b.clients >= 0)
            who = QStringLiteral("共 %1 位").arg(b.clients);
        else if (b.state == BackupInfo::State::Good)
            who = b.name.isEmpty() ? QStringLiteral("未填姓名") : b.name;
        const auto number = [](int n) { return n >= 0 ? QString::number(n) : QString(); };
        QList<QStandardItem*> row{new QStandardItem(copyTime(b.moment)), new QStandardItem(who),
                                  new QStandardItem(number(b.days)), new QStandardItem(number(b.foods)),
                                  new QStandardItem(stateText(b.state))};
        row[Days]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row[Foods]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QStandardItem* item : row) {
            item->setToolTip(b.state == BackupInfo::State::Good ? QDir::toNativeSeparators(b.path)
                                                                : b.problem);
            if (b.state != BackupInfo::State::Good)
                item->setForeground(ui::art::colour::inkSoft);
        }
        model_->appendRow(row);
        if (firstGood < 0 && b.state == BackupInfo::State::Good)
            firstGood = r;
    }
    if (!client_)
        model_->setHeaderData(Client, Qt::Horizontal, QStringLiteral("客户数"));
    if (firstGood >= 0)
        DBGrid1->selectRow(firstGood);
    Label2->setText(copies_.isEmpty()
                        ? QStringLiteral("备份文件夹里还没有这个文件的备份。")
                        : QStringLiteral("共 %1 份备份，最新的在最上面。选中一份完好的备份，再点“恢复”。")
                              .arg(copies_.size()));
    Image2->setEnabled(firstGood >= 0);
}

int TFormRestore::selectedRow() const {
    const QModelIndexList rows = DBGrid1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TFormRestore::Image2Click() {
    const int row = selectedRow();
    if (row < 0 || row >= copies_.size()) {
        ui::Messages::inform(QStringLiteral("请先选中一份备份。"));
        return;
    }
    const BackupInfo b = copies_.at(row);
    if (b.state != BackupInfo::State::Good) {
        ui::Messages::error(QStringLiteral("%1 的备份不能用来恢复：\n%2\n\n请选择一份完好的备份。")
                                .arg(copyTime(b.moment), b.problem));
        return;
    }
    const QString target = what(client_);
    if (!ui::Messages::confirm(
            QStringLiteral("用 %1 的备份替换%2吗？当前档案会先备份。").arg(copyTime(b.moment), target)))
        return;
    data::Connection& c = data::Connection::required();
    RestoreOutcome out;
    try {
        out = client_ ? restoreClientFile(c, *client_, b.path) : restoreSharedFile(c, b.path);
    } catch (const data::Error&) {
        reload();
        throw;
    }
    restored_ = true;
    QString text = QStringLiteral("已用 %1 的备份恢复了%2。").arg(copyTime(b.moment), target);
    if (!out.keptAt.isEmpty())
        text += QStringLiteral("\n原来的档案已保存为：\n%1").arg(QDir::toNativeSeparators(out.keptAt));
    if (!out.readded.isEmpty())
        text += QStringLiteral("\n\n这些客户的档案是在这份备份之后建立的，已重新加入客户列表：%1")
                    .arg(out.readded.join(QStringLiteral("、")));
    reload();
    ui::Messages::inform(text);
    if (!out.reopenProblem.isEmpty())
        ui::Messages::error(out.reopenProblem);
}

void TFormRestore::Image3Click() {
    reject();
}

void TFormRestore::Image1MouseMove() {
    hover_->restoreAll();
}

namespace {

TFormRestore::Runner& runner() {
    static TFormRestore::Runner r;
    return r;
}

// The offer: the problem, the newest good copy, the question; 恢复 opens the window.
bool offer(const QString& path, const QString& problem, const std::function<bool()>& open) {
    data::Connection& c = data::Connection::required();
    const std::optional<BackupInfo> good =
        newestGoodBackup(path, data::backupFolderFor(c.databasePath()), restorePasswords(c));
    if (!good) {
        ui::Messages::error(problem + QStringLiteral("\n\n备份文件夹里没有这个文件的完好备份。"));
        return false;
    }
    const QString text = problem + QStringLiteral("\n\n最新的完好备份是 %1 的备份（%2）。要从备份恢复吗？")
                                       .arg(copyTime(good->moment), QFileInfo(good->path).fileName());
    if (!ui::Messages::ask(text, QStringLiteral("恢复"), QStringLiteral("不恢复")))
        return false;
    return open();
}

} // namespace

void TFormRestore::setRunner(Runner r) {
    runner() = std::move(r);
}

bool TFormRestore::run() {
    if (runner())
        runner()(*this);
    else
        exec();
    return restored();
}

bool offerClientRestore(QWidget* parent, const ClientEntry& e, const QString& problem) {
    const QString path = clientPath(data::Connection::required(), e);
    return offer(path, problem, [&] {
        TFormRestore w(e, parent);
        return w.run();
    });
}

bool offerSharedRestore(QWidget* parent, const QString& problem) {
    const QString path = data::Connection::required().databasePath();
    return offer(path, problem, [&] {
        TFormRestore w(TFormRestore::SharedFile{}, parent);
        return w.run();
    });
}

} // namespace nc::clients
