#!/usr/bin/env bash
# Starts the shipped program from another directory against the simulated
# keyboard on a private virtual display, and checks that it shows its
# 1000 x 600 window with the configured title, enumerates the keyboard and
# ends with result 0 when its close button is pressed.
# Usage: smoke_start.sh <q3config> <libq3sim.so>
set -u
exe=$(readlink -f "$1")
sim=$(readlink -f "$2")
work=$(mktemp -d)
trap 'kill $app_pid $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
app_pid=""; xvfb_pid=""

fail() { echo "FAIL: $*"; [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log"; exit 1; }

command -v Xvfb >/dev/null || { echo "Xvfb missing"; exit 1; }
Xvfb -displayfd 3 -screen 0 1280x800x24 -br -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "virtual display did not start"
export DISPLAY=":$(head -1 "$work/display")"
export QT_XCB_GL_INTEGRATION=none XDG_RUNTIME_DIR="$work"

title=$(sed -n 's/^name=//p' "$(dirname "$exe")/modules/setting/apConfig.bin" | head -1)
[ -n "$title" ] || fail "no common/name in the shipped settings"

cd / || exit 1
start_ns=$(date +%s%N)
LD_PRELOAD="$sim" Q3SIM_TRACE="$work/trace" "$exe" >"$work/app.log" 2>&1 &
app_pid=$!

win=""
for _ in $(seq 150); do
  win=$(xdotool search --name "^${title}\$" 2>/dev/null | head -1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no window titled '$title'"
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry" | grep -q 'Geometry: 1000x600' || fail "window geometry: $geometry"
pos=$(echo "$geometry" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
read -r wx wy <<<"$pos"

# First frame: the scene's panel shows at the window's centre.
shown=""
for _ in $(seq 200); do
  px=$(import -window root -crop 1x1+$((wx + 500))+$((wy + 300)) txt:- 2>/dev/null | tail -1)
  if ! echo "$px" | grep -q '#000000'; then shown=yes; break; fi
  sleep 0.05
done
[ -n "$shown" ] || fail "the scene never drew"
echo "first frame after $(( ($(date +%s%N) - start_ns) / 1000000 )) ms"

# Both interfaces of the keyboard were listed to the program.
grep 'hid_enumerate - vid=04d9 pid=a1cd' "$work/trace" | grep 'q3sim:04d9:a1cd:ff01' | grep -q 'q3sim:04d9:a1cd:ff02' \
  || fail "the keyboard's two interfaces were never enumerated: $(head -3 "$work/trace")"

# Let the opening animation finish (the bars arrive last), then press the
# close button at the top bar's right end.
sleep 5
xdotool mousemove $((wx + 976)) $((wy + 16))
sleep 0.3
xdotool click 1
for _ in $(seq 100); do kill -0 $app_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $app_pid 2>/dev/null && fail "still running after close"
wait $app_pid
rc=$?
app_pid=""
[ $rc -eq 0 ] || fail "exit code $rc"
echo "PASS: window '$title' 1000x600, keyboard enumerated, clean exit"
