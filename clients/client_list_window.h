#pragma once
// The client list (TFormClients): every client of the shared database, found by typing her name or
// its pinyin initials; from here the counsellor makes a new client, opens one (she becomes the
// client every window works on), deletes one (her file goes to the backups folder), moves a client's
// file to or from another computer, and restores her file from a backup copy. A client whose file is
// found damaged when she is opened is offered the restore. Opened from the main window.

#include "client_index.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPixmap>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QStandardItemModel;
class QTableView;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::clients {

class TFormClients : public QDialog {
    Q_OBJECT
public:
    explicit TFormClients(QWidget* parent = nullptr);

    void Image2Click(); // 新建: a new empty client becomes current, and the window closes
    void Image3Click(); // 打开: the selected client becomes current, and the window closes
    void Image4Click(); // 删除: after a question, her file goes to the backups folder
    void Image5Click(); // 导出: a copy of her file, wherever the counsellor chooses
    void Image6Click(); // 导入: a client's file from elsewhere joins the list
    void Image7Click(); // 关闭
    void Image8Click(); // 从备份恢复: the restore window on the selected client's copies
    void Image1MouseMove();

    // The file dialogs of export and import: (window, caption, proposed path or folder) -> the chosen
    // path, empty when cancelled. Tests replace them; an empty function restores the file dialog.
    using FileChooser =
        std::function<QString(QWidget* parent, const QString& caption, const QString& proposed)>;
    static void setSaveFileChooser(FileChooser chooser);
    static void setOpenFileChooser(FileChooser chooser);

    // The name a client's exported file is proposed under: her name (characters a file name cannot
    // hold replaced by "_") with ".dbz".
    static QString exportFileName(const ClientEntry& e);

private:
    void reload(qint64 select);   // reads the index again and shows it, selecting that client
    void showRows(qint64 select); // shows the clients matching the search
    void selectionChanged();
    void searchChanged();
    std::optional<ClientEntry> selected() const;
    qint64 selectedId() const;
    // Makes some client current when none is: the most recently saved one that opens, else a new one.
    // Returns the sentence telling who is current now.
    QString ensureCurrentClient();
    void setUsable(ui::PictureButton* button, bool usable);

    bool keeps_ = false;                       // the shared file keeps clients apart
    QList<ClientEntry> all_;                   // the index as last read
    QList<ClientEntry> shown_;                 // the rows of the grid, in order
    QHash<ui::PictureButton*, QPixmap> faces_; // each button's face while usable
    ui::HoverLift* hover_;
    ui::PictureButton* Image1; // background
    ui::PictureButton* Image2; // 新建
    ui::PictureButton* Image3; // 打开
    ui::PictureButton* Image4; // 删除
    ui::PictureButton* Image5; // 导出
    ui::PictureButton* Image6; // 导入
    ui::PictureButton* Image7; // 关闭
    ui::PictureButton* Image8; // 从备份恢复
    QLineEdit* Edit1;          // search
    QLabel* Label1;            // how many clients are shown
    QLabel* Label2;            // the note shown instead of the list when the file keeps no clients
    QTableView* DBGrid1;       // the clients
    QStandardItemModel* model_;
};

} // namespace nc::clients
