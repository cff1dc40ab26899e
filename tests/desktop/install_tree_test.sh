#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of the tree: the
# program folder, the tone font where fontconfig looks, the launcher on PATH, a valid .desktop
# entry, the icons, and that the launcher starts the installed program without installing
# anything into the user's home.
#
#   install_tree_test.sh CMAKE BUILD_DIR PROGRAM_DIR BIN_DIR DATA_DIR [CONFIG]
#
# PROGRAM_DIR, BIN_DIR and DATA_DIR are the install folders relative to the prefix.
source "$(dirname "$0")/../lib.sh"
set -e
[ $# -ge 5 ] || { echo "usage: $0 CMAKE BUILD_DIR PROGRAM_DIR BIN_DIR DATA_DIR [CONFIG]" >&2; exit 2; }
cmake=$1 build=$2 program_rel=$3 bin_rel=$4 data_rel=$5 config=${6:-}

prefix=$work/prefix
manifest=$build/install_manifest.txt
saved_manifest=$work/manifest
failures=0

# cmake --install rewrites the build's manifest; a real installation's list must survive us.
[ -f "$manifest" ] && cp -p "$manifest" "$saved_manifest"
before_cleanup() {
    if [ -f "$saved_manifest" ]; then
        mv -f "$saved_manifest" "$manifest"
    else
        rm -f "$manifest"
    fi
}

# Counts, so that one run shows every failed check.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

install_tree() {
    local log=$work/install.log
    if ! "$cmake" --install "$build" --prefix "$prefix" ${config:+--config "$config"} >"$log" 2>&1; then
        cat "$log"
        rm -f "$log"
        echo "FAIL: cmake --install into $prefix failed"
        exit 1
    fi
    rm -f "$log"
}

check_program_folder() {
    local name
    for name in tonquill font.log pyserif.ttf zhongwen.gif pyserif-LICENSE.txt; do
        [ -f "$program/$name" ] || fail "$program_rel/$name is missing"
    done
    [ -x "$program/tonquill" ] || fail "$program_rel/tonquill is not executable"
    [ "$(od -An -tx1 "$program/font.log" | tr -d ' \n')" = 224a61220d0a ] ||
        fail "the installed font.log is not the done marker \"Ja\" CR LF"
    cmp -s "$font" "$build/pyserif.ttf" ||
        fail "$data_rel/fonts/truetype/tonquill lacks the tone font"
    [ "$(readlink -f "$program/pyserif.ttf")" = "$(readlink -f "$font")" ] ||
        fail "$program_rel/pyserif.ttf does not lead to the installed tone font"
}

check_launcher() {
    local launcher=$prefix/$bin_rel/tonquill
    if [ ! -L "$launcher" ]; then
        fail "$bin_rel/tonquill is not a link to the program"
        return
    fi
    case "$(readlink "$launcher")" in
    /*) fail "$bin_rel/tonquill points to an absolute path, so the tree cannot move" ;;
    esac
    [ "$(readlink -f "$launcher")" = "$(readlink -f "$program/tonquill")" ] ||
        fail "$bin_rel/tonquill does not lead to $program_rel/tonquill"
}

png_size() {
    # Width and height sit in the IHDR chunk, bytes 16 to 23, big-endian.
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

check_icons() {
    local size icon
    for size in 16 32 48 64 128; do
        icon=$prefix/$data_rel/icons/hicolor/${size}x${size}/apps/$desktop_id.png
        if [ ! -f "$icon" ]; then
            fail "no ${size}x${size} icon in the hicolor theme"
        elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
            fail "the ${size}x${size} icon is a $(png_size "$icon") picture"
        fi
    done
}

entry_value() {
    sed -n "s/^$1=//p" "$2" | head -n 1
}

check_desktop_entry() {
    local entry=$prefix/$data_rel/applications/$desktop_id.desktop
    if [ ! -f "$entry" ]; then
        fail "$data_rel/applications/$desktop_id.desktop is missing"
        return
    fi
    local exec
    exec=$(entry_value Exec "$entry")
    [ -e "$prefix/$bin_rel/${exec%% *}" ] || fail "Exec=$exec names no launcher in $bin_rel"
    [ "$(entry_value Icon "$entry")" = "$desktop_id" ] || fail "Icon is not the installed icon"
    entry_value Categories "$entry" | grep -q 'Office' || fail "Categories lacks Office"
    entry_value Categories "$entry" | grep -q 'Education' || fail "Categories lacks Education"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate --no-hints "$entry" ||
            fail "desktop-file-validate rejects $desktop_id.desktop"
    else
        validator_missing=1
    fi
}

# A fresh home, no XDG variables and another working folder: the program can find its files
# only through the resolved launcher, and finds the installation already done. Fontconfig looks
# into the prefix's fonts, as the system's configuration does for /usr and /usr/local.
check_start() {
    local home=$prefix/home
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    cat >"$prefix/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$prefix/$data_rel/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <cachedir>$prefix/fontconfig-cache</cachedir>
</fontconfig>
EOF
    (cd / && exec env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$home/run" \
        FONTCONFIG_FILE="$prefix/fonts.conf" \
        QT_QPA_PLATFORM=offscreen timeout 30 "$prefix/$bin_rel/tonquill") >/dev/null 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    sleep 2
    kill -0 "$program_pid" 2>/dev/null || fail "started through the launcher, the program stopped"
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=
    [ -z "$(find "$home" -name '*.ttf')" ] ||
        fail "started through the launcher, the program copied its tone font into the home"
}

validator_missing=0
desktop_id=org.example.Tonquill
program=$prefix/$program_rel
font=$prefix/$data_rel/fonts/truetype/tonquill/pyserif.ttf
install_tree
check_program_folder
check_launcher
check_icons
check_desktop_entry
check_start

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
if [ "$validator_missing" -eq 1 ]; then
    skip "desktop-file-validate is missing (Debian package desktop-file-utils);" \
        "every other check passed"
fi
echo "install tree complete"
