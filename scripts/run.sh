#!/usr/bin/env bash
# Builds Cadrels and starts it under Wine: in a Wine virtual desktop on
# $DISPLAY when one is set, otherwise inside a private Xvfb. A few seconds
# after start-up a screenshot of the desktop is left in build/screenshot.png.
# Cadrels keeps running until it quits or Ctrl+C is pressed.
#   scripts/run.sh [--for <seconds>] [Cadrels arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BUILD_DIR:-$root/build}
seconds=
if [ "${1:-}" = --for ]; then
    seconds=${2:?seconds}
    shift 2
fi

"$root/scripts/deps.sh"
"$root/scripts/build.sh"

export CADRELS_WINE_ENV=run
if [ -n "${DISPLAY:-}" ]; then
    export CADRELS_USE_DISPLAY=1
fi
env=$root/tests/harness/wine-env.sh
"$env" start "$build"
trap '"$env" stop "$build"' EXIT INT TERM

# A fresh prefix has empty folders; the first-run cadrels show the Desktop,
# Downloads and Documents, so give each a few files to show. Folders that
# already hold something are left as they are.
profile=$build/wineprefix-run/drive_c/users/$(id -un)
# A small gradient PNG, so that a thumbnail shows.
picture() {
    python3 - "$1" <<'PY'
import struct, sys, zlib
side = 64
rows = b"".join(b"\0" + bytes(v for x in range(side) for v in (255, 120 + y * 2, 40 + x)) for y in range(side))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
PY
}
seed() {
    local folder=$profile/$1
    shift
    if [ -d "$folder" ] && [ -z "$(ls -A "$folder")" ]; then
        for name in "$@"; do
            case $name in
            */) mkdir -p "$folder/$name" ;;
            *.png) picture "$folder/$name" ;;
            *) printf 'Cadrels sample file: %s\n' "$name" >"$folder/$name" ;;
            esac
        done
    fi
}
seed Desktop "Notes.txt" "Budget 2026.csv" "Photos/" "Projet.docx" "Liste de courses.txt" "Coucher de soleil.png"
seed Downloads "setup-tool.exe" "Rapport annuel.pdf" "archive.zip" "image.png"
seed Documents "Factures/" "Lettre.odt" "CV.pdf" "Recettes.txt"

log=$build/wine-env-run/logs/Cadrels.log
layout=$build/wineprefix-run/drive_c/users/$(id -un)/AppData/Local/Cadrels/layout.json
# This prefix shows the dock: "showDock" is set in the layout before Cadrels
# reads it (replaced whole, like Cadrels writes it, so a stop halfway leaves
# the old file).
show_dock() {
    python3 - "$layout" <<'PY'
import json, os, sys
path = sys.argv[1]
with open(path, encoding="utf-8-sig") as f:
    layout = json.load(f)
if layout.get("showDock") != 1:
    layout["showDock"] = 1
    with open(path + ".run-tmp", "w", encoding="utf-8") as f:
        json.dump(layout, f, ensure_ascii=False, indent=2)
    os.replace(path + ".run-tmp", path)
PY
}
# Cadrels writes its layout once start-up is done; a fresh prefix takes longer.
start_cadrels() {
    local started
    started=$(date +%s)
    pid=$("$env" spawn "$build" "$log" "$build/bin/Cadrels.exe" "$@")
    for _ in $(seq 1 120); do
        if [ -f "$layout" ] && [ "$(stat -c %Y "$layout")" -ge "$started" ]; then
            break
        fi
        sleep 0.5
    done
}
if [ ! -f "$layout" ]; then
    # A fresh prefix: the first start makes the default cadrels and their
    # layout; it is then ended and Cadrels starts again on that layout.
    start_cadrels "$@"
    sleep 2
    kill "$pid" 2>/dev/null || true
    # Gone before the next start, which would otherwise only hand its
    # arguments to this one.
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
fi
if [ -f "$layout" ]; then
    show_dock
fi
start_cadrels "$@"
sleep 4
# Unpinned cadrels start rolled up; the pointer rests on the first one's
# title bar so that the screenshot shows what it lists.
if command -v xdotool >/dev/null; then
    read -r width height < <("$env" shell "$build" xdotool getdisplaygeometry)
    "$env" shell "$build" xdotool mousemove $((width * 18 / 100)) $(((height - 20) * 6 / 100 + 15))
    sleep 2
fi
"$env" shell "$build" import -window root "$build/screenshot.png"
echo "Cadrels is running (Wine pid $pid). Screenshot: $build/screenshot.png"

if [ -n "$seconds" ]; then
    sleep "$seconds"
else
    echo "Press Ctrl+C to stop."
    while kill -0 "$pid" 2>/dev/null; do
        sleep 1
    done
fi
