#!/usr/bin/env bash
# The class day in real windows: a virtual X server of 1366 x 768 with openbox as its
# window manager, the test program run once at 100 % and once at QT_SCALE_FACTOR=1.5.
#   tests/classday/run.sh build/bin/proveron_class_day
# Needs xvfb, openbox and x11-utils. Where no X server starts, it fails: it never skips.
# CLASSDAY_SHOTS=DIR keeps screenshots of the set-up at 150 % and of the start window
# after the last student.
set -uo pipefail
binary=${1:?the class-day test program}
test_name="class day"
. "$(dirname "$0")/x_session.sh"

status=0
"$binary" || status=1
QT_SCALE_FACTOR=1.5 "$binary" || status=1
exit $status
