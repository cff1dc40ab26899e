#!/usr/bin/env bash
# Remakes docs/screenshot.png: the program under a private X server with some pinyin typed in.
# Needs the program built (tools/setup.sh run or test) and xvfb, xdotool and imagemagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TONQUILL_BUILD:-$root/build}
program=$build/tonquill
output=${1:-$root/docs/screenshot.png}

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || {
        echo "$tool is missing: apt-get install xvfb xdotool imagemagick" >&2
        exit 1
    }
done
[ -x "$program" ] || {
    echo "build the program first: tools/setup.sh test" >&2
    exit 1
}

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
source "$root/tools/sandbox.sh"
# A copy of the program folder and a home of its own, so the first-run installation happens there.
cp -r "$program" "$build/font.log" "$build/pyserif.ttf" "$build/zhongwen.gif" "$work/"
sandbox_export "$work/home" || exit 1
start_private_x "$work" 760x420x24 || exit 1

QT_QPA_PLATFORM=xcb "$work/tonquill" &
window=$(xdotool search --sync --name "Tonquill from Marrowfen" | head -n 1)
xdotool windowfocus --sync "$window"
sleep 1
xdotool type --delay 80 "Ni3 ha3o! Wo3 xue2 pi1nyi1n."
xdotool key Return
xdotool type --delay 80 "ma1 ma2 ma3 ma4  lu4 ly4  A1 E2 I3 O4 U1"
sleep 1
mkdir -p "$(dirname "$output")"
import -window "$window" -frame "$output"
echo "wrote $output"
