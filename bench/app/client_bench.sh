#!/usr/bin/env bash
# Measures the desktop client under a private Xvfb display against the bundled
# draw service on loopback (real schedule):
#  (a) start-up: process start to the window visible with the plan filled
#      (the window is shown only after the plan is), median of RUNS runs;
#  (b) CPU of the idle client over IDLE_SECONDS between draws (/proc/PID/stat);
#  (c) resident memory (VmRSS) of the client after start-up, and of its
#      WebEngine helper processes separately.
#   client_bench.sh [BUILD_DIR]   (default build); RUNS=5 IDLE_SECONDS=60
#   SETTLE_SECONDS=15 (pause after start-up before (b) and (c))
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build}")
runs=${RUNS:-5}
idle=${IDLE_SECONDS:-60}
client="$build/app/Quorsa江苏快三平刷和值单双"
service="$build/drawservice/draw-service"
for f in "$client" "$service"; do
    [ -x "$f" ] || { echo "client_bench.sh: $f is not built" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

display=""
for n in $(seq 141 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1100x820x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
unset WAYLAND_DISPLAY
for _ in $(seq 1 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

listening() { (exec 3<>/dev/tcp/127.0.0.1/19300) 2>/dev/null; }
if ! listening; then
    "$service" --listen 127.0.0.1:19300 --data "$work/draws.db" >"$work/service.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 100); do listening && break; sleep 0.1; done
fi
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
mkdir -p "$work/client"
clk=$(getconf CLK_TCK)

now_ms() { date +%s%3N; }
# Starts the client, waits for its visible window; prints "PID MILLIS".
start_client() {
    local t0 pid window=""
    t0=$(now_ms)
    (cd "$work/client" && exec "$client") >>"$work/client.log" 2>&1 &
    pid=$!
    for _ in $(seq 1 3000); do
        # The status window (300 wide) comes first; the main window is 1000 wide.
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
            w=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n "s/^WIDTH=//p" || true)
            if [ -n "$w" ] && [ "$w" -ge 600 ]; then window=$id; fi
        done
        [ -n "$window" ] && break
        sleep 0.01
    done
    [ -n "$window" ] || { echo "client_bench.sh: no window" >&2; cat "$work/client.log" >&2; exit 1; }
    echo "$pid $(($(now_ms) - t0))"
}
stop_client() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
descendants() {
    local p
    for p in $(pgrep -P "$1" || true); do
        echo "$p"
        descendants "$p"
    done
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
# (a) a first start warms the caches; then the measured runs.
read -r pid _ < <(start_client)
stop_client "$pid"
times=()
for _ in $(seq 1 "$runs"); do
    read -r pid ms < <(start_client)
    times+=("$ms")
    stop_client "$pid"
done
echo "startup_ms runs: ${times[*]}"
echo "startup_ms median: $(printf '%s\n' "${times[@]}" | median)"

# (b) and (c) on one more client, left alone after start-up.
read -r pid _ < <(start_client)
pids+=("$pid")
# Start-up over (web panel loaded, first countdown shown): the client is idle.
sleep "${SETTLE_SECONDS:-15}"
echo "client_rss_mib: $(awk -v k="$(rss_kib "$pid")" 'BEGIN {printf "%.1f", k / 1024}')"
helpers=0
count=0
for h in $(descendants "$pid"); do
    helpers=$((helpers + $(rss_kib "$h")))
    count=$((count + 1))
done
echo "helper_processes: $count, helper_rss_mib: $(awk -v k="$helpers" 'BEGIN {printf "%.1f", k / 1024}')"
c0=$(cpu_ticks "$pid")
sleep "$idle"
c1=$(cpu_ticks "$pid")
echo "idle_cpu_percent_of_one_core over ${idle}s: $(awk -v d=$((c1 - c0)) -v hz="$clk" -v s="$idle" 'BEGIN {printf "%.2f", 100 * d / hz / s}')"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
