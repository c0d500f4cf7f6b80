#!/usr/bin/env bash
# Builds what it needs and runs the two long reliability runs against the
# simulated keyboard:
#   replug stress - the whole program through many unplug/plug cycles at
#                   random points (set transfers, get queries, listener
#                   reads, data phases); longest GUI block, descriptors,
#                   threads and memory before and after;
#   kill test     - SIGKILL at random moments of repeated profile writes;
#                   every data file checked after each kill.
# Usage: scripts/stress.sh [replug cycles, default 1000] [kills, default 200]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cycles=${1:-1000}
kills=${2:-200}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${Q3_BUILD_DIR:-$root/build}
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software PHONON_GST_AUDIOSINK=fakesink XDG_RUNTIME_DIR="$runtime"

echo "== replug stress ($cycles cycles)"
set +e
"$build/tests/q3_replug_stress" "$build/bin/modules" "$cycles"
replug=$?
set -e
[ $replug -gt 128 ] && echo "replug stress: crashed (signal $((replug - 128)))"

echo "== kill test ($kills kills during writes, each followed by a restart that is killed too)"
set +e
"$root/tests/stress/kill_writes.sh" "$build/bin/q3config" "$build/lib/libq3sim.so" "$build/bin/q3sim" "$kills"
killtest=$?
set -e
[ $replug -eq 0 ] && [ $killtest -eq 0 ]
