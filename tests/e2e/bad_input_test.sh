#!/usr/bin/env bash
# Runs the real program on a private Xvfb display and, through xdotool and xclip, pastes a 10 MB
# text, pastes from an empty clipboard and from one holding only a picture, types an emoji between
# a vowel and a tone digit and enters every bad font size. After each step the editor's text is
# copied out and compared with what it should be, which also shows that the program still answers.
#
#   bad_input_test.sh PROGRAM_FOLDER PNG_FILE
source "$(dirname "$0")/../lib.sh"
picture=$2
require "xvfb, xdotool and xclip" Xvfb xdotool xclip

step() { echo "== ${SECONDS}s: $*"; }

# A program folder and a home of the test's own; the marker says the font is already installed.
start_program() {
    use_home
    copy_program "$1"
    QT_QPA_PLATFORM=xcb start "$work/program/tonquill" >"$work/program.log" 2>&1
    app=$started
    window=$(wait_for_windows '^Tonquill from Marrowfen$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The client area is 266 pixels high; the menu bar takes the rest of the window.
    menu_bar=$((HEIGHT - 266))
    timeout 5 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
}

# x and y in the client area's pixels, below the menu bar.
click_at() {
    xdotool mousemove --window "$window" "$1" $((menu_bar + $2)) click 1
    sleep 0.2
}

keys() { xdotool key --delay 40 "$@"; }

# Slower than the 20 ms replacement timer, as a person types.
type_slowly() {
    xdotool type --delay 120 "$1"
    sleep 0.3
}

read_clipboard() { timeout $((30 * wait_scale)) xclip -o -selection clipboard "$@" 2>/dev/null; }

clipboard_is() { read_clipboard >"$work/read" && cmp -s "$work/read" "$1"; }

clipboard_offers() { read_clipboard -t TARGETS | grep -qx "$1"; }

clipboard_has_no_owner() { ! read_clipboard -t TARGETS >/dev/null; }

# xclip keeps the clipboard until another client takes it.
own_clipboard() {
    start xclip -quiet -selection clipboard -t "$1" -i "$2" >/dev/null 2>&1
    owner=$started
}

own_clipboard_text() {
    own_clipboard UTF8_STRING "$1"
    wait_for 30 clipboard_is "$1" || fail "xclip did not take the clipboard with $1"
}

# Types $1 into the font-size box, over what it held, and presses Enter.
enter_font_size() {
    click_at 472 73
    keys ctrl+a BackSpace
    [ -z "$1" ] || xdotool type --delay 40 -- "$1"
    keys Return
}

# Only the program offers text/plain; xclip offers the one type it was given.
program_owns_clipboard() { timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -qx text/plain; }

another_owns_clipboard() {
    local targets
    targets=$(timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null) &&
        ! grep -qx text/plain <<<"$targets"
}

# The editor's whole text, copied out with Ctrl+A Ctrl+C, must equal the file $1. A copy made
# earlier by the program is first replaced by a sentinel, so that only a copy made now counts.
# After a paste the clipboard is left alone until the program has copied, since taking it during
# the paste would cut the paste short.
expect_text() {
    if program_owns_clipboard; then
        printf 'sentinel %s' "$RANDOM$RANDOM" >"$work/sentinel"
        own_clipboard UTF8_STRING "$work/sentinel"
        wait_for 20 another_owns_clipboard || fail "xclip did not take the clipboard ($step_name)"
    fi
    click_at 200 130
    keys ctrl+a ctrl+c
    wait_for 60 program_owns_clipboard || fail "no answer: the editor's text was not copied ($step_name)"
    read_clipboard >"$work/read" || fail "the copied text could not be read ($step_name)"
    kill -0 "$app" 2>/dev/null || fail "the program ended ($step_name)"
    if ! cmp -s "$work/read" "$1"; then
        echo "expected $(wc -c <"$1") bytes, got $(wc -c <"$work/read")" >&2
        cmp "$work/read" "$1" >&2
        fail "wrong text after: $step_name"
    fi
    keys ctrl+End
}

step_name=start
start_display
start_program "$1"
step "the window is up; a tone vowel and digit become one glyph"
click_at 200 130
type_slowly "ma1"
printf 'm\xc3\xa1' >"$work/expected"
step_name="typing ma1"
expect_text "$work/expected"

step "paste from a clipboard that nobody owns"
printf 'sentinel' >"$work/sentinel"
own_clipboard_text "$work/sentinel"
kill "$owner"
wait_for 10 clipboard_has_no_owner || fail "the clipboard kept an owner"
keys ctrl+v
step_name="pasting from an empty clipboard"
expect_text "$work/expected"

step "paste from a clipboard holding an empty text"
: >"$work/empty"
own_clipboard UTF8_STRING "$work/empty"
wait_for 10 clipboard_is "$work/empty" || fail "xclip did not take the clipboard"
keys ctrl+v
step_name="pasting an empty text"
expect_text "$work/expected"

step "paste from a clipboard holding only a PNG picture"
own_clipboard image/png "$picture"
wait_for 10 clipboard_offers image/png || fail "xclip did not offer the picture"
keys ctrl+v
step_name="pasting a picture"
expect_text "$work/expected"

step "an emoji between a tone vowel and a tone digit"
type_slowly "a😀1"
printf 'a\xf0\x9f\x98\x801' >>"$work/expected"
step_name="typing a, an emoji and 1"
expect_text "$work/expected"

for size in "" " " "abc" "1e9" "-5" "0" "99999"; do
    step "font size \"$size\" and Enter"
    enter_font_size "$size"
    step_name="font size \"$size\""
    expect_text "$work/expected"
done

# Last, as every later check copies the whole 10 MB out again.
step "paste a 10 MB text"
yes 'wo men xue xi han yu pin yin, ni hao ma' | head -c 10000000 >"$work/big"
own_clipboard_text "$work/big"
keys ctrl+v
cat "$work/big" >>"$work/expected"
step_name="pasting 10 MB"
expect_text "$work/expected"

step "a tone vowel and digit at the end of the 10 MB text, then a bad size"
type_slowly "a1"
printf '\xc3\xa1' >>"$work/expected"
enter_font_size "0"
step_name="typing a1 after 10 MB and entering size 0"
expect_text "$work/expected"

# The title carries the mark of unsaved changes by now.
[ "$(xdotool getwindowname "$window")" = "Tonquill from Marrowfen*" ] || fail "the window is gone"
echo "PASS"
