# Sourced by the tests in real windows: a virtual X server of 1366 x 768 with openbox as
# its window manager, and a desktop session's environment. Needs xvfb, openbox and
# x11-utils; where no X server starts, it fails. Sets DISPLAY and `work` (a temporary
# folder removed on exit); the caller's `cleanup_more`, if defined, runs first on exit.

fail() { echo "$test_name: $*" >&2; exit 1; }
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || fail "$tool is missing (apt-get install xvfb openbox x11-utils)"
done

work=$(mktemp -d)
xvfb=
wm=
cleanup() {
    declare -F cleanup_more >/dev/null && cleanup_more
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The server picks a free display itself and writes its number once it takes clients.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    grep -q '^[0-9]' "$work/display" 2>/dev/null && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
done
grep -q '^[0-9]' "$work/display" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "no X server started"; }
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { cat "$work/openbox.log" >&2; fail "the window manager did not start"; }

# A desktop session's environment: the program's own settings, nothing of the caller's.
# Qt's file dialog keeps its state (the folders visited, the view) in the configuration
# folder: a session of its own, so that two of these tests never share or change it, nor
# the user's.
mkdir -m 700 "$work/runtime" "$work/config"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING \
    QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE PROVERON_FOLDER

# D-Bus, which the X11 platform uses, keeps a buffer to the end; nothing of ours is hidden.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp"
