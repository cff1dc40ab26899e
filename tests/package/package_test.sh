#!/usr/bin/env bash
# Builds the Debian package, checks it and starts the program from its tree unpacked anywhere, as
# under any installation prefix. As root, with no tonquill package on the machine, it also installs
# the package, starts it with a fresh home and removes it again, leaving nothing behind.
#   package_test.sh CPACK BUILD_DIR VERSION UI_FONT_PACKAGE
source "$(dirname "$0")/../lib.sh"
[ $# -eq 4 ] || { echo "usage: $0 CPACK BUILD_DIR VERSION UI_FONT_PACKAGE" >&2; exit 2; }
version=$3 deb=$work/tonquill_$3_amd64.deb tree=$work/tree face="Vantor's PinYin Serif" id=org.example.Tonquill
require "dpkg-dev, lintian, appstream, desktop-file-utils, man-db, fontconfig" \
    dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate man fc-list
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
installed=0
# A package this test installed never stays, whatever failed on the way.
before_cleanup() { [ "$installed" -eq 0 ] || "${apt[@]}" purge tonquill >/dev/null 2>&1; }
(cd "$2" && "$1" -G DEB -B "$work") >"$work/cpack.log" 2>&1 && [ -f "$deb" ] ||
    fail "cpack made no $(basename "$deb"): $(cat "$work/cpack.log")"
dpkg-deb -x "$deb" "$tree"

# Every file and link of the package, links with their targets, which are relative so that the
# tree can move; folders are left out.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +\./, ""); print }' | sort >"$work/files"
{
    printf '/usr/%s\n' "bin/tonquill -> ../lib/tonquill/tonquill" lib/tonquill/{font.log,hanzi-readings.dat,hanzi-readings-LICENSE.txt,pyserif-LICENSE.txt,tonquill,zhongwen.gif} \
        "lib/tonquill/pyserif.ttf -> ../../share/fonts/truetype/tonquill/pyserif.ttf" \
        share/{applications/$id.desktop,doc/tonquill/changelog.gz,doc/tonquill/copyright} \
        share/{fonts/truetype/tonquill/pyserif.ttf,man/man1/tonquill.1.gz,metainfo/$id.metainfo.xml} \
        share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/$id.png
} | sort | diff -u - "$work/files" || fail "the package's files differ from the list above"
is_done_marker "$tree/usr/lib/tonquill/font.log"
cmp -s "$tree/usr/share/fonts/truetype/tonquill/pyserif.ttf" "$2/pyserif.ttf" || fail "the package's tone font is not the built one"
cmp -s "$tree/usr/lib/tonquill/hanzi-readings.dat" "$2/hanzi-readings.dat" || fail "the package's table of Chinese readings is not the built one"
grep -q 'hanzi-readings.dat' "$tree/usr/share/doc/tonquill/copyright" || fail "the copyright file does not name the table of Chinese readings"
for size in 16 32 48 64 128; do
    # Width and height sit in the PNG's IHDR chunk, bytes 16 to 23, big-endian.
    shown=$(od -An -tu1 -j16 -N8 "$tree/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
        awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
    [ "$shown" = "${size}x${size}" ] || fail "the ${size}x${size} icon is \"$shown\""
done
entry=$tree/usr/share/applications/$id.desktop
grep -Eqx 'Exec=tonquill( %[fF])?' "$entry" && grep -qx "Icon=$id" "$entry" &&
    grep -Eqx 'Categories=.*(Office.*Education|Education.*Office).*' "$entry" || fail "the desktop entry's Exec, Icon or Categories"
desktop-file-validate --no-hints "$entry" || fail "desktop-file-validate rejects the desktop entry"
depends=$(dpkg-deb -f "$deb" Depends)
for package in fontconfig fonts-dejavu-core "$4" libc6 libqt6widgets6 libqt6printsupport6; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
appstreamcli validate --no-net "$tree/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli rejects the metainfo"
warnings=$(MANWIDTH=80 man --warnings -l "$tree/usr/share/man/man1/tonquill.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page draws warnings: $warnings"
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail "lintian reports: $(cat "$work/lintian.log")"
# No XDG variables and another working folder: the program finds its files only through the
# resolved launcher, and the installation already done. Fontconfig looks into the tree's fonts,
# as the system's configuration does for /usr and /usr/local.
printf '<fontconfig><dir>%s</dir><dir prefix="xdg">fonts</dir><cachedir>%s</cachedir></fontconfig>\n' \
    "$tree/usr/share/fonts" "$work/fc-cache" >"$work/fonts.conf"
start_installed "$tree/usr/bin/tonquill" "$work/tree-home" FONTCONFIG_FILE="$work/fonts.conf"

status() { dpkg-query -W -f='${Status}' tonquill 2>/dev/null | grep -v 'not-installed'; }
knows_face() { fc-list : family | grep -qx "$face"; }
[ "$(id -u)" -eq 0 ] || finish "installing and removing the package (not run as root)"
! status >/dev/null || finish "installing and removing the package (a tonquill package is already on this machine)"
installed=1
"${apt[@]}" install "$deb" >"$work/apt.log" 2>&1 || fail "apt-get install failed: $(cat "$work/apt.log")"
knows_face || fail "fc-list does not know the tone font"
printed=$(env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen timeout 10 /usr/bin/tonquill --version 2>/dev/null)
[ "$printed" = "tonquill $version" ] || fail "tonquill --version printed \"$printed\""
# As from the menu entry's command; the family its editor asks for is the machine-wide tone font.
PATH=/usr/bin:/bin start_installed tonquill "$work/home"
[ ! -e "$work/home/.local/share/fonts" ] || fail "the installed program made a font folder in the home"
font=$(env -i HOME="$work/home" fc-match -f '%{file}' "$face")
[ "$font" = /usr/share/fonts/truetype/tonquill/pyserif.ttf ] || fail "fontconfig gives $font for the tone font's family"
"${apt[@]}" remove tonquill >"$work/apt.log" 2>&1 || fail "apt-get remove failed: $(cat "$work/apt.log")"
installed=0
! status || fail "after removal dpkg still holds tonquill"
while read -r path; do
    [ ! -e "${path%% -> *}" ] && [ ! -L "${path%% -> *}" ] || fail "$path is left after removal"
done < <(cat "$work/files"; printf '%s\n' /usr/lib/tonquill /usr/share/fonts/truetype/tonquill /usr/share/doc/tonquill)
! knows_face || fail "fc-list still knows the tone font"
finish
