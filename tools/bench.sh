#!/usr/bin/env bash
# Builds Tonquill for speed in build-bench and prints every benchmark table: start-up (also from
# the installed package when there is one), typing, key handling, tone-number conversion, files,
# Find and printing, each against a reference measured in the same run. The windows open on a private
# X server (Xvfb), and the programs run with a home of their own.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench

packages=(cmake make g++ qt6-base-dev libfontconfig-dev libx11-dev xvfb python3-fonttools fonts-dejavu-core fonts-liberation2 fontconfig)
source "$root/tools/packages.sh"
install_packages "${packages[@]}" || exit 1

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target tonquill tonquill_bare_window \
    tonquill_startup_bench tonquill_typing_bench tonquill_key_bench tonquill_convert_bench \
    tonquill_print_bench tonquill_file_bench tonquill_find_bench >/dev/null

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }

export DISPLAY=:$(head -n 1 "$work/display")
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache
export XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/home/run
mkdir -p "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

echo "Machine: $(nproc) CPUs, $(lscpu | sed -n 's/^Model name: *//p'), $(free -h | awk '/^Mem:/ {print $2}') memory"
echo
QT_QPA_PLATFORM=xcb "$build/bench/tonquill_startup_bench" --program-folder "$build" \
    --bare "$build/bench/tonquill_bare_window"
echo
# The installed package's program folder holds the done marker and its tone font is known to the
# whole machine, so its starts, in a home where nothing was installed, are the ones users get.
if [ "$(dpkg-query -W -f='${Status}' tonquill 2>/dev/null)" = "install ok installed" ]; then
    echo "From the installed package (/usr/lib/tonquill):"
    QT_QPA_PLATFORM=xcb "$build/bench/tonquill_startup_bench" --program-folder /usr/lib/tonquill \
        --bare "$build/bench/tonquill_bare_window"
else
    echo "Start-up from the installed package: skipped, no tonquill package is installed"
fi
echo
QT_QPA_PLATFORM=xcb "$build/bench/tonquill_typing_bench" --program-folder "$build"
echo
QT_QPA_PLATFORM=xcb "$build/bench/tonquill_key_bench" --program-folder "$build"
echo
QT_QPA_PLATFORM=xcb "$build/bench/tonquill_convert_bench" --program-folder "$build"
echo
echo "Files"
QT_QPA_PLATFORM=xcb "$build/bench/tonquill_file_bench"
echo
"$build/bench/tonquill_find_bench"
echo
echo "Printing a thousand pages to PDF"
QT_QPA_PLATFORM=offscreen "$build/bench/tonquill_print_bench"
