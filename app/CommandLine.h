#pragma once

#include <QStringList>

// The program's command-line options. Without any it starts its window;
// --help, --version and --diagnose print to standard output and end without
// opening one (no display needed).
namespace CommandLine {

// Reads the whole command line before any display is opened and handles the
// options that run without a window; a wrong option or argument ends with
// status 2. Returns the exit status when the process should end now, or -1
// to start the program (Qt's own options are left to the application).
int runWithoutWindow(int argc, char* argv[]);

// After the application object took its own options (-platform, ...):
// false, with a message on standard error, when arguments remain that the
// program does not know.
bool acceptRemaining(const QStringList& arguments);

}
