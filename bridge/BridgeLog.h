#pragma once

#include <QLoggingCategory>

// "q3config.bridge": what the scene asked of the keyboard and how it ended.
// Warnings on, debug off by default.
Q_DECLARE_LOGGING_CATEGORY(q3bridge)
