#!/usr/bin/env bash
# Crash recovery on a private Xvfb display: types into the real program, kills it with SIGKILL
# three seconds later, starts it again, presses Enter at the recovery question and reads the
# editor's text back through the clipboard.
#
#   recovery_test.sh PROGRAM_FOLDER
set -uo pipefail

program_folder=$1
skip=77
export LC_ALL=C.UTF-8

for tool in Xvfb xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (Debian packages xvfb, xdotool and xclip)"
        exit $skip
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill -9 "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/program.log" ] && { echo "--- program output:" >&2; tail -n 20 "$work/program.log" >&2; }
    exit 1
}

wait_scale=${TONQUILL_WAIT_SCALE:-1}

Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")

mkdir -p "$work/program" "$work/home/run"
chmod 700 "$work/home/run"
for file in tonquill pyserif.ttf zhongwen.gif; do
    cp "$program_folder/$file" "$work/program/" || fail "cannot copy $file"
done
printf '"Ja"\r\n' >"$work/program/font.log"
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache \
    XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/home/run \
    XDG_STATE_HOME=$work/home/.local/state QT_QPA_PLATFORM=xcb

# Starts the program and prints the ids of its windows named exactly as the title, once there
# are $1 of them: the main window, and the recovery question when one is asked.
start_program() {
    "$work/program/tonquill" >>"$work/program.log" 2>&1 &
    app=$!
    pids+=($app)
    local deadline=$((SECONDS + 20 * wait_scale))
    until [ "$(xdotool search --onlyvisible --name '^Tonquill from Marrowfen$' | wc -l)" -ge "$1" ]; do
        [ $SECONDS -lt $deadline ] || fail "$1 window(s) did not appear within 20 s"
        sleep 0.2
    done
}

echo "== first start: type, then SIGKILL 3 s later"
start_program 1
window=$(xdotool search --onlyvisible --name '^Tonquill from Marrowfen$' | head -n 1)
timeout 5 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
xdotool type --delay 120 "Ni3 ha3o"
sleep 3
kill -KILL "$app"
wait "$app" 2>/dev/null
ls "$XDG_STATE_HOME/tonquill"/*.txt >/dev/null 2>&1 || fail "no recovery file was written"

echo "== second start: Enter at the question"
start_program 2
# The question is the smaller of the two windows.
question=$(for id in $(xdotool search --onlyvisible --name '^Tonquill from Marrowfen$'); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$((WIDTH * HEIGHT)) $id"
done | sort -n | head -n 1 | cut -d' ' -f2)
timeout 5 xdotool windowfocus --sync "$question" || fail "the question did not take the focus"
xdotool key Return
# Restored text is unsaved, so the title carries the modified mark.
window=$(timeout $((20 * wait_scale)) xdotool search --sync --onlyvisible \
    --name '^Tonquill from Marrowfen\*$' | head -n 1)
[ -n "$window" ] || fail "the window does not show restored, unsaved text"
timeout 5 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
xdotool key --delay 40 ctrl+a ctrl+c
printf 'N\xc3\xad h\xc3\xa2o' >"$work/expected"
for _ in $(seq $((50 * wait_scale))); do
    timeout 5 xclip -o -selection clipboard >"$work/read" 2>/dev/null && break
    sleep 0.2
done
cmp -s "$work/read" "$work/expected" ||
    fail "restored text: '$(cat "$work/read")', expected '$(cat "$work/expected")'"
echo "PASS: the text typed before SIGKILL is back"
