#!/bin/bash
# The real window under Xvfb: its title, a 1000 x 500 client area at the place the program asks
# for, a key press reaching the program's key table, and the close box ending the process with
# exit code 0. Usage: window_under_xvfb.sh TESSALINE XCLOSE WRITE_TEST_ASSETS
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclose=$2
assets=$3
title="Tessaline Direct3D tester (XMesh)"

start_xvfb
mkdir -p "$E2E_DIR/run"
"$assets" "$E2E_DIR/run"
cd "$E2E_DIR/run" || exit 1
E2E_LOG="$E2E_DIR/out.log"
TESSALINE_TRACE="$E2E_DIR/trace.log" "$bin" >"$E2E_LOG" 2>&1 &
APP_PID=$!

wid=$(wait_window "$title") || fail "no window titled '$title'"
[ "$(xdotool getwindowname "$wid")" = "$title" ] || fail "wrong title"
geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry" | grep -q "Geometry: 1000x500" || fail "client area is not 1000x500: $geometry"
# The outer frame's top left is at (300, 200); with no window manager the client area shows at
# (308, 231).
echo "$geometry" | grep -q "Position: 308,231" || fail "client area misplaced: $geometry"

# M toggles mouse look, whose follow-up hides the cursor. The key is held until the toggle shows:
# a press and release taken in one drain of the queue toggle nothing.
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool keydown m
wait_line "$E2E_DIR/trace.log" '^WindowProc\(hwnd#1, 256, 77,' ||
    fail "the key press did not reach the window procedure"
wait_line "$E2E_DIR/trace.log" '^ShowCursor\(0\) = -1' || fail "the toggle was not applied"
xdotool keyup m

"$xclose" "$wid"
for _ in $(seq 100); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end after the close box"
wait "$APP_PID"
code=$?
APP_PID=
[ "$code" = 0 ] || fail "exit code $code, expected 0; output: $(cat "$E2E_DIR/out.log")"
echo "PASS: window, key and close box"
