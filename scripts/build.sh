#!/usr/bin/env bash
# Configures and builds in ./build (or Q3_BUILD_DIR): everything, the tests
# included, or only the targets named.
#
#   scripts/build.sh [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${Q3_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$build" -j"$(nproc)" --target "$@"
else
  cmake --build "$build" -j"$(nproc)"
fi
