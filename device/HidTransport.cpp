#include "device/Hid_Thread.h"

#include "device/StringsVerified.h"

#include <hidapi.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <vector>

bool Hid_Thread::waitIdle()
{
    for (int poll = 0; poll < idlePolls; ++poll) {
        bool expected = true;
        if (idle.compare_exchange_strong(expected, false))
            return true;
        QThread::msleep(8);
        QCoreApplication::processEvents();
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

bool Hid_Thread::sendReport(int dataLen)
{
    const uint did = curDevice;
    if (!stringsVerified() || !openDevice(did)) {
        idle = true;
        return false;
    }
    hid_device* h = openDevice(did);
    if (!h || hid_send_feature_report(h, cmdReport, sizeof cmdReport) < 0)
        return failTransfer();

    dataLen = std::clamp(dataLen, 0, int(sizeof dataBuf));
    if (dataLen == 0) {
        closeDevice();
        idle = true;
        return true;
    }

    const int reportLength = currentReportLength();
    if (reportLength <= 0)
        return failTransfer();
    const int chunk = std::min(dataLen, reportLength);
    std::vector<unsigned char> report(size_t(reportLength) + 1);
    for (int offset = 0; offset < dataLen; offset += chunk) {
        // A short last report is padded with zeros.
        std::fill(report.begin(), report.end(), 0);
        std::memcpy(report.data() + 1, dataBuf + offset, size_t(std::min(chunk, dataLen - offset)));
        h = openDevice(did);
        if (!h || hid_write(h, report.data(), report.size()) < 0)
            return failTransfer();
        QThread::msleep(8);
    }
    closeDevice();
    idle = true;
    return true;
}

bool Hid_Thread::queryReport(int dataLen)
{
    const uint did = curDevice;
    if (!stringsVerified() || !openDevice(did)) {
        idle = true;
        return false;
    }
    hid_device* h = openDevice(did);
    if (!h || hid_send_feature_report(h, cmdReport, sizeof cmdReport) < 0)
        return failTransfer();
    h = openDevice(did);
    if (!h || hid_get_feature_report(h, ansReport, sizeof ansReport) < 0)
        return failTransfer();

    dataLen = std::clamp(dataLen, 0, int(sizeof dataBuf));
    if (dataLen == 0) {
        closeDevice();
        idle = true;
        return true;
    }

    const int reportLength = currentReportLength();
    if (reportLength <= 0)
        return failTransfer();
    const int chunk = std::min(dataLen, reportLength);
    std::vector<unsigned char> report(size_t(reportLength) + 1);
    for (int offset = 0; offset < dataLen; offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        h = openDevice(did);
        // A read that times out counts as a failed read.
        if (!h || hid_read_timeout(h, report.data(), report.size(), dataReadTimeoutMs) <= 0)
            return failTransfer();
        std::memcpy(dataBuf + offset, report.data(), size_t(std::min(chunk, dataLen - offset)));
    }
    closeDevice();
    idle = true;
    return true;
}
