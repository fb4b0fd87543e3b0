#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#  1. the full build (GUI included) under ctest;
#  2. everything below the GUI again under AddressSanitizer + UndefinedBehaviorSanitizer;
#  3. a short smoke run of each fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh

bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build && ctest --output-on-failure --timeout 600)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORSA_SANITIZE=ON -DQUORSA_GUI=OFF -DQUORSA_BENCH=OFF
(cd build-asan && ctest --output-on-failure --timeout 600 -LE gui)

if [ -f tests/fuzz/CMakeLists.txt ]; then
    bash scripts/build.sh build-fuzz --target fuzzers -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORSA_FUZZ=ON -DQUORSA_GUI=OFF \
        -DQUORSA_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    bash scripts/fuzz-smoke.sh build-fuzz
fi
