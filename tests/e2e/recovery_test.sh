#!/usr/bin/env bash
# Crash recovery on a private X server: types into the real program, kills it with SIGKILL three
# seconds later, starts it again, presses Enter at the recovery question and reads the editor's
# text back through the clipboard.
#
#   recovery_test.sh PROGRAM_FOLDER
source "$(dirname "$0")/../lib.sh"
require "xvfb, xdotool and xclip" Xvfb xdotool xclip
start_display
use_home
copy_program "$1"
export QT_QPA_PLATFORM=xcb
title='^Tonquill from Marrowfen$'

echo "== first start: type, then SIGKILL 3 s later"
start "$work/program/tonquill" >>"$work/program.log" 2>&1
window=$(wait_for_windows "$title" | head -n 1)
timeout 5 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
xdotool type --delay 120 "Ni3 ha3o"
sleep 3
kill -KILL "$started"
ls "$XDG_STATE_HOME/tonquill"/*.txt >/dev/null 2>&1 || fail "no recovery file was written"

echo "== second start: Enter at the question"
start "$work/program/tonquill" >>"$work/program.log" 2>&1
# The question is the smaller of the two windows.
question=$(for id in $(wait_for_windows "$title" 2); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$((WIDTH * HEIGHT)) $id"
done | sort -n | head -n 1 | cut -d' ' -f2)
timeout 5 xdotool windowfocus --sync "$question" || fail "the question did not take the focus"
xdotool key Return
# Restored text is unsaved, so the title carries the modified mark.
window=$(wait_for_windows '^Tonquill from Marrowfen\*$' | head -n 1)
timeout 5 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
xdotool key --delay 40 ctrl+a ctrl+c
printf 'N\xc3\xad h\xc3\xa2o' >"$work/expected"
read_back() { timeout 5 xclip -o -selection clipboard >"$work/read" 2>/dev/null; }
wait_for 10 read_back
cmp -s "$work/read" "$work/expected" ||
    fail "restored text: '$(cat "$work/read")', expected '$(cat "$work/expected")'"
echo "PASS: the text typed before SIGKILL is back"
