#!/usr/bin/env bash
# What a screen reader hears: the program's windows in a virtual X server with openbox,
# a D-Bus session with the accessibility bus, and walk.py reading each window's
# accessible tree through AT-SPI, as a screen reader does.
#   tests/a11y/run.sh build/bin/proveron_a11y
# Needs xvfb, openbox, x11-utils, dbus, at-spi2-core and python3-pyatspi. Where the
# accessibility bus cannot start, it says so and skips (exit 77).
set -uo pipefail
binary=${1:?the accessibility test program}
here=$(cd "$(dirname "$0")" && pwd)
test_name="accessibility"
. "$here/../classday/x_session.sh"

# pyatspi belongs to the system's Python, whatever python3 comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3) || fail "python3 is missing"
"$python" -c 'import pyatspi' 2>/dev/null ||
    fail "pyatspi is missing (apt-get install python3-pyatspi at-spi2-core dbus)"
command -v dbus-daemon >/dev/null || fail "dbus-daemon is missing (apt-get install dbus)"

skip() { echo "$test_name: $* - skipped" >&2; exit 77; }
bus_pid=
cleanup_more() { [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null; }
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 \
    3>"$work/bus" 4>"$work/bus.pid" 2>"$work/bus.log" || skip "no D-Bus session bus starts"
bus_pid=$(head -n 1 "$work/bus.pid")
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS
# The session bus starts the accessibility bus and its registry on the first request.
timeout 20 "$python" -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' \
    >"$work/atspi.log" 2>&1 || { cat "$work/atspi.log" >&2; skip "the AT-SPI bus does not start"; }

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 A11Y_PYTHON="$python" A11Y_WALKER="$here/walk.py"
"$binary"
