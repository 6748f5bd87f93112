#include "startup.h"

#include "database_start.h"
#include "main_window.h"
#include "splash_window.h"
#include "titles.h"
#include "working_windows.h"

#include <QApplication>

namespace nc::app {

bool showSplash() {
    TForm5 splash;
    const bool ok = splash.exec() == QDialog::Accepted;
    splash.hide();
    return ok;
}

int runProgram() {
    if (!showSplash())
        return 0; // closed some other way: end silently, no main window
    QApplication::setApplicationName(kApplicationTitle);
    registerWorkingWindows(ui::WindowRegistry::program());
    TForm1 main;
    main.show();
    updateDatabaseAtStart();
    return QApplication::exec();
}

} // namespace nc::app
