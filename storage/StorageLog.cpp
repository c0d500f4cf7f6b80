#include "storage/StorageLog.h"

Q_LOGGING_CATEGORY(q3data, "q3config.data", QtWarningMsg)
