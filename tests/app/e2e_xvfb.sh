#!/usr/bin/env bash
# The built client under Xvfb against the bundled draw service: its window
# must appear at the form's size; the picture is saved.
#   e2e_xvfb.sh BUILD_DIR OUTPUT.png
# Uses the service already listening on 127.0.0.1:19300 (the client's own
# address), else starts one there with a fresh data file.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
out=$2
client="$build/app/Quorsa江苏快三平刷和值单双"
service="$build/drawservice/draw-service"

work=$(mktemp -d)
service_pid=""
cleanup() {
    if [ -n "$service_pid" ]; then
        kill "$service_pid" 2>/dev/null || true
        wait "$service_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

listening() { (exec 3<>/dev/tcp/127.0.0.1/19300) 2>/dev/null; }
if ! listening; then
    "$service" --listen 127.0.0.1:19300 --data "$work/draws.db" >"$work/service.log" 2>&1 &
    service_pid=$!
    for _ in $(seq 1 100); do
        listening && break
        sleep 0.1
    done
    listening || { echo "e2e: the draw service did not start" >&2; cat "$work/service.log" >&2; exit 1; }
fi

mkdir -p "$work/client"
WORKDIR="$work/client" bash "$root/scripts/screenshot.sh" "$client" "$out"
size=$(identify -format '%wx%h' "$out")
echo "window picture: $size"
[ "$size" = "1000x749" ] || { echo "e2e: expected a 1000x749 window, got $size" >&2; exit 1; }
