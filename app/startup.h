#pragma once
// The program's start: where its data live, one copy per database, the splash, then the main window
// and the event loop until the end.

namespace nc::app {

struct CommandLine;

// Shows the splash modally; returns false when it ended other than by its timer or a click.
bool showSplash();

// Runs the whole program on the application object that exists; returns the exit code.
int runProgram();

// Settles where the program's data live (data/places.h), makes the data folder and, installed, the
// database on first start, takes the database's lock, applies --reset-database, then runs the
// program (or, for --prepare-only, says where the database is and ends). Problems are reported in
// Chinese: on standard error, and in a message box when windows are to be shown. Returns the exit
// code: 1 when the data folder cannot be made or another copy runs on the same database.
int startProgram(const CommandLine& commandLine);

} // namespace nc::app
