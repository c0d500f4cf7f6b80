#include "app/DeviceChangeNotifier.h"

#include <QSocketNotifier>

#include <libudev.h>

namespace {

// Any add, remove or change of a hidraw node counts as a device change.
class UdevNotifier : public DeviceChangeNotifier
{
public:
    explicit UdevNotifier(QObject* parent)
        : DeviceChangeNotifier(parent)
    {
        context = udev_new();
        if (!context)
            return;
        monitor = udev_monitor_new_from_netlink(context, "udev");
        if (!monitor)
            return;
        if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0
            || udev_monitor_enable_receiving(monitor) < 0) {
            return;
        }
        const int fd = udev_monitor_get_fd(monitor);
        if (fd < 0)
            return;
        socket = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(socket, &QSocketNotifier::activated, this, [this] { drain(); });
    }

    ~UdevNotifier() override
    {
        delete socket;
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }

private:
    void drain()
    {
        bool any = false;
        // The monitor's socket is non-blocking: read until it is empty.
        while (udev_device* dev = udev_monitor_receive_device(monitor)) {
            udev_device_unref(dev);
            any = true;
        }
        if (any)
            emit deviceChanged();
    }

    struct udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    QSocketNotifier* socket = nullptr;
};

}

DeviceChangeNotifier* DeviceChangeNotifier::create(QObject* parent)
{
    return new UdevNotifier(parent);
}
