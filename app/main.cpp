// The program nutricounsel: dietary counselling for women of childbearing age, pregnant women and
// nursing mothers. It reads its command line (--help lists it), no settings and no environment of
// its own.

#include "chinese_locale.h"
#include "command_line.h"
#include "report/preview_window.h"
#include "startup.h"
#include "ui/artwork.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const nc::app::CommandLine commandLine = nc::app::parseCommandLine(arguments);
    switch (commandLine.action) {
    case nc::app::CommandLine::Action::Print:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    case nc::app::CommandLine::Action::Refuse:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return 2;
    case nc::app::CommandLine::Action::Prepare: {
        // No windows: works without a display.
        QCoreApplication app(argc, argv);
        return nc::app::startProgram(commandLine);
    }
    case nc::app::CommandLine::Action::Run:
        break;
    }
    QApplication app(argc, argv);
    nc::app::useChineseLocale(app);
    // The desktop entry the windows belong to (task bar grouping, the icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.nutricounsel.nutricounsel"));
    nc::ui::art::applyTheme(app);
    nc::report::usePreviewWindowForReports();
    return nc::app::startProgram(commandLine);
}
