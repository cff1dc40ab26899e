#!/usr/bin/env bash
# The real program read through the accessibility bus a screen reader uses (AT-SPI), on a private
# X display and a private session bus: tests/e2e/accessibility_probe.py checks what it reads.
#   accessibility_test.sh PROGRAM_FOLDER
source "$(dirname "$0")/../lib.sh"
require "dbus, at-spi2-core and python3-pyatspi" dbus-run-session /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "pyatspi is missing (Debian package python3-pyatspi)"
start_display
use_home
mkdir -p "$work/program" && printf '"Ja"\r\n' >"$work/program/font.log"
cp "$1"/{tonquill,pyserif.ttf,zhongwen.gif} "$work/program/" || fail "cannot copy the program"

# Everything started on the private bus stops with it.
cat >"$work/session.sh" <<SESSION
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus=\$!
sleep $((2 * wait_scale))
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$work/program/tonquill" >"$work/program.log" 2>&1 &
program=\$!
timeout $((60 * wait_scale)) /usr/bin/python3 "$(cd "$(dirname "$0")" && pwd)/accessibility_probe.py"
status=\$?
kill -9 \$program \$bus 2>/dev/null
exit \$status
SESSION
timeout $((120 * wait_scale)) dbus-run-session -- bash "$work/session.sh" || fail "the accessibility check failed"
echo PASS
