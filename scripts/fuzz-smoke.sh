#!/usr/bin/env bash
# Runs every fuzz target of a build folder for a few seconds from its seed
# corpus (tests/fuzz/corpus/<name>/); any finding fails the run.
#   fuzz-smoke.sh BUILD_DIR [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
seconds=${2:-5}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
targets=("$build"/tests/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz-smoke: no fuzz targets in $build/tests/fuzz" >&2
    exit 1
fi

failed=0
for exe in "${targets[@]}"; do
    [ -x "$exe" ] || continue
    name=$(basename "$exe")
    name=${name#fuzz_}
    seeds="$root/tests/fuzz/corpus/$name"
    mkdir -p "$work/$name"
    corpora=("$work/$name")
    [ -d "$seeds" ] && corpora+=("$seeds")
    # New inputs go to the scratch corpus, never into the repository.
    if "$exe" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/$name-" -print_final_stats=1 "${corpora[@]}" \
        >"$work/$name.log" 2>&1; then
        runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$' || true)
        echo "fuzz-smoke: $name ok (${runs:-?} runs in ${seconds}s)"
    else
        echo "fuzz-smoke: $name FAILED" >&2
        tail -n 40 "$work/$name.log" >&2
        for artifact in "$work/$name-"*; do
            echo "  input: $(od -An -c "$artifact" | head -c 400)" >&2
        done
        failed=1
    fi
done
exit $failed
