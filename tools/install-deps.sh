#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-websockets-dev libssl-dev qt6-multimedia-dev libsndfile1-dev libgl-dev
          fonts-dseg libbenchmark-dev librapidcheck-dev qt6-charts-dev libqt6opengl6-dev poppler-utils
          clang libclang-rt-14-dev lld
          dpkg-dev desktop-file-utils appstream lintian help2man man-db xvfb
          chromium chromium-driver python3-selenium
          pulseaudio pulseaudio-utils gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
