#!/usr/bin/env bash
# Builds Tonquill for speed in build-bench and prints every benchmark table: start-up (also from
# the installed package when there is one), typing, key handling, tone-number conversion, files,
# Find, Chinese to pinyin and printing, each against a reference measured in the same run. The
# windows open on a private X server (Xvfb), and the programs run with a home of their own.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench

packages=(cmake make g++ qt6-base-dev libfontconfig-dev libx11-dev xvfb python3-fonttools fonts-dejavu-core fonts-liberation2 fontconfig unicode-data rime-data-terra-pinyin libchewing3-data python3-jieba)
source "$root/tools/packages.sh"
install_packages "${packages[@]}" || exit 1

cmake -S "$root" --preset bench >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target tonquill tonquill_bare_window \
    tonquill_startup_bench tonquill_typing_bench tonquill_key_bench tonquill_convert_bench \
    tonquill_print_bench tonquill_file_bench tonquill_find_bench tonquill_hanzi_bench >/dev/null

work=$(mktemp -d)
private_x_pid=
cleanup() {
    [ -z "$private_x_pid" ] || { kill "$private_x_pid" && wait "$private_x_pid"; } 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$root/tools/sandbox.sh"
start_private_x "$work" || exit 1
sandbox_export "$work/home" || exit 1

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
QT_QPA_PLATFORM=offscreen "$build/bench/tonquill_hanzi_bench"
echo
echo "Printing a thousand pages to PDF"
QT_QPA_PLATFORM=offscreen "$build/bench/tonquill_print_bench"
