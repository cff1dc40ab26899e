#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of the tree: the
# program folder, the tone font where fontconfig looks, a relative launcher on PATH, a valid
# .desktop entry, the icons, and that the launcher starts the installed program without installing
# anything into the user's home.
#   install_tree_test.sh CMAKE BUILD_DIR PROGRAM_DIR BIN_DIR DATA_DIR [CONFIG]
# PROGRAM_DIR, BIN_DIR and DATA_DIR are the install folders relative to the prefix.
source "$(dirname "$0")/../lib.sh"
[ $# -ge 5 ] || { echo "usage: $0 CMAKE BUILD_DIR PROGRAM_DIR BIN_DIR DATA_DIR [CONFIG]" >&2; exit 2; }
build=$2 prefix=$work/prefix id=org.example.Tonquill
program=$prefix/$3 bin=$prefix/$4 data=$prefix/$5
font=$data/fonts/truetype/tonquill/pyserif.ttf entry=$data/applications/$id.desktop
# cmake --install rewrites the build's manifest; a real installation's list must survive us.
[ ! -f "$build/install_manifest.txt" ] || cp -p "$build/install_manifest.txt" "$work/manifest"
before_cleanup() { [ -f "$work/manifest" ] && mv -f "$work/manifest" "$build/install_manifest.txt" || rm -f "$build/install_manifest.txt"; }
"$1" --install "$build" --prefix "$prefix" ${6:+--config "$6"} >"$work/install.log" 2>&1 ||
    fail "cmake --install into $prefix failed: $(cat "$work/install.log")"
counting=1

for name in font.log pyserif.ttf zhongwen.gif pyserif-LICENSE.txt; do [ -f "$program/$name" ] || fail "$3/$name is missing"; done
[ -x "$program/tonquill" ] || fail "$3/tonquill is missing or not executable"
is_done_marker "$program/font.log" || fail "the installed font.log is not the done marker \"Ja\" CR LF"
cmp -s "$font" "$build/pyserif.ttf" || fail "$5/fonts/truetype/tonquill lacks the tone font"
[ "$(readlink -f "$program/pyserif.ttf")" = "$(readlink -f "$font")" ] || fail "$3/pyserif.ttf does not lead to the installed tone font"
[[ "$(readlink "$bin/tonquill")" == [!/]* ]] || fail "$4/tonquill is no link, or one to an absolute path, so the tree cannot move"
[ "$(readlink -f "$bin/tonquill")" = "$(readlink -f "$program/tonquill")" ] || fail "$4/tonquill does not lead to $3/tonquill"
for size in 16 32 48 64 128; do
    # Width and height sit in the PNG's IHDR chunk, bytes 16 to 23, big-endian.
    shown=$(od -An -tu1 -j16 -N8 "$data/icons/hicolor/${size}x${size}/apps/$id.png" 2>/dev/null |
        awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
    [ "$shown" = "${size}x${size}" ] || fail "the ${size}x${size} icon of the hicolor theme is \"$shown\""
done
value() { sed -n "s/^$1=//p" "$entry" 2>/dev/null | head -n 1; }
exec=$(value Exec)
[ -n "$exec" ] && [ -e "$bin/${exec%% *}" ] || fail "Exec=$exec names no launcher in $4"
[ "$(value Icon)" = "$id" ] || fail "Icon is not the installed icon"
[[ "$(value Categories)" == *Office*Education* || "$(value Categories)" == *Education*Office* ]] || fail "Categories lacks Office or Education"
command -v desktop-file-validate >/dev/null || missing="desktop-file-validate is missing (Debian package desktop-file-utils)"
[ -n "${missing:-}" ] || desktop-file-validate --no-hints "$entry" || fail "desktop-file-validate rejects $id.desktop"

# No XDG variables and another working folder: the program can find its files only through the
# resolved launcher, and finds the installation already done. Fontconfig looks into the prefix's
# fonts, as the system's configuration does for /usr and /usr/local.
cat >"$prefix/fonts.conf" <<EOF2
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>$data/fonts</dir><dir prefix="xdg">fonts</dir><cachedir>$prefix/fc-cache</cachedir></fontconfig>
EOF2
start_installed "$bin/tonquill" "$prefix/home" FONTCONFIG_FILE="$prefix/fonts.conf"
finish "${missing:-}"
