#pragma once

// How one exchange with the keyboard ended, as the user can act on it.
enum class TransferFailure : int {
    None = 0,      // done: the keyboard took the request and its data
    NoKeyboard,    // no keyboard connected (nothing to open)
    AccessDenied,  // the keyboard is there, but this user may not open it
    NoAnswer,      // the keyboard did not answer in time (or never freed the link)
    LinkLost,      // the keyboard went away during the transfer
    Refused,       // the keyboard refused a request or its data (a failed write)
    NotVerified,   // the language file failed its check: the link is closed
};

// "done", "no keyboard", … for log lines.
const char* transferFailureName(TransferFailure failure);
