#include "device/DeviceLog.h"

Q_LOGGING_CATEGORY(q3device, "q3config.device", QtWarningMsg)
