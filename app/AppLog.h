#pragma once

#include <QLoggingCategory>

// "q3config.app": the window and its start. Warnings on, debug off by default.
Q_DECLARE_LOGGING_CATEGORY(q3app)
