#!/usr/bin/env bash
# Start-up of Проверон against a bare Qt window, both to their first window on the screen
# under Xvfb with a window manager: median of RUNS interleaved runs each, and the ratios.
#   benchmarks/startup.sh [BUILD_DIR] [RUNS] [TEST_INI_BYTES]
# With TEST_INI_BYTES, Проверон starts on a copy of its folder whose test.ini is padded
# with a section of teacher's notes to about that size (a 10 MB settings file: 10485760),
# and a third program runs: the bare window that reads that file whole first, the floor.
# Needs xvfb and openbox (apt-get install xvfb openbox). A Release build measures what
# users get: cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DPROVERON_TESTS=OFF
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-15}
ini_bytes=${3:-}
display=:57
folder_env=()
if [ -n "$ini_bytes" ]; then
    copy=$(mktemp -d)
    cp -r "$build/bin/." "$copy/"
    rm -f "$copy"/proveron "$copy"/bare-window "$copy"/proveron-*
    python3 - "$copy/test.ini" "$ini_bytes" <<'PAD'
import sys
path, size = sys.argv[1], int(sys.argv[2])
data = open(path, 'rb').read()
if not data.endswith(b'\r\n'):
    data += b'\r\n'
lines = [data, b'[notes]\r\n']
total = len(data) + 9
i = 0
while total < size:
    lines.append(b'note%d=some teacher\'s remark\r\n' % i)
    total += len(lines[-1])
    i += 1
open(path, 'wb').write(b''.join(lines))
PAD
    folder_env=(PROVERON_FOLDER="$copy")
    echo "test.ini: $(stat -c %s "$copy/test.ini") bytes"
fi
Xvfb $display -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null; [ -n "${copy:-}" ] && rm -rf "$copy"' EXIT
sleep 1

measure() { # program -> "ms rss windows"
    local start out
    start=$(date +%s%3N)
    out=$(cd "$(dirname "$1")" && env "${@:2}" DISPLAY=$display PROVERON_STARTUP_REPORT=1 "$1")
    local shown=${out#*startup_ms=}; shown=${shown%% *}
    local rss=${out#*rss_kb=}; rss=${rss%% *}
    local windows=${out#*windows_shown=}
    echo "$((shown - start)) $rss $windows"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

bare_times=(); ours_times=(); bare_rss=(); ours_rss=(); ours_windows=(); read_times=(); read_rss=()
for _ in $(seq "$runs"); do
    read -r t r w < <(measure "$build/bin/bare-window"); bare_times+=("$t"); bare_rss+=("$r")
    if [ -n "$ini_bytes" ]; then
        read -r t r w < <(measure "$build/bin/bare-window" BARE_WINDOW_READS="$copy/test.ini")
        read_times+=("$t"); read_rss+=("$r")
    fi
    read -r t r w < <(measure "$build/bin/proveron" "${folder_env[@]}"); ours_times+=("$t"); ours_rss+=("$r")
    ours_windows+=("$w")
done
bt=$(printf '%s\n' "${bare_times[@]}" | median); ot=$(printf '%s\n' "${ours_times[@]}" | median)
br=$(printf '%s\n' "${bare_rss[@]}" | median); orss=$(printf '%s\n' "${ours_rss[@]}" | median)
ow=$(printf '%s\n' "${ours_windows[@]}" | median)
echo "runs: $runs (interleaved), medians"
echo "exec -> first window shown: bare ${bt} ms, Проверон ${ot} ms, ratio $(awk "BEGIN {printf \"%.2f\", $ot/$bt}")"
echo "resident memory: bare ${br} kB, Проверон ${orss} kB, ratio $(awk "BEGIN {printf \"%.2f\", $orss/$br}")"
echo "windows shown by then: Проверон ${ow}"
if [ -n "$ini_bytes" ]; then
    ft=$(printf '%s\n' "${read_times[@]}" | median); fr=$(printf '%s\n' "${read_rss[@]}" | median)
    echo "floor (bare window reading test.ini once): ${ft} ms, ${fr} kB; Проверон against it: $(awk "BEGIN {printf \"%.2f\", $ot/$ft}") in time, $(awk "BEGIN {printf \"%.2f\", $orss/$fr}") in memory"
fi
