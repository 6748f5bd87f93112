#include "startup.h"

#include "command_line.h"
#include "database_start.h"
#include "main_window.h"
#include "password_window.h"
#include "splash_window.h"
#include "titles.h"
#include "working_windows.h"

#include "data/connection.h"
#include "data/database_lock.h"
#include "data/errors.h"
#include "data/places.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

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
    // A file under a password of her own is opened with it before anything reads it.
    if (data::Connection* c = data::Connection::current(); c && !askPasswordAtStart(*c))
        return 0; // 退出: nothing touched
    main.show();
    updateDatabaseAtStart();
    openClientAtStart();
    main.showCurrentClient();
    return QApplication::exec();
}

int startProgram(const CommandLine& commandLine) {
    const bool windows = commandLine.action == CommandLine::Action::Run;
    const auto report = [windows](const QString& text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        if (windows)
            ui::Messages::inform(text, kApplicationTitle);
    };

    const data::Places places =
        data::placesFor(QCoreApplication::applicationDirPath(), data::userDataFolder());
    data::DatabaseLock lock(places.databaseFile());
    try {
        // The lock lies beside the database, so it needs the folder; the database itself is made
        // (or reset) only under the lock.
        QDir().mkpath(places.writable);
        if (!lock.tryLock()) {
            report(lock.refusal());
            return 1;
        }
        data::prepareDataFolder(places);
        if (commandLine.resetDatabase) {
            const QString kept = data::resetDatabase(places);
            if (!kept.isEmpty())
                std::printf(
                    "%s\n",
                    qPrintable(
                        QStringLiteral("旧数据库已改名保存为 %1").arg(QDir::toNativeSeparators(kept))));
        }
    } catch (const data::Error& e) {
        report(e.text());
        return 1;
    }
    data::setPlaces(places);
    // Anything written by a relative name lands in the data folder, never beside an installed program.
    QDir::setCurrent(places.writable);

    if (!windows) {
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(places.databaseFile())));
        return 0;
    }
    return runProgram();
}

} // namespace nc::app
