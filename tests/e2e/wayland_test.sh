#!/usr/bin/env bash
# The real program under Wayland, on a private headless sway: "ma1 a1" typed by wtype with a
# person's pauses between keys, read back through "Copy as Unicode pinyin" with wl-paste. Sway
# refuses to run as root, so a root run starts everything as the user nobody.
#   wayland_test.sh PROGRAM_FOLDER
source "$(dirname "$0")/../lib.sh"
require "sway, wtype and wl-clipboard" sway swaymsg wtype wl-paste
plugins=$(dirname "$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' -print -quit)")
[ -e "$plugins/libqwayland-generic.so" ] || skip "Qt's Wayland platform is missing (Debian package qt6-wayland)"

as_user=()
if [ "$(id -u)" = 0 ]; then
    require "util-linux" setpriv
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod 711 "$work"
wl=$work/wayland
mkdir -p "$wl/program"
# The home's folders are made before the tree goes to the user; sway's sockets go in its run folder.
mapfile -t sandbox < <(sandbox_env "$wl/home")
run=
for word in "${sandbox[@]}"; do [[ $word != XDG_RUNTIME_DIR=* ]] || run=${word#*=}; done
[ -n "$run" ] || fail "no private home in $wl/home"
printf '"Ja"\r\n' >"$wl/program/font.log"
cp "$1"/{tonquill,pyserif.ttf,zhongwen.gif} "$wl/program/" || fail "cannot copy the program"
printf 'xwayland disable\noutput HEADLESS-1 resolution 1280x1024\n' >"$wl/sway.conf"
[ ${#as_user[@]} = 0 ] || chown -R nobody:nogroup "$wl"
# As the user, in a home of its own, on the private compositor once it runs. The process keeps the
# pid that `start` records, so that the cleanup stops it.
as_user_exec() {
    exec "${as_user[@]}" env -i PATH="$PATH" LC_ALL=C.UTF-8 "${sandbox[@]}" \
        WAYLAND_DISPLAY="${socket:-}" SWAYSOCK="$run/sway.sock" "$@"
}
user() { (as_user_exec "$@"); }

start as_user_exec WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$wl/sway.conf" >"$work/sway.log" 2>&1
# Sway makes its IPC socket at $SWAYSOCK, after its Wayland socket.
wait_for 20 test -S "$run/sway.sock" || fail "sway did not start: $(tail -n 5 "$work/sway.log")"
socket=$(cd "$run" && ls wayland-* | grep -m 1 -x 'wayland-[0-9]*')
start as_user_exec QT_QPA_PLATFORM=wayland "$wl/program/tonquill" >"$work/program.log" 2>&1
# Found by the desktop file's name, which sway gives as the window's app_id.
focused_window() { user swaymsg '[app_id="org.example.Tonquill"] focus' >/dev/null 2>&1; }
wait_for 30 focused_window || fail "no window with the app_id org.example.Tonquill"
# The window takes the keyboard a moment after sway focuses it, as a person would wait.
sleep $((1 * wait_scale))
# Each wtype run brings a keyboard of its own, whose first key the program does not see: a Shift
# goes first, then the text with 120 ms between keys, then Ctrl+Shift+C.
user wtype -k Shift_L -d 120 'ma1 a1' -s 500 -M ctrl -M shift -k c -m shift -m ctrl
copied() { [ "$(user timeout 5 wl-paste -n 2>/dev/null)" = "mā ā" ]; }
wait_for 20 copied || fail "the Unicode copy reads \"$(user timeout 5 wl-paste -n 2>&1)\", not \"mā ā\""
echo PASS
