#!/usr/bin/env bash
# Configures (once) and builds Cadrels.exe and the test programs into build/.
#   scripts/build.sh [extra CMake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BUILD_DIR:-$root/build}

launcher=()
if command -v ccache >/dev/null 2>&1; then
    # Worktrees and clean clones share the cache; the precompiled header needs
    # the sloppiness settings or every object would miss.
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$root
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi
if [ ! -f "$build/build.ninja" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@"
fi
cmake --build "$build"
