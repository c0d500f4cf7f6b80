#!/usr/bin/env bash
# Installs every Debian package that building, testing and running q3config needs.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake pkg-config git
  # Qt 5.15: widgets, Qt Quick with QQuickWidget, concurrent, Qt Test, Qt Quick Test
  qtbase5-dev qtbase5-dev-tools qtdeclarative5-dev qttools5-dev-tools
  # the scene's QML compiled ahead of time (qtquick_compiler_add_resources)
  qtdeclarative5-dev-tools
  libqt5quickwidgets5 libqt5quicktest5 libqt5svg5
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qttest qml-module-qtgraphicaleffects
  # device link and device-change notifications
  libhidapi-dev libhidapi-hidraw0 libudev-dev
  # sounds (all in one command, or apt drops the dev package)
  libphonon4qt5-dev phonon4qt5 phonon4qt5-backend-gstreamer gstreamer1.0-plugins-good
  # the benchmark's real-time audio sink (scripts/bench.sh): a private PulseAudio server
  pulseaudio gstreamer1.0-pulseaudio
  # regenerating the shipped sounds (tools/make_sounds.sh); not needed to build or run
  sox libsox-fmt-mp3 lame
  # global key and button capture on X11
  libx11-dev libxi-dev
  # fuzz harnesses (scripts/fuzz.sh): clang with libFuzzer and the sanitizer
  # runtimes; the sanitizer runs (scripts/sanitize.sh) use gcc's runtimes
  clang libclang-rt-dev libasan8 libubsan1 libtsan2
  # Windows back end compile check
  g++-mingw-w64-x86-64-posix
  # packaging: the Debian package (dpkg-shlibdeps) and the checks of its desktop files
  dpkg-dev desktop-file-utils appstream
  # headless runs, screenshots and UI driving
  xvfb xauth x11-utils xdotool imagemagick xcompmgr fonts-dejavu-core fonts-wqy-microhei
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"
