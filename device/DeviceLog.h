#pragma once

#include <QLoggingCategory>

// "q3config.device": the device link. Warnings on, debug off by default
// (QT_LOGGING_RULES="q3config.device.debug=true" shows every command).
Q_DECLARE_LOGGING_CATEGORY(q3device)
