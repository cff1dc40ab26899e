#!/usr/bin/env bash
# The first-run installation built for Windows and run under Wine in a prefix of its own: the tone
# font lands in the Windows directory, the machine-wide font list names it, the running system
# takes it, the marker is rewritten, and a second run does nothing.
#   wine_install_test.sh <repository root> <pyserif.ttf> <cross-build folder>
source "$(dirname "$0")/../lib.sh"
set -e
[ $# -eq 3 ] || { echo "usage: $0 <repository root> <pyserif.ttf> <cross-build folder>" >&2; exit 2; }
root=$1
font=$2
cross_build=$3
require "wine64, wine and g++-mingw-w64-x86-64" wine wineboot wineserver winepath \
    x86_64-w64-mingw32-g++ cmake timeout

[ -f "$font" ] || fail "the tone font $font is missing; build the target tonquill_assets first"

started=$SECONDS
cmake -S "$root/install/win32" -B "$cross_build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null ||
    fail "the cross build could not be configured"
cmake --build "$cross_build" --parallel 2 >/dev/null || fail "the cross build failed"
program=$cross_build/tonquill-install.exe
echo "cross-built $program in $((SECONDS - started)) s"

# Everything Wine writes stays in the work folder: the prefix, and a home of its own.
export WINEPREFIX=$work/prefix
before_cleanup() {
    [ -d "$WINEPREFIX" ] || return 0
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
use_home
# Wine keeps its server's socket folder under TMPDIR.
export TMPDIR=$work/tmp
export WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries made for the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$TMPDIR"

started=$SECONDS
timeout 240 wineboot --init >/dev/null 2>&1 || fail "wineboot could not create the prefix"
timeout 60 wineserver -w || true
echo "created the Wine prefix in $((SECONDS - started)) s"
windows=$WINEPREFIX/drive_c/windows
[ -d "$windows" ] || fail "the new prefix has no Windows directory"

folder=$work/program
mkdir -p "$folder"
printf 'nej\r\n' >"$folder/font.log"
cp "$font" "$folder/pyserif.ttf"

# Runs the installation on `$1` (given on its command line, or, when empty, the folder the
# program itself lies in) and leaves its output, without carriage returns, in $output.
install_once() {
    local exe=$program
    local arguments=()
    if [ -n "$1" ]; then
        arguments=("$(winepath -w "$1" 2>/dev/null | tr -d '\r')")
    else
        exe=$2
    fi
    output=$(timeout 120 wine "$exe" "${arguments[@]}" | tr -d '\r') ||
        fail "the installation program failed or hung"
    echo "$output"
}

summary_of() {
    grep '^summary: ' <<<"$output" || fail "no summary line in: $output"
}

expect_no_message() {
    if grep -q '^message: ' <<<"$output"; then
        fail "the installation showed a message: $(grep '^message: ' <<<"$output")"
    fi
}

expect_installed() {
    local summary fonts count
    expect_no_message
    summary=$(summary_of)
    [[ $summary =~ fonts\ added\ \[([0-9]+)\ ([0-9]+)\] ]] ||
        fail "AddFontResourceA was not called twice: $summary"
    for count in "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"; do
        [ "$count" -ge 1 ] || fail "AddFontResourceA added no font: $summary"
    done
    [[ $summary == *"; Timer12 armed" ]] || fail "Timer12 was not armed: $summary"
    expect_marker_done "$1"
}

expect_marker_done() {
    local bytes
    bytes=$(od -An -tx1 "$1/font.log" | tr -d ' \n')
    [ "$bytes" = 224a61220d0a ] || fail "$1/font.log holds $bytes, not 22 4a 61 22 0d 0a"
}

expect_font_registered() {
    local value
    value=$(timeout 60 wine reg query \
        'HKEY_LOCAL_MACHINE\software\microsoft\windows\currentversion\fonts' \
        /v 'pyserif(TrueType)' 2>/dev/null | tr -d '\r') || fail "the registry value is missing"
    grep -Eq '^ +pyserif\(TrueType\) +REG_SZ +pyserif\.ttf$' <<<"$value" ||
        fail "the registry value is not pyserif(TrueType) = \"pyserif.ttf\": $value"
}

expect_font_copied() {
    cmp -s "$font" "$windows/pyserif.ttf" ||
        fail "C:\\windows\\pyserif.ttf is missing or differs from the shipped font"
    [ ! -e "$windows/Fonts/pyserif.ttf" ] ||
        fail "an NT-family system got the font in its Fonts folder as well"
}

echo "first run, program folder on the command line:"
install_once "$folder"
expect_installed "$folder"
expect_font_copied
expect_font_registered

copied=$(stat -c %z "$windows/pyserif.ttf")
marker=$(od -An -tx1 "$folder/font.log")
echo "second run, same folder:"
install_once "$folder"
expect_no_message
[ "$(summary_of)" = "summary: fonts added []; messages 0; Timer12 not armed" ] ||
    fail "the second run did something: $(summary_of)"
[ "$(stat -c %z "$windows/pyserif.ttf")" = "$copied" ] || fail "the second run copied the font again"
[ "$(od -An -tx1 "$folder/font.log")" = "$marker" ] || fail "the second run changed the marker"

# The program as it ships: beside font.log, finding its folder from its own path.
beside=$work/beside
mkdir -p "$beside"
printf 'nej\r\n' >"$beside/font.log"
cp "$font" "$beside/pyserif.ttf"
cp "$program" "$beside/tonquill-install.exe"
# A stale file of the same name is replaced.
printf 'stale\n' >"$windows/pyserif.ttf"
echo "run from the program folder itself:"
install_once "" "$beside/tonquill-install.exe"
expect_installed "$beside"
expect_font_copied

# A file under the font's name that is no font: both AddFontResourceA calls fail, each shows the
# one message, and the marker is rewritten all the same.
broken=$work/broken
mkdir -p "$broken"
printf 'nej\r\n' >"$broken/font.log"
printf 'no font in here\n' >"$broken/pyserif.ttf"
echo "run with a file that is no font:"
install_once "$broken"
failure='message: Error Occured Calling AddFontResource (buttons 0)'
[ "$(grep -c '^message: ' <<<"$output")" -eq 2 ] && [ "$(grep -c -xF "$failure" <<<"$output")" -eq 2 ] ||
    fail "not exactly two AddFontResource failure messages with buttons value 0"
[ "$(summary_of)" = "summary: fonts added [0 0]; messages 2; Timer12 armed" ] ||
    fail "the failed installation did not go on to its end: $(summary_of)"
expect_marker_done "$broken"

echo "PASS"
