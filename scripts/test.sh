#!/usr/bin/env bash
# Sets up, builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2
# The sanitizer, fuzz and TSan runs (scripts/ci-extra.sh): in CI, or with --full.
if [[ "${1:-}" == --full || "${CI:-}" == true ]]; then
    ./scripts/ci-extra.sh
fi
