#include "database_start.h"

#include "clients/client_store.h"
#include "clients/restore.h"
#include "clients/restore_window.h"
#include "data/backups.h"
#include "data/client_file.h"
#include "data/clock.h"
#include "data/connection.h"
#include "data/database_update.h"
#include "data/file_check.h"
#include "ui/messages.h"

namespace nc::app {

void checkSharedFileAtStart() {
    data::Connection* c = data::Connection::current();
    if (!c)
        return;
    const data::FileCheck check = data::checkDatabaseFile(c->databasePath(), clients::restorePasswords(*c));
    // A missing file is left to the windows to report, as before.
    if (check.good() || check.state == data::FileState::Missing)
        return;
    c->close();
    (void)clients::offerSharedRestore(nullptr, check.message);
}

void updateDatabaseAtStart() {
    data::Connection* c = data::Connection::current();
    if (!c)
        return;
    checkSharedFileAtStart();
    const data::UpdateOutcome out = data::updateDatabase(*c);
    if (out.status == data::UpdateOutcome::Status::Updated)
        ui::Messages::inform(out.message);
    else if (out.status == data::UpdateOutcome::Status::Failed)
        ui::Messages::error(out.message);
    // The day's copy of the shared file, before the counsellor changes anything. An update copies the
    // file before its first step, and that copy is the day's copy already.
    const data::DailyBackup copy = data::backupIfDue(
        *c, QStringLiteral("main"), data::backupFolderFor(c->databasePath()), data::Clock::now());
    // A file that cannot be opened at all is reported by the windows; the copy's failure would only
    // repeat it.
    if (!copy.problem.isEmpty() && out.status != data::UpdateOutcome::Status::Unavailable)
        ui::Messages::error(copy.problem);
}

void openClientAtStart() {
    data::Connection* c = data::Connection::current();
    if (!c)
        return;
    try {
        (void)clients::keepsClients(*c);
    } catch (const data::Error&) {
        return; // the shared file cannot be opened: left to the windows to report, as before
    }
    try {
        const clients::StartOutcome out = clients::openClientAtStart(*c);
        // Each client whose file could not be used: told, with the offer of her newest good backup.
        for (qsizetype i = 0; i < out.problems.size(); ++i) {
            QString text = out.problems.at(i);
            if (out.client && i == out.problems.size() - 1)
                text += QStringLiteral("\n\n已改为打开客户“%1”。").arg(clients::clientTitle(*out.client));
            if (i >= out.failed.size()) {
                ui::Messages::error(text);
                continue;
            }
            text = QStringLiteral("客户“%1”的档案无法使用。\n").arg(clients::clientTitle(out.failed.at(i))) +
                   text;
            const bool restored = clients::offerClientRestore(nullptr, out.failed.at(i), text);
            // The client used last, restored: she is the one to work on, as she would have been.
            if (restored && i == 0 && data::attachedClientId(*c) != out.failed.at(0).id) {
                try {
                    const QString problem = clients::openClient(*c, out.failed.at(0));
                    if (!problem.isEmpty())
                        ui::Messages::error(problem);
                } catch (const data::Error& e) {
                    ui::Messages::error(e.text());
                }
            }
        }
        if (!out.backupProblem.isEmpty())
            ui::Messages::error(out.backupProblem);
    } catch (const data::Error& e) {
        ui::Messages::error(QStringLiteral("未能打开客户档案：%1").arg(e.text()));
    }
}

} // namespace nc::app
