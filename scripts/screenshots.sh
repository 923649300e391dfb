#!/usr/bin/env bash
# Takes the user guide's screenshots headless: starts the device simulator on
# a free loopback port, points a scratch data folder at it and lets
# velmora-shots save the window's tabs and dialogs into docs/images/: all of
# them at the smallest window the doors are laid out for (1024x640), the
# tabs again at 1920x1080 (NAME-large.png), and the address book and the
# configuration windows.
#   ./scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/devsim-lib.sh
build=${1:-build}
cmake --build "$build" -j2 --target velmora-shots velmora-devsim velmora_translations

scratch=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

start_devsim "$build/bin" "$scratch/sim.log" --miss-rate 0.03 --extra-rate 0.01
point_at_devsim "$scratch/data"
mkdir -p docs/images
PROGRAMDATA="$scratch/data" QT_QPA_PLATFORM=offscreen "$build/bin/velmora-shots" docs/images
# The door validation's report: its first page, drawn by poppler.
pdftoppm -png -r 60 -f 1 -l 1 -singlefile docs/images/validation-report.pdf docs/images/validation-report
rm -f docs/images/validation-report.pdf
PROGRAMDATA="$scratch/data" QT_QPA_PLATFORM=offscreen "$build/bin/velmora-shots" docs/images \
  1920x1080 large
PROGRAMDATA="$scratch/data" QT_QPA_PLATFORM=offscreen "$build/bin/velmora-shots" docs/images fleet
