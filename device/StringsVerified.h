#pragma once

#include <atomic>

// Process-wide: whether the loaded language file passed its check. While it
// is false no exchange with the keyboard takes place. True at start; written
// on the GUI thread, read by transfers on pool workers.
std::atomic<bool>& stringsVerified();
