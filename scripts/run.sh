#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORSA_TESTS=OFF -DQUORSA_BENCH=OFF
exec build/app/plan-backtest --periods 3 resources/sample-draws.txt
