#pragma once

// The simulated keyboard's firmware: everything the keyboard does with what
// the host sends it. The hidapi layer (HidApi.cpp) only routes reports here;
// protocol behaviour belongs in this class.
//
// Host -> keyboard, one method per USB transfer:
//   handleFeatureRequest      hid_send_feature_report (SET_REPORT, feature)
//   answerFeatureRequest      hid_get_feature_report  (GET_REPORT, feature)
//   handleOutputReport        hid_write               (interrupt OUT)
//   answerInputReportRequest  hid_get_input_report    (GET_REPORT, input)
// Keyboard -> host:
//   pushInputReport           queue an input report on either interface
//                             (read by the host with hid_read*)
// Life cycle:
//   unplugged                 the keyboard lost power
//
// All methods run with the simulation's lock held: they must not call
// hid_* or q3sim:: functions. pushInputReport is safe to call from any of
// them. A method returns the hidapi result of its transfer: the number of
// bytes accepted / delivered, or -1 to make the call fail (the device
// stalled the request).

#include "q3sim.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace q3sim {

class Q3SIM_EXPORT Firmware {
public:
    // Report sizes including the leading report id byte.
    static constexpr std::size_t FeatureReportSize = 9;
    static constexpr std::size_t OutputReportSize = 65;

    using InputSink = std::function<void(Interface, std::vector<unsigned char>)>;

    explicit Firmware(InputSink inputSink);

    // `data` starts with the report id; a request is "00 cmd p2 .. p8".
    int handleFeatureRequest(Interface via, const unsigned char* data, std::size_t length);
    // data[0] holds the report id the host asked for; fill at most `length` bytes.
    int answerFeatureRequest(Interface via, unsigned char* data, std::size_t length);
    int handleOutputReport(Interface via, const unsigned char* data, std::size_t length);
    int answerInputReportRequest(Interface via, unsigned char* data, std::size_t length);
    void unplugged();

    void pushInputReport(Interface which, std::vector<unsigned char> bytes);

    const std::vector<unsigned char>& lastRequest() const { return m_lastRequest; }
    const std::vector<std::vector<unsigned char>>& outputReports() const { return m_outputReports; }

private:
    InputSink m_inputSink;
    std::vector<unsigned char> m_lastRequest;
    std::vector<std::vector<unsigned char>> m_outputReports;
};

} // namespace q3sim
