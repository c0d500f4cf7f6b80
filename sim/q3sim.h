#pragma once

// Control interface of the simulated Q3 keyboard.
//
// libq3sim.so exports hidapi's C API (hid_init ... hid_version_str) over an
// in-memory keyboard, so a program linked against hidapi can run against it
// either by linking q3sim instead, or unchanged with LD_PRELOAD=libq3sim.so.
// The functions below let tests change and observe the simulated hardware.
// Every function here is thread-safe and may be called while other threads
// are inside hidapi calls (including blocked reads).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#define Q3SIM_EXPORT __attribute__((visibility("default")))

namespace q3sim {

class Firmware;

// The keyboard's two HID interfaces.
enum Interface { CommandInterface = 0, EventInterface = 1 };

// One hidapi call as the library saw it.
struct TraceEntry {
    std::string call;                 // e.g. "hid_send_feature_report"
    std::string path;                 // the handle's device, the device hid_open* asked for, or empty
    std::vector<unsigned char> data;  // bytes passed in (writes, feature sends) or delivered (reads, gets)
    int result;                       // return value; pointer-returning calls: 0 = non-null, -1 = null;
                                      // hid_enumerate: number of devices listed
    std::string args;                 // other arguments, human-readable, may be empty: "timeout=100",
                                      // "vid=04d9 pid=a1cd devices=<path>,<path>" (hid_enumerate) ...
};

// Back to the power-on state: plugged, both interfaces shown, no extra
// devices, no armed faults, empty input queues, empty trace, a fresh
// firmware. Handles opened before the reset are dead (every call fails).
Q3SIM_EXPORT void reset();

// Unplugging removes the keyboard: it is no longer enumerated, opens fail,
// handles opened before fail every call (blocked reads return -1 at once)
// and stay dead after a replug. Queued input reports are lost.
Q3SIM_EXPORT void setPlugged(bool plugged);
Q3SIM_EXPORT bool isPlugged();

// Which of the keyboard's interfaces are enumerated and openable. Hiding an
// interface kills its open handles like an unplug does.
Q3SIM_EXPORT void setInterfaces(bool command, bool event);
Q3SIM_EXPORT bool isInterfaceShown(Interface which);

// Path of one of the keyboard's interfaces ("q3sim:04d9:a1cd:ff01" / ":ff02").
Q3SIM_EXPORT std::string interfacePath(Interface which);

// Appends an unrelated (or deliberately similar) device after the keyboard's
// interfaces and returns its unique path. Extras are not affected by
// setPlugged(); they accept writes and feature reports, answer no feature
// report and never produce input reports. reset() removes them.
Q3SIM_EXPORT std::string addExtraDevice(unsigned short vid, unsigned short pid,
                                        unsigned short usagePage, unsigned short usage);

// The next `count` opens (hid_open / hid_open_path) that would have
// succeeded fail instead; -1: every open fails until failOpens(0).
Q3SIM_EXPORT void failOpens(int count);

// The next `count` calls of hidapi function `call` that would have succeeded
// return -1 (nullptr for hid_enumerate / hid_open* / hid_get_device_info);
// -1: every call fails until failCall(call, 0). Accepted names: every hidapi
// function that can report a failure (hid_init, hid_exit, hid_enumerate,
// hid_open, hid_open_path, hid_write, hid_read, hid_read_timeout,
// hid_set_nonblocking, hid_send_feature_report, hid_get_feature_report,
// hid_get_input_report, hid_get_manufacturer_string, hid_get_product_string,
// hid_get_serial_number_string, hid_get_device_info, hid_get_indexed_string).
// hid_read and hid_read_timeout are counted separately.
// Throws std::invalid_argument for any other name.
Q3SIM_EXPORT void failCall(const std::string& call, int count);

// Queues an input report on one of the keyboard's interfaces, as if the
// keyboard had sent it. Dropped while that interface is absent.
Q3SIM_EXPORT void pushInputReport(Interface which, const std::vector<unsigned char>& bytes);
Q3SIM_EXPORT std::size_t queuedInputReports(Interface which);

// Handles returned by hid_open* and not yet closed, for a device path
// (dead handles count until closed).
Q3SIM_EXPORT int openHandleCount(const std::string& path);

// Recorded hidapi calls, oldest first (the oldest are dropped past 100000).
Q3SIM_EXPORT std::vector<TraceEntry> trace();
Q3SIM_EXPORT void clearTrace();
Q3SIM_EXPORT int countCalls(const std::string& call);
// One trace entry as the line written to Q3SIM_TRACE (without time stamp).
Q3SIM_EXPORT std::string toString(const TraceEntry& entry);

// What the firmware has received so far.
Q3SIM_EXPORT std::vector<unsigned char> lastFeatureRequest();
Q3SIM_EXPORT std::vector<std::vector<unsigned char>> outputReports();

// Runs `fn` on the firmware with the simulation locked (no hidapi call runs
// meanwhile). `fn` must not call other q3sim or hid_* functions.
Q3SIM_EXPORT void withFirmware(const std::function<void(Firmware&)>& fn);

// Applies one command of the Q3SIM_CONTROL channel ("plug", "unplug",
// "interfaces both|command|event|none", "fail-open N", "report <hex>",
// "command-report <hex>", "fail-call <name> N", "reset"). Returns false,
// changing nothing, when the line is not understood. Blank lines and lines
// starting with '#' are accepted and ignored.
Q3SIM_EXPORT bool runControlCommand(const std::string& line);

} // namespace q3sim
