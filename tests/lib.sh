# Shared by the integration tests: a work folder that goes at exit with everything started, a
# private X server, a home of the test's own, waiting for windows. Source it, then call what you
# need; `fail` and `skip` end the test (77 is CTest's skip code).
set -uo pipefail
export LC_ALL=C.UTF-8

work=$(mktemp -d)
pids=()
# A sanitizer build runs several times slower; it stretches every bound by this factor.
wait_scale=${TONQUILL_WAIT_SCALE:-1}

# A test with more to undo defines before_cleanup, which gets the exit status.
stop_started() {
    local status=$? pid
    declare -F before_cleanup >/dev/null && { before_cleanup $status || true; }
    for pid in "${pids[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap stop_started EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/program.log" ] && { echo "--- program output:" >&2; tail -n 20 "$work/program.log" >&2; }
    exit 1
}

skip() {
    echo "SKIP: $*"
    exit 77
}

# Skips unless every command named is there; the last word of the message names the packages.
require() {
    local packages=$1 tool
    shift
    for tool in "$@"; do
        command -v "$tool" >/dev/null || skip "$tool is missing (Debian packages $packages)"
    done
}

# Runs "$@" in the background, to be stopped at exit; its id is in $started.
start() {
    "$@" &
    started=$!
    pids+=("$started")
}

# Waits until the command succeeds, for at most $1 seconds (stretched by wait_scale).
wait_for() {
    local deadline=$((SECONDS + $1 * wait_scale))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# A private X server that never resets between clients; exports DISPLAY.
start_display() {
    require xvfb Xvfb
    start Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp \
        3>"$work/display" 2>"$work/xvfb.log"
    wait_for 10 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=:$(head -n 1 "$work/display")
}

# A home of the test's own, with every XDG folder inside it.
use_home() {
    local home=${1:-$work/home}
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache \
        XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run XDG_STATE_HOME=$home/.local/state
}

# The program folder $1 copied to $work/program with a marker saying the font is installed.
copy_program() {
    local file
    mkdir -p "$work/program"
    for file in tonquill pyserif.ttf zhongwen.gif; do
        cp "$1/$file" "$work/program/" || fail "cannot copy $file"
    done
    printf '"Ja"\r\n' >"$work/program/font.log"
}

# Prints the ids of the visible windows titled as the regular expression $1, once there are at
# least ${2:-1} of them within 20 s.
wait_for_windows() {
    local count=${2:-1}
    windows_up() { [ "$(xdotool search --onlyvisible --name "$1" | wc -l)" -ge "$count" ]; }
    wait_for 20 windows_up "$1" || fail "$count window(s) titled $1 did not appear within 20 s"
    xdotool search --onlyvisible --name "$1"
}
