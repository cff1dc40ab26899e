#!/usr/bin/env bash
# Builds the Debian package and checks its contents, dependencies, metadata and lintian's verdict.
# As root, with no tonquill package on the machine, it also installs the package, starts the
# installed program with a fresh home, and removes the package again.
#
#   package_test.sh CPACK BUILD_DIR VERSION UI_FONT_PACKAGE
source "$(dirname "$0")/../lib.sh"
set -e
[ $# -eq 4 ] || { echo "usage: $0 CPACK BUILD_DIR VERSION UI_FONT_PACKAGE" >&2; exit 2; }
cpack=$1 build=$2 version=$3 ui_font_package=$4
require "dpkg-dev, lintian, appstream, desktop-file-utils, man-db, fontconfig" \
    dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate man fc-list

installed=0
failures=0
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
# A package this test installed never stays, whatever failed on the way.
before_cleanup() { [ "$installed" -eq 0 ] || "${apt[@]}" purge tonquill >/dev/null 2>&1; }

# Counts, so that one run shows every failed check.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

deb=$work/tonquill_${version}_amd64.deb
tree=$work/tree

build_package() {
    if ! (cd "$build" && "$cpack" -G DEB -B "$work") >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log"
        echo "FAIL: cpack could not build the package"
        exit 1
    fi
    [ -f "$deb" ] || { echo "FAIL: cpack made no $(basename "$deb")"; ls "$work"; exit 1; }
    dpkg-deb -x "$deb" "$tree"
}

# Every file and link of the package, links with their targets; folders are left out.
check_file_list() {
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +\./, ""); print }' |
        sort >"$work/files"
    local icons=usr/share/icons/hicolor
    sort >"$work/expected" <<LIST
/usr/bin/tonquill -> ../lib/tonquill/tonquill
/usr/lib/tonquill/font.log
/usr/lib/tonquill/pyserif-LICENSE.txt
/usr/lib/tonquill/pyserif.ttf -> ../../share/fonts/truetype/tonquill/pyserif.ttf
/usr/lib/tonquill/tonquill
/usr/lib/tonquill/zhongwen.gif
/usr/share/applications/org.example.Tonquill.desktop
/usr/share/doc/tonquill/changelog.gz
/usr/share/doc/tonquill/copyright
/usr/share/fonts/truetype/tonquill/pyserif.ttf
/$icons/16x16/apps/org.example.Tonquill.png
/$icons/32x32/apps/org.example.Tonquill.png
/$icons/48x48/apps/org.example.Tonquill.png
/$icons/64x64/apps/org.example.Tonquill.png
/$icons/128x128/apps/org.example.Tonquill.png
/usr/share/man/man1/tonquill.1.gz
/usr/share/metainfo/org.example.Tonquill.metainfo.xml
LIST
    diff -u "$work/expected" "$work/files" || fail "the package's files differ from the list above"
    [ "$(od -An -tx1 "$tree/usr/lib/tonquill/font.log" | tr -d ' \n')" = 224a61220d0a ] ||
        fail "the installed font.log is not the done marker \"Ja\" CR LF"
}

check_depends() {
    local depends package
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for package in fontconfig "$ui_font_package" libc6 libqt6widgets6 libqt6printsupport6; do
        grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
    done
}

check_texts() {
    appstreamcli validate --no-net "$tree/usr/share/metainfo/org.example.Tonquill.metainfo.xml" ||
        fail "appstreamcli rejects the metainfo"
    desktop-file-validate --no-hints "$tree/usr/share/applications/org.example.Tonquill.desktop" ||
        fail "desktop-file-validate rejects the desktop entry"
    local warnings
    local page=$tree/usr/share/man/man1/tonquill.1.gz
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the man page draws warnings: $warnings"
    lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian reports errors or warnings"; }
}

package_status() {
    dpkg-query -W -f='${Status}' tonquill 2>/dev/null || true
}

# The program starts from the menu entry's command with a home of its own and copies nothing
# into it; the family its editor asks for resolves to the machine-wide tone font.
check_installed_start() {
    local home=$work/home
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    local program_pid
    (cd / && exec env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" \
        QT_QPA_PLATFORM=offscreen timeout 30 tonquill) >"$work/start.log" 2>&1 &
    program_pid=$!
    sleep 2
    kill -0 "$program_pid" 2>/dev/null || {
        fail "the installed program stopped at once:"
        cat "$work/start.log"
    }
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    [ -z "$(find "$home" -name '*.ttf')" ] && [ ! -e "$home/.local/share/fonts" ] ||
        fail "the installed program copied the tone font into the home"
    local font
    font=$(env -i HOME="$home" fc-match -f '%{file}' "Vantor's PinYin Serif")
    [ "$font" = /usr/share/fonts/truetype/tonquill/pyserif.ttf ] ||
        fail "fontconfig gives $font for the tone font's family"
}

install_remove() {
    installed=1
    if ! "${apt[@]}" install "$deb" >"$work/apt.log" 2>&1; then
        cat "$work/apt.log"
        fail "apt-get install of the package failed"
        return
    fi
    fc-list : family | grep -qx "Vantor's PinYin Serif" ||
        fail "fc-list does not know the tone font"
    local printed
    printed=$(env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen timeout 10 /usr/bin/tonquill \
        --version 2>/dev/null || true)
    [ "$printed" = "tonquill $version" ] || fail "tonquill --version printed \"$printed\""
    check_installed_start

    if ! "${apt[@]}" remove tonquill >"$work/apt.log" 2>&1; then
        cat "$work/apt.log"
        fail "apt-get remove failed"
        return
    fi
    installed=0
    [ -z "$(package_status)" ] || [ "$(package_status)" = "unknown ok not-installed" ] ||
        fail "after removal dpkg still holds tonquill as \"$(package_status)\""
    local path
    while read -r path; do
        [ -e "${path%% -> *}" ] || [ -L "${path%% -> *}" ] && fail "$path is left after removal"
    done <"$work/files"
    for path in /usr/lib/tonquill /usr/share/fonts/truetype/tonquill /usr/share/doc/tonquill; do
        [ -e "$path" ] && fail "$path is left after removal"
    done
    fc-list : family | grep -qx "Vantor's PinYin Serif" && fail "fc-list still knows the tone font"
    return 0
}

build_package
check_file_list
check_depends
check_texts

root_part=
if [ "$(id -u)" -ne 0 ]; then
    root_part="not run as root"
elif [ -n "$(package_status)" ] && [ "$(package_status)" != "unknown ok not-installed" ]; then
    root_part="a tonquill package is already on this machine"
else
    install_remove
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
if [ -n "$root_part" ]; then
    skip "installing and removing the package ($root_part); every other check passed"
fi
echo "package complete"
