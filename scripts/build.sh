#!/usr/bin/env bash
# Configures and builds one build folder: build.sh DIR [--target T] [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
target=()
if [ "${1:-}" = "--target" ]; then
    target=(--target "$2")
    shift 2
fi
cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
cmake --build "$root/$dir" --parallel "$(nproc)" "${target[@]}"
