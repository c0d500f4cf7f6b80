#include "input/X11KeyTranslation.h"

#include "input/GlobalInputHook.h"

#include <array>

namespace {

// Linux input event code -> Windows set-1 scan code, E0 prefix as extended.
struct LinuxKey
{
    int code;
    std::uint16_t scan;
    bool extended;
};

constexpr int KeyRightShift = 54, KeyNumLock = 69, KeySysRq = 99;
constexpr std::uint16_t SysRqScan = 0x54;

// Codes 1-83 (Esc to keypad Del) equal their scan codes; the keys that
// differ, and every key above them, are listed here. Keys for which Windows
// has no scan code of a PC keyboard (Fn, brightness, Linefeed, Macro, keypad
// +/-, the language keys Hangul, Hanja, Katakana, Hiragana and
// Zenkaku/Hankaku, ...) are absent: they give no event at all.
constexpr LinuxKey otherKeys[] = {
    {KeyRightShift, 0x36, true}, // the low-level hook reports right Shift as extended
    {KeyNumLock, 0x45, true},    // Num Lock is extended, Pause is not
    {86, 0x56, false},           // 102ND: the key between left Shift and Z
    {87, 0x57, false},           // F11
    {88, 0x58, false},           // F12
    {89, 0x73, false},           // RO
    {92, 0x79, false},           // HENKAN
    {93, 0x70, false},           // KATAKANAHIRAGANA
    {94, 0x7B, false},           // MUHENKAN
    {96, 0x1C, true},            // KPENTER
    {97, 0x1D, true},            // RIGHTCTRL
    {98, 0x35, true},            // KPSLASH
    {KeySysRq, 0x37, true},      // Print Screen; SysRq with Alt (see translate)
    {100, 0x38, true},           // RIGHTALT
    {102, 0x47, true},           // HOME
    {103, 0x48, true},           // UP
    {104, 0x49, true},           // PAGEUP
    {105, 0x4B, true},           // LEFT
    {106, 0x4D, true},           // RIGHT
    {107, 0x4F, true},           // END
    {108, 0x50, true},           // DOWN
    {109, 0x51, true},           // PAGEDOWN
    {110, 0x52, true},           // INSERT
    {111, 0x53, true},           // DELETE
    {113, 0x20, true},           // MUTE
    {114, 0x2E, true},           // VOLUMEDOWN
    {115, 0x30, true},           // VOLUMEUP
    {116, 0x5E, true},           // POWER
    {117, 0x59, false},          // KPEQUAL
    {119, 0x45, false},          // PAUSE (also with Ctrl, where Windows says Break: same key)
    {121, 0x7E, false},          // KPCOMMA
    {124, 0x7D, false},          // YEN
    {125, 0x5B, true},           // LEFTMETA
    {126, 0x5C, true},           // RIGHTMETA
    {127, 0x5D, true},           // COMPOSE (Menu)
    {128, 0x68, true},           // STOP (browser)
    {140, 0x21, true},           // CALC
    {142, 0x5F, true},           // SLEEP
    {143, 0x63, true},           // WAKEUP
    {155, 0x6C, true},           // MAIL
    {156, 0x66, true},           // BOOKMARKS
    {157, 0x6B, true},           // COMPUTER
    {158, 0x6A, true},           // BACK
    {159, 0x69, true},           // FORWARD
    {163, 0x19, true},           // NEXTSONG
    {164, 0x22, true},           // PLAYPAUSE
    {165, 0x10, true},           // PREVIOUSSONG
    {166, 0x24, true},           // STOPCD
    {172, 0x32, true},           // HOMEPAGE
    {173, 0x67, true},           // REFRESH
    {183, 0x64, false},          // F13
    {184, 0x65, false},          // F14
    {185, 0x66, false},          // F15
    {186, 0x67, false},          // F16
    {187, 0x68, false},          // F17
    {188, 0x69, false},          // F18
    {189, 0x6A, false},          // F19
    {190, 0x6B, false},          // F20
    {191, 0x6C, false},          // F21
    {192, 0x6D, false},          // F22
    {193, 0x6E, false},          // F23
    {194, 0x76, false},          // F24
    {217, 0x65, true},           // SEARCH
    {226, 0x6D, true},           // MEDIA
};

constexpr int XKeyCodeOffset = 8;
constexpr int FirstPlainCode = 1, LastPlainCode = 83;

struct Entry
{
    std::uint16_t scan = 0; // 0: no scan code
    bool extended = false;
};

constexpr std::array<Entry, 256> buildTable()
{
    std::array<Entry, 256> table{};
    for (int code = FirstPlainCode; code <= LastPlainCode; ++code)
        table[code + XKeyCodeOffset] = Entry{static_cast<std::uint16_t>(code), false};
    for (const LinuxKey& key : otherKeys)
        table[key.code + XKeyCodeOffset] = Entry{key.scan, key.extended};
    return table;
}

constexpr std::array<Entry, 256> xKeyCodeTable = buildTable();

}

std::optional<WindowsScanCode> windowsScanCodeForXKeyCode(int xKeyCode)
{
    if (xKeyCode < XKeyCodeOffset || xKeyCode >= int(xKeyCodeTable.size()))
        return std::nullopt;
    const Entry& entry = xKeyCodeTable[static_cast<std::size_t>(xKeyCode)];
    if (entry.scan == 0)
        return std::nullopt;
    return WindowsScanCode{entry.scan, entry.extended};
}

std::optional<LowLevelKeyEvent> X11KeyTranslator::translate(int xKeyCode, bool pressed)
{
    const std::optional<WindowsScanCode> key = windowsScanCodeForXKeyCode(xKeyCode);
    if (!key)
        return std::nullopt;
    // Windows sets the Alt flag on the press of an Alt key itself and clears
    // it on its release.
    setHeld(xKeyCode, pressed);

    LowLevelKeyEvent event;
    event.scanCode = key->scan;
    event.flags = key->extended ? LowLevelInput::Extended : 0;
    if (!pressed)
        event.flags |= LowLevelInput::Up;
    if (altDown()) {
        event.flags |= LowLevelInput::AltDown;
        if (xKeyCode == KeySysRq + XKeyCodeOffset) {
            event.scanCode = SysRqScan;
            event.flags &= ~LowLevelInput::Extended;
        }
        event.message = pressed ? LowLevelInput::SysKeyDown : LowLevelInput::SysKeyUp;
    } else {
        event.message = pressed ? LowLevelInput::KeyDown : LowLevelInput::KeyUp;
    }
    return event;
}

void X11KeyTranslator::setHeld(int xKeyCode, bool held)
{
    if (xKeyCode == LeftAltKeyCode)
        leftAlt = held;
    else if (xKeyCode == RightAltKeyCode)
        rightAlt = held;
}

std::uintptr_t windowsMouseMessageForXButton(int button, bool pressed)
{
    switch (button) {
    case 1:
        return pressed ? LowLevelInput::LeftDown : LowLevelInput::LeftUp;
    case 2:
        return pressed ? LowLevelInput::MiddleDown : LowLevelInput::MiddleUp;
    case 3:
        return pressed ? LowLevelInput::RightDown : LowLevelInput::RightUp;
    default:
        return 0;
    }
}
