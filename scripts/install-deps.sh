#!/usr/bin/env bash
# Installs everything Kestrova needs to build, run and test on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  libmspack-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  # tools the tests use to make real fixtures and peers
  gdal-bin mscompress geographiclib-tools socat gpsbabel xvfb xauth openbox x11-utils xdotool poppler-utils python3
  # the peers the benchmarks run side by side (SPLAT! and its srtm2sdf)
  splat
  # the standard dialogs in French, and the interface face
  qt6-translations-l10n fonts-liberation
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
