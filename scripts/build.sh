#!/usr/bin/env bash
# Configures (once) and builds Cadrels.exe and the test programs into build/.
#   scripts/build.sh [extra CMake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BUILD_DIR:-$root/build}

if [ ! -f "$build/build.ninja" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@"
fi
cmake --build "$build"
