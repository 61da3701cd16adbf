#!/bin/bash
# Every way out of the real tessaline ends it with the program's own exit code: Alt+F4; SIGTERM
# in the loop; SIGINT while a message box shows (promptly, the box and every child process
# gone); a start in a folder without any data file, where no shader compile ever runs; a device
# that cannot be created, after which the loop waits for messages instead of spinning; the dummy
# driver asked for; and no display at all, which is an error. The close box is the user session's.
# Run with E2E_FONTS=none too: then the boxes are the platform's own.
# Usage: exits.sh TESSALINE XCLOSE ASSETS_DIR
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclose=$2
assets=$3
title="Tessaline Direct3D tester (XMesh)"
no_display="tessaline: no display: set DISPLAY or WAYLAND_DISPLAY, or use tessaline-snapshot for headless runs"

# Starts the program (with the environment settings given first) in a folder holding the assets
# less the files named after "--"; exports APP_PID, E2E_LOG and trace.
launch() {
    local settings=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do settings+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    run="$E2E_DIR/run-$RANDOM"
    mkdir -p "$run"
    cp "$assets"/* "$run"/
    for missing in "$@"; do rm -f "$run/$missing"; done
    E2E_LOG="$run/out.log"
    trace="$run/trace.log"
    # SIGINT stays at its default, as for a program started from a terminal (a shell's
    # background job would otherwise ignore it).
    (cd "$run" && exec env --default-signal=INT TESSALINE_TRACE="$trace" "${settings[@]}" "$bin" \
        >"$E2E_LOG" 2>&1) &
    APP_PID=$!
}

expect_exit() {
    wait_exit "$APP_PID" "$1"
    APP_PID=
    [ "$EXIT_CODE" = "$2" ] || fail "$3: exit code $EXIT_CODE, expected $2"
}

dismiss() {
    local box
    box=$(wait_window "$1" 30) || fail "no message box captioned '$1'"
    xdotool windowfocus "$box" 2>/dev/null
    xdotool key Return
    wait_for '[ -z "$(find_window "$1")" ]' 10 || fail "the box '$1' did not go away"
}

# The program's CPU time over $1 seconds, in clock ticks (100 a second).
cpu_over() {
    local before after
    before=$(cpu_ticks "$APP_PID")
    sleep "$1"
    after=$(cpu_ticks "$APP_PID")
    echo $((after - before))
}

# ---- No display ---------------------------------------------------------------------------------
E2E_DIR=$(mktemp -d)
trap 'stop_all' EXIT
out=$(cd "$E2E_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$bin" 2>&1)
code=$?
[ "$code" = 1 ] || fail "without a display: exit code $code, expected 1"
[ "$out" = "$no_display" ] || fail "without a display it said: $out"
out=$(cd "$E2E_DIR" && env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:4711 timeout 20 "$bin" 2>&1)
code=$?
[ "$code" = 1 ] || fail "with a display that does not answer: exit code $code, expected 1"
echo "$out" | grep -qF "$no_display" || fail "with a display that does not answer it said: $out"
echo "no display: the error, exit code 1"

# ---- The dummy driver asked for: no window, no device, a wait -----------------------------------
launch SDL_VIDEODRIVER=dummy --
wait_line "$trace" '^WaitMessage\(\)' 30 || fail "the dummy driver's loop does not wait"
ticks=$(cpu_over 1.5)
[ "$ticks" -lt 20 ] || fail "the loop without a device used $ticks ticks of CPU in 1.5 s"
kill -TERM "$APP_PID"
expect_exit 5 0 "SIGTERM with the dummy driver"
[ "$(grep -c "pD3DDevice initialize FAILED!" "$E2E_LOG")" = 1 ] || fail "the device failure not said once"
echo "dummy driver: the failure said once, $ticks ticks of CPU in 1.5 s, SIGTERM ends it with 0"

start_xvfb

# ---- Alt+F4 -------------------------------------------------------------------------------------
launch --
wid=$(wait_window "$title" 30) || fail "no window"
wait_line "$trace" '^Present\(' 60 || fail "no frame"
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool key alt+F4
expect_exit 15 0 "Alt+F4"
echo "Alt+F4: exit code 0"

# ---- SIGTERM in the loop ------------------------------------------------------------------------
launch --
wait_window "$title" 30 >/dev/null || fail "no window"
wait_line "$trace" '^Present\(' 60 || fail "no frame"
kill -TERM "$APP_PID"
started=$(date +%s%N)
expect_exit 5 0 "SIGTERM in the loop"
took=$((($(date +%s%N) - started) / 1000000))
grep -q "ended by signal" "$E2E_LOG" && fail "SIGTERM needed the forced end"
grep -q '^WindowProc(hwnd#1, 16, 0, 0)' "$trace" || fail "SIGTERM did not reach the window as WM_CLOSE"
echo "SIGTERM in the loop: WM_CLOSE, exit code 0 after $took ms"

# ---- SIGINT while a box shows -------------------------------------------------------------------
launch -- pixel.psh
box=$(wait_window WARNING 30) || fail "no WARNING box"
children=$(children_of "$APP_PID")
kill -INT "$APP_PID"
started=$(date +%s%N)
expect_exit 5 0 "SIGINT while a box shows"
took=$((($(date +%s%N) - started) / 1000000))
[ -z "$(find_window WARNING)" ] || fail "the box outlived the program"
for child in $children; do
    kill -0 "$child" 2>/dev/null && fail "child process $child outlived the program"
done
grep -q "ended by signal" "$E2E_LOG" && fail "SIGINT needed the forced end"
echo "SIGINT while a box shows: exit code 0 after $took ms; box and $(echo $children | wc -w) child process(es) gone"

# ---- A folder without data files: no shader compile ever runs -----------------------------------
launch -- vertex.vsh pixel.psh Tiger.x seafloor.x
for caption in WARNING WARNING "CAN'T LOAD MESH!" "CAN'T LOAD MESH!"; do dismiss "$caption"; done
wid=$(wait_window "$title" 30) || fail "no window"
wait_line "$trace" '^Present\(' 60 || fail "no frame"
"$xclose" "$wid"
expect_exit 15 0 "the close box with no data files"
echo "no data files: four boxes, then the close box ends it with 0"

# ---- No OpenGL 3.3 device: the failure once, then a loop that waits -----------------------------
launch MESA_GL_VERSION_OVERRIDE=3.0 --
dismiss "FATAL ERROR"
wid=$(wait_window "$title" 30) || fail "no window"
wait_line "$trace" '^WaitMessage\(\)' 30 || fail "the loop without a device does not wait"
ticks=$(cpu_over 1.5)
[ "$ticks" -lt 20 ] || fail "the loop without a device used $ticks ticks of CPU in 1.5 s"
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool key m
wait_line "$trace" '^WindowProc\(hwnd#1, 256, 77,' 10 || fail "a waiting loop missed a key"
"$xclose" "$wid"
expect_exit 15 0 "the close box without a device"
[ "$(grep -c '^MessageBoxA(' "$trace")" = 1 ] || fail "the device failure not reported once"
echo "PASS: no device: one box, $ticks ticks of CPU in 1.5 s, keys still arrive, the close box ends it with 0"
