# Sourced by the scripts that run the configurator against the simulator.

# start_devsim BIN_DIR LOG [ARGS...]: starts velmora-devsim on a free loopback
# port in the background with ARGS, sets sim_pid and port, and fails with the
# simulator's log when it does not say it listens within 10 s.
start_devsim() {
  local bin=$1 log=$2
  shift 2
  "$bin/velmora-devsim" --port 0 "$@" >"$log" 2>&1 &
  sim_pid=$!
  port=
  for _ in $(seq 100); do
    port=$(sed -n '1s/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log")
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "$(basename "$0" .sh): the simulator did not start" >&2
  cat "$log" >&2
  return 1
}

# point_at_devsim DATA_DIR: a data folder (PROGRAMDATA) whose network.txt
# names the simulator's port.
point_at_devsim() {
  mkdir -p "$1/Velmora"
  printf 'HOST_NAME=127.0.0.1\nPORT=%s\n' "$port" >"$1/Velmora/network.txt"
}
