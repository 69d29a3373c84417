#!/usr/bin/env bash
# Installs the Debian packages that are missing, and only then touches apt.
#   bash tools/deps.sh            what building and running the program needs (./run)
#   bash tools/deps.sh --tests    that, and what the tests and benchmarks add (./test)
set -euo pipefail

# Building and running: the toolchain, the libraries, the fonts, and sox for the clips.
BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins
  libuemf-dev libgif-dev libcups2-dev libsdl2-mixer-dev
  fonts-liberation fonts-wine fonts-dejavu-extra
  sox
)

# The tests and benchmarks: an X server and its tools, a window manager, a CUPS PDF printer,
# a PulseAudio server to record, OCR and picture tools, and the package checkers.
TEST_PACKAGES=(
  libbenchmark-dev clang-tidy
  xvfb xdotool x11-utils wmctrl openbox python3-xlib imagemagick tesseract-ocr
  cups cups-bsd printer-driver-cups-pdf poppler-utils
  pulseaudio pulseaudio-utils
  dpkg-dev lintian appstream desktop-file-utils
)

wanted=("${BUILD_PACKAGES[@]}")
case "${1:-}" in
  --tests) wanted+=("${TEST_PACKAGES[@]}") ;;
  "") ;;
  *) echo "usage: bash tools/deps.sh [--tests]" >&2; exit 2 ;;
esac

# One dpkg-query for the whole list; a name it does not know counts as missing.
mapfile -t installed < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${wanted[@]}" 2>/dev/null |
  awk '$1 == "ii" { print $2 }')
missing=()
for p in "${wanted[@]}"; do
  [[ " ${installed[*]} " == *" $p "* ]] || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi
