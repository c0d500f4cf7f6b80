#pragma once

#include "app/DataFolder.h"

class QTextStream;

// The report of "q3config --diagnose": what a user or a supporter needs to
// know when the keyboard does not work, printed without opening a window.
namespace Diagnostics {

// Which key capture the program can use for macro recording and key
// previews.
enum class KeyCapture {
    SystemWide, // XInput 2.2 raw events (low-level hooks on Windows)
    WindowOnly, // the window's own key events, while it has the focus
    None        // no display
};

// Exit statuses of the report.
enum Status { Usable = 0, NotUsable = 1 };

// Prints the report to out and returns Usable exactly when the program
// could talk to the keyboard: both of its interfaces found and opened, the
// firmware answering, and the language in use passing its check (the
// program refuses every exchange otherwise). The data folder must be
// current (DataFolder::prepare).
int run(QTextStream& out, const DataFolder::Choice& folder, KeyCapture capture);

// The advice shown when the keyboard is present but may not be opened.
QString accessAdvice();

}
