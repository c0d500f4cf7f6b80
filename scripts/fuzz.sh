#!/usr/bin/env bash
# Builds the fuzz harnesses in ./build-fuzz with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each of them.
#
#   scripts/fuzz.sh [seconds per harness] [harness ...]
#
# Seconds default to 60; without names every harness runs, one after the
# other. Q3_FUZZ_RUNS=N runs N executions per harness instead of a time.
# Each harness starts from its corpus (fuzz/corpus/<name>) and the shipped
# files it reads; what it finds new goes to build-fuzz/corpus/<name>, inputs
# that break it to build-fuzz/findings/. Ends non-zero when any harness
# found a fault. Q3_FUZZ_TIMEOUT=S (default 20) is the seconds one input may
# take before it counts as a hang; raise it when the run may be paused
# (kill -STOP), since the limit is measured on the wall clock.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${Q3_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
[ $# -gt 0 ] && shift

"$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQ3_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null

if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  mapfile -t harnesses < <(cut -d' ' -f1 "$build/fuzz/harnesses.txt")
fi
targets=()
for h in "${harnesses[@]}"; do
  grep -q "^$h " "$build/fuzz/harnesses.txt" || { echo "fuzz: no harness $h" >&2; exit 2; }
  targets+=("fuzz_$h")
done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

if [ -n "${Q3_FUZZ_RUNS:-}" ]; then
  limit=(-runs="$Q3_FUZZ_RUNS")
else
  limit=(-max_total_time="$seconds")
fi

export QT_QPA_PLATFORM=offscreen
# The file harnesses write every input to a file and the settings class
# syncs what it writes to disk: on a memory file system that costs nothing.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export XDG_RUNTIME_DIR="$build/runtime"
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
mkdir -p "$XDG_RUNTIME_DIR" "$build/findings" "$build/logs"
failed=0
summary=""
for h in "${harnesses[@]}"; do
  read -r -a paths <<<"$(grep "^$h " "$build/fuzz/harnesses.txt" | cut -d' ' -f2-)"
  # libFuzzer writes new inputs to its first folder and reads the others;
  # shipped files are copied into a seed folder of their own.
  work="$build/corpus/$h"
  seeds="$build/seeds/$h"
  rm -rf "$seeds"
  mkdir -p "$work" "$seeds"
  for p in "${paths[@]:1}"; do
    if [ -d "$p" ]; then cp -r "$p"/. "$seeds"/; else cp "$p" "$seeds"/; fi
  done
  log="$build/logs/$h.log"
  echo "fuzz: $h (${limit[*]})"
  if "$build/fuzz/fuzz_$h" "${limit[@]}" -timeout="${Q3_FUZZ_TIMEOUT:-20}" -rss_limit_mb=4096 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$h-" "$work" "${paths[0]}" "$seeds" >"$log" 2>&1; then
    result="no fault"
  else
    result="FAULT (see $log and $build/findings/)"
    failed=1
  fi
  runs=$(grep -a -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  speed=$(grep -a -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | tail -1 | awk '{print $2}')
  line=$(printf '%-16s %12s executions %8s/s  %s' "$h" "${runs:-?}" "${speed:-?}" "$result")
  echo "fuzz: $line"
  summary+="$line"$'\n'
done
echo
echo "fuzz: summary"
printf '%s' "$summary"
exit $failed
