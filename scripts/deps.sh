#!/usr/bin/env bash
# Installs what building, running and testing Cadrels need on Debian, and only
# what is missing. Runs as root, or through sudo when it is available.
#   scripts/deps.sh            build, run and test
#   scripts/deps.sh --bench    also the libraries the benchmarks compare against
set -euo pipefail

packages=(
    cmake ninja-build g++-mingw-w64-x86-64-posix
    wine wine64 xvfb xauth imagemagick googletest
    fonts-wine fonts-noto-core fonts-noto-cjk
    python3 openssl
)
if [ "${1:-}" = --bench ]; then
    packages+=(nlohmann-json3-dev rapidjson-dev)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
