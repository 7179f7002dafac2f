#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer, then runs each for a given time:
#
#   tests/fuzz/run.sh [SECONDS] [TARGET...]      (default: 300 seconds, every target)
#
# Targets: profile, ansi_codec, exam_files, scenario_parser, question_banks, moodle_xml. Each starts from its seeds in
# tests/fuzz/corpus/TARGET and keeps what it learns in build-fuzz/corpus/TARGET (outside the
# repository); a finding is saved in build-fuzz/findings/TARGET/ and the script ends with a
# failure. Set PROVERON_FUZZ_BUILD to build elsewhere than build-fuzz/.
set -euo pipefail

seconds=${1:-300}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(profile ansi_codec exam_files scenario_parser question_banks moodle_xml)

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${PROVERON_FUZZ_BUILD:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DPROVERON_FUZZ=ON -DPROVERON_SANITIZE=ON \
    -DPROVERON_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

failed=()
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    echo "== fuzz_$target for $seconds s"
    if ! "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$build/findings/$target/" -print_final_stats=1 \
        "$build/corpus/$target" "$root/tests/fuzz/corpus/$target"; then
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "findings in: ${failed[*]} (see $build/findings/)" >&2
    exit 1
fi
echo "no findings"
