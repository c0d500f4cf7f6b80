#pragma once

// Internal state of the simulated hardware, shared by the hidapi entry
// points (HidApi.cpp), the control functions (Model.cpp) and the control
// channel (ControlChannel.cpp). Not installed, not exported.

#include "Firmware.h"
#include "q3sim.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct hid_device_;

namespace q3sim::detail {

constexpr unsigned short KeyboardVendorId = 0x04d9;
constexpr unsigned short KeyboardProductId = 0xa1cd;

// One enumerable HID interface: one of the keyboard's two, or an extra device.
struct Endpoint {
    std::string path;
    unsigned short vendorId = 0;
    unsigned short productId = 0;
    unsigned short releaseNumber = 0x0100;
    unsigned short usagePage = 0;
    unsigned short usage = 0;
    int interfaceNumber = 0;
    std::wstring manufacturer;
    std::wstring product;
    std::wstring serial;

    bool keyboard = false;
    Interface which = CommandInterface;  // keyboard endpoints only
    bool removed = false;                // extras only: dropped by reset()
    int node = 0;                        // N of its device node /dev/hidrawN

    // Bumped each time the endpoint disappears; a handle is alive only while
    // the generation it was opened in is current.
    unsigned generation = 0;
    std::deque<std::vector<unsigned char>> inputReports;
};
using EndpointPtr = std::shared_ptr<Endpoint>;

// Everything is guarded by `mutex`; members and methods below expect it held
// unless they say otherwise.
class Model {
public:
    // Created on first use (and at library load), never destroyed: a
    // detached control thread or a late hidapi call at exit must still find it.
    static Model& instance();

    std::mutex mutex;
    // Notified on every change a blocked reader or a closing handle waits for.
    std::condition_variable changed;

    bool plugged = true;
    bool shown[2] = {true, true};
    EndpointPtr keyboard[2];
    std::vector<EndpointPtr> extras;
    int extrasCreated = 0;

    int openFaults = 0;
    // The keyboard's device nodes refuse this user: every open of one of its
    // interfaces fails with EACCES, as hidraw nodes owned by root do.
    bool openDenied = false;
    std::map<std::string, int> callFaults;
    int unplugAfter = 0;  // reports left until the keyboard disappears; 0: disarmed

    std::deque<TraceEntry> traceEntries;
    std::FILE* traceFile = nullptr;  // Q3SIM_TRACE, lines time-stamped from startTime
    const std::chrono::steady_clock::time_point startTime = std::chrono::steady_clock::now();

    std::unique_ptr<Firmware> firmware;
    std::set<hid_device_*> handles;

    bool present(const Endpoint& endpoint) const;
    std::vector<EndpointPtr> enumerated() const;
    EndpointPtr findPresent(const std::string& path) const;

    // Device-change notifications (add / remove of a hidraw node) for what
    // appeared or disappeared since `before` was enumerated.
    void announceChanges(const std::vector<EndpointPtr>& before) const;

    void setPlugged(bool on);
    void setInterfaces(bool command, bool event);
    void resetAll();
    void queueInput(Interface which, std::vector<unsigned char> bytes);
    std::size_t discardInput(Interface which);
    // One report crossed the keyboard's command interface (unplugAfter).
    void countReport();

    // True when an armed fault makes this call fail (and consumes one).
    bool consumeOpenFault();
    bool consumeCallFault(const std::string& call);

    void record(TraceEntry entry);

private:
    Model();
    void disappear(Endpoint& endpoint);
    void makeFirmware();
    void configureFromEnvironment();
};

bool isFaultableCall(const std::string& call);
std::string hex(const unsigned char* data, std::size_t length);
// Parses "01 02 ff", "0102ff", "0x01,0x02" ...; false on anything else.
bool parseHex(const std::string& text, std::vector<unsigned char>& out);
// Delivers a kernel-style device notification ("add" / "remove" of
// /dev/hidraw<node>) to every simulated udev monitor; Udev.cpp.
void udevAnnounce(const char* action, int node);
// Starts the Q3SIM_CONTROL reader thread on an already opened FIFO.
void startControlThread(int fd);
// Starts serving the control socket (Q3SIM_SOCKET, or the default path when
// the library is preloaded) the first time it is called; ControlSocket.cpp.
// Called by every hidapi entry point, without the model lock.
void startControlSocketOnce();
// The text of "state" (StateText.cpp).
std::string describeState(const Model& model, bool pictures, bool macros);

} // namespace q3sim::detail
