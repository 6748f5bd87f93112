#pragma once
// The program's command line: what a start is asked to do.

#include <QString>
#include <QStringList>

namespace nc::app {

struct CommandLine {
    enum class Action {
        Run,     // the splash, then the main window
        Prepare, // make the data folder and database if missing, say where they are, end
        Print,   // print `text` (help, version) to standard output and end with 0
        Refuse,  // print `text` (what was wrong) to standard error and end with 2
    };
    Action action = Action::Run;
    bool resetDatabase = false;
    QString text;
};

// arguments[0] is the program as started. Reads no environment.
CommandLine parseCommandLine(const QStringList& arguments);

// The text of --help, in Chinese with English beside it.
QString helpText();
// The text of --version: "nutricounsel <version>".
QString versionText();

} // namespace nc::app
