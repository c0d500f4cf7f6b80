#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${Q3_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j"$(nproc)" "$@"
