#!/usr/bin/env bash
# Configures and builds. ZK_BUILD_DIR (default build), ZK_SANITIZE (OFF) and
# ZK_TESTS (ON) choose the folder and the kind of build; further arguments
# name the targets to build (all of them when none is given).
set -euo pipefail
cd "$(dirname "$0")/.."
DIR="${ZK_BUILD_DIR:-build}"
SAN="${ZK_SANITIZE:-OFF}"
TESTS="${ZK_TESTS:-ON}"
cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_SANITIZE="$SAN" -DZK_TESTS="$TESTS"
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$DIR" --parallel "${ZK_JOBS:-$(nproc)}" "${targets[@]}"
