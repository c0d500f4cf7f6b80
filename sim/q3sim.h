#pragma once

// Control interface of the simulated Q3 keyboard.
//
// libq3sim.so exports hidapi's C API (hid_init ... hid_version_str) over an
// in-memory keyboard, so a program linked against hidapi can run against it
// either by linking q3sim instead, or unchanged with LD_PRELOAD=libq3sim.so.
// The functions below let tests change and observe the simulated hardware.
// Every function here is thread-safe and may be called while other threads
// are inside hidapi calls (including blocked reads).

#include <array>
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

// While set, every open of the keyboard's interfaces fails as an open of a
// hidraw node without access rights does: errno EACCES and hidapi's
// "Failed to open a device with path '...': Permission denied". The
// interfaces are still enumerated. reset() clears it.
Q3SIM_EXPORT void denyOpens(bool denied);

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

// Applies one control command, as the Q3SIM_CONTROL FIFO and the control
// socket do: "plug", "unplug", "interfaces both|command|event|none",
// "fail-open N", "fail-call <name> N", "report <hex>" (event interface),
// "command-report <hex>", "lighting <7 bytes>", "profile N", "stall-data
// on|off", "unplug-after N", "replace-data <hex>", "state [--pictures]
// [--macros]", "trace [N]", "clear-trace", "timings [N]", "reset", "help".
// Numbers are decimal or 0x-prefixed hex. Returns false, changing nothing,
// when the line is not understood. Blank lines and lines starting with '#'
// are accepted and ignored.
Q3SIM_EXPORT bool runControlCommand(const std::string& line);
// The same; `reply` receives the command's output (the state, the trace ...,
// empty for actions), or what is wrong with the line when it returns false.
Q3SIM_EXPORT bool runControlCommand(const std::string& line, std::string& reply);

// ------------------------------------------------------------ keyboard memory
//
// What the keyboard keeps in flash. It survives unplugging; reset() brings
// back the factory contents.

// One on-board profile.
struct Q3SIM_EXPORT Profile {
    static constexpr int Pictures = 16;      // user pictures 0-15
    static constexpr int PicturePlanes = 4;  // colorIndex 0-3
    static constexpr std::size_t PlaneSize = 128;  // one byte per key position

    // type, brightness, speed, direction, color, bl0, bl1 (08H / 88H)
    std::array<unsigned char, 7> ledType{};
    // Seven-colour table (30H / B0H): byte 3k+j is component j of colour k
    // (0-63); bytes 21-63 unused.
    std::array<unsigned char, 64> colours{};
    // Key matrix (0CH, 0DH / 8CH, 8DH): entry i is little-endian at bytes
    // 2i, 2i+1; a high byte with high nibble 0 is an ordinary key with its
    // USB HID usage in the low byte.
    std::array<unsigned char, 256> keyMatrix{};
    // pictures[index][plane][position] (12H / 92H).
    std::array<std::array<std::array<unsigned char, PlaneSize>, PicturePlanes>, Pictures> pictures{};

    unsigned short keyEntry(int position) const;
    bool pictureEmpty(int index) const;  // every plane all zero

    bool operator==(const Profile& other) const;
    bool operator!=(const Profile& other) const { return !(*this == other); }
};

struct Q3SIM_EXPORT KeyboardState {
    static constexpr int DefaultProfiles = 3;
    static constexpr int MaxProfiles = 16;
    static constexpr int MacroSlots = 256;
    static constexpr std::size_t MacroSize = 128;

    std::vector<Profile> profiles;
    int currentProfile = 0;                          // 21H / A1H, 0-based
    std::array<unsigned char, 2> firmwareVersion{};  // high, low (80H)
    int layoutMode = 0;                              // 0-3, bits 2-1 of 80H's flags byte
    std::array<unsigned char, 3> options{};          // b1 (keyboard mode), b2, b3 (02H / 82H)
    unsigned char sensitivity = 0;                   // 04H / 84H
    std::array<std::array<unsigned char, MacroSize>, MacroSlots> macros{};  // 10H / 90H

    int stopMacroRequests = 0;   // 09H with AA CC EE
    int bootLoaderRequests = 0;  // 0FH, with any signature
    std::array<unsigned char, 7> bootLoaderSignature{};  // the last 0FH's
    bool bootLoaderSignatureMatched = false;             // the last 0FH's was 49 53 50 51 33 A5 5A
    int recoveryRequests = 0;    // 13H with FF 1F

    Profile& current() { return profiles.at(static_cast<std::size_t>(currentProfile)); }
    const Profile& current() const { return profiles.at(static_cast<std::size_t>(currentProfile)); }
    bool macroEmpty(int slot) const;

    // Factory contents: see Store.cpp.
    static KeyboardState factory(int profiles = DefaultProfiles);
    static Profile factoryProfile(int index);

    bool operator==(const KeyboardState& other) const;
    bool operator!=(const KeyboardState& other) const { return !(*this == other); }
};

// A copy of the keyboard's memory.
Q3SIM_EXPORT KeyboardState keyboardState();

// The profile key on the keyboard: selects profile 0..count-1. False,
// changing nothing, when there is no such profile or the keyboard is unplugged.
Q3SIM_EXPORT bool setCurrentProfile(int profile);
Q3SIM_EXPORT int currentProfile();

// How many on-board profiles the keyboard has (1..KeyboardState::MaxProfiles,
// else std::invalid_argument). Added profiles get their factory contents;
// the current profile falls back to 0 when it goes away.
Q3SIM_EXPORT void setProfileCount(int count);

// What 80H reports: version bytes and layout mode (0..3, else std::invalid_argument).
Q3SIM_EXPORT void setFirmwareVersion(unsigned char high, unsigned char low);
Q3SIM_EXPORT void setLayoutMode(int mode);

// The user changed the lighting with the keyboard's own Fn keys: the current
// profile's LED type becomes these bytes and the keyboard sends the 12-byte
// lighting report "00 00 00 00 type brightness speed direction color bl0 bl1
// 00" on the event interface (dropped while that interface is hidden).
// False, changing nothing, while the keyboard is unplugged.
Q3SIM_EXPORT bool sendLightingReport(unsigned char type, unsigned char brightness,
                                     unsigned char speed, unsigned char direction,
                                     unsigned char color, unsigned char bl0, unsigned char bl1);

// ----------------------------------------------------------- transfer faults

// While stalled, get commands with data (8CH, 8DH, 90H, 92H, B0H) still
// answer their feature report but queue no input reports: the host's reads
// time out. Stays until stallDataPhase(false) or reset().
Q3SIM_EXPORT void stallDataPhase(bool stalled);

// The keyboard disappears (as setPlugged(false)) right after `count` more
// reports have crossed its command interface, counting every report in
// either direction: feature requests, feature answers, output reports and
// input reports the host read. The call that moves the count-th report
// succeeds; the host's next call fails. 0 disarms.
Q3SIM_EXPORT void unplugAfterReports(int count);

// The next input report the keyboard queues for a get command is replaced
// by `bytes` (short, long or garbage); an empty vector loses that report.
// Calls add up: the second replaces the data report after the first one.
Q3SIM_EXPORT void replaceNextDataReport(const std::vector<unsigned char>& bytes);

// ----------------------------------------------------------------- wire time

// One completed transfer: from the feature request to its last report (the
// last output report of a set with data, the last input report the host read
// of a get with data, the feature answer of a get without data; a set
// without data is complete with its request). Transfers abandoned, stalled,
// cut by an unplug or missing a report are not recorded.
struct TransferTiming {
    unsigned char command = 0;     // request byte 1
    std::size_t payloadBytes = 0;  // data bytes moved in output / input reports
    int reports = 0;               // request, answer and data reports seen
    long long micros = 0;          // request to last report
};

// Completed transfers, oldest first (the last 1000).
Q3SIM_EXPORT std::vector<TransferTiming> transferTimings();
// Wire time of the latest completed transfer, or of the latest one with
// command code `command`; -1 when there is none.
Q3SIM_EXPORT long long lastTransferMicros();
Q3SIM_EXPORT long long lastTransferMicros(unsigned char command);

} // namespace q3sim
