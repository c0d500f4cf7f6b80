#include "device/Hid_Thread.h"

#include "device/OpenFailure.h"

#include <hidapi.h>

#include <mutex>

#include <cerrno>

Hid_Thread::Hid_Thread(QObject* parent)
    : QThread(parent)
{
}

Hid_Thread::~Hid_Thread()
{
    // Pool workers may still be running with this object.
    stopListener();
    lastSet.waitForFinished();
    // The list goes under its lock, the last worker's reads ordered before.
    std::lock_guard<std::mutex> lock(devicesLock);
    devices.clear();
}

void Hid_Thread::refreshDevices(const QList<DevInfo>& catalogue)
{
    QList<HidDevice> found;
    for (int i = 0; i < catalogue.size(); ++i)
        found.append(HidDevice());

    if (!catalogue.isEmpty()) {
        const DevInfo& info = catalogue.first();
        QString cmdPath, evtPath;
        hid_device_info* list = hid_enumerate(info.vid, info.pid);
        for (hid_device_info* it = list; it; it = it->next) {
            if (it->usage_page == info.usagePage && it->usage == info.usage)
                cmdPath = QString::fromLocal8Bit(it->path);
            if (it->usage_page == info.usagePage2 && it->usage == info.usage2)
                evtPath = QString::fromLocal8Bit(it->path);
            if (!cmdPath.isEmpty() && !evtPath.isEmpty()) {
                found[0].path = cmdPath;
                found[0].path2 = evtPath;
                found[0].reportLength = info.reportLength;
            }
        }
        hid_free_enumeration(list);
    }

    {
        std::lock_guard<std::mutex> lock(devicesLock);
        devices = found;
        catalogueEntry = catalogue.isEmpty() ? DevInfo() : catalogue.first();
    }
    emit linkChanged();
}

Hid_Thread::LinkState Hid_Thread::linkState() const
{
    if (openDenied.load())
        return LinkState::Refused;
    const HidDevice d = device(curDevice);
    return !d.path.isEmpty() && !d.path2.isEmpty() ? LinkState::Connected : LinkState::Absent;
}

HidDevice Hid_Thread::device(uint did) const
{
    std::lock_guard<std::mutex> lock(devicesLock);
    return did < uint(devices.size()) ? devices.at(int(did)) : HidDevice();
}

int Hid_Thread::deviceCount() const
{
    std::lock_guard<std::mutex> lock(devicesLock);
    return devices.size();
}

void Hid_Thread::swichCurDevice(uint did)
{
    curDevice = did;
    startListener(did);
}

hid_device* Hid_Thread::openInterface(uint did, bool eventInterface, hid_device*& h)
{
    QString path;
    {
        std::lock_guard<std::mutex> lock(devicesLock);
        if (did >= uint(devices.size()))
            return nullptr;
        const HidDevice& d = devices.at(int(did));
        path = eventInterface ? d.path2 : d.path;
    }
    if (path.isEmpty())
        return nullptr;

    if (h) {
        hid_close(h);
        h = nullptr;
    }
    errno = 0;
    h = hid_open_path(path.toLocal8Bit().constData());
    const int openErrno = errno;
    if (h) {
        if (openDenied.exchange(false))
            emit linkChanged();
        hid_set_nonblocking(h, 0);
        return h;
    }
    if (OpenFailure::classify(openErrno, path) == OpenFailure::Reason::PermissionDenied)
        openDenied = true;

    // The interface has gone: it counts as absent until the next refresh.
    {
        std::lock_guard<std::mutex> lock(devicesLock);
        if (did < uint(devices.size())) {
            HidDevice& d = devices[int(did)];
            QString& p = eventInterface ? d.path2 : d.path;
            if (p == path)
                p.clear();
        }
    }
    emit linkChanged();
    return nullptr;
}

hid_device* Hid_Thread::openDevice(uint did)
{
    return openInterface(did, false, handle);
}

hid_device* Hid_Thread::openDevice2(uint did)
{
    return openInterface(did, true, handle2);
}

void Hid_Thread::closeDevice()
{
    if (handle) {
        hid_close(handle);
        handle = nullptr;
    }
}

void Hid_Thread::closeDevice2()
{
    if (handle2) {
        hid_close(handle2);
        handle2 = nullptr;
    }
}
