#!/usr/bin/env bash
# The program's command line, run without any display: --help, --version,
# unknown options, and --diagnose against the simulated keyboard when it is
# usable, absent and refusing this user; then the window's start with a
# refusing keyboard, which says so on standard error exactly once.
# Usage: command_line.sh <q3config> <libq3sim.so>
set -u
exe=$(readlink -f "$1")
sim=$(readlink -f "$2")
work=$(mktemp -d)
app_pid=""
trap 'kill $app_pid 2>/dev/null; rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$work"

fail() { echo "FAIL: $*"; exit 1; }
# run <expected status> <args...>: output in $work/out
run() {
  local expected=$1; shift
  "$@" >"$work/out" 2>&1
  local rc=$?
  [ $rc -eq "$expected" ] || { cat "$work/out"; fail "$* ended with $rc, expected $expected"; }
}
shows() { grep -q -- "$1" "$work/out" || { cat "$work/out"; fail "no '$1' in the output above"; }; }
lacks() { grep -q -- "$1" "$work/out" && { cat "$work/out"; fail "unexpected '$1' in the output above"; }; true; }

run 0 "$exe" --help
shows '^Usage: q3config'
shows '--diagnose'
run 0 "$exe" -v
shows '^q3config [0-9]'
run 2 "$exe" --diagnose --frobnicate
shows "Unknown option 'frobnicate'"
run 2 "$exe" --diagnose extra
shows "unexpected argument 'extra'"
# Read before any display is opened: the same answers without one.
run 2 "$exe" --bogus
shows "Unknown option 'bogus'"
lacks 'display'
run 2 "$exe" -platform offscreen extra
shows "unexpected argument 'extra'"
run 0 "$exe" -platform offscreen --style=fusion --help
shows '^Usage: q3config'
run 0 "$exe" --platform=offscreen --version
shows '^q3config [0-9]'

cd "$work" || exit 1
run 0 env LD_PRELOAD="$sim" "$exe" --diagnose
shows "^data folder: $(dirname "$exe")\$"
shows 'commands: opens'
shows '^firmware: 01 0A'
shows '^current profile: 1$'
shows '^key capture: none (no display)$'
shows '^result: keyboard usable$'

run 1 env LD_PRELOAD="$sim" Q3SIM_UNPLUGGED=1 "$exe" --diagnose
shows '^  not found$'
shows '^result: no Q3 keyboard found'
lacks '^firmware'

run 1 env LD_PRELOAD="$sim" Q3SIM_DENY_OPEN=1 "$exe" --diagnose
shows 'q3sim:04d9:a1cd:ff01 .* commands: permission denied'
shows 'q3sim:04d9:a1cd:ff02 .* events: permission denied'
shows 'this user may not open it (permission denied)'
shows 'udevadm trigger --subsystem-match=hidraw'
lacks '^firmware'

# The window, on Qt's offscreen platform: the refusal reaches standard error once.
LD_PRELOAD="$sim" Q3SIM_DENY_OPEN=1 QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
  PHONON_GST_AUDIOSINK=fakesink "$exe" >"$work/app.log" 2>&1 &
app_pid=$!
for _ in $(seq 100); do grep -q 'may not open it' "$work/app.log" && break; sleep 0.1; done
sleep 1
kill $app_pid 2>/dev/null; wait $app_pid 2>/dev/null; app_pid=""
[ "$(grep -c 'may not open it' "$work/app.log")" -eq 1 ] \
  || { cat "$work/app.log"; fail "the refusal was not reported exactly once on standard error"; }
grep -q 'udevadm control --reload-rules' "$work/app.log" || fail "no advice on standard error"
echo "PASS: help, version, bad options, diagnose (usable, absent, refused), refusal on standard error"
