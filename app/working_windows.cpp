// The program's list of working windows: every window that another window opens by class name.

#include "working_windows.h"

#include "analysis/analysis_window.h"
#include "analysis/food_list_window.h"
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

void registerWorkingWindows(ui::WindowRegistry& registry) {
    registry.add<nc::foods::TForm7>(QStringLiteral("TForm7"));   // food composition management
    registry.add<nc::foods::TForm11>(QStringLiteral("TForm11")); // food composition viewer
    registry.add<nc::foods::TForm15>(QStringLiteral("TForm15")); // food query
    registry.add<nc::diet::TForm8>(QStringLiteral("TForm8"));    // diet record
    registry.add<nc::info::TForm6>(QStringLiteral("TForm6"));    // recommended recipes
    registry.add(QStringLiteral("TForm9"), [](QWidget* p) {
        return std::make_unique<nc::info::TForm9>(p, kApplicationTitle);
    });                                                             // about
    registry.add<nc::analysis::TForm13>(QStringLiteral("TForm13")); // nutrient analysis and its report
    registry.add<nc::analysis::TForm14>(QStringLiteral("TForm14")); // food-list report
    registry.add<nc::person::TForm3>(QStringLiteral("TForm3"));     // personal record
    registry.add<nc::info::TForm2>(QStringLiteral("TForm2"));       // activity-level standards
    registry.add<TFormSettings>(QStringLiteral("TFormSettings"));   // settings: the evaluation standard
}

} // namespace nc::app
