#pragma once
// The restore window (TFormRestore, "从备份恢复"): the automatic copies of one file, a client's file or
// the shared file, newest first, with what each holds and whether it can be used; 恢复 puts the chosen
// copy in place of the file after a question (clients/restore.h). Opened from the client list for the
// selected client, and from the offer made when a file is found damaged at open.

#include "client_index.h"
#include "restore.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

class QLabel;
class QStandardItemModel;
class QTableView;
class QWidget;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::clients {

class TFormRestore : public QDialog {
    Q_OBJECT
public:
    // The copies of the current client's file (of the shared file when no client is current).
    explicit TFormRestore(QWidget* parent = nullptr);
    // The copies of this client's file.
    TFormRestore(const ClientEntry& client, QWidget* parent);
    // The copies of the shared file.
    struct SharedFile {};
    TFormRestore(SharedFile, QWidget* parent);

    void Image2Click(); // 恢复: after a question, the chosen copy replaces the file
    void Image3Click(); // 关闭
    void Image1MouseMove();

    // Whether a copy was put in place while the window was open.
    bool restored() const { return restored_; }

    // How the window runs when offered (default: exec()); tests drive it without a modal loop. An
    // empty function restores exec().
    using Runner = std::function<void(TFormRestore&)>;
    static void setRunner(Runner runner);
    // Runs the window modally (through the runner when one is set); returns restored().
    bool run();

    // The grid's texts for a copy's state: 完好, 已损坏, 密码不同.
    static QString stateText(BackupInfo::State state);

private:
    void build();
    void reload();
    int selectedRow() const;

    std::optional<ClientEntry> client_; // nullopt: the shared file
    QString filePath_;
    QList<BackupInfo> copies_;
    bool restored_ = false;
    ui::HoverLift* hover_ = nullptr;
    ui::PictureButton* Image1 = nullptr; // background
    ui::PictureButton* Image2 = nullptr; // 恢复
    ui::PictureButton* Image3 = nullptr; // 关闭
    QLabel* Label1 = nullptr;            // which file
    QLabel* Label2 = nullptr;            // how many copies, or why there are none
    QTableView* DBGrid1 = nullptr;       // the copies
    QStandardItemModel* model_ = nullptr;
};

// When a client's file cannot be used: the message naming her file and the newest good copy of it,
// with the offer to restore it (恢复 / 不恢复); 恢复 opens the restore window on her copies. Returns
// whether her file was restored. With no good copy, the message says so and offers nothing.
bool offerClientRestore(QWidget* parent, const ClientEntry& e, const QString& problem);
// The same for the shared file (the program's start).
bool offerSharedRestore(QWidget* parent, const QString& problem);

} // namespace nc::clients
