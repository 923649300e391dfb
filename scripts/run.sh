#!/usr/bin/env bash
# Sets up, builds and opens the configurator.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build/bin
exec ./velmora-configurator "$@"
