#!/usr/bin/env bash
# Installs what is missing, builds, then starts the program (run) or runs every test (test).
set -euo pipefail

mode=${1:-}
case "$mode" in
run | test) ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

packages=(cmake make g++ qt6-base-dev libfontconfig-dev python3-fonttools fonts-dejavu-core fonts-liberation2 fontconfig unicode-data rime-data-terra-pinyin libchewing3-data python3-jieba)
if [ "$mode" = test ]; then
    packages+=(cups printer-driver-cups-pdf poppler-utils desktop-file-utils dpkg-dev lintian appstream man-db wine64 wine g++-mingw-w64-x86-64 xvfb xdotool xclip at-spi2-core dbus python3-pyatspi sway wtype wl-clipboard qt6-wayland clang clang-format libclang-rt-14-dev)
fi

source "$root/tools/packages.sh"
install_packages "${packages[@]}" || exit 1

cmake -S "$root" --preset default

# The program folder needs only the program and its assets; the tests and their helpers are built
# for the test command alone.
if [ "$mode" = run ]; then
    cmake --build "$build" --parallel "$(nproc)" --target tonquill
    exec "$build/tonquill"
fi
cmake --build "$build" --parallel "$(nproc)"

# The format is part of the code: any tracked C++ file that clang-format would change fails here.
git -C "$root" ls-files -z -- '*.cpp' '*.h' | (cd "$root" && xargs -0 clang-format --dry-run --Werror)

cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
"$root/tools/sanitized-check.sh"
