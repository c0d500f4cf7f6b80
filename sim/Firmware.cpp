#include "Firmware.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace q3sim {

Firmware::Firmware(InputSink inputSink)
    : m_inputSink(std::move(inputSink))
{
}

int Firmware::handleFeatureRequest(Interface via, const unsigned char* data, std::size_t length)
{
    if (via != CommandInterface)
        return -1;
    m_lastRequest.assign(data, data + length);
    return static_cast<int>(length);
}

int Firmware::answerFeatureRequest(Interface via, unsigned char* data, std::size_t length)
{
    if (via != CommandInterface || length == 0)
        return -1;
    // Echo of the last request under the report id the host asked for.
    const std::size_t size = std::min(length, FeatureReportSize);
    const unsigned char reportId = data[0];
    std::memset(data, 0, size);
    data[0] = reportId;
    for (std::size_t i = 1; i < size && i < m_lastRequest.size(); ++i)
        data[i] = m_lastRequest[i];
    return static_cast<int>(size);
}

int Firmware::handleOutputReport(Interface via, const unsigned char* data, std::size_t length)
{
    (void)via;
    m_outputReports.emplace_back(data, data + length);
    return static_cast<int>(length);
}

int Firmware::answerInputReportRequest(Interface via, unsigned char* data, std::size_t length)
{
    (void)via;
    (void)data;
    (void)length;
    return -1;
}

void Firmware::unplugged()
{
    m_lastRequest.clear();
}

void Firmware::pushInputReport(Interface which, std::vector<unsigned char> bytes)
{
    if (m_inputSink)
        m_inputSink(which, std::move(bytes));
}

} // namespace q3sim
