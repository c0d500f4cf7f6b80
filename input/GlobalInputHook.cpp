#include "input/GlobalInputHook.h"

#include "input/InputHookPlatform.h"

namespace {

// Virtual-key codes of the table. Prefixed names: windows.h defines the
// VK_ names as macros.
namespace vk {
constexpr std::uint8_t Back = 0x08, Tab = 0x09, Return = 0x0D, KeypadEnter = 0x0E;
constexpr std::uint8_t Pause = 0x13, Capital = 0x14, Escape = 0x1B, Space = 0x20;
constexpr std::uint8_t Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
constexpr std::uint8_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
constexpr std::uint8_t Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E;
constexpr std::uint8_t LWin = 0x5B, Apps = 0x5D;
constexpr std::uint8_t Numpad0 = 0x60, Numpad1 = 0x61, Numpad2 = 0x62, Numpad3 = 0x63;
constexpr std::uint8_t Numpad4 = 0x64, Numpad5 = 0x65, Numpad6 = 0x66, Numpad7 = 0x67;
constexpr std::uint8_t Numpad8 = 0x68, Numpad9 = 0x69;
constexpr std::uint8_t Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F;
constexpr std::uint8_t F1 = 0x70, F11 = 0x7A, F12 = 0x7B, F23 = 0x86;
constexpr std::uint8_t NumLock = 0x90, Scroll = 0x91;
constexpr std::uint8_t LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3;
constexpr std::uint8_t LMenu = 0xA4, RMenu = 0xA5;
constexpr std::uint8_t Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD;
constexpr std::uint8_t OemPeriod = 0xBE, Oem2 = 0xBF, Oem3 = 0xC0;
constexpr std::uint8_t Oem4 = 0xDB, Oem5 = 0xDC, Oem6 = 0xDD, Oem7 = 0xDE, Oem102 = 0xE2;
}

struct TableRow
{
    std::uint8_t scan;
    bool extended;
    std::uint8_t virtualKey;
    std::uint8_t usage;
};

// One row per key: scan code, extended flag, virtual key, USB usage. The key
// at 2BH (vk::Oem5) has its usage chosen by the layout flag.
constexpr std::uint8_t Oem5Usage = 0x31, Oem5NonUsHashUsage = 0x32;

constexpr TableRow keyTable[] = {
    {0x01, false, vk::Escape, 0x29},
    {0x02, false, '1', 0x1E}, {0x03, false, '2', 0x1F}, {0x04, false, '3', 0x20},
    {0x05, false, '4', 0x21}, {0x06, false, '5', 0x22}, {0x07, false, '6', 0x23},
    {0x08, false, '7', 0x24}, {0x09, false, '8', 0x25}, {0x0A, false, '9', 0x26},
    {0x0B, false, '0', 0x27},
    {0x0C, false, vk::OemMinus, 0x2D},
    {0x0D, false, vk::OemPlus, 0x2E},
    {0x0E, false, vk::Back, 0x2A},
    {0x0F, false, vk::Tab, 0x2B},
    {0x10, false, 'Q', 0x14}, {0x11, false, 'W', 0x1A}, {0x12, false, 'E', 0x08},
    {0x13, false, 'R', 0x15}, {0x14, false, 'T', 0x17}, {0x15, false, 'Y', 0x1C},
    {0x16, false, 'U', 0x18}, {0x17, false, 'I', 0x0C}, {0x18, false, 'O', 0x12},
    {0x19, false, 'P', 0x13},
    {0x1A, false, vk::Oem4, 0x2F},
    {0x1B, false, vk::Oem6, 0x30},
    {0x1C, false, vk::Return, 0x28},
    {0x1C, true, vk::KeypadEnter, 0x58},
    {0x1D, false, vk::LControl, 0xE0},
    {0x1D, true, vk::RControl, 0xE4},
    {0x1E, false, 'A', 0x04}, {0x1F, false, 'S', 0x16}, {0x20, false, 'D', 0x07},
    {0x21, false, 'F', 0x09}, {0x22, false, 'G', 0x0A}, {0x23, false, 'H', 0x0B},
    {0x24, false, 'J', 0x0D}, {0x25, false, 'K', 0x0E}, {0x26, false, 'L', 0x0F},
    {0x27, false, vk::Oem1, 0x33},
    {0x28, false, vk::Oem7, 0x34},
    {0x29, false, vk::Oem3, 0x35},
    {0x2A, false, vk::LShift, 0xE1},
    {0x2B, false, vk::Oem5, Oem5Usage},
    {0x2C, false, 'Z', 0x1D}, {0x2D, false, 'X', 0x1B}, {0x2E, false, 'C', 0x06},
    {0x2F, false, 'V', 0x19}, {0x30, false, 'B', 0x05}, {0x31, false, 'N', 0x11},
    {0x32, false, 'M', 0x10},
    {0x33, false, vk::OemComma, 0x36},
    {0x34, false, vk::OemPeriod, 0x37},
    {0x35, false, vk::Oem2, 0x38},
    {0x35, true, vk::Divide, 0x54},
    {0x36, true, vk::RShift, 0xE5},
    {0x37, false, vk::Multiply, 0x55},
    {0x37, true, vk::Snapshot, 0x46},
    {0x38, false, vk::LMenu, 0xE2},
    {0x38, true, vk::RMenu, 0xE6},
    {0x39, false, vk::Space, 0x2C},
    {0x3A, false, vk::Capital, 0x39},
    {0x3B, false, vk::F1 + 0, 0x3A}, {0x3C, false, vk::F1 + 1, 0x3B},
    {0x3D, false, vk::F1 + 2, 0x3C}, {0x3E, false, vk::F1 + 3, 0x3D},
    {0x3F, false, vk::F1 + 4, 0x3E}, {0x40, false, vk::F1 + 5, 0x3F},
    {0x41, false, vk::F1 + 6, 0x40}, {0x42, false, vk::F1 + 7, 0x41},
    {0x43, false, vk::F1 + 8, 0x42}, {0x44, false, vk::F1 + 9, 0x43},
    {0x45, false, vk::Pause, 0x48},
    {0x45, true, vk::NumLock, 0x53},
    {0x46, false, vk::Scroll, 0x47},
    {0x47, false, vk::Numpad7, 0x5F},
    {0x47, true, vk::Home, 0x4A},
    {0x48, false, vk::Numpad8, 0x60},
    {0x48, true, vk::Up, 0x52},
    {0x49, false, vk::Numpad9, 0x61},
    {0x49, true, vk::Prior, 0x4B},
    {0x4A, false, vk::Subtract, 0x56},
    {0x4B, false, vk::Numpad4, 0x5C},
    {0x4B, true, vk::Left, 0x50},
    {0x4C, false, vk::Numpad5, 0x5D},
    {0x4D, false, vk::Numpad6, 0x5E},
    {0x4D, true, vk::Right, 0x4F},
    {0x4E, false, vk::Add, 0x57},
    {0x4F, false, vk::Numpad1, 0x59},
    {0x4F, true, vk::End, 0x4D},
    {0x50, false, vk::Numpad2, 0x5A},
    {0x50, true, vk::Down, 0x51},
    {0x51, false, vk::Numpad3, 0x5B},
    {0x51, true, vk::Next, 0x4E},
    {0x52, false, vk::Numpad0, 0x62},
    {0x52, true, vk::Insert, 0x49},
    {0x53, false, vk::Decimal, 0x63},
    {0x53, true, vk::Delete, 0x4C},
    {0x56, false, vk::Oem102, 0x64},
    {0x57, false, vk::F11, 0x44},
    {0x58, false, vk::F12, 0x45},
    {0x5B, true, vk::LWin, 0xE3},
    {0x5D, true, vk::Apps, 0x65},
    {0x6E, false, vk::F23, 0x72},
};

// The two keys that Windows reports with scan codes of their own when a
// modifier is held: Break (Ctrl+Pause) and SysRq (Alt+Print Screen).
constexpr std::uint8_t BreakScan = 0x46, SysRqScan = 0x54;

constexpr std::uint8_t mouseButtonCode[8] = {0xF0, 0xF0, 0, 0xF1, 0xF1, 0, 0xF2, 0xF2};
constexpr std::uint8_t mouseButtonDown[8] = {1, 0, 0, 1, 0, 0, 1, 0};

// Module-wide state, one copy for the process.
GlobalInputHook* currentInstance = nullptr;
std::map<std::uint16_t, std::uint8_t> scanToVirtualKeyMap;
std::map<std::uint8_t, std::uint8_t> virtualKeyToUsageMap;
std::uint8_t keyDownStateTable[256] = {};
KeyboardHookCallback keyboardCallback = nullptr;
void* keyboardContext = nullptr;
MouseHookCallback mouseCallback = nullptr;
void* mouseContext = nullptr;

template <typename Map>
typename Map::mapped_type lookup(const Map& map, typename Map::key_type key)
{
    const auto it = map.find(key);
    return it == map.end() ? 0 : it->second;
}

}

GlobalInputHook::GlobalInputHook(bool useNonUsHash)
    : nonUsHash(useNonUsHash)
{
    currentInstance = this;
    buildScanToVirtualKey();
    buildVirtualKeyToUsage();
    installHooks();
}

GlobalInputHook::~GlobalInputHook()
{
    uninstallHooks();
    if (currentInstance == this)
        currentInstance = nullptr;
}

GlobalInputHook* GlobalInputHook::current()
{
    return currentInstance;
}

void GlobalInputHook::buildScanToVirtualKey()
{
    scanToVirtualKeyMap.clear();
    for (const TableRow& row : keyTable) {
        const auto key = static_cast<std::uint16_t>(row.scan << 8 | (row.extended ? 1 : 0));
        scanToVirtualKeyMap[key] = row.virtualKey;
    }
}

void GlobalInputHook::buildVirtualKeyToUsage()
{
    virtualKeyToUsageMap.clear();
    const bool nonUs = currentInstance && currentInstance->nonUsHash;
    for (const TableRow& row : keyTable) {
        std::uint8_t usage = row.usage;
        if (row.virtualKey == vk::Oem5)
            usage = nonUs ? Oem5NonUsHashUsage : Oem5Usage;
        virtualKeyToUsageMap[row.virtualKey] = usage;
    }
}

bool GlobalInputHook::installHooks()
{
    if (InputHookPlatform::installed())
        uninstallHooks();
    return InputHookPlatform::install();
}

void GlobalInputHook::uninstallHooks()
{
    InputHookPlatform::uninstall();
}

void GlobalInputHook::setKeyboardCallback(KeyboardHookCallback callback, void* context)
{
    keyboardCallback = callback;
    keyboardContext = context;
}

void GlobalInputHook::setMouseCallback(MouseHookCallback callback, void* context)
{
    mouseCallback = callback;
    mouseContext = context;
}

void GlobalInputHook::keyboardEvent(int nCode, std::uintptr_t message, std::uint32_t scanCode,
                                    std::uint32_t flags)
{
    // WM_KEYDOWN and WM_SYSKEYDOWN differ only in bit 2.
    const std::uint8_t isDown = nCode == LowLevelInput::Action
            && (message & ~std::uintptr_t(0x4)) == LowLevelInput::KeyDown;
    const std::uint32_t scan = scanCode <= 0xFF ? scanCode : 0;
    const bool extended = (flags & LowLevelInput::Extended) != 0;
    const auto key = static_cast<std::uint16_t>(scan << 8 | (extended ? 1 : 0));

    std::uint8_t virtualKey = lookup(scanToVirtualKeyMap, key);
    if (scan == BreakScan && extended)
        virtualKey = vk::Pause;
    else if (scan == SysRqScan && (flags & LowLevelInput::AltDown))
        virtualKey = vk::Snapshot;
    if (virtualKey == 0)
        return;

    const std::uint8_t usage = lookup(virtualKeyToUsageMap, virtualKey);
    if (usage == 0)
        return;
    if (keyDownStateTable[usage] == isDown)
        return;
    keyDownStateTable[usage] = isDown;
    if (keyboardCallback)
        keyboardCallback(usage, isDown, keyboardContext);
}

void GlobalInputHook::mouseEvent(std::uintptr_t message, int x, int y)
{
    if (message < LowLevelInput::LeftDown || message > LowLevelInput::MiddleUp)
        return;
    const std::size_t i = message - LowLevelInput::LeftDown;
    const std::uint8_t code = mouseButtonCode[i];
    if (code != 0 && mouseCallback)
        mouseCallback(code, mouseButtonDown[i], x, y, mouseContext);
}

const std::map<std::uint16_t, std::uint8_t>& GlobalInputHook::scanToVirtualKey()
{
    return scanToVirtualKeyMap;
}

const std::map<std::uint8_t, std::uint8_t>& GlobalInputHook::virtualKeyToUsage()
{
    return virtualKeyToUsageMap;
}

const std::uint8_t* GlobalInputHook::keyDownState()
{
    return keyDownStateTable;
}
