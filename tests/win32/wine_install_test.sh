#!/usr/bin/env bash
# The first-run installation built for Windows and run under Wine in a prefix of its own: a first
# run, a second one, the program as it ships beside its marker, and a file that is no font.
#   wine_install_test.sh <repository root> <pyserif.ttf> <cross-build folder>
source "$(dirname "$0")/../lib.sh"
set -e
[ $# -eq 3 ] || { echo "usage: $0 <repository root> <pyserif.ttf> <cross-build folder>" >&2; exit 2; }
font=$2 program=$3/tonquill-install.exe
require "wine64, wine and g++-mingw-w64-x86-64" wine wineboot wineserver winepath x86_64-w64-mingw32-g++ cmake timeout
[ -f "$font" ] || fail "the tone font $font is missing; build the target tonquill_assets first"
cmake -S "$1" --preset mingw -B "$3" >/dev/null || fail "the cross build could not be configured"
cmake --build "$3" --parallel 2 >/dev/null || fail "the cross build failed"

# Everything Wine writes stays in the work folder: the prefix, a home and its server's socket; no
# Mono or Gecko prompts, and no menu entries made for the host's desktop.
export WINEPREFIX=$work/prefix TMPDIR=$work/tmp WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
before_cleanup() { [ ! -d "$WINEPREFIX" ] || { wineserver -k; wineserver -w; } 2>/dev/null; }
use_home
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$TMPDIR"
timeout 240 wineboot --init >/dev/null 2>&1 || fail "wineboot could not create the prefix"
timeout 60 wineserver -w || true
windows=$WINEPREFIX/drive_c/windows
[ -d "$windows" ] || fail "the new prefix has no Windows directory"

# A program folder $1 holding the marker "nej" and the font file $2.
folder() { mkdir -p "$1" && printf 'nej\r\n' >"$1/font.log" && cp "$2" "$1/pyserif.ttf"; }
# Runs the installation program $2 (default: the built one) on the folder $1 (none: its own), and
# checks that its output, without carriage returns, ends in the summary $3 after $4 messages.
install_once() {
    output=$(timeout 120 wine "${2:-$program}" ${1:+"$(winepath -w "$1" 2>/dev/null | tr -d '\r')"} | tr -d '\r') ||
        fail "the installation program failed or hung"
    echo "$output"
    [ "$(grep -c '^message: ' <<<"$output")" = "$4" ] || fail "not $4 message(s) shown"
    grep -Eqx "summary: $3" <<<"$output" || fail "the summary is not $3"
    is_done_marker "${1:-$(dirname "$2")}/font.log"
}
added="fonts added \[[1-9][0-9]* [1-9][0-9]*\]; messages 0; Timer12 armed"
expect_installed() {
    cmp -s "$font" "$windows/pyserif.ttf" || fail "C:\\windows\\pyserif.ttf is missing or differs from the shipped font"
    [ ! -e "$windows/Fonts/pyserif.ttf" ] || fail "an NT-family system got the font in its Fonts folder as well"
}

folder "$work/program" "$font"
install_once "$work/program" "" "$added" 0
expect_installed
timeout 60 wine reg query 'HKEY_LOCAL_MACHINE\software\microsoft\windows\currentversion\fonts' \
    /v 'pyserif(TrueType)' 2>/dev/null | tr -d '\r' | grep -Eq '^ +pyserif\(TrueType\) +REG_SZ +pyserif\.ttf$' ||
    fail "the registry value is not pyserif(TrueType) = \"pyserif.ttf\""
copied=$(stat -c %z "$windows/pyserif.ttf")
install_once "$work/program" "" "fonts added \[\]; messages 0; Timer12 not armed" 0
[ "$(stat -c %z "$windows/pyserif.ttf")" = "$copied" ] || fail "the second run copied the font again"

# The program as it ships, beside font.log, finding its folder from its own path; a stale file of
# the same name in the Windows directory is replaced.
folder "$work/beside" "$font"
cp "$program" "$work/beside/"
printf 'stale\n' >"$windows/pyserif.ttf"
install_once "" "$work/beside/tonquill-install.exe" "$added" 0
expect_installed

# Both AddFontResourceA calls fail, each shows the one message, and the marker is rewritten.
echo 'no font in here' >"$work/no-font"
folder "$work/broken" "$work/no-font"
install_once "$work/broken" "" "fonts added \[0 0\]; messages 2; Timer12 armed" 2
[ "$(grep -c -xF 'message: Error Occured Calling AddFontResource (buttons 0)' <<<"$output")" -eq 2 ] ||
    fail "not two AddFontResource failure messages with buttons value 0"
echo "PASS"
