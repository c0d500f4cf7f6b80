#!/usr/bin/env bash
# Sets up the machine, builds q3config and starts it.
# With a Q3 keyboard attached the program talks to it; otherwise it runs
# against the simulated keyboard. Without a display it runs on a virtual X
# display, saves a screenshot after start-up and closes the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${Q3_BUILD_DIR:-$root/build}
# Only what running needs: the program, its data and skins, the simulated
# keyboard and its command (the tests' packages and builds are left out).
"$root/scripts/setup.sh" run
"$root/scripts/build.sh" q3config q3sim q3sim_cli

exe="$build/bin/q3config"
sim="$build/lib/libq3sim.so"

keyboard_attached() {
  grep -qsi 'HID_ID=0003:000004D9:0000A1CD' /sys/class/hidraw/hidraw*/device/uevent
}

preload=""
if keyboard_attached; then
  echo "run: Q3 keyboard attached, using it"
else
  echo "run: no Q3 keyboard attached, using the simulated keyboard ($sim)"
  preload="$sim"
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  LD_PRELOAD="$preload" exec "$exe"
fi

# No display: a virtual one, a compositor for the translucent window, a screenshot.
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x800x24 -br -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
export QT_XCB_GL_INTEGRATION=none XDG_RUNTIME_DIR="$work"
xcompmgr >/dev/null 2>&1 &
echo "run: no display, running on virtual display $DISPLAY"

LD_PRELOAD="$preload" "$exe" &
app_pid=$!
sleep 6
shot="$build/screenshot.png"
import -window root "$shot"
echo "run: screenshot after start-up saved to $shot"

# Close the window through the scene's close button, as a user would.
win=$(xdotool search --pid $app_pid --onlyvisible 2>/dev/null | head -1 || true)
if [ -n "$win" ]; then
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + 976)) $((Y + 16)); sleep 0.3; xdotool click 1
fi
for _ in $(seq 50); do kill -0 $app_pid 2>/dev/null || break; sleep 0.1; done
kill $app_pid 2>/dev/null || true
wait $app_pid && rc=0 || rc=$?
echo "run: q3config ended with $rc"
exit $rc
