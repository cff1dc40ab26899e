#!/usr/bin/env bash
# The real program on a private X display, driven with xdotool and xclip: bad pastes, an emoji
# between a vowel and a tone digit, bad font sizes, 10 MB of text, then SIGKILL and a restart that
# restores the text. After each step the editor's text is copied out and compared. Last, the
# command line, with Qt's own options and without.
#   end_to_end_test.sh PROGRAM_FOLDER PNG_FILE
source "$(dirname "$0")/../lib.sh"
start_display
title='^Tonquill from Marrowfen$'
run_program "$1"
window=$(wait_for_windows "$title" | head -n 1)
focus "$window"

# x and y in the client area's pixels, below the menu bar (the client area is 266 pixels high).
click_at() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" "$1" $((HEIGHT - 266 + $2)) click 1 && sleep 0.2
}
keys() { xdotool key --delay 40 "$@"; }
# Slower than the 20 ms replacement timer, as a person types.
type_slowly() { xdotool type --delay 120 "$1" && sleep 0.3; }
read_clipboard() { timeout $((30 * wait_scale)) xclip -o -selection clipboard "$@" 2>/dev/null; }
program_owns_clipboard() { read_clipboard -t TARGETS | grep -qx text/plain; }
# xclip keeps the clipboard, offering the one type $1 with the file $2, until another takes it.
own_clipboard() {
    local type=$1
    start xclip -quiet -selection clipboard -t "$1" -i "$2" >/dev/null 2>&1
    offered() { read_clipboard -t TARGETS | grep -qx "$type" && ! program_owns_clipboard; }
    wait_for 30 offered || fail "xclip did not take the clipboard with $2"
}
# The editor's text must be $work/expected. The program's earlier copy gives way to a sentinel
# first (only the program offers text/plain), but not during a paste, which that would cut short.
expect_text() {
    ! program_owns_clipboard || { echo "sentinel $RANDOM$RANDOM" >"$work/sentinel" && own_clipboard UTF8_STRING "$work/sentinel"; }
    click_at 200 130
    keys ctrl+a ctrl+c
    wait_for 60 program_owns_clipboard || fail "no answer: the editor's text was not copied ($1)"
    read_clipboard >"$work/read" || fail "the copied text could not be read ($1)"
    kill -0 "$app" 2>/dev/null || fail "the program ended ($1)"
    cmp "$work/read" "$work/expected" >&2 ||
        fail "wrong text after $1: expected $(wc -c <"$work/expected") bytes, got $(wc -c <"$work/read")"
    keys ctrl+End
}
enter_font_size() {
    click_at 472 73
    keys ctrl+a BackSpace
    [ -z "$1" ] || xdotool type --delay 40 -- "$1"
    keys Return
}

click_at 200 130
type_slowly "ma1"
printf 'm\xc3\xa1' >"$work/expected"
expect_text "typing ma1"
own_clipboard UTF8_STRING "$work/expected"
kill "$started"
wait_for 10 eval '! read_clipboard -t TARGETS >/dev/null' || fail "the clipboard kept an owner"
keys ctrl+v
expect_text "pasting from an empty clipboard"
own_clipboard image/png "$2"
keys ctrl+v
expect_text "pasting a picture"
type_slowly "a😀1"
printf 'a\xf0\x9f\x98\x801' >>"$work/expected"
expect_text "typing a, an emoji and 1"
for size in "" " " "abc" "1e9" "-5" "0" "99999"; do
    enter_font_size "$size"
    expect_text "font size \"$size\""
done
# Last, as every later check copies the whole 10 MB out again.
yes 'wo men xue xi han yu pin yin, ni hao ma' | head -c 10000000 >"$work/big"
own_clipboard UTF8_STRING "$work/big"
keys ctrl+v
cat "$work/big" >>"$work/expected"
expect_text "pasting 10 MB"
type_slowly "a1"
printf '\xc3\xa1' >>"$work/expected"
enter_font_size "0"
expect_text "typing a1 after 10 MB and entering size 0"
# The title carries the mark of unsaved changes by now.
[ "$(xdotool getwindowname "$window")" = "Tonquill from Marrowfen*" ] || fail "the window is gone"

sleep 3
kill -KILL "$app" && wait "$app" # a zombie's lock would still count as held
ls "$XDG_STATE_HOME/tonquill"/*.txt >/dev/null 2>&1 || fail "no recovery file was written"
run_program "$1"
# The question is the smaller of the two windows.
focus "$(for id in $(wait_for_windows "$title" 2); do
    eval "$(xdotool getwindowgeometry --shell "$id")" && echo "$((WIDTH * HEIGHT)) $id"
done | sort -n | head -n 1 | cut -d' ' -f2)"
xdotool key Return
# Restored text is unsaved, so the title carries the modified mark.
window=$(wait_for_windows '^Tonquill from Marrowfen\*$' | head -n 1)
focus "$window"
expect_text "restoring the text after SIGKILL"

# The command line: the exit status and the first line said, without a display.
said_by() {
    local status=$1 first=$2 line code
    line=$(cd "$work" && env -u DISPLAY "$work/program/tonquill" "${@:3}" 2>&1 | head -n 1; exit "${PIPESTATUS[0]}")
    code=$?
    [ "$code" = "$status" ] && [[ $line =~ $first ]] ||
        fail "tonquill ${*:3}: status $code, said \"$line\"; expected $status and /$first/"
}
said_by 0 '^tonquill [0-9]+\.[0-9]+' --version
said_by 0 '^tonquill [0-9]+\.[0-9]+' -platform offscreen --version
said_by 0 '^Usage: .* \[FILE\]$' -style fusion --help
said_by 2 '^tonquill: one FILE at a time$' a.txt b.txt
said_by 2 "^tonquill: Unknown option 'frobnicate'\\.$" --frobnicate
said_by 2 "^tonquill: Unknown option 'x'\\.$" -x notes.txt
# --help-all needs the application, and so a platform.
"$work/program/tonquill" -platform offscreen --help-all 2>/dev/null | grep -q -- '--platform <platformName' ||
    fail "--help-all does not list Qt's own options"
# Qt's own options beside a FILE: the window opens on that file, placed as -geometry asks.
for options in "-style fusion notes.txt" "notes.txt -reverse" "-geometry 600x400+10+10 notes.txt"; do
    (cd "$work" && QT_QPA_PLATFORM=xcb exec "$work/program/tonquill" $options) >>"$work/program.log" 2>&1 &
    pids+=($!)
    opened=$(wait_for_windows '^notes\.txt – Tonquill from Marrowfen$' | head -n 1)
    placed() { xdotool getwindowgeometry "$opened" | grep -q 'Position: 10,10'; }
    [[ $options != -geometry* ]] || wait_for 10 placed || fail "tonquill $options: the window is not at 10,10"
    kill "${pids[-1]}" && wait "${pids[-1]}" 2>/dev/null
    wait_for 10 eval '[ -z "$(xdotool search --onlyvisible --name "^notes")" ]' || fail "tonquill $options did not close"
done
echo "PASS"
