// The program's list of working windows: every window that another window opens by class name.

#include "working_windows.h"

#include "analysis/analysis_window.h"
#include "analysis/food_list_window.h"
#include "clients/client_list_window.h"
#include "clients/client_store.h"
#include "clients/restore_window.h"
#include "data/connection.h"
#include "data/errors.h"
#include "diet/diet_record_window.h"
#include "foods/food_management_window.h"
#include "foods/food_query_window.h"
#include "foods/food_viewer_window.h"
#include "info/about_window.h"
#include "info/activity_levels_window.h"
#include "info/recipe_sheets_window.h"
#include "password_window.h"
#include "person/record_window.h"
#include "settings_window.h"
#include "titles.h"

#include <QEvent>
#include <QLabel>

#include <memory>

namespace nc::app {

namespace {

// A window that works on the current client's data names her in its title (and in its title band,
// where it has a "Subject" label there), so no one enters a record or a diet for the wrong woman. The
// name is read again each time the window becomes active or the pointer comes back over it, so a name
// just saved (a new client's first record) shows as soon as the message about the save is closed.
class ClientInTitle : public QObject {
public:
    explicit ClientInTitle(QWidget* window)
        : QObject(window), window_(window), title_(window->windowTitle()) {
        window->installEventFilter(this);
        show();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Back in the window: made active again, or the pointer came back over it (a message box closed).
        if (watched == window_ && (event->type() == QEvent::WindowActivate || event->type() == QEvent::Enter))
            show();
        return false;
    }

private:
    void show() {
        data::Connection* c = data::Connection::current();
        if (!c)
            return;
        try {
            if (!clients::keepsClients(*c))
                return;
            const std::optional<clients::ClientEntry> e = clients::currentClient(*c);
            if (!e)
                return;
            const QString who = QStringLiteral("客户：") + clients::clientTitle(*e);
            window_->setWindowTitle(title_.isEmpty() ? who : title_ + QStringLiteral(" —— ") + who);
            // A window drawn without the system's frame shows her in its own title band.
            if (auto* subject = window_->findChild<QLabel*>(QStringLiteral("Subject")))
                subject->setText(subject->fontMetrics().elidedText(who, Qt::ElideRight, subject->width()));
        } catch (const data::Error&) {
            // the database cannot be read; the window itself says why
        }
    }

    QWidget* window_;
    QString title_; // the window's own title
};

template <class W> void addClientWindow(ui::WindowRegistry& registry, const QString& className) {
    registry.add(className, [](QWidget* parent) {
        auto w = std::make_unique<W>(parent);
        new ClientInTitle(w.get()); // owned by the window
        return w;
    });
}

} // namespace

void registerWorkingWindows(ui::WindowRegistry& registry) {
    registry.add<nc::foods::TForm7>(QStringLiteral("TForm7"));             // food composition management
    registry.add<nc::foods::TForm11>(QStringLiteral("TForm11"));           // food composition viewer
    registry.add<nc::foods::TForm15>(QStringLiteral("TForm15"));           // food query
    addClientWindow<nc::diet::TForm8>(registry, QStringLiteral("TForm8")); // diet record
    registry.add<nc::info::TForm6>(QStringLiteral("TForm6"));              // recommended recipes
    registry.add(QStringLiteral("TForm9"), [](QWidget* p) {
        return std::make_unique<nc::info::TForm9>(p, kApplicationTitle);
    });                                                                          // about
    addClientWindow<nc::analysis::TForm13>(registry, QStringLiteral("TForm13")); // analysis and its report
    addClientWindow<nc::analysis::TForm14>(registry, QStringLiteral("TForm14")); // food-list report
    addClientWindow<nc::person::TForm3>(registry, QStringLiteral("TForm3"));     // personal record
    registry.add<nc::info::TForm2>(QStringLiteral("TForm2"));                    // activity-level standards
    registry.add<TFormSettings>(QStringLiteral("TFormSettings")); // settings: the evaluation standard
    registry.add<TFormChangePassword>(QStringLiteral("TFormChangePassword")); // her own password
    registry.add<nc::clients::TFormClients>(QStringLiteral("TFormClients"));  // the client list
    registry.add<nc::clients::TFormRestore>(QStringLiteral("TFormRestore"));  // restoring from a backup
}

} // namespace nc::app
