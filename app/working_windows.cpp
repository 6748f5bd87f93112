// The program's list of working windows: every window that another window opens by class name.

#include "working_windows.h"

#include "analysis/analysis_window.h"
#include "analysis/food_list_window.h"
#include "clients/client_list_window.h"
#include "clients/client_store.h"
#include "data/connection.h"
#include "data/errors.h"
#include "diet/diet_record_window.h"
#include "foods/food_management_window.h"
#include "foods/food_query_window.h"
#include "foods/food_viewer_window.h"
#include "info/about_window.h"
#include "info/activity_levels_window.h"
#include "info/recipe_sheets_window.h"
#include "person/record_window.h"
#include "settings_window.h"
#include "titles.h"

#include <memory>

namespace nc::app {

namespace {

// A window that works on the current client's data names her in its title, so no one enters a record
// or a diet for the wrong woman.
void nameClientInTitle(QWidget& window) {
    data::Connection* c = data::Connection::current();
    if (!c)
        return;
    try {
        if (!clients::keepsClients(*c))
            return;
        if (const std::optional<clients::ClientEntry> e = clients::currentClient(*c))
            window.setWindowTitle(window.windowTitle() + QStringLiteral(" —— 客户：") +
                                  clients::clientTitle(*e));
    } catch (const data::Error&) {
        // the database cannot be read; the window itself says why
    }
}

template <class W> void addClientWindow(ui::WindowRegistry& registry, const QString& className) {
    registry.add(className, [](QWidget* parent) {
        auto w = std::make_unique<W>(parent);
        nameClientInTitle(*w);
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
    registry.add<nc::clients::TFormClients>(QStringLiteral("TFormClients")); // the client list
}

} // namespace nc::app
