#!/bin/bash
# Soak: the real program headless for many idle iterations with the rotation on and keys
# pressed throughout (moves, wireframe, shaders, overlay); its resident size must not grow
# by more than 2 percent between the first report and the end (memory given back is no fault).
# Usage: soak.sh SNAPSHOT ASSETS_DIR [ITERATIONS]  (default 100000; the first report comes at
# iteration 10,000, or halfway for runs shorter than 20,000)
set -euo pipefail
snapshot=$1
assets=$2
iterations=${3:-100000}
first=$((iterations >= 20000 ? 10000 : iterations / 2))
last=$((iterations - 1))
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

start=$(date +%s)
report=$("$snapshot" --dir "$assets" --iterations "$iterations" --key 0:R \
    --every 7:W --every 11:S --every 13:A --every 17:D --every 50:RETURN --every 37:U \
    --every 23:SPACE --every 97:M --report-memory "$first" --report-memory "$last" \
    --out "$out/last-%d.png" 2>"$out/stderr")
seconds=$(($(date +%s) - start))
a=$(echo "$report" | awk -v f="$first" '$1 == "memory" && $3 == f { print $5 }')
b=$(echo "$report" | awk -v f="$last" '$1 == "memory" && $3 == f { print $5 }')
[ -n "$a" ] && [ -n "$b" ] || { echo "FAIL: no memory reports"; cat "$out/stderr"; exit 1; }
change=$(awk "BEGIN { printf \"%.2f\", ($b - $a) * 100.0 / $a }")
echo "soak: $iterations iterations in ${seconds} s; resident ${a} kB at frame $first, ${b} kB at frame $last (${change}%)"
awk "BEGIN { exit !($change <= 2.0) }" || { echo "FAIL: resident size grew"; exit 1; }
echo "PASS"
