#!/usr/bin/env bash
# Installs what building, running and testing Cadrels need on Debian, and only
# what is missing. Runs as root, or through sudo when it is available.
#   scripts/deps.sh            build, run and test
#   scripts/deps.sh --bench    also the libraries the benchmarks compare against
#   scripts/deps.sh --wine10   also debootstrap, which scripts/wine10.sh needs
set -euo pipefail

packages=(
    cmake ninja-build g++ g++-mingw-w64-x86-64-posix
    wine wine64 xvfb xauth imagemagick googletest locales
    fonts-wine fonts-noto-core fonts-noto-cjk
    python3 openssl xdotool nsis
)
if [ "${1:-}" = --bench ]; then
    packages+=(nlohmann-json3-dev rapidjson-dev)
fi
if [ "${1:-}" = --wine10 ]; then
    packages+=(debootstrap)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
sudo=
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; then
        $sudo apt-get update -q
        $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
fi

# Wine takes the interface language from LC_ALL, and only from a locale the
# host has generated: the tests run in French and, for the first-start
# language, in English.
wanted_locales=(fr_FR.UTF-8 en_US.UTF-8)
generate=0
for wanted in "${wanted_locales[@]}"; do
    short=$(echo "$wanted" | sed 's/UTF-8/utf8/')
    if ! locale -a 2>/dev/null | grep -qx "$short"; then
        generate=1
        if ! grep -q "^$wanted UTF-8" /etc/locale.gen 2>/dev/null; then
            echo "$wanted UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
        fi
    fi
done
if [ $generate = 1 ]; then
    $sudo locale-gen >/dev/null
fi
