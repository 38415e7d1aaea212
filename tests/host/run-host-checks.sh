#!/usr/bin/env bash
# Builds the code that needs no window for the host under AddressSanitizer and
# UBSan and runs its tests there.
#   tests/host/run-host-checks.sh <build dir> [--build-only]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build dir}/host-sanitizers
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$(cd "$here/../.." && pwd)
fi
mkdir -p "$build"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc "${launcher[@]}" \
        >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
fi
cmake --build "$build" >"$build/build.log" 2>&1 || { cat "$build/build.log"; exit 1; }
[ "${2:-}" = --build-only ] && exit 0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/host_tests" --gtest_brief=1
