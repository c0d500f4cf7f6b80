#include "bridge/BridgeLog.h"

Q_LOGGING_CATEGORY(q3bridge, "q3config.bridge", QtWarningMsg)
