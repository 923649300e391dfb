#!/usr/bin/env bash
# Takes the user guide's screenshots headless: starts the device simulator on
# a free loopback port, points a scratch data folder at it and lets
# velmora-shots save the window's tabs and dialogs into docs/images/.
#   ./scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target velmora-shots velmora-devsim velmora_translations

scratch=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

"$build/bin/velmora-devsim" --port 0 >"$scratch/sim.log" 2>&1 &
sim_pid=$!
port=
for _ in $(seq 100); do
  port=$(sed -n '1s/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$scratch/sim.log")
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "screenshots: the simulator did not start" >&2
  cat "$scratch/sim.log" >&2
  exit 1
fi

mkdir -p "$scratch/data/Velmora" docs/images
printf 'HOST_NAME=127.0.0.1\nPORT=%s\n' "$port" >"$scratch/data/Velmora/network.txt"
PROGRAMDATA="$scratch/data" QT_QPA_PLATFORM=offscreen "$build/bin/velmora-shots" docs/images
