#pragma once
// The program's start: the splash, then the main window and the event loop until the end.

namespace nc::app {

// Shows the splash modally; returns false when it ended other than by its timer or a click.
bool showSplash();

// Runs the whole program on the application object that exists; returns the exit code.
int runProgram();

} // namespace nc::app
