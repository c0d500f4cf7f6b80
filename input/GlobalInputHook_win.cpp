// Windows back end: the low-level keyboard and mouse hooks. Windows calls
// both procedures on the thread that installed them (the GUI thread) while
// it retrieves messages.

#include "input/GlobalInputHook.h"

#include "input/InputHookPlatform.h"

namespace {
HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;
}

LRESULT CALLBACK GlobalInputHook::keyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // A negative code must go straight to the next hook.
    if (nCode >= 0 && lParam != 0) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        keyboardEvent(nCode, static_cast<std::uintptr_t>(wParam), event->scanCode,
                      event->flags);
    }
    return CallNextHookEx(keyboardHook, nCode, wParam, lParam);
}

LRESULT CALLBACK GlobalInputHook::mouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0 && lParam != 0) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        mouseEvent(static_cast<std::uintptr_t>(wParam), event->pt.x, event->pt.y);
    }
    return CallNextHookEx(mouseHook, nCode, wParam, lParam);
}

bool InputHookPlatform::install()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, &GlobalInputHook::keyboardHookProc,
                                     instance, 0);
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, &GlobalInputHook::mouseHookProc, instance, 0);
    if (keyboardHook && mouseHook)
        return true;
    uninstall();
    return false;
}

void InputHookPlatform::uninstall()
{
    // The handles are cleared so that a second removal cannot unhook a
    // handle value Windows has since given to another hook.
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    keyboardHook = nullptr;
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    mouseHook = nullptr;
}

bool InputHookPlatform::installed()
{
    return keyboardHook != nullptr || mouseHook != nullptr;
}
