#!/bin/bash
# The pixel probe in the real window under Xvfb: a Ctrl + left click on the tests' tiger prints
# that pixel's history on stderr and shows its short form in a cyan line below the overlay; the
# program's window procedure never sees the click, and the program still closes with exit code 0.
# Usage: probe_click.sh TESSALINE XCLOSE XPROBE WRITE_TEST_ASSETS
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclose=$2
xprobe=$3
assets=$4
title="Tessaline Direct3D tester (XMesh)"

start_xvfb
mkdir -p "$E2E_DIR/run"
"$assets" "$E2E_DIR/run"
cd "$E2E_DIR/run" || exit 1
E2E_LOG="$E2E_DIR/out.log"
TESSALINE_TRACE="$E2E_DIR/trace.log" "$bin" >"$E2E_LOG" 2>&1 &
APP_PID=$!
wid=$(wait_window "$title") || fail "no window titled '$title'"
wait_line "$E2E_DIR/trace.log" '^Present\(' 20 || fail "no frame presented"

# The tests' tiger is a square about (585, 165) of the client area, which is at (308, 231).
[ "$("$xprobe" "$wid" count 0 42 1000 58 cyan)" -lt 5 ] || fail "a probe line before any click"
xdotool mousemove 893 396
xdotool keydown Control_L
xdotool click 1
xdotool keyup Control_L
wait_line "$E2E_LOG" '^pixel \(585, 165\): final colour #' 20 || fail "no report on stderr"
wait_line "$E2E_LOG" '<- last to write the pixel' 5 || fail "the report names no last draw"
wait_for '[ "$("$xprobe" "$wid" count 0 42 1000 58 cyan)" -gt 30 ]' 10 ||
    fail "no cyan probe line below the overlay"
# WM_LBUTTONDOWN (513) never reached the program.
grep -qE '^WindowProc\(hwnd#1, 513,' "$E2E_DIR/trace.log" && fail "the program saw the click"

"$xclose" "$wid"
wait_for "! kill -0 $APP_PID 2>/dev/null" 15 || fail "the program did not end after the close box"
wait "$APP_PID"
code=$?
APP_PID=
[ "$code" = 0 ] || fail "exit code $code, expected 0"
echo "PASS: a Ctrl + click probes the pixel, on stderr and in a line of the platform's own"
