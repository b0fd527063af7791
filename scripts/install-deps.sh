#!/usr/bin/env bash
# Installs everything Kestrova needs to build, run and test on Debian 12.
#   --bench  also what the benchmarks (-DZK_BENCH=ON) build against and time
#            side by side
#   --fuzz   also what the fuzzing build (clang, -DZK_FUZZ=ON) needs
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev libxcb1-dev
  libmspack-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  # tools the tests use to make real fixtures and peers
  gdal-bin mscompress geographiclib-tools socat gpsbabel xvfb xauth openbox x11-utils xdotool poppler-utils python3
  # the network namespace the multicast tests run in (ip), and the export
  # check of the engine library (nm)
  iproute2 binutils
  # the standard dialogs in French, and the interface face
  qt6-translations-l10n fonts-liberation
)
# The benchmarks' peers: SPLAT!, and GDAL's C API for its kernels in-process.
BENCH_PACKAGES=(
  splat libgdal-dev
)
# clang with libFuzzer and its shared sanitizer run-time.
FUZZ_PACKAGES=(
  clang libclang-rt-14-dev
)
for arg in "$@"; do
  case "$arg" in
    --bench) PACKAGES+=("${BENCH_PACKAGES[@]}") ;;
    --fuzz) PACKAGES+=("${FUZZ_PACKAGES[@]}") ;;
    *) echo "install-deps.sh: unknown option $arg (--bench, --fuzz)" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
