#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, if any is missing.
set -euo pipefail

TERRAVALE_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins
  libuemf-dev libgif-dev libbenchmark-dev libcups2-dev
  fonts-liberation fonts-wine
  sox
  xvfb xdotool x11-utils imagemagick tesseract-ocr openbox wmctrl python3-xlib
  cups cups-bsd printer-driver-cups-pdf poppler-utils
  pulseaudio pulseaudio-utils
  lintian appstream desktop-file-utils
)

missing=()
for p in "${TERRAVALE_PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi
