#include "device/Hid_Thread.h"

#include "device/StringsVerified.h"

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

int Hid_Thread::currentReportLength() const
{
    return int(device(curDevice).reportLength);
}

bool Hid_Thread::failTransfer()
{
    closeDevice();
    idle = true;
    return false;
}

bool Hid_Thread::finishTransfer()
{
    closeDevice();
    idle = true;
    return true;
}

bool Hid_Thread::sendRequest(uint did)
{
    if (!stringsVerified() || !openDevice(did))
        return false;
    hid_device* h = openDevice(did);
    return h && hid_send_feature_report(h, cmdReport, sizeof cmdReport) >= 0;
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
        return failTransfer();

    const int chunk = std::min(dataLen, reportLength);
    std::vector<unsigned char> report(size_t(reportLength) + 1);
    for (int offset = 0; offset < dataLen; offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        hid_device* h = openDevice(did);
        if (!h || !exchange(h, report, offset, std::min(chunk, dataLen - offset)))
            return failTransfer();
    }
    return finishTransfer();
}

bool Hid_Thread::sendReport(int dataLen)
{
    const uint did = curDevice;
    if (!sendRequest(did))
        return failTransfer();
    return runDataPhase(did, dataLen, [this](hid_device* h, std::vector<unsigned char>& report,
                                             int offset, int bytes) {
        // Byte 0 is the report id; a short last report is padded with zeros.
        std::memcpy(report.data() + 1, dataBuf + offset, size_t(bytes));
        if (hid_write(h, report.data(), report.size()) < 0)
            return false;
        QThread::msleep(8);
        return true;
    });
}

bool Hid_Thread::queryReport(int dataLen)
{
    const uint did = curDevice;
    if (!sendRequest(did))
        return failTransfer();
    hid_device* h = openDevice(did);
    if (!h || hid_get_feature_report(h, ansReport, sizeof ansReport) < 0)
        return failTransfer();
    return runDataPhase(did, dataLen, [this](hid_device* h, std::vector<unsigned char>& report,
                                             int offset, int bytes) {
        // A read that times out counts as a failed read.
        if (hid_read_timeout(h, report.data(), report.size(), dataReadTimeoutMs) <= 0)
            return false;
        std::memcpy(dataBuf + offset, report.data(), size_t(bytes));
        return true;
    });
}
