#include "device/DeviceLog.h"
#include "device/Hid_Thread.h"

#include <hidapi.h>

#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>
#include <QtConcurrent>

void Hid_Thread::startListener(uint did)
{
    stopListener();
    listening = true;
    listenerFuture = QtConcurrent::run(this, &Hid_Thread::listen, did);
}

void Hid_Thread::stopListener()
{
    // Also waits for a listener that stopped by itself (device removed) and
    // may still be on its way out.
    listening = false;
    listenerFuture.waitForFinished();
    // The run has ended; taking its lock once orders everything it did
    // before whatever follows here (the object's destruction included).
    std::lock_guard<std::mutex> ended(listenerLock);
}

void Hid_Thread::listen(uint did)
{
    std::lock_guard<std::mutex> run(listenerLock);
    if (device(did).path2.isEmpty())
        return;

    unsigned char report[lightingReportSize];
    while (listening) {
        hid_device* h = openDevice2(did);
        if (!h) {
            // openDevice2 has emptied the event path.
            qCDebug(q3device, "Device removed");
            listening = false;
            return;
        }
        QElapsedTimer readTime;
        readTime.start();
        const int got = hid_read_timeout(h, report, sizeof report, listenTimeoutMs);
        if (got < 0) {
            // A failed read counts as a time-out: the rest of it passes
            // before the next pass, so a read that keeps failing at once
            // cannot turn this loop into a busy one.
            closeDevice2();
            while (listening && readTime.elapsed() < listenTimeoutMs)
                QThread::msleep(10);
            continue;
        }
        if (got == lightingReportSize) {
            QVariantList ledType;
            for (int i = 4; i <= 10; ++i)
                ledType.append(int(report[i]));
            // The profile store and the scene belong to the GUI thread.
            QMetaObject::invokeMethod(this, [this, ledType] {
                if (lightingReportHandler)
                    lightingReportHandler(ledType);
            }, Qt::QueuedConnection);
        }
        closeDevice2();
    }
}
