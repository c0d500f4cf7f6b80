#!/usr/bin/env bash
# Builds the Debian package of q3config: sets up the machine, builds the
# program (in ./build, or Q3_BUILD_DIR) and runs CPack. The package lands in
# build/package/q3config_<version>_<arch>.deb; install it with
#   sudo apt install ./build/package/q3config_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${Q3_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$build"
cpack -G DEB --config "$build/CPackConfig.cmake"
ls -1 "$build"/package/q3config_*.deb
