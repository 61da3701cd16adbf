#!/bin/bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for a while (default 30 s) from our seed corpora.
# Usage: run_fuzzers.sh [seconds]
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTESS_FUZZ=ON -DTESS_WERROR=OFF \
    -DBUILD_TESTING=OFF -DTESS_BENCH=OFF >/dev/null
cmake --build "$build" --target xfile_fuzz dds_fuzz image_fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in xfile dds image; do
    mkdir -p "$work/$target"
    echo "== ${target}_fuzz for ${seconds} s"
    if ! "$build/${target}_fuzz" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$work/$target-" "$work/$target" "$root/tests/fuzz/corpus/$target" \
        >"$work/$target.log" 2>&1; then
        tail -n 60 "$work/$target.log"
        mkdir -p "$build/artifacts" && cp "$work/$target"-* "$build/artifacts/" 2>/dev/null || true
        status=1
    else
        grep -E "stat::number_of_executed_units|Done" "$work/$target.log" | tail -n 2
    fi
done
exit $status
