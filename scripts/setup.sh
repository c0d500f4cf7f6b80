#!/usr/bin/env bash
# Installs the Debian packages q3config needs.
#
#   scripts/setup.sh run    what building and running the program needs
#                           (scripts/run.sh)
#   scripts/setup.sh        all of that and what the tests, the package,
#                           fuzzing, the sanitizer runs and the benchmarks
#                           need (scripts/test.sh and the other scripts)
#
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

set_name=${1:-all}

RUN_PACKAGES=(
  # toolchain
  build-essential cmake pkg-config
  # Qt 5.15: widgets, Qt Quick with QQuickWidget, concurrent; Qt Test and
  # Qt Quick Test come with the development packages and the build needs them
  qtbase5-dev qtbase5-dev-tools qtdeclarative5-dev
  # the scene's QML compiled ahead of time (qtquick_compiler_add_resources)
  qtdeclarative5-dev-tools
  libqt5quickwidgets5 libqt5svg5
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtgraphicaleffects
  # device link and device-change notifications
  libhidapi-dev libhidapi-hidraw0 libudev-dev
  # sounds (all in one command, or apt drops the dev package)
  libphonon4qt5-dev phonon4qt5 phonon4qt5-backend-gstreamer gstreamer1.0-plugins-good
  # global key and button capture on X11
  libx11-dev libxi-dev
  # without a display: a virtual one, its compositor, the screenshot and the
  # close click of scripts/run.sh, and fonts for every language
  xvfb xauth xdotool imagemagick xcompmgr fonts-dejavu-core fonts-wqy-microhei
)

TEST_PACKAGES=(
  git qttools5-dev-tools
  libqt5quicktest5 qml-module-qttest
  # the benchmark's real-time audio sink and its bare sound pipeline
  # (scripts/bench.sh): a private PulseAudio server and gst-launch-1.0
  pulseaudio gstreamer1.0-pulseaudio gstreamer1.0-tools
  # regenerating the shipped sounds (tools/make_sounds.sh); not needed to build or run
  sox libsox-fmt-mp3 lame
  # fuzz harnesses (scripts/fuzz.sh): clang with libFuzzer and the sanitizer
  # runtimes; the sanitizer runs (scripts/sanitize.sh) use gcc's runtimes
  clang libclang-rt-dev libasan8 libubsan1 libtsan2
  # Windows back end compile check
  g++-mingw-w64-x86-64-posix
  # packaging: the Debian package (dpkg-shlibdeps), Debian's checker and the
  # checks of its desktop files
  dpkg-dev lintian desktop-file-utils appstream
  # headless UI tests
  x11-utils
)

case "$set_name" in
  run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
  all) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: $0 [run|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present ($set_name)"
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"
