#!/usr/bin/env bash
# Configures and builds into ./build. Pass ZK_SANITIZE=ON for the test build.
set -euo pipefail
cd "$(dirname "$0")/.."
SAN="${ZK_SANITIZE:-OFF}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_SANITIZE="$SAN" -DZK_TESTS=ON
cmake --build build --parallel "$(nproc)"
