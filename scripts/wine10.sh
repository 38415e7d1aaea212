#!/usr/bin/env bash
# The second test lane: chosen test programs, already cross-built into the
# build folder, run under Wine 10 (Debian 13's packages), where the shell's
# file operation, Direct2D's SVG documents and the UI Automation client exist
# that Wine 8 lacks. Wine 10 lives in a minimal Debian 13 chroot under the
# build folder, made once with debootstrap from the mirror this machine's apt
# uses and kept between runs; the build folder is bind-mounted inside at the
# same path, so the programs and tests/harness/wine-env.sh run unchanged.
#
#   scripts/wine10.sh                 make the chroot when missing, run the lane
#   scripts/wine10.sh setup           only make the chroot when missing
#   scripts/wine10.sh run <timeout s> <program.exe> [args...]
#                                     one program in the lane's environment
#   scripts/wine10.sh shell <command...>
#                                     a command inside the chroot, mounts in place
#
# Needs root (mount, chroot). The downloaded packages are kept in
# $CADRELS_WINE10_CACHE (default /var/cache/cadrels-wine10), outside the build
# folder, so another clone on the same machine sets up faster.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CADRELS_BUILD_DIR:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
chroot_dir=$build/wine10-root
ready_marker=.cadrels-wine10-ready
cache=${CADRELS_WINE10_CACHE:-/var/cache/cadrels-wine10}
suite=trixie
chroot_packages=(wine wine64 xvfb xauth locales fonts-wine fonts-noto-core)
# Displays of its own, apart from the main suite's (wine-env.sh starts at :91).
first_display=200

log() { echo "[wine10] $*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
    log "needs root (debootstrap, mount, chroot): run it as root or through sudo"
    exit 2
fi

# The Debian archive this machine's apt reads (not its security archive),
# from the one-line or the deb822 source lists.
debian_mirror() {
    local file uri=
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        case $file in
        *.sources) sed -n 's/^URIs:[[:space:]]*//p' "$file" | tr ' ' '\n' ;;
        *) sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' "$file" ;;
        esac
    done | grep -E '^(https?|file):.*/debian/?$' | head -n1 || true
}

# Every mount point at or below $1, deepest first.
mounts_below() {
    awk -v base="$1" '$5 == base || index($5, base "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

unmount_below() {
    local point
    for point in $(mounts_below "$1"); do
        umount "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || log "could not unmount $point"
    done
    if [ -n "$(mounts_below "$1")" ]; then
        log "mounts are left below $1"
        return 1
    fi
}

bind() {
    mkdir -p "$2"
    mount --bind "$1" "$2"
    if [ "${3:-}" = ro ]; then
        mount -o remount,bind,ro "$2"
    fi
}

mount_system() {
    local target=$1
    mount -t proc proc "$target/proc"
    bind /dev "$target/dev"
    bind /dev/pts "$target/dev/pts"
    bind /dev/shm "$target/dev/shm"
}

in_chroot() {
    local target=$1
    shift
    chroot "$target" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/lib/wine "$@"
}

setup() {
    if [ -f "$chroot_dir/$ready_marker" ]; then
        return 0
    fi
    local started=$SECONDS
    "$root/scripts/deps.sh" --wine10
    local partial=$chroot_dir.partial
    unmount_below "$partial"
    unmount_below "$chroot_dir"
    rm -rf "$partial" "$chroot_dir"
    mkdir -p "$cache/debootstrap" "$cache/apt/partial"
    local mirror
    mirror=$(debian_mirror)
    mirror=${mirror:-http://deb.debian.org/debian}
    log "making the Debian 13 chroot $chroot_dir from $mirror (once)"
    trap 'unmount_below "$partial"' EXIT
    debootstrap --variant=minbase --cache-dir="$cache/debootstrap" "$suite" "$partial" "$mirror" \
        >"$build/wine10-debootstrap.log" 2>&1 || {
        tail -n 20 "$build/wine10-debootstrap.log" >&2
        exit 1
    }
    mount_system "$partial"
    bind "$cache/apt" "$partial/var/cache/apt/archives"
    # The packages stay in the shared cache for the next chroot.
    echo 'Binary::apt::APT::Keep-Downloaded-Packages "true";' >"$partial/etc/apt/apt.conf.d/01keep-debs"
    in_chroot "$partial" apt-get update -q >"$build/wine10-apt.log" 2>&1
    in_chroot "$partial" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${chroot_packages[@]}" >>"$build/wine10-apt.log" 2>&1 || {
        tail -n 20 "$build/wine10-apt.log" >&2
        exit 1
    }
    # Wine takes the interface language from LC_ALL, and only from a
    # generated locale: the tests run in French and English.
    printf 'fr_FR.UTF-8 UTF-8\nen_US.UTF-8 UTF-8\n' >"$partial/etc/locale.gen"
    in_chroot "$partial" locale-gen >>"$build/wine10-apt.log" 2>&1
    in_chroot "$partial" wine --version >"$partial/$ready_marker" 2>>"$build/wine10-apt.log"
    unmount_below "$partial"
    trap - EXIT
    mv "$partial" "$chroot_dir"
    log "chroot ready in $((SECONDS - started)) s: $(cat "$chroot_dir/$ready_marker")"
}

# The mounts a run needs: the system's, the X sockets (the lane's Xvfb and
# the check for free display numbers), the sources read-only (the harness)
# and the build folder.
enter() {
    mkdir -p /tmp/.X11-unix
    chmod 1777 /tmp/.X11-unix
    trap leave EXIT
    mount_system "$chroot_dir"
    bind /tmp/.X11-unix "$chroot_dir/tmp/.X11-unix"
    bind "$root" "$chroot_dir$root" ro
    bind "$build" "$chroot_dir$build"
}

leave() {
    lane_env -- stop >/dev/null 2>&1 || true
    unmount_below "$chroot_dir"
}

# wine-env.sh inside the chroot, with the lane's own environment name,
# prefix (build/wineprefix-wine10) and display numbers:
#   lane_env [VAR=value...] -- <command> [arguments...]
lane_env() {
    local assignments=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        assignments+=("$1")
        shift
    done
    shift
    local command=$1
    shift
    in_chroot "$chroot_dir" CADRELS_WINE_ENV=wine10 CADRELS_DISPLAY_FIRST=$first_display \
        CADRELS_EXE="$build/bin/Cadrels.exe" CADRELS_SERVICE_ORIGIN=https://localhost:9 \
        CADRELS_LC_ALL=fr_FR.UTF-8 "${assignments[@]}" bash "$root/tests/harness/wine-env.sh" "$command" "$build" "$@"
}

# What the lane runs, once each: a label, a timeout in seconds, the
# environment ("-" for none), the program and its arguments. The move tests
# insist on the shell's engine (CADRELS_REQUIRE_SHELL_ENGINE=1); "closing"
# renames a file through the engine and closes cadrels, their content moved
# to the Desktop or recycled; "drops" drags files into, out of and between
# cadrels, each drop moved by the shell's engine. The other desktop
# scenarios stay on Wine 8: Wine 10's desktop behaves differently.
lane_programs=(
    "moves|300|CADRELS_REQUIRE_SHELL_ENGINE=1|fileops_tests.exe|--gtest_filter=*Move*:*Shell*:*Undo*:Reentrancy.*"
    "filing|120|TZ=UTC-2|sorting_tests.exe|--gtest_filter=FilingPass*"
    "svg-icons|240|-|gfx_icon_tests.exe|--gtest_filter=SvgDocumentRender.*"
    "automation|120|-|automation_e2e.exe|"
    "sorting|300|-|app_e2e.exe|--gtest_filter=Sorting.*"
    "closing|300|-|cadrel_menus_e2e.exe|--gtest_filter=CadrelMenus.ItemMenuFileRenameAndClosingCadrels"
    "drops|300|-|cadrel_content_e2e.exe|--gtest_filter=CadrelDragDrop.*"
)

# "passed failed skipped" from a GoogleTest log (Windows line ends).
counts() {
    local passed failed skipped text
    text=$(tr -d '\r' <"$1")
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' <<<"$text" | tail -n1)
    failed=$(sed -n 's/^ *\([0-9]*\) FAILED TESTS\?$/\1/p' <<<"$text" | tail -n1)
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below:$/\1/p' <<<"$text" | tail -n1)
    echo "${passed:-0} ${failed:-0} ${skipped:-0}"
}

lane() {
    local started=$SECONDS entry label timeout environment program arguments
    setup
    log "set-up: $((SECONDS - started)) s"
    for entry in "${lane_programs[@]}"; do
        IFS='|' read -r label timeout environment program arguments <<<"$entry"
        if [ ! -f "$build/bin/$program" ]; then
            log "$build/bin/$program is missing: build first (scripts/build.sh)"
            exit 2
        fi
    done
    local results=$build/wine10-results
    rm -rf "$results"
    mkdir -p "$results"
    local running=$SECONDS
    enter
    lane_env -- start >"$results/environment.log" 2>&1 || {
        cat "$results/environment.log" >&2
        exit 1
    }
    local failures=0 code passed failed skipped
    for entry in "${lane_programs[@]}"; do
        IFS='|' read -r label timeout environment program arguments <<<"$entry"
        [ "$environment" = - ] && environment=
        local one=$SECONDS
        # shellcheck disable=SC2086
        code=0
        lane_env $environment -- run "$timeout" "$build/bin/$program" $arguments >"$results/$label.log" 2>&1 || code=$?
        read -r passed failed skipped < <(counts "$results/$label.log")
        if [ $code -ne 0 ] || [ "$passed" = 0 ]; then
            failures=$((failures + 1))
            log "FAILED $label ($program, exit $code, $((SECONDS - one)) s): $passed passed, $failed failed, $skipped skipped"
            # A program that crashed leaves no failure lines to show; the
            # lane still runs the others.
            grep -E '^\[  FAILED  \]|Failure$|^\[  SKIPPED \] .*\(' "$results/$label.log" | head -n 20 >&2 || true
        else
            log "ok $label ($((SECONDS - one)) s): $passed passed, $failed failed, $skipped skipped"
        fi
    done
    leave
    trap - EXIT
    log "run: $((SECONDS - running)) s, $failures of ${#lane_programs[@]} programs failed; logs in $results"
    [ $failures -eq 0 ]
}

command=${1:-lane}
[ $# -gt 0 ] && shift
case $command in
lane) lane ;;
setup) setup ;;
run)
    setup
    enter
    lane_env -- start >/dev/null
    lane_env -- run "$@"
    ;;
shell)
    setup
    enter
    in_chroot "$chroot_dir" "$@"
    ;;
*)
    log "unknown command $command"
    exit 2
    ;;
esac
