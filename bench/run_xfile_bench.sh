#!/bin/bash
# The X file reader's benchmark: generates the 700 x 700 grid (text, about 90 MB, and binary),
# measures our reader on both and assimp 5.2.5 (installed here, for this script only) on the
# text file in the same run, and prints the figures and the ratio.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESS_BUILD:-$root/build}  # another build folder: TESS_BUILD=...
work=${TMPDIR:-/tmp}/tessaline-xbench
mkdir -p "$work"

for package in libassimp-dev assimp-utils; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "$package" >/dev/null
    fi
done
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target xfile_speed assimp_speed

[ -f "$work/grid.x" ] || "$build/bench/xfile_speed" generate "$work"
ours=$("$build/bench/xfile_speed" measure "$work/grid.x" 5)
echo "$ours"
"$build/bench/xfile_speed" measure "$work/grid_bin.x" 5
raw=$("$build/bench/assimp_speed" raw "$work/grid.x" 3)
echo "$raw"
indexed=$("$build/bench/assimp_speed" indexed "$work/grid.x" 3)
echo "$indexed"
rate() { echo "$1" | sed -E 's/.* ([0-9]+) MB\/s.*/\1/'; }
a=$(rate "$ours")
b=$(rate "$raw")
c=$(rate "$indexed")
# assimp's command-line importer, as a user would time it.
start=$(date +%s.%N)
assimp info "$work/grid.x" >/dev/null
cli=$(awk "BEGIN{printf \"%.0f\", $(stat -c %s "$work/grid.x") / 1e6 / ($(date +%s.%N) - $start)}")
echo "assimp info (command line): ${cli} MB/s"
echo "text throughput: ours ${a} MB/s; assimp ${b} MB/s raw (ratio $(awk "BEGIN{printf \"%.1f\", $a/$b}")x)," \
    "${c} MB/s to the same indexed mesh (ratio $(awk "BEGIN{printf \"%.1f\", $a/$c}")x)," \
    "${cli} MB/s by the command line (ratio $(awk "BEGIN{printf \"%.1f\", $a/$cli}")x)"
