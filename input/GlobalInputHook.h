#pragma once

// System-wide key and mouse button capture.
//
// Keys are identified by their physical scan code and extended flag, as a
// Windows low-level keyboard hook reports them, and handed on as USB HID
// keyboard usage codes (page 07H). Left, right and middle mouse buttons are
// handed on as 240, 241 and 242 with the pointer position. The capture only
// watches: every event still reaches the application it was meant for.
//
// The tables and the two event procedures are platform independent and free
// of Qt. A platform back end feeds them: low-level hooks on Windows, XInput 2
// raw events on X11 (which translate X key codes into the scan codes Windows
// would report for the same keys).

#include <cstdint>
#include <map>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

// (usage code, isDown 0 or 1, context)
using KeyboardHookCallback = void (*)(unsigned char usage, unsigned char isDown, void* context);
// (button code, isDown 0 or 1, pointer x, pointer y, context)
using MouseHookCallback = void (*)(unsigned char code, unsigned char isDown, int x, int y,
                                   void* context);

// The values of a Windows low-level hook event that the procedures read.
namespace LowLevelInput {
constexpr int Action = 0;                        // HC_ACTION
constexpr std::uintptr_t KeyDown = 0x0100;       // WM_KEYDOWN
constexpr std::uintptr_t KeyUp = 0x0101;         // WM_KEYUP
constexpr std::uintptr_t SysKeyDown = 0x0104;    // WM_SYSKEYDOWN
constexpr std::uintptr_t SysKeyUp = 0x0105;      // WM_SYSKEYUP
constexpr std::uint32_t Extended = 0x01;         // LLKHF_EXTENDED
constexpr std::uint32_t Injected = 0x10;         // LLKHF_INJECTED
constexpr std::uint32_t AltDown = 0x20;          // LLKHF_ALTDOWN
constexpr std::uint32_t Up = 0x80;               // LLKHF_UP
constexpr std::uintptr_t MouseMove = 0x0200;     // WM_MOUSEMOVE
constexpr std::uintptr_t LeftDown = 0x0201;      // WM_LBUTTONDOWN
constexpr std::uintptr_t LeftUp = 0x0202;        // WM_LBUTTONUP
constexpr std::uintptr_t LeftDoubleClick = 0x0203;
constexpr std::uintptr_t RightDown = 0x0204;
constexpr std::uintptr_t RightUp = 0x0205;
constexpr std::uintptr_t RightDoubleClick = 0x0206;
constexpr std::uintptr_t MiddleDown = 0x0207;
constexpr std::uintptr_t MiddleUp = 0x0208;      // WM_MBUTTONUP
constexpr std::uintptr_t MouseWheel = 0x020A;
constexpr std::uintptr_t XButtonDown = 0x020B;
constexpr std::uintptr_t XButtonUp = 0x020C;
constexpr std::uintptr_t MouseHorizontalWheel = 0x020E;
}

class GlobalInputHook
{
public:
    // Stores the layout flag, becomes the current instance, builds the key
    // tables and installs the platform's capture. A failed installation is
    // silent: the program then runs without live key and button events.
    explicit GlobalInputHook(bool useNonUsHash);
    ~GlobalInputHook();

    GlobalInputHook(const GlobalInputHook&) = delete;
    GlobalInputHook& operator=(const GlobalInputHook&) = delete;

    // True when both key and button capture are in place. Replaces an
    // earlier installation.
    bool installHooks();
    // Removes the capture; safe when nothing is installed.
    void uninstallHooks();

    // Replace the receiver of key events and of button events. A null
    // callback leaves events unreported (the key state is still tracked).
    void setKeyboardCallback(KeyboardHookCallback callback, void* context);
    void setMouseCallback(MouseHookCallback callback, void* context);

    // Chooses the usage of the key at scan code 2BH: 32H (non-US #) when
    // set, 31H (backslash) otherwise.
    bool useNonUsHash() const { return nonUsHash; }

    // The most recently constructed instance that still exists, or null.
    static GlobalInputHook* current();

    // The keyboard procedure, on the values of one low-level keyboard event:
    // hook code, window message, scan code and flags. Reports a key when its
    // state changes; auto-repeat presses and releases of keys never reported
    // as pressed are dropped.
    static void keyboardEvent(int nCode, std::uintptr_t message, std::uint32_t scanCode,
                              std::uint32_t flags);
    // The mouse procedure: reports every press and release of the left,
    // right and middle button with the pointer position.
    static void mouseEvent(std::uintptr_t message, int x, int y);

    // The module-wide tables and key state (one copy for the process).
    // Key of scanToVirtualKey: scan code << 8 | extended bit.
    static const std::map<std::uint16_t, std::uint8_t>& scanToVirtualKey();
    static const std::map<std::uint8_t, std::uint8_t>& virtualKeyToUsage();
    // Last reported state per usage code: 1 down, 0 up.
    static const std::uint8_t* keyDownState();

#ifdef _WIN32
    static LRESULT CALLBACK keyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK mouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
#endif

private:
    static void buildScanToVirtualKey();
    static void buildVirtualKeyToUsage();

    bool nonUsHash = false;
};
