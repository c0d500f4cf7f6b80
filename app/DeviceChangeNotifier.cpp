#include "app/DeviceChangeNotifier.h"

bool DeviceChangeNotifier::nativeMessage(const QByteArray&, void*)
{
    return false;
}
