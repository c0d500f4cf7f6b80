#pragma once

#include <QLoggingCategory>

// "q3config.data": the program's data files (one clear line per file that
// cannot be used, and what follows from it). Warnings on, debug off by default.
Q_DECLARE_LOGGING_CATEGORY(q3data)
