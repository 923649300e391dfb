#!/usr/bin/env bash
# Sets up and builds, starts the device simulator on 127.0.0.1:4567 in the
# background and opens the configurator, which connects to localhost:4567 by
# default. Closing the configurator stops the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build/bin
fifo=$(mktemp -u)
mkfifo "$fifo"
./velmora-devsim --port 4567 >"$fifo" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
exec 3<"$fifo"
rm -f "$fifo"
# Its first line says it is listening; the rest of its log follows it here.
if ! read -r -t 10 first <&3; then
    echo "run.sh: the device simulator did not start (is port 4567 taken?)" >&2
    exit 1
fi
echo "devsim: $first"
cat <&3 &
./velmora-configurator "$@"
