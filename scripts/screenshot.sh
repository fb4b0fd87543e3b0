#!/usr/bin/env bash
# Saves a PNG of the desktop client's main window, run under a virtual X server.
# Builds nothing and starts no draw service: pass the built client and have the
# service it talks to running already.
#
#   scripts/screenshot.sh CLIENT OUTPUT.png [-- CLIENT_ARGS...]
#
# Environment: WORKDIR (the client's working folder, where its settings file
# lives; default a fresh temporary folder), WAIT_SECONDS (how long to wait for
# the window, default 60), SETTLE_SECONDS (pause before the shot so the data and
# the web panel are painted, default 4), MIN_WIDTH (narrower windows, such as
# the status window, are not the one we want; default 600).
set -euo pipefail

usage() {
    echo "usage: $0 CLIENT OUTPUT.png [-- CLIENT_ARGS...]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
client=$1
output=$2
shift 2
if [ $# -gt 0 ]; then
    [ "$1" = "--" ] || usage
    shift
fi

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "screenshot: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done
if [ ! -x "$client" ]; then
    echo "screenshot: no client executable at $client" >&2
    exit 1
fi
client=$(realpath "$client")
output_dir=$(dirname "$output")
mkdir -p "$output_dir"
output="$(realpath "$output_dir")/$(basename "$output")"

wait_seconds=${WAIT_SECONDS:-60}
settle_seconds=${SETTLE_SECONDS:-4}
min_width=${MIN_WIDTH:-600}

own_workdir=""
workdir=${WORKDIR:-}
if [ -z "$workdir" ]; then
    workdir=$(mktemp -d)
    own_workdir=$workdir
fi

xvfb_pid=""
client_pid=""
cleanup() {
    if [ -n "$client_pid" ]; then
        kill "$client_pid" 2>/dev/null || true
        wait "$client_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    if [ -n "$own_workdir" ]; then
        rm -rf "$own_workdir"
    fi
    rm -f "$display_file"
}
display_file=$(mktemp)
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number, so two runs at the
# same time never race for one.
Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 100); do
    number=$(tr -d '[:space:]' <"$display_file")
    if [ -n "$number" ] && [ -e "/tmp/.X11-unix/X$number" ]; then
        display=":$number"
        break
    fi
    sleep 0.1
done
if [ -z "$display" ]; then
    echo "screenshot: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=$display
export QT_QPA_PLATFORM=xcb
# The web engine's sandbox refuses to run as root.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

(cd "$workdir" && exec "$client" "$@") &
client_pid=$!

window=""
deadline=$((SECONDS + wait_seconds))
while [ -z "$window" ] && [ $SECONDS -lt $deadline ]; do
    if ! kill -0 "$client_pid" 2>/dev/null; then
        echo "screenshot: the client ended before showing its window" >&2
        exit 1
    fi
    for id in $(xdotool search --onlyvisible --pid "$client_pid" 2>/dev/null || true); do
        # The status window may be gone between the search and this question.
        width=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n 's/^WIDTH=//p' || true)
        if [ -n "$width" ] && [ "$width" -ge "$min_width" ]; then
            window=$id
            break
        fi
    done
    [ -n "$window" ] || sleep 0.2
done
if [ -z "$window" ]; then
    echo "screenshot: no window of the client within ${wait_seconds}s" >&2
    exit 1
fi

sleep "$settle_seconds"
if ! kill -0 "$client_pid" 2>/dev/null; then
    echo "screenshot: the client ended before the shot" >&2
    exit 1
fi
import -window "$window" "$output"
echo "$output"
