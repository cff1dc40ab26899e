#!/usr/bin/env bash
# Crash recovery on a private X server: types into the real program, kills it with SIGKILL three
# seconds later, starts it again, presses Enter at the recovery question and reads the editor's
# text back through the clipboard.
#   recovery_test.sh PROGRAM_FOLDER
source "$(dirname "$0")/../lib.sh"
require "xvfb, xdotool and xclip" Xvfb xdotool xclip
start_display
title='^Tonquill from Marrowfen$'
run_program "$1"
focus "$(wait_for_windows "$title" | head -n 1)"
xdotool type --delay 120 "Ni3 ha3o"
sleep 3
kill -KILL "$app"
ls "$XDG_STATE_HOME/tonquill"/*.txt >/dev/null 2>&1 || fail "no recovery file was written"

run_program "$1"
# The question is the smaller of the two windows.
focus "$(for id in $(wait_for_windows "$title" 2); do
    eval "$(xdotool getwindowgeometry --shell "$id")" && echo "$((WIDTH * HEIGHT)) $id"
done | sort -n | head -n 1 | cut -d' ' -f2)"
xdotool key Return
# Restored text is unsaved, so the title carries the modified mark.
focus "$(wait_for_windows '^Tonquill from Marrowfen\*$' | head -n 1)"
xdotool key --delay 40 ctrl+a ctrl+c
printf 'N\xc3\xad h\xc3\xa2o' >"$work/expected"
wait_for 10 eval 'timeout 5 xclip -o -selection clipboard >"$work/read" 2>/dev/null'
cmp -s "$work/read" "$work/expected" || fail "restored text: '$(cat "$work/read")', expected '$(cat "$work/expected")'"
echo "PASS: the text typed before SIGKILL is back"
