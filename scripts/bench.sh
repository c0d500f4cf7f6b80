#!/usr/bin/env bash
# Performance budget (not part of the tests): every figure beside its floor,
# measured in the same run, alternating program and floor.
#
#   start-up   process start to the first drawn frame of the scene, and
#              resident memory 3 s after start; floor: a bare frameless
#              translucent QQuickWidget window of the same size showing one
#              rectangle (build/bench/q3startfloor)
#   idle       CPU of the whole process from IDLE_FROM to IDLE_TO seconds
#              after start (default 10 to 40), window shown, sounds on (into
#              a private PulseAudio server's null sink, which plays in real
#              time) and sounds off; floor with sounds off: the same bare
#              window; with sounds on: that window's idle plus the sound
#              floor, a bare GStreamer pipeline (gst-launch-1.0) looping the
#              shipped background sound into the same sink
#   preview    the lighting preview (scripts/bench-preview.sh: 0AH at speed
#              position 7, 09H with three rain rings) against its floor
#   ALL SAVE   click to the last report reaching the simulated keyboard, for
#              a profile lit by a user picture and one with an effect;
#              floor: the delays the keyboard's protocol requires for the
#              reports sent (see protocolFloorMs in tools/bench)
#
# The program runs against the simulated keyboard on a private Xvfb, from a
# copy of the build's bin/ folder, so its settings and profiles are left
# alone. Prints minimum / median / maximum of each figure and the ratio of
# the medians.
#
# Usage: scripts/bench.sh
#   Q3_BUILD_DIR     build folder (default: build)
#   BENCH_ROUNDS     rounds of every measurement (default 3)
#   IDLE_FROM/IDLE_TO  the idle window in seconds after start (default 10/40)
#   PREVIEW_SECONDS  seconds of each preview measurement (default 10)
#   BENCH_PARTS      which measurements to run (default "start preview save")
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${Q3_BUILD_DIR:-$root/build}
rounds=${BENCH_ROUNDS:-3}
idle_from=${IDLE_FROM:-10}
idle_to=${IDLE_TO:-40}
preview_seconds=${PREVIEW_SECONDS:-10}
parts=" ${BENCH_PARTS:-start preview save} "
wants() { [[ $parts == *" $1 "* ]]; }

for tool in Xvfb pulseaudio gst-launch-1.0; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
cmake --build "$build" --target q3config q3sim q3startfloor q3previewbench q3data q3skins >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x800x24 -br -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")" QT_XCB_GL_INTEGRATION=none

# A private sound server with a null sink: it consumes audio in real time.
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
unset PHONON_GST_AUDIOSINK PULSE_SERVER
pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr \
  -L module-null-sink -L module-native-protocol-unix 2>"$work/pulse.log" &
pids+=($!)
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/pulse/native" ] || { echo "bench: the sound server did not start:" >&2; tail "$work/pulse.log" >&2; exit 1; }

# Two copies of the program's folder: sounds on (the shipped setting) and off.
for copy in sound quiet; do
  mkdir -p "$work/$copy"
  cp "$build/bin/q3config" "$work/$copy/"
  cp -r "$build/bin/modules" "$work/$copy/"
done
sed -i 's/^2=.*/2=1/' "$work/quiet/modules/setting/apConfig.bin"
sim="$build/lib/libq3sim.so"

now_us() { echo $(( $(date +%s%N) / 1000 )); }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# One start: prints "first_frame_ms rss_mib idle_percent".
start_run() {
  local kind=$1 out="$work/start.err" t0 pid ff=""
  local hz; hz=$(getconf CLK_TCK)
  t0=$(now_us)
  case $kind in
    floor) Q3_REPORT_FIRST_FRAME=1 "$build/bench/q3startfloor" 2>"$out" & ;;
    quiet|sound) Q3_REPORT_FIRST_FRAME=1 LD_PRELOAD="$sim" "$work/$kind/q3config" 2>"$out" & ;;
    soundfloor)
      gst-launch-1.0 -q multifilesrc location="$work/sound/modules/media/00.mp3" loop=true ! mpegaudioparse \
        ! mpg123audiodec ! audioconvert ! audioresample ! pulsesink 2>"$work/gst.err" >/dev/null &
      echo "first_frame_epoch_us=$t0" >"$out" ;;
  esac
  pid=$!
  for _ in $(seq 300); do
    ff=$(sed -n 's/^first_frame_epoch_us=//p' "$out" | head -1)
    [ -n "$ff" ] && break
    sleep 0.05
  done
  sleep_until() { local s; s=$(awk "BEGIN{d=($t0 + $1 * 1000000 - $(now_us)) / 1e6; print (d > 0) ? d : 0}"); sleep "$s"; }
  sleep_until 3
  local rss; rss=$(awk '/^VmRSS/ {print $2 / 1024}' "/proc/$pid/status")
  sleep_until "$idle_from"
  local c0 w0; c0=$(cpu_ticks "$pid"); w0=$(now_us)
  sleep_until "$idle_to"
  local c1 w1; c1=$(cpu_ticks "$pid"); w1=$(now_us)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  if [ -z "$ff" ]; then echo "bench: $kind drew no frame:" >&2; tail "$out" >&2; exit 1; fi
  awk -v ff="$ff" -v t0="$t0" -v rss="$rss" -v c="$((c1 - c0))" -v hz="$hz" -v w="$((w1 - w0))" \
    'BEGIN{printf "%.1f %.1f %.3f\n", (ff - t0) / 1000, rss, 100 * c / hz / (w / 1e6)}'
}

# "min med max" of the numbers on standard input.
stats() { sort -g | awk '{v[NR]=$1} END{m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "%s %s %s\n", v[1], m, v[NR]}'; }
row() { # name unit program-values floor-values [target]
  local p f ratio; p=($(tr ' ' '\n' <<<"$3" | grep . | stats)); f=($(tr ' ' '\n' <<<"$4" | grep . | stats))
  ratio=$(awk -v p="${p[1]}" -v f="${f[1]}" 'BEGIN{if (f > 0) printf "%.2fx", p / f; else print "-"}')
  printf '%-42s %8.2f %8.2f %8.2f | %8.2f %8.2f %8.2f | %6s  %s\n' "$1 ($2)" "${p[@]}" "${f[@]}" "$ratio" "${5:-}"
}

echo "bench: $rounds rounds on $DISPLAY, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A ff rss idle
kinds=(floor soundfloor quiet sound)
for kind in "${kinds[@]}"; do ff[$kind]=""; rss[$kind]=""; idle[$kind]=""; done
if wants start; then
  for r in $(seq "$rounds"); do
    for kind in "${kinds[@]}"; do
      read -r a b c < <(start_run "$kind")
      ff[$kind]+=" $a"; rss[$kind]+=" $b"; idle[$kind]+=" $c"
      echo "  round $r $kind: first frame $a ms, $b MiB, idle $c %" >&2
    done
  done
fi

# The lighting preview, from its own benchmark.
preview=""
if wants preview; then
  preview=$(BENCH_ROUNDS=$rounds "$root/scripts/bench-preview.sh" "$preview_seconds")
  echo "$preview" | sed 's/^/  /' >&2
fi
pv() { grep -F "$1" <<<"$preview" | sed -E "s/.*$2 +([0-9.]+).*/\1/" | tr '\n' ' '; }

# ALL SAVE, alternating the two profiles.
declare -A save savefloor
for kind in picture effect; do save[$kind]=""; savefloor[$kind]=""; done
if wants save; then
  for r in $(seq "$rounds"); do
    for kind in picture effect; do
      rm -rf "$work/save" && mkdir -p "$work/save" && cp -r "$build/bin/modules" "$work/save/"
      line=$("$build/bench/q3previewbench" save "$kind" "$work/save" 2>"$work/save.err" | grep '^save_') || {
        echo "bench: ALL SAVE ($kind) gave no figures:" >&2; tail "$work/save.err" >&2; exit 1; }
      echo "  round $r $line" >&2
      save[$kind]+=" $(sed -E 's/.* ms=([0-9.]+).*/\1/' <<<"$line")"
      savefloor[$kind]+=" $(sed -E 's/.*floor_ms=([0-9.]+).*/\1/' <<<"$line")"
    done
  done
fi

# The floor of idle with sounds on: the sound floor's pipeline and the bare
# window, round by round.
sums() { paste -d' ' <(tr ' ' '\n' <<<"$1" | grep .) <(tr ' ' '\n' <<<"$2" | grep .) | awk '{printf " %.3f", $1 + $2}'; }
soundsum=$(sums "${idle[soundfloor]}" "${idle[floor]}")

echo
printf '%-42s %26s | %26s | %s\n' "measure" "program min / median / max" "floor min / median / max" "ratio of medians, target"
if wants start; then
  row "start-up to first frame" ms "${ff[quiet]}" "${ff[floor]}" "<= 1.5x"
  row "start-up, sounds on" ms "${ff[sound]}" "${ff[floor]}" "<= 1.5x"
  row "resident memory at 3 s" MiB "${rss[quiet]}" "${rss[floor]}" "<= 1.3x"
  row "resident memory at 3 s, sounds on" MiB "${rss[sound]}" "${rss[floor]}" "<= 1.3x"
  row "idle CPU ${idle_from}-${idle_to} s, sounds off" "% core" "${idle[quiet]}" "${idle[floor]}" "<= 0.1 %"
  row "idle CPU ${idle_from}-${idle_to} s, sounds on" "% core" "${idle[sound]}" "$soundsum" "<= 1.25x"
  row "  sound floor alone (bare pipeline)" "% core" "${idle[soundfloor]}" "${idle[floor]}" ""
fi
if wants preview; then
  row "preview 0AH speed 7 CPU" "s/s" "$(pv 'preview 0AH' 'CPU')" "$(pv 'floor, 7 ms' 'CPU')" "<= 1.0x"
  row "preview 0AH ticks achieved" "%" "$(pv 'preview 0AH' 'achieved')" "$(pv 'floor, 7 ms' 'achieved')" ">= 95 %"
  row "preview 09H 3 rings CPU" "s/s" "$(pv 'preview 09H' 'CPU')" "$(pv 'floor, 10 ms' 'CPU')" "<= 1.0x"
  row "preview 09H ticks achieved" "%" "$(pv 'preview 09H' 'achieved')" "$(pv 'floor, 10 ms' 'achieved')" ">= 95 %"
fi
if wants save; then
  row "ALL SAVE, user picture" ms "${save[picture]}" "${savefloor[picture]}" "<= 1.05x"
  row "ALL SAVE, effect" ms "${save[effect]}" "${savefloor[effect]}" "<= 1.05x"
fi
