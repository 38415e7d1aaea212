#!/usr/bin/env bash
# Builds the benchmark programs into build-bench/ and runs them under Wine.
#   scripts/bench.sh [program...]     (default: every benchmark)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BENCH_DIR:-$root/build-bench}
"$root/scripts/deps.sh" --bench
CADRELS_BUILD_DIR=$build "$root/scripts/build.sh" -DCADRELS_BUILD_BENCH=ON -DCADRELS_BUILD_TESTS=OFF
programs=("$@")
if [ ${#programs[@]} -eq 0 ]; then
    programs=(json_bench frame_time_bench dock_bench idle_bench undo_property_bench cadrel_bench sorting_bench)
fi
env=$root/tests/harness/wine-env.sh
export CADRELS_WINE_ENV=bench
export CADRELS_EXE=$build/bin/Cadrels.exe
"$env" start "$build"
trap '"$env" stop "$build"' EXIT
for program in "${programs[@]}"; do
    echo "== $program"
    "$env" run "$build" 900 "$build/bin/$program.exe"
done
