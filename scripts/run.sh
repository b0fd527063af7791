#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts the main program on
# its demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
ZK_BUILD_DIR=build ZK_SANITIZE=OFF ZK_TESTS=OFF ./scripts/build.sh
# The demo terrain data (Terrain tiles, DTED cells, a GTOPO30 tile of a
# synthetic landscape around 45 N 73 W), written once, and the data roots
# DRV0..DRV2 pointed at it unless they hold roots of the user's own.
build/bin/zkdemo --out "$PWD/build/demo-terrain" --roots || echo "The demo terrain data could not be prepared." >&2
DEMO="build/bin/demo/demo.net"
if [ -f "$DEMO" ]; then exec build/bin/ZELKORfr "$DEMO"; else exec build/bin/ZELKORfr; fi
