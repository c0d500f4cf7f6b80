#pragma once

#include "device/DevInfo.h"

#include <QList>
#include <QMutex>
#include <QThread>

#include <atomic>

struct hid_device_;
typedef struct hid_device_ hid_device;

class QWidget;

// The device link: discovery of the keyboard's HID interfaces and every
// exchange with it. Its own thread is never started; work runs on the
// calling thread or on workers of the global thread pool.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject* parent = nullptr);
    ~Hid_Thread() override;

    // The main window; the listener reaches the bridge through it.
    QWidget* owner = nullptr;

    // Rebuilds the device list from the catalogue. Only entry 0 is looked
    // for on the bus; a record counts as present when both of its
    // interfaces were found.
    void refreshDevices(const QList<DevInfo>& catalogue);

    // A copy of record did, or an empty record when did is beyond the list.
    HidDevice device(uint did) const;
    int deviceCount() const;
    uint currentDevice() const { return curDevice.load(); }

    // Open the command (path) or event (path2) interface of record did,
    // closing a handle that is still open. A failed open empties the path
    // until the next refreshDevices.
    hid_device* openDevice(uint did);
    hid_device* openDevice2(uint did);
    void closeDevice();
    void closeDevice2();

public slots:
    void swichCurDevice(uint did);

private:
    hid_device* openInterface(uint did, bool eventInterface, hid_device*& h);

    // The list is replaced on the GUI thread while pool workers read it.
    mutable QMutex devicesLock;
    QList<HidDevice> devices;
    std::atomic<uint> curDevice{0};
    hid_device* handle = nullptr;
    hid_device* handle2 = nullptr;
};
