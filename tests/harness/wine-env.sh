#!/usr/bin/env bash
# The Wine environment Cadrels runs and is tested in: a project-local prefix
# (Windows 10, its user folders real folders inside the prefix so nothing can
# reach the host's home), one persistent wineserver, one X server and one
# long-lived Wine virtual desktop named "shell" (it has a taskbar and tray).
#
#   wine-env.sh start  <build dir>     prepare the prefix, start the servers
#   wine-env.sh stop   <build dir>     end every Wine process and the X server
#   wine-env.sh run    <build dir> <timeout s> <program.exe> [args...]
#                                      run a program, print its output, exit with its code
#   wine-env.sh spawn  <build dir> <log file> <program.exe> [args...]
#                                      start a program in the background, print its pid
#   wine-env.sh shell  <build dir> <command...>
#                                      run a host command with the environment set
#
# CADRELS_WINE_ENV names the environment (default "test"); CADRELS_USE_DISPLAY=1
# uses the current $DISPLAY instead of a private Xvfb; CADRELS_DISPLAY_FIRST is
# the first display number tried for it (default 91).
set -uo pipefail

command=${1:?command}
build=$(cd "${2:?build dir}" && pwd)
shift 2

name=${CADRELS_WINE_ENV:-test}
envdir=$build/wine-env-$name
statefile=$envdir/state
desktop_size=${CADRELS_DESKTOP_SIZE:-1280x800}

export WINEPREFIX=$build/wineprefix-$name
export WINEDEBUG=-all
export WINEARCH=win64
# The interface language Wine reports (scripts/deps.sh generates the locale).
# French by default, the program's own default; a test may start a program
# with another LC_ALL in its environment.
export LC_ALL=${CADRELS_LC_ALL:-fr_FR.UTF-8}
# winedbg: an unimplemented call must end the process, not hang it in the debugger.
# winemenubuilder: shortcuts made by tests must not become host menu entries.
# mscoree, mshtml: no Mono or Gecko install prompts.
export WINEDLLOVERRIDES="winedbg.exe=d;winemenubuilder.exe=d;mscoree=d;mshtml=d"

mkdir -p "$envdir/logs"

log() { echo "[wine-env] $*" >&2; }

load_state() {
    if [ ! -f "$statefile" ]; then
        log "not started: run '$0 start $build' first"
        exit 2
    fi
    # shellcheck disable=SC1090
    . "$statefile"
    export DISPLAY
}

start_x() {
    if [ "${CADRELS_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        echo "DISPLAY=$DISPLAY" >>"$statefile"
        echo "XVFB_PID=" >>"$statefile"
        return
    fi
    local n first=${CADRELS_DISPLAY_FIRST:-91}
    for n in $(seq "$first" $((first + 69))); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 "${desktop_size}x24" -nolisten tcp -ac >"$envdir/xvfb.log" 2>&1 </dev/null &
    local pid=$!
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
    echo "DISPLAY=:$n" >>"$statefile"
    echo "XVFB_PID=$pid" >>"$statefile"
    export DISPLAY=":$n"
}

prepare_prefix() {
    local marker=$WINEPREFIX/.cadrels-prefix
    [ -f "$marker" ] && return 0
    log "creating the Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    wineboot --init >"$envdir/wineboot.log" 2>&1 </dev/null
    wine winecfg -v win10 >>"$envdir/wineboot.log" 2>&1 </dev/null
    local user users
    user=$(id -un)
    users=$WINEPREFIX/drive_c/users/$user
    for folder in Desktop Documents Downloads Pictures Music Videos Templates; do
        if [ -L "$users/$folder" ]; then
            rm -f "$users/$folder"
        fi
        mkdir -p "$users/$folder"
    done
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >>"$envdir/wineboot.log" 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$desktop_size" /f \
        >>"$envdir/wineboot.log" 2>&1 </dev/null
    touch "$marker"
}

# Wine cannot make junctions or directory links from inside, but reports a
# host symbolic link to a directory as one (a reparse point): the harness test
# of RemoveTree deletes a tree holding such a link, and the folder it points
# to must survive.
make_link_fixture() {
    local fixture=$WINEPREFIX/drive_c/link-fixture
    rm -rf "$fixture"
    mkdir -p "$fixture/outside" "$fixture/tree/inner"
    printf precious >"$fixture/outside/keep.txt"
    printf mine >"$fixture/tree/inner/mine.txt"
    ln -s ../../outside "$fixture/tree/inner/link"
}

# Drive D: for the tests that move between two volumes. Its folder is on
# another host file system where there is one (/dev/shm), so that a move
# from C: to D: is a copy and a delete as between two disks; otherwise it is
# a folder of its own beside the prefix, still a drive of its own to Windows.
make_second_volume() {
    local target
    target=/dev/shm/cadrels-volume-$(printf %s "$WINEPREFIX" | md5sum | cut -c1-12)
    if ! mkdir -p "$target" 2>/dev/null || [ "$(stat -c %d "$target")" = "$(stat -c %d "$WINEPREFIX")" ]; then
        target=$envdir/second-volume
        mkdir -p "$target"
    fi
    ln -sfn "$target" "$WINEPREFIX/dosdevices/d:"
}

start() {
    if [ -f "$statefile" ]; then
        stop
    fi
    : >"$statefile"
    start_x
    # One server for the whole run; its descriptors must not hold our pipes.
    wineserver -p >/dev/null 2>&1 </dev/null &
    prepare_prefix
    make_link_fixture
    make_second_volume
    wine wineboot >/dev/null 2>&1 </dev/null
    # The virtual desktop stays up as long as this explorer runs, so programs
    # started later join it instead of creating (and tearing down) their own.
    nohup wine explorer "/desktop=shell,$desktop_size" >"$envdir/desktop.log" 2>&1 </dev/null &
    echo "DESKTOP_PID=$!" >>"$statefile"
    # A program started before the desktop is up may end up outside it.
    if [ -x "$build/bin/wait_for_desktop.exe" ]; then
        timeout 60 wine "$build/bin/wait_for_desktop.exe" >/dev/null 2>&1 </dev/null ||
            log "the virtual desktop did not come up"
    else
        sleep 2
    fi
    log "ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

stop() {
    if [ -f "$statefile" ]; then
        # shellcheck disable=SC1090
        . "$statefile"
    fi
    wineserver -k >/dev/null 2>&1 </dev/null
    wineserver -w >/dev/null 2>&1 </dev/null
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -f "$statefile"
    log "stopped"
}

run() {
    load_state
    local timeout=${1:?timeout}
    local program=${2:?program}
    shift 2
    local output
    output="$envdir/logs/$(basename "$program" .exe).log"
    # Output goes to a file: Wine's helper processes inherit descriptors, so a
    # pipe would stay open after the program ends.
    timeout -k 5 "$timeout" wine "$program" "$@" >"$output" 2>&1 </dev/null
    local code=$?
    cat "$output"
    [ $code -eq 124 ] && log "timed out after ${timeout}s: $program"
    return $code
}

spawn() {
    load_state
    local output=${1:?log file}
    local program=${2:?program}
    shift 2
    nohup wine "$program" "$@" >"$output" 2>&1 </dev/null &
    echo $!
}

shell() {
    load_state
    "$@"
}

case $command in
start) start ;;
stop) stop ;;
run) run "$@" ;;
spawn) spawn "$@" ;;
shell) shell "$@" ;;
*)
    log "unknown command $command"
    exit 2
    ;;
esac
