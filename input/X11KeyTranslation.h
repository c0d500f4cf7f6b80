#pragma once

// Turns X11 key and button events into the values a Windows low-level hook
// reports for the same physical key or button, so that the X11 back end
// feeds GlobalInputHook exactly what the Windows hooks would.
//
// X key codes are Linux input event codes + 8 (the evdev and libinput
// drivers, Xwayland and Xvfb all number keys this way).

#include <cstdint>
#include <optional>

struct WindowsScanCode
{
    std::uint16_t scan = 0;
    bool extended = false;
};

// The scan code and extended flag Windows reports for the key behind an X key
// code when no modifier changes it; nullopt when Windows has no scan code for
// that key or the code is outside 8..255.
std::optional<WindowsScanCode> windowsScanCodeForXKeyCode(int xKeyCode);

// One key event as a Windows low-level keyboard hook delivers it.
struct LowLevelKeyEvent
{
    std::uintptr_t message = 0;
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0;
};

// Follows the Alt keys the way Windows does, so that Print Screen with Alt
// held becomes SysRq (scan 54H with the Alt flag) and every event carries
// the Alt flag while an Alt key is down.
class X11KeyTranslator
{
public:
    // The event Windows would deliver for the press or release of the key at
    // an X key code; nullopt for keys Windows has no scan code for.
    std::optional<LowLevelKeyEvent> translate(int xKeyCode, bool pressed);

    // Seeds the Alt state with keys already held when capture starts.
    void setHeld(int xKeyCode, bool held);

    bool altDown() const { return leftAlt || rightAlt; }

    static constexpr int LeftAltKeyCode = 56 + 8;
    static constexpr int RightAltKeyCode = 100 + 8;

private:
    bool leftAlt = false;
    bool rightAlt = false;
};

// The Windows mouse message for the press or release of an X pointer button:
// 1 left, 2 middle, 3 right. 0 for the wheel (4-7) and every other button.
std::uintptr_t windowsMouseMessageForXButton(int button, bool pressed);
