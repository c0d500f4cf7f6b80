#include "app/AppLog.h"

Q_LOGGING_CATEGORY(q3app, "q3config.app", QtWarningMsg)
