#pragma once

// The simulated keyboard's firmware: everything the keyboard does with what
// the host sends it. The hidapi layer (HidApi.cpp) only routes reports here;
// protocol behaviour belongs in this class (Firmware.cpp), the keyboard's
// memory and its factory contents in KeyboardState (Store.cpp).
//
// Host -> keyboard, one method per USB transfer:
//   handleFeatureRequest      hid_send_feature_report (SET_REPORT, feature)
//   answerFeatureRequest      hid_get_feature_report  (GET_REPORT, feature)
//   handleOutputReport        hid_write               (interrupt OUT)
//   answerInputReportRequest  hid_get_input_report    (GET_REPORT, input)
//   inputReportRead           hid_read* took a queued input report
// Keyboard -> host:
//   pushInputReport           queue an input report on either interface
//                             (read by the host with hid_read*)
// Life cycle:
//   interfaceGone             an interface was hidden (its queue is gone)
//   unplugged                 the keyboard lost power
//
// A command is a 9-byte feature request "00 cmd p2 .. p8". Set commands with
// data then take 64 or 128 bytes in 65-byte output reports "00 <64 bytes>";
// get commands answer a 9-byte feature report and, with data, queue 64-byte
// input reports on the command interface. Every request ends what an
// earlier one left unfinished.
//
// All methods run with the simulation's lock held: they must not call
// hid_* or q3sim:: functions. pushInputReport is safe to call from any of
// them. A transfer method returns the hidapi result of its transfer: the
// number of bytes accepted / delivered, or -1 to make the call fail (the
// device stalled the request).

#include "q3sim.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace q3sim {

class Q3SIM_EXPORT Firmware {
public:
    // Report sizes including the leading report id byte.
    static constexpr std::size_t FeatureReportSize = 9;
    static constexpr std::size_t OutputReportSize = 65;
    // Input reports carrying data have no report id byte.
    static constexpr std::size_t DataReportSize = 64;
    // What the host sends with 0FH to enter the boot loader.
    static constexpr std::array<unsigned char, 7> BootLoaderSignature = {0x49, 0x53, 0x50, 0x51,
                                                                         0x33, 0xa5, 0x5a};
    static constexpr std::size_t MaxTimings = 1000;

    using InputSink = std::function<void(Interface, std::vector<unsigned char>)>;

    // The host side of the keyboard's interfaces.
    struct Host {
        InputSink queueInput;
        // Drops the input reports queued on an interface; returns how many.
        std::function<std::size_t(Interface)> discardInput;
    };

    explicit Firmware(InputSink inputSink);
    explicit Firmware(Host host);

    // `data` starts with the report id; a request is "00 cmd p2 .. p8".
    int handleFeatureRequest(Interface via, const unsigned char* data, std::size_t length);
    // data[0] holds the report id the host asked for; fill at most `length` bytes.
    int answerFeatureRequest(Interface via, unsigned char* data, std::size_t length);
    int handleOutputReport(Interface via, const unsigned char* data, std::size_t length);
    int answerInputReportRequest(Interface via, unsigned char* data, std::size_t length);
    void inputReportRead(Interface via);
    void interfaceGone(Interface which);
    void unplugged();

    void pushInputReport(Interface which, std::vector<unsigned char> bytes);

    // The keyboard's memory. Changing the profile count goes through
    // setProfileCount so that no transfer refers to a profile that is gone.
    KeyboardState& state() { return m_state; }
    const KeyboardState& state() const { return m_state; }
    bool selectProfile(int profile);
    void setProfileCount(int count);
    // The Fn keys changed the lighting: new LED type, lighting report sent.
    void lightingChangedOnKeyboard(const std::array<unsigned char, 7>& ledType);

    // Faults (see q3sim::stallDataPhase, q3sim::replaceNextDataReport).
    void setStallDataPhase(bool stalled) { m_stallDataPhase = stalled; }
    bool stallsDataPhase() const { return m_stallDataPhase; }
    void replaceNextDataReport(std::vector<unsigned char> bytes);
    std::size_t pendingReplacements() const { return m_replacements.size(); }

    const std::deque<TransferTiming>& transferTimings() const { return m_timings; }

    // What the firmware made of the last transfer when that is worth a note
    // in the trace ("ignored: ...", "128 of 128 bytes: ..."); empty
    // otherwise. Reading it clears it.
    std::string takeNote();

    const std::vector<unsigned char>& lastRequest() const { return m_lastRequest; }
    const std::vector<std::vector<unsigned char>>& outputReports() const { return m_outputReports; }

private:
    using Request = std::array<unsigned char, FeatureReportSize>;
    using Clock = std::chrono::steady_clock;

    // Data the host sends after a set command.
    struct Incoming {
        bool active = false;
        std::size_t expected = 0;
        std::vector<unsigned char> bytes;
        std::string what;  // e.g. "key matrix bytes 0-127 of profile 1"
        std::function<void(const std::vector<unsigned char>&)> apply;
    };

    // The request in progress, for its wire time.
    struct Transfer {
        bool active = false;
        bool get = false;
        bool expectsData = false;  // completes with its data, not with its answer
        bool broken = false;       // a data report was lost
        unsigned char command = 0;
        std::size_t payloadBytes = 0;
        int reports = 0;
        int dataOutstanding = 0;   // data reports queued and not read yet
        Clock::time_point start;
    };

    void endUnfinished();
    int dispatch(const Request& request);
    void answer(std::initializer_list<unsigned char> bytes);
    void receive(std::size_t bytes, std::string what,
                 std::function<void(const std::vector<unsigned char>&)> apply);
    void send(const unsigned char* bytes, std::size_t length);
    void completeTransfer();
    void note(std::string text);

    Host m_host;
    KeyboardState m_state = KeyboardState::factory();

    std::vector<unsigned char> m_lastRequest;
    Request m_answer{};
    Incoming m_incoming;
    Transfer m_transfer;

    bool m_stallDataPhase = false;
    std::deque<std::vector<unsigned char>> m_replacements;
    std::deque<TransferTiming> m_timings;
    std::vector<std::string> m_notes;
    std::vector<std::vector<unsigned char>> m_outputReports;
};

} // namespace q3sim
