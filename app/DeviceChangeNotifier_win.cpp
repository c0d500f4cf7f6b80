#include "app/DeviceChangeNotifier.h"

#include <windows.h>

namespace {

class WindowsNotifier : public DeviceChangeNotifier
{
public:
    explicit WindowsNotifier(QObject* parent) : DeviceChangeNotifier(parent) {}

    bool nativeMessage(const QByteArray& eventType, void* message) override
    {
        if (eventType != "windows_generic_MSG" || !message)
            return false;
        if (static_cast<MSG*>(message)->message != WM_DEVICECHANGE)
            return false;
        emit deviceChanged();
        return true;
    }
};

}

DeviceChangeNotifier* DeviceChangeNotifier::create(QObject* parent)
{
    return new WindowsNotifier(parent);
}
