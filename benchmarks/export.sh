#!/usr/bin/env bash
# `proveron export` of a large exam against the floor of reading the same exam in the same
# run: every ticket folder listed once and every file in it read (read-exam, built with
# the program from benchmarks/read_exam.c). Prints the
# median wall and processor time and the peak resident memory of each, and the ratios.
#   benchmarks/export.sh [BUILD_DIR] [RUNS] [TICKETS...]
# Each exam has tickets of five questions (text, five variants, answer; no pictures) and
# is generated once under $TMPDIR (kept between runs). The runs are interleaved: floor,
# GIFT, XML, then again. A Release build measures what users get:
#   cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DPROVERON_TESTS=OFF
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
shift $(($# > 2 ? 2 : $#))
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1000 10000)
base=${TMPDIR:-/tmp}/proveron-export-bench

make_exam() { # FOLDER TICKETS
    python3 - "$1" "$2" <<'MAKE'
import os, sys
folder, tickets = sys.argv[1], int(sys.argv[2])
exam = os.path.join(folder, 'b', 'exam')
os.makedirs(exam, exist_ok=True)
def put(path, text):
    with open(path, 'wb') as f:
        f.write(text.encode('cp1251'))
put(os.path.join(exam, 'lzm.lzm'), 'Физика\r\n')
put(os.path.join(folder, 'test.ini'), '[test]\r\nre=rus\r\ntime=1\r\n')
for t in range(1, tickets + 1):
    ticket = os.path.join(exam, 'b%d' % t)
    os.makedirs(ticket, exist_ok=True)
    for n in range(1, 6):
        variants = ['Вариант %d вопроса %d билета %d' % (v, n, t) for v in range(1, 6)]
        put(os.path.join(ticket, 'q%d.txt' % n), 'Вопрос %d билета %d: что {верно}?\r\n' % (n, t))
        put(os.path.join(ticket, 'v%d.txt' % n), '\r\n'.join(variants) + '\r\n')
        put(os.path.join(ticket, 'o%d.txt' % n), variants[2] + '\r\n')
MAKE
}

# Runs the command RUNS times (interleaved by the caller) and appends "wall user+sys peakKB".
measure() { # OUTFILE COMMAND...
    local out=$1
    shift
    /usr/bin/time -f '%e %U %S %M' -o "$out.one" "$@" >/dev/null 2>&1 || {
        echo "failed: $*" >&2
        cat "$out.one" >&2
        exit 1
    }
    awk '{ printf "%s %.3f %s\n", $1, $2 + $3, $4 }' "$out.one" >>"$out"
}

median() { # FILE COLUMN
    sort -g -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}

printf '%-8s %-6s %9s %9s %9s %9s %9s %9s %9s\n' tickets what 'wall s' 'cpu s' 'peak MB' \
    'wall x' 'cpu x' 'floor w' 'floor c'
for tickets in "${sizes[@]}"; do
    folder=$base/$tickets
    [ -f "$folder/b/exam/b$tickets/o5.txt" ] || make_exam "$folder" "$tickets"
    results=$(mktemp -d)
    # Once untimed, so that every run finds the files in the page cache alike.
    "$build/bin/read-exam" "$folder/b/exam" >/dev/null
    for ((i = 0; i < runs; i++)); do
        measure "$results/floor" "$build/bin/read-exam" "$folder/b/exam"
        measure "$results/gift" "$build/bin/proveron" --folder "$folder" export gift \
            "$folder/b/exam" "$results/exam.gift"
        measure "$results/xml" "$build/bin/proveron" --folder "$folder" export xml \
            "$folder/b/exam" "$results/exam.xml"
    done
    floor_wall=$(median "$results/floor" 1)
    floor_cpu=$(median "$results/floor" 2)
    for what in floor gift xml; do
        wall=$(median "$results/$what" 1)
        cpu=$(median "$results/$what" 2)
        peak=$(median "$results/$what" 3)
        awk -v t="$tickets" -v w="$what" -v wall="$wall" -v cpu="$cpu" -v peak="$peak" \
            -v fw="$floor_wall" -v fc="$floor_cpu" 'BEGIN {
                printf "%-8s %-6s %9.3f %9.3f %9.1f %9.2f %9.2f %9.3f %9.3f\n", t, w, wall, cpu,
                    peak / 1024, wall / fw, (fc > 0 ? cpu / fc : 0), fw, fc }'
    done
    rm -rf "$results"
done
