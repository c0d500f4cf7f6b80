#pragma once

#include <QByteArray>
#include <QObject>

// The operating system's "devices changed" notification, behind one signal.
// On Linux it watches the hidraw subsystem through libudev; on Windows it
// recognises WM_DEVICECHANGE among the window's native messages.
class DeviceChangeNotifier : public QObject
{
    Q_OBJECT
public:
    // The platform's notifier. When the platform source cannot be set up the
    // notifier stays silent; the program then checks for devices only at start.
    static DeviceChangeNotifier* create(QObject* parent);

    // Offered every native message of the main window; true when it was a
    // device-change notification (deviceChanged() has been emitted).
    virtual bool nativeMessage(const QByteArray& eventType, void* message);

signals:
    void deviceChanged();

protected:
    explicit DeviceChangeNotifier(QObject* parent) : QObject(parent) {}
};
