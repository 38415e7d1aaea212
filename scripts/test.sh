#!/usr/bin/env bash
# Builds Cadrels and runs every test through CTest under Wine and Xvfb.
#   scripts/test.sh [ctest options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
"$root/scripts/build.sh"
# The sanitizer build of the pure code, before the suite so that its compile
# does not compete with the timing-sensitive Wine tests.
"$root/tests/host/run-host-checks.sh" "$build" --build-only
cd "$build"
# Every program runs once: an intermittent failure is a fault to find, in the
# test or in the program, and a rerun would hide it. Programs that share the
# desktop, the pointer or the running instance hold CTest resource locks, so
# -j2 never runs two of them side by side.
exec ctest --output-on-failure -j2 "$@"
