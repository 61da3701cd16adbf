#!/bin/bash
# The X file reader's benchmark, on an existing build that it neither builds nor writes to:
# generates the grid at four million triangles in text, binary and both MSZIP forms (once, in
# $TMPDIR/tessaline-xbench), reads each in turn for ROUNDS rounds, interleaved, and prints each
# file's best time, CPU time and peak resident size, and each compressed form against its
# uncompressed one. Then assimp on the text, where the build has assimp_speed (configured with
# libassimp-dev installed), and assimp's command line, where the assimp command is installed.
# Usage: bench/run_xfile_bench.sh [ROUNDS]   (default 3; TESS_BUILD=folder for another build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESS_BUILD:-$root/build}
work=${TMPDIR:-/tmp}/tessaline-xbench
rounds=${1:-3}
speed="$build/bench/xfile_speed"
if [ ! -x "$speed" ]; then
    echo "no $speed: build it first (cmake --build build --target xfile_speed)" >&2
    exit 1
fi
mkdir -p "$work"
[ -f "$work/grid_bzip.x" ] || "$speed" generate "$work"

files=(grid.x grid_bin.x grid_tzip.x grid_bzip.x)
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for round in $(seq "$rounds"); do
    for f in "${files[@]}"; do
        line=$("$speed" measure "$work/$f" 1)
        echo "round $round: $line"
        echo "$f $line" >>"$results"
    done
done
# Per file: the best time and CPU time, and the highest peak.
summary=$(awk '{
    f = $1; t = $0; sub(/.*best of 1: /, "", t); s = t + 0
    c = $0; sub(/.*\(CPU /, "", c); c = c + 0
    p = $0; sub(/.*peak resident /, "", p); p = p + 0
    if (!(f in best) || s < best[f]) best[f] = s
    if (!(f in cpu) || c < cpu[f]) cpu[f] = c
    if (p > peak[f]) peak[f] = p
} END { for (f in best) printf "%s %.3f %.3f %.0f\n", f, best[f], cpu[f], peak[f] }' "$results")
echo
for f in "${files[@]}"; do
    echo "$summary" | awk -v f="$f" '$1 == f { printf "%-12s best %.3f s (CPU %.3f s), peak %d MiB\n", $1, $2, $3, $4 }'
done
ratio() {
    echo "$summary" | awk -v a="$1" -v b="$2" '
        $1 == a { at = $2; ac = $3; ap = $4 } $1 == b { bt = $2; bc = $3; bp = $4 }
        END { printf "%s against %s: time %.2f times (CPU %.2f), peak %.2f times\n", a, b, at / bt, ac / bc, ap / bp }'
}
ratio grid_tzip.x grid.x
ratio grid_bzip.x grid_bin.x

if [ -x "$build/bench/assimp_speed" ]; then
    "$build/bench/assimp_speed" raw "$work/grid.x" 1
    "$build/bench/assimp_speed" indexed "$work/grid.x" 1
else
    echo "assimp_speed is not in $build/bench (configure with libassimp-dev installed): skipped"
fi
if command -v assimp >/dev/null; then
    start=$(date +%s.%N)
    assimp info "$work/grid.x" >/dev/null
    echo "assimp info (command line) on grid.x: $(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $start }") s"
else
    echo "the assimp command is not installed (Debian package assimp-utils): skipped"
fi
