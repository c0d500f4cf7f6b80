#!/usr/bin/env bash
# Lighting preview benchmark (not part of the tests).
#
# On a virtual X display, against the simulated keyboard, with the scene
# renderer the program picks there (software), it measures for SECONDS each:
#   - the program's own scene with the lighting page showing 0AH at speed
#     position 7 (a tick every 7 ms), and 09H with key presses keeping three
#     rain rings going (a tick every 10 ms);
#   - the floor: a bare Qt Quick window that recolours one legend per key of
#     the shipped layout on every tick of a 7 ms and a 10 ms timer.
# It prints ticks achieved per expected tick, CPU seconds per second of the
# whole process, and the preview's CPU as a multiple of its floor.
#
# Usage: scripts/bench-preview.sh [seconds]   (default 10)
#   Q3_BUILD_DIR   build folder (default: build)
#   BENCH_DISPLAY  X display to start Xvfb on (default: a free one)
#   BENCH_ROUNDS   how many times to run the four measurements (default 1)
#   BENCH_MODE     scene (default) or harness: the lighting drawing and its
#                  effect controller alone in the program's view
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${Q3_BUILD_DIR:-$root/build}
seconds=${1:-10}
bench="$build/bench/q3previewbench"
bin="$build/bin"

mode=${BENCH_MODE:-scene}
cmake --build "$build" --target q3previewbench q3data q3skins >/dev/null

work=$(mktemp -d)
if [ -n "${BENCH_DISPLAY:-}" ]; then
  Xvfb "$BENCH_DISPLAY" -screen 0 1280x800x24 -br -nolisten tcp 2>/dev/null &
  xvfb_pid=$!
  display="$BENCH_DISPLAY"
  sleep 1
else
  Xvfb -displayfd 3 -screen 0 1280x800x24 -br -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=":$(head -1 "$work/display")"
fi
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display" QT_XCB_GL_INTEGRATION=none XDG_RUNTIME_DIR="$work"
# No stand-in audio sink: it would decode the looping background sound as fast
# as it can. The scene switches its sounds off as well.

run() {
  local line
  "$bench" "$@" >"$work/stdout" 2>"$work/stderr" || true
  line=$(grep -E '^(floor|scene_)' "$work/stdout" | tail -1) || true
  if grep -q rings_started "$work/stdout"; then cp "$work/stdout" "$work/rings"; fi
  if [ -n "$line" ] && [ "$1" != floor ]; then
    grep -q 'warning: the lighting page is not visible' "$work/stderr" && line="$line (page hidden!)"
  fi
  if [ -z "$line" ]; then
    echo "bench: '$*' gave no figures:" >&2
    tail -20 "$work/stderr" >&2
    exit 1
  fi
  echo "$line"
}
field() { sed -E "s/.*$2=([^ ]+).*/\1/" <<<"$1"; }

echo "bench: $seconds s per measurement on $DISPLAY, preview in the $mode"
echo "bench: load average $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores (the CPU figures need a quiet machine)"

show() {
  local name=$1 line=$2 floorline=$3
  local ratio cpu fcpu
  ratio=$(field "$line" tick_ratio)
  cpu=$(field "$line" cpu_per_s)
  fcpu=$(field "$floorline" cpu_per_s)
  printf '%-26s ticks achieved %6.1f %%   CPU %.3f s/s   frames %5s/s' \
    "$name" "$(awk "BEGIN{print 100*$ratio}")" "$cpu" "$(field "$line" frames_per_s)"
  if [ "$line" != "$floorline" ]; then
    printf '   = %.2fx floor' "$(awk "BEGIN{print ($fcpu > 0) ? $cpu/$fcpu : 0}")"
  fi
  printf '\n'
}
for round in $(seq "${BENCH_ROUNDS:-1}"); do
  [ "${BENCH_ROUNDS:-1}" -gt 1 ] && echo "round $round"
  floor7=$(run floor 7 "$seconds" "$bin")
  scene0A=$(run "$mode" 0x0A "$seconds" "$bin")
  floor10=$(run floor 10 "$seconds" "$bin")
  scene09=$(run "$mode" 0x09 "$seconds" "$bin" presses)
  show "floor, 7 ms ticks" "$floor7" "$floor7"
  show "preview 0AH, speed pos. 7" "$scene0A" "$floor7"
  show "floor, 10 ms ticks" "$floor10" "$floor10"
  show "preview 09H, 3 rings" "$scene09" "$floor10"
  echo "  09H: $(grep -o 'rings_started=[0-9]*' "$work/rings" | cut -d= -f2) key presses started a ring"
done
