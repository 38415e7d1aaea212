#!/usr/bin/env bash
# Builds Cadrels and its installer, and writes what a release publishes:
#   scripts/package.sh [--url https://.../Cadrels-Setup-<version>.exe] [--notes TEXT]
# Leaves in build/package/ (CADRELS_BUILD_DIR is honoured):
#   Cadrels-Setup-<version>.exe   the per-user installer (makensis)
#   update.json                   the update manifest, to sign with scripts/sign-manifest.py
# and the winget manifests in packaging/winget/<version>/. The version is the
# project() version in CMakeLists.txt; the address defaults to a placeholder
# to be replaced by where the installer is published.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BUILD_DIR:-$root/build}

version=$(sed -n 's/^project(Cadrels VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
url=https://downloads.example.invalid/cadrels/Cadrels-Setup-$version.exe
notes=
while [ $# -gt 0 ]; do
    case $1 in
    --url) url=${2:?}; shift 2 ;;
    --notes) notes=${2:?}; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done

"$root/scripts/build.sh"
installer=$build/package/Cadrels-Setup-$version.exe
if [ ! -f "$installer" ]; then
    echo "no installer at $installer: is makensis installed (scripts/deps.sh)?" >&2
    exit 1
fi
python3 "$root/packaging/release_files.py" --installer "$installer" --version "$version" \
    --url "$url" --notes "$notes" --update-manifest "$build/package/update.json" \
    --winget-dir "$root/packaging/winget"
