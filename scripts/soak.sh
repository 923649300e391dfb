#!/usr/bin/env bash
# Soak run, not part of CI: the device simulator streams four doors at 25 fps
# of 640x480 JPEG pictures on a free loopback port to the configurator, which
# runs headless against a scratch data folder. Prints the configurator's
# resident memory every minute and at the end its CPU time per shown picture
# (against bare cv::imdecode), the memory growth after the first minute and
# the time from its start to the main window shown, and its CPU from the
# first sample on as a share of a core. Fails when the memory grew by 5 MiB
# or more, or was ever above MAX_RSS_MIB (default 300).
#   ./scripts/soak.sh [--raw] [DURATION_S] [BUILD_DIR]
#   DURATION=600 BUILD=build ./scripts/soak.sh
# --raw streams 1280x720 raw RGB pictures instead and compares the CPU time
# per picture byte with memcpy. PASSES, FPS, SIZE and ENCODING override the
# stream; FAULT=MODE runs the simulator in a fault mode (flood-messages: a
# flood of messages beside the pictures; no-pictures: the idle program);
# SOAK_NO_BUILD=1 skips the build;
# PROFILE=FILE records the configurator with perf (call graphs, 200 samples
# a second) into FILE. SAMPLE_S sets the interval of the RSS lines (60).
# XDISPLAY=:N runs the configurator on that X server (xcb) instead of
# headless; the caller starts the server and a window manager. ZOOM_DOOR=1
# then zooms the first door to at least full size (two notches of Ctrl +
# wheel over its picture, with xdotool: from the fitted 0.61 to 1.08 in the
# window's default size) once the pictures stream.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/devsim-lib.sh

raw=0
if [ "${1:-}" = "--raw" ]; then
  raw=1
  shift
fi
duration=${1:-${DURATION:-600}}
build=${2:-${BUILD:-build}}
passes=${PASSES:-4}
fps=${FPS:-25}
max_rss_kib=$((${MAX_RSS_MIB:-300} * 1024))
sample=${SAMPLE_S:-60}
fault_args=()
[ -n "${FAULT:-}" ] && fault_args=(--fault "$FAULT")
if [ "$raw" = 1 ]; then
  size=${SIZE:-1280x720}
  encoding=${ENCODING:-raw}
else
  size=${SIZE:-640x480}
  encoding=${ENCODING:-jpeg}
fi
case "$duration" in
  '' | *[!0-9]*) echo "soak: DURATION must be whole seconds, not '$duration'" >&2; exit 2 ;;
esac

if [ -n "${PROFILE:-}" ] && ! command -v perf >/dev/null; then
  echo "soak: PROFILE needs perf (Debian package linux-perf)" >&2
  exit 2
fi

if [ "${SOAK_NO_BUILD:-0}" != 1 ]; then
  cmake --build "$build" -j2 --target velmora-configurator velmora-devsim bench_frame_parser \
    bench_image_frame
fi
bin=$build/bin

scratch=$(mktemp -d)
sim_pid=
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

start_devsim "$bin" "$scratch/sim.log" --passes "$passes" --fps "$fps" --size "$size" \
  --encoding "$encoding" "${fault_args[@]}"
point_at_devsim "$scratch/data"

rss_kib() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB$/\1/p' "/proc/$1/status" 2>/dev/null; }
# User and system CPU time of a process so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }

echo "soak: $passes doors, $fps fps, $size $encoding${FAULT:+, fault $FAULT} on 127.0.0.1:$port for ${duration} s"
echo "soak: load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

# The reference, measured once before the stream and once after it, while
# the configurator does not run: bare cv::imdecode of one 640x480 JPEG
# picture, or memcpy of one 1280x720 RGB picture. The ratio takes the mean
# of the two, so a load that changes during the run weighs on both alike.
bench_cpu_us() { # bench filter -> CPU µs per iteration (both benches report in µs)
  "$bin/$1" --benchmark_filter="^$2\$" --benchmark_min_time=0.5 \
    --benchmark_out="$scratch/bench.csv" --benchmark_out_format=csv >/dev/null 2>&1
  awk -F, -v n="\"$2\"" '$1 == n && $5 == "us" { print $4 }' "$scratch/bench.csv"
}
reference() {
  if [ "$encoding" = jpeg ]; then
    bench_cpu_us bench_image_frame BM_Imdecode
  else
    bench_cpu_us bench_frame_parser BM_MemcpyRawPicture
  fi
}
ref_before=$(reference)
if [ -n "${XDISPLAY:-}" ]; then
  platform=(QT_QPA_PLATFORM=xcb "DISPLAY=$XDISPLAY")
  echo "soak: on the X server $XDISPLAY"
else
  platform=(QT_QPA_PLATFORM=offscreen)
fi
launch_ms=$(date +%s%3N)
env "${platform[@]}" PROGRAMDATA="$scratch/data" VELMORA_REPORT_STARTUP=1 \
  VELMORA_REPORT_FRAMES=1 "${APP:-$bin/velmora-configurator}" >"$scratch/app.out" 2>"$scratch/app.err" &
app_pid=$!
if [ -n "${XDISPLAY:-}" ] && [ "${ZOOM_DOOR:-0}" = 1 ]; then
  # The first door's picture sits near the window's top-left corner; each
  # notch raises the zoom slider by 6 (scale +0.237).
  sleep 3
  win=$(DISPLAY=$XDISPLAY xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1)
  DISPLAY=$XDISPLAY xdotool mousemove --window "$win" 150 200 keydown ctrl \
    click --repeat 2 --delay 100 4 keyup ctrl
  echo "soak: first door zoomed in by two notches"
fi
perf_pid=
if [ -n "${PROFILE:-}" ]; then
  # Once the reader thread is there: perf follows only the threads it finds.
  sleep 3
  perf record -q -F 200 --call-graph dwarf,16384 -p "$app_pid" -o "$PROFILE" &
  perf_pid=$!
fi

rss_first=
rss_max=0
elapsed=0
while [ "$elapsed" -lt "$duration" ]; do
  step=$((duration - elapsed < sample ? duration - elapsed : sample))
  sleep "$step"
  elapsed=$((elapsed + step))
  if ! kill -0 "$app_pid" 2>/dev/null; then
    echo "soak: the configurator ended after about ${elapsed} s" >&2
    cat "$scratch/app.err" >&2
    exit 1
  fi
  rss=$(rss_kib "$app_pid")
  if [ -z "${ticks_first:-}" ]; then
    ticks_first=$(cpu_ticks "$app_pid")
    elapsed_first=$elapsed
  fi
  [ -z "$rss_first" ] && [ "$elapsed" -ge 60 ] && rss_first=$rss
  [ "$rss" -gt "$rss_max" ] && rss_max=$rss
  echo "soak: ${elapsed} s  RSS ${rss} KiB"
done
rss_last=$(rss_kib "$app_pid")
ticks_last=$(cpu_ticks "$app_pid")
# Where the CPU went, thread by thread (the reader thread is named after its
# class), since the start.
threads=$(for task in /proc/"$app_pid"/task/*; do
  printf '%s %s\n' "$(cat "$task/comm" 2>/dev/null)" "$(awk '{ print $14 + $15 }' "$task/stat" 2>/dev/null)"
done | awk -v hz="$(getconf CLK_TCK)" '$2 > 0 { printf "%s%s %.2f s", sep, $1, $2 / hz; sep = ", " }')
echo "soak: load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

if [ -n "$perf_pid" ]; then
  kill -INT "$perf_pid"
  wait "$perf_pid" || true
fi
kill -TERM "$app_pid"
wait "$app_pid" || true
app_pid=
# The simulator says how many pictures it sent once it sees the connection close.
sent=
for _ in $(seq 50); do
  sent=$(sed -n 's/^#[0-9]* closed after \([0-9]*\) pictures$/\1/p' "$scratch/sim.log" | tail -n1)
  [ -n "$sent" ] && break
  sleep 0.1
done
kill "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
sim_pid=

report=$(sed -n 's/^velmora-configurator: \([0-9]*\) pictures shown, \([0-9.]*\) s CPU$/\1 \2/p' \
  "$scratch/app.err")
shown_ms=$(sed -n 's/^velmora-configurator: main window shown .* at \([0-9]*\) ms since the epoch$/\1/p' \
  "$scratch/app.err")
if [ -z "$report" ]; then
  echo "soak: the configurator printed no report" >&2
  cat "$scratch/app.err" >&2
  exit 1
fi
read -r shown cpu <<<"$report"
[ -n "$shown_ms" ] && echo "soak: start to the main window shown: $((shown_ms - launch_ms)) ms"
echo "soak: $shown pictures shown of ${sent:-?} sent, $cpu s CPU"
echo "soak: CPU by thread: $threads"
# Without the start: from the first sample on, as a share of one core.
if [ "$duration" -gt "$elapsed_first" ]; then
  awk -v t="$((ticks_last - ticks_first))" -v hz="$(getconf CLK_TCK)" -v a="$elapsed_first" \
    -v s="$((duration - elapsed_first))" 'BEGIN {
    printf "soak: CPU from %d s to the end: %.2f s, %.2f%% of a core\n", a, t / hz, 100 * t / hz / s }'
fi

if [ "$shown" -gt 0 ]; then
  ref_after=$(reference)
  ref=$(awk -v a="$ref_before" -v b="$ref_after" 'BEGIN { print (a + b) / 2 }')
  echo "soak: reference before the stream ${ref_before} us, after it ${ref_after} us"
  if [ "$encoding" = jpeg ]; then
    awk -v c="$cpu" -v n="$shown" -v r="$ref" 'BEGIN {
      f = c * 1e6 / n
      printf "soak: CPU per shown picture %.1f us; bare cv::imdecode %.1f us; ratio %.3f\n", f, r, f / r }'
  else
    w=${size%x*}
    h=${size#*x}
    awk -v c="$cpu" -v n="$shown" -v r="$ref" -v b="$((w * h * 3))" 'BEGIN {
      f = c * 1e9 / (n * b); m = r * 1e3 / b
      printf "soak: CPU per shown picture byte %.3f ns; memcpy %.3f ns; ratio %.2f\n", f, m, f / m }'
  fi
fi

echo "soak: highest RSS ${rss_max} KiB (limit $max_rss_kib KiB)"
if [ "$rss_max" -gt "$max_rss_kib" ]; then
  echo "soak: FAILED: resident memory above ${MAX_RSS_MIB:-300} MiB" >&2
  exit 1
fi
if [ -n "$rss_first" ]; then
  growth=$((rss_last - rss_first))
  echo "soak: RSS after the first minute ${rss_first} KiB, at the end ${rss_last} KiB, growth ${growth} KiB"
  if [ "$growth" -ge 5120 ]; then
    echo "soak: FAILED: resident memory grew by 5 MiB or more" >&2
    exit 1
  fi
fi
