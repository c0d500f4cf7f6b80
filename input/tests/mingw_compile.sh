#!/usr/bin/env bash
# Compiles the Windows back end of the key and button capture together with
# its portable part with the mingw-w64 cross compiler, and links them into a
# small program, so that the Windows code keeps building on Linux.
# Usage: mingw_compile.sh <source root> [compiler]
set -u
root=$(readlink -f "$1")
cxx=${2:-x86_64-w64-mingw32-g++-posix}
command -v "$cxx" >/dev/null || { echo "FAIL: $cxx not found (package g++-mingw-w64-x86-64-posix)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/probe.cpp" <<'CPP'
#include "input/GlobalInputHook.h"
int main()
{
    GlobalInputHook hook(false);
    hook.setKeyboardCallback([](unsigned char, unsigned char, void*) {}, nullptr);
    hook.setMouseCallback([](unsigned char, unsigned char, int, int, void*) {}, nullptr);
    HOOKPROC keyboard = &GlobalInputHook::keyboardHookProc;
    HOOKPROC mouse = &GlobalInputHook::mouseHookProc;
    hook.uninstallHooks();
    return keyboard && mouse ? 0 : 1;
}
CPP

flags=(-std=c++17 -Wall -Wextra -I"$root")
for src in "$root/input/GlobalInputHook.cpp" "$root/input/GlobalInputHook_win.cpp" "$work/probe.cpp"; do
  "$cxx" "${flags[@]}" -c "$src" -o "$work/$(basename "$src" .cpp).o" \
    || { echo "FAIL: $(basename "$src") does not compile for Windows"; exit 1; }
done
"$cxx" -static -o "$work/probe.exe" "$work"/*.o -luser32 \
  || { echo "FAIL: the Windows back end does not link"; exit 1; }
echo "PASS: Windows back end compiles and links with $cxx"
