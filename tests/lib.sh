# Shared by the integration tests; `skip` exits with CTest's skip code. A test with more to undo at
# exit defines before_cleanup, given the exit status.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../tools/sandbox.sh"
export LC_ALL=C.UTF-8
work=$(mktemp -d) pids=()
# A sanitizer build runs several times slower; it stretches every bound by this factor.
wait_scale=${TONQUILL_WAIT_SCALE:-1}
stop_started() {
    local status=$? pid
    ! declare -F before_cleanup >/dev/null || before_cleanup $status || true
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap stop_started EXIT
trap 'exit 1' INT TERM HUP
fail() {
    echo "FAIL: $*" >&2
    [ ! -s "$work/program.log" ] || { echo "--- program output:" && tail -n 20 "$work/program.log"; } >&2
    kill -TERM $$ && exit 1 # from a command substitution too
}
skip() { echo "SKIP: $*" && exit 77; }
finish() { [ -z "${1:-}" ] || skip "$1; every other check passed"; echo PASS; }
# Skips unless every command named is there; $1 names the Debian packages.
require() {
    local tool
    for tool in "${@:2}"; do command -v "$tool" >/dev/null || skip "$tool is missing (Debian packages $1)"; done
}
start() { "$@" & started=$! && pids+=("$started"); }
# Waits until the command succeeds, for at most $1 seconds.
wait_for() {
    local deadline=$((SECONDS + $1 * wait_scale))
    until "${@:2}"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.2; done
}
is_done_marker() { [ "$(od -An -tx1 "$1" | tr -d ' \n')" = 224a61220d0a ] || fail "$1 is not the done marker \"Ja\" CR LF"; }
# A private X server and a home with every XDG folder inside (tools/sandbox.sh); the cleanup stops
# the server with the other processes.
start_display() {
    require "xvfb, xdotool and xclip" Xvfb xdotool xclip
    start_private_x "$work" || fail "the private X server did not start"
    pids+=("$private_x_pid")
}
use_home() { sandbox_export "$work/home" || fail "cannot make the private home $work/home"; }
# Starts the installed program $1 from / with an empty environment, a fresh home $2 and the
# settings "${@:3}" for 2 s: it must keep running and copy no tone font into the home.
start_installed() {
    mkdir -p "$2/run" && chmod 700 "$2/run"
    (cd / && exec env -i PATH="$PATH" HOME="$2" XDG_RUNTIME_DIR="$2/run" QT_QPA_PLATFORM=offscreen \
        "${@:3}" timeout 30 "$1") >"$work/start.log" 2>&1 &
    sleep 2
    kill -0 $! 2>/dev/null || fail "the installed program stopped at once: $(cat "$work/start.log")"
    kill $! 2>/dev/null && wait $! 2>/dev/null # timeout passes the signal on to the program
    [ -z "$(find "$2" -name '*.ttf')" ] || fail "the installed program copied its tone font into the home"
}
# Starts a copy of the program folder $1 on the private display, the font marked installed.
run_program() {
    [ -d "$work/program" ] || {
        use_home && mkdir -p "$work/program" && printf '"Ja"\r\n' >"$work/program/font.log"
        cp "$1"/{tonquill,pyserif.ttf,zhongwen.gif} "$work/program/" || fail "cannot copy the program"
    }
    QT_QPA_PLATFORM=xcb start "$work/program/tonquill" >>"$work/program.log" 2>&1
    app=$started
}
focus() { timeout 5 xdotool windowfocus --sync "$1" || fail "the window $1 did not take the focus"; }
# The ids of the visible windows titled as the regular expression $1, once there are ${2:-1}.
wait_for_windows() {
    windows_up() { [ "$(xdotool search --onlyvisible --name "$1" | wc -l)" -ge "${2:-1}" ]; }
    wait_for 20 windows_up "$@" || fail "${2:-1} window(s) titled $1 did not appear within 20 s"
    xdotool search --onlyvisible --name "$1"
}
