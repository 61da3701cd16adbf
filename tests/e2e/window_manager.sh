#!/bin/bash
# The real window under a window manager (openbox) on Xvfb: the manager's outer frame at
# (300, 200) where the program asks for its window, the client area 1000 x 500; a message box
# that names the window as its owner stays on top of it (transient for it); the manager's close
# of the window ends the program with exit code 0. Without a manager, window_under_xvfb.sh.
# Usage: window_manager.sh TESSALINE XCLOSE WRITE_TEST_ASSETS
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclose=$2
write_assets=$3
title="Tessaline Direct3D tester (XMesh)"
command -v openbox >/dev/null 2>&1 || { echo "SKIP: openbox is not installed"; exit 77; }

start_xvfb
HOME="$E2E_DIR" openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
WM_PID=$!
wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' 10 ||
    fail "openbox did not start: $(cat "$E2E_DIR/openbox.log")"

# Frame extents of window $1 as "left right top bottom".
extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ','
}

# Openbox announces itself before it manages new windows; under load a window mapped in
# between stays unmanaged and unmapped. A probe window it frames says it is ready.
xev -name wm-probe >/dev/null 2>&1 &
probe_pid=$!
probe=$(wait_window wm-probe 20) || fail "the probe window did not appear"
wait_for '[ -n "$(extents "$probe")" ]' 30 || fail "openbox did not manage the probe window"
kill "$probe_pid" 2>/dev/null
wait "$probe_pid" 2>/dev/null

# Starts the program in a folder of test assets less the files named.
launch() {
    run="$E2E_DIR/run-$RANDOM"
    mkdir -p "$run"
    "$write_assets" "$run" >/dev/null
    for missing in "$@"; do rm -f "$run/$missing"; done
    E2E_LOG="$run/out.log"
    (cd "$run" && exec "$bin" >"$E2E_LOG" 2>&1) &
    APP_PID=$!
}

launch
wid=$(wait_window "$title" 30) || fail "no window titled '$title'"
wait_for '[ -n "$(extents "$wid")" ]' 10 || fail "openbox gave the window no frame"
read -r left right top bottom <<<"$(extents "$wid")"
info=$(xwininfo -id "$wid")
x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
w=$(echo "$info" | sed -n 's/.*Width: *//p')
h=$(echo "$info" | sed -n 's/.*Height: *//p')
[ "$w $h" = "1000 500" ] || fail "client area $w x $h, not 1000 x 500"
[ "$((x - left)) $((y - top))" = "300 200" ] ||
    fail "outer frame at ($((x - left)), $((y - top))), not (300, 200); frame $left $right $top $bottom"
echo "under openbox: frame ($left $right $top $bottom), outer top left (300, 200), client 1000 x 500"

"$xclose" "$wid"
wait_exit "$APP_PID" 15
APP_PID=
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the close, expected 0"
echo "the manager's close ends the program with exit code 0"

launch pixel.psh
box=$(wait_window WARNING 30) || fail "no WARNING box"
wid=$(wait_window "$title" 5) || fail "no window"
transient=$(xprop -id "$box" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*window id # //p')
[ "$((transient))" = "$((wid))" ] || fail "the box is transient for '$transient', not the window $wid"
xdotool windowfocus "$box" 2>/dev/null
xdotool key Return
wait_for '[ -z "$(find_window WARNING)" ]' 10 || fail "the box did not go away"
"$xclose" "$wid"
wait_exit "$APP_PID" 15
APP_PID=
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the box and the close, expected 0"
echo "PASS: the owned box stays with its window; exit code 0"
