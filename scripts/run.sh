#!/usr/bin/env bash
# Installs what is missing, builds, and starts the main program on its demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
ZK_SANITIZE=OFF ./scripts/build.sh
DEMO="build/bin/demo/demo.net"
if [ -f "$DEMO" ]; then exec build/bin/ZELKORfr "$DEMO"; else exec build/bin/ZELKORfr; fi
