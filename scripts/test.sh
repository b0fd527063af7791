#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan into
# build-test/, and runs every test. Window tests run on their own X display
# (Xvfb) with a window manager (openbox); the others need no display.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
ZK_BUILD_DIR=build-test ZK_SANITIZE=ON ZK_TESTS=ON ./scripts/build.sh
cd build-test
ctest --output-on-failure --parallel "$(nproc)" --timeout 900
