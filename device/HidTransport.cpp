#include "device/Hid_Thread.h"


#include <hidapi.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <vector>

bool Hid_Thread::waitIdle()
{
    // Events are processed while the link is still held, before waiting for
    // the hand-over, so the time they take overlaps the transfer instead of
    // delaying the command after the link is free.
    idleTimedOutPolls = 0;
    for (int poll = 0; poll < idlePolls;) {
        if (idle.tryTake())
            return true;
        QCoreApplication::processEvents();
        if (idle.waitHandOver(std::chrono::milliseconds(idlePollMs)))
            continue; // handed back: take it now (a scene call may have been quicker)
        ++idleTimedOutPolls;
        ++poll;
    }
    return false;
}

namespace {
// Why the last transfer run on this thread failed. Set before the transfer
// hands the link back, read by the same thread after: no other transfer
// can reach it in between.
thread_local TransferFailure failureHere = TransferFailure::None;
}

TransferFailure Hid_Thread::lastFailureOnThisThread()
{
    return failureHere;
}

// A failed open: refused for lack of rights, or there is no interface (any
// more). Before the request that means no keyboard; during the data phase
// the keyboard went away.
TransferFailure Hid_Thread::openFailure(bool duringTransfer) const
{
    if (openDenied.load())
        return TransferFailure::AccessDenied;
    return duringTransfer ? TransferFailure::LinkLost : TransferFailure::NoKeyboard;
}

// A failed report: the keyboard is gone when its interface is no longer on
// the bus, else it refused the report.
TransferFailure Hid_Thread::ioFailure(uint did) const
{
    const HidDevice d = device(did);
    DevInfo wanted;
    {
        std::lock_guard<std::mutex> lock(devicesLock);
        wanted = catalogueEntry;
    }
    if (d.path.isEmpty())
        return TransferFailure::LinkLost;
    bool present = false;
    hid_device_info* list = hid_enumerate(wanted.vid, wanted.pid);
    for (hid_device_info* it = list; it && !present; it = it->next)
        present = QString::fromLocal8Bit(it->path) == d.path;
    hid_free_enumeration(list);
    return present ? TransferFailure::Refused : TransferFailure::LinkLost;
}

int Hid_Thread::currentReportLength() const
{
    return int(device(curDevice).reportLength);
}

bool Hid_Thread::failTransfer(TransferFailure why)
{
    failureHere = why;
    closeDevice();
    idle = true;
    return false;
}

bool Hid_Thread::finishTransfer()
{
    failureHere = TransferFailure::None;
    closeDevice();
    idle = true;
    return true;
}

TransferFailure Hid_Thread::sendRequest(uint did)
{
    if (!stringsChecked.load())
        return TransferFailure::NotVerified;
    if (!openDevice(did))
        return openFailure(false);
    hid_device* h = openDevice(did);
    if (!h)
        return openFailure(false);
    if (hid_send_feature_report(h, cmdReport, sizeof cmdReport) < 0)
        return ioFailure(did);
    return TransferFailure::None;
}

// Runs one data phase of dataLen bytes of dataBuf in reports of the device's
// report length, the interface reopened for each: exchange(handle, report,
// offset, bytes) moves one report of reportLength + 1 bytes.
template<typename Exchange>
bool Hid_Thread::runDataPhase(uint did, int dataLen, Exchange exchange)
{
    dataLen = std::clamp(dataLen, 0, int(sizeof dataBuf));
    if (dataLen == 0)
        return finishTransfer();
    const int reportLength = currentReportLength();
    if (reportLength <= 0)
        return failTransfer(TransferFailure::LinkLost);

    const int chunk = std::min(dataLen, reportLength);
    std::vector<unsigned char> report(size_t(reportLength) + 1);
    for (int offset = 0; offset < dataLen; offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        hid_device* h = openDevice(did);
        if (!h)
            return failTransfer(openFailure(true));
        const TransferFailure why = exchange(h, report, offset, std::min(chunk, dataLen - offset));
        if (why != TransferFailure::None)
            return failTransfer(why);
    }
    return finishTransfer();
}

bool Hid_Thread::sendReport(int dataLen)
{
    const uint did = curDevice;
    const TransferFailure request = sendRequest(did);
    if (request != TransferFailure::None)
        return failTransfer(request);
    return runDataPhase(did, dataLen, [this, did](hid_device* h, std::vector<unsigned char>& report,
                                                  int offset, int bytes) {
        // Byte 0 is the report id; a short last report is padded with zeros.
        std::memcpy(report.data() + 1, dataBuf + offset, size_t(bytes));
        if (hid_write(h, report.data(), report.size()) < 0)
            return ioFailure(did);
        QThread::msleep(8);
        return TransferFailure::None;
    });
}

bool Hid_Thread::queryReport(int dataLen)
{
    const uint did = curDevice;
    const TransferFailure request = sendRequest(did);
    if (request != TransferFailure::None)
        return failTransfer(request);
    hid_device* h = openDevice(did);
    if (!h)
        return failTransfer(openFailure(true));
    if (hid_get_feature_report(h, ansReport, sizeof ansReport) < 0)
        return failTransfer(ioFailure(did));
    return runDataPhase(did, dataLen, [this, did](hid_device* h, std::vector<unsigned char>& report,
                                                  int offset, int bytes) {
        // A read that times out counts as a failed read.
        const int read = hid_read_timeout(h, report.data(), report.size(), dataReadTimeoutMs);
        if (read == 0)
            return TransferFailure::NoAnswer;
        if (read < 0)
            return ioFailure(did);
        std::memcpy(dataBuf + offset, report.data(), size_t(bytes));
        return TransferFailure::None;
    });
}
