#!/bin/bash
# tessaline as a native Wayland client: SDL's wayland driver, no X display in its environment.
# Weston headless offers no seat, so no input can reach a client there, and SDL 2.26 crashes in
# SDL_Init without one: the program must say so in one line and exit 1. The session itself runs
# on weston's X11 backend inside Xvfb, whose window takes the X server's keys and pointer and
# hands them to its Wayland clients as a seat: a missing shader's box shows and answers Return,
# the first frame shows, SPACE hides the overlay, mouse look turns the view through SDL's
# relative pointer, Alt+F4 ends the program with exit code 0 (weston draws no window frames, and
# the program turns SDL 2.26's own off, which crash when a window closes; where the compositor
# draws a frame, its close box), and so does SIGTERM. Pixels are read from weston's X window,
# where it composes.
# Usage: wayland.sh TESSALINE XPROBE ASSETS_DIR
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xprobe=$2
assets=$3

command -v weston >/dev/null 2>&1 || { echo "SKIP: weston is not installed"; exit 77; }
start_xvfb
export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Starts weston on socket $1 with the options after it.
start_weston() {
    local socket=$1
    shift
    weston --no-config --idle-time=0 --socket="$socket" "$@" >"$E2E_DIR/weston-$socket.log" 2>&1 &
    WESTON_PID=$!
    wait_for "[ -S '$XDG_RUNTIME_DIR/$socket' ]" 10 ||
        fail "weston did not start: $(tail -n 3 "$E2E_DIR/weston-$socket.log")"
}

stop_weston() {
    kill "$WESTON_PID"
    wait "$WESTON_PID" 2>/dev/null
    WESTON_PID=
}

# Starts the program on weston's socket $WAYLAND in a copy of the assets without the files named.
launch() {
    run="$E2E_DIR/run-$RANDOM"
    mkdir -p "$run"
    cp "$assets"/* "$run"/
    for missing in "$@"; do rm -f "$run/$missing"; done
    E2E_LOG="$run/out.log"
    trace="$run/trace.log"
    (cd "$run" && unset DISPLAY && WAYLAND_DISPLAY=$WAYLAND SDL_VIDEODRIVER=wayland \
        TESSALINE_TRACE="$trace" exec "$bin" >"$E2E_LOG" 2>&1) &
    APP_PID=$!
}

# ---- Weston headless: no seat --------------------------------------------------------------------
sdl=$(pkg-config --modversion sdl2 2>/dev/null || echo 0)
if [ "$(printf '%s\n2.30.0\n' "$sdl" | sort -V | head -n1)" = 2.30.0 ]; then
    echo "SDL $sdl starts without a seat: the headless check does not apply"
else
    start_weston headless --backend=headless-backend.so
    WAYLAND=headless
    launch
    wait_exit "$APP_PID" 20
    APP_PID=
    [ "$EXIT_CODE" = 1 ] || fail "without a seat: exit code $EXIT_CODE, expected 1"
    [ "$(grep -c "offers no keyboard or pointer" "$E2E_LOG")" = 1 ] ||
        fail "without a seat: no line that says why"
    stop_weston
    echo "weston headless has no seat: no input can be driven there, and the program says it" \
        "cannot start (SDL $sdl would crash) and exits 1"
fi

# ---- Weston in Xvfb: the session -----------------------------------------------------------------
start_weston nested --backend=x11-backend.so --use-pixman --width=1200 --height=700
WAYLAND=nested
wid=$(wait_window "Weston Compositor - screen0" 10) || fail "no weston window on the X server"
xdotool windowfocus "$wid"
probe() { "$xprobe" "$wid" "$@"; }

launch pixel.psh
wait_line "$trace" '^MessageBoxA\(hwnd#1, "bad PS code or the file doesn'"'"'t exist!", "WARNING", 0\)$' 30 ||
    fail "no warning for the missing pixel shader"
wait_for '[ "$(probe count 0 32 1200 700 white)" -gt 5000 ]' 10 || fail "the box does not show"
which="SDL's"
grep -q "showing our own" "$E2E_LOG" && which="our own"
xdotool key Return
wait_for '[ "$(box_answer)" = 1 ]' 10 || fail "the box answered '$(box_answer)', not IDOK"
echo "the missing shader's box shows ($which) and Return answers it"

# The overlay's first line begins at the client area's top left; the sky below it spans the
# client area's width.
wait_for '[ "$(probe count 0 32 1200 700 yellow)" -gt 100 ]' 60 || fail "no overlay: no frame"
read -r left top _ _ <<<"$(probe bounds 0 32 1200 700 yellow)"
[ "$left" != none ] || fail "the overlay went away"
read -r skyLeft _ skyRight _ <<<"$(probe bounds 0 $((top + 50)) 1200 $((top + 51)) background)"
[ "$skyLeft" != none ] || fail "no sky below the overlay"
[ $((skyRight - skyLeft)) = 1000 ] || fail "the client area is $((skyRight - skyLeft)) wide, not 1000"
[ "$(probe count "$left" "$top" $((left + 600)) $((top + 28)) yellow)" -gt 100 ] || fail "no overlay"
grep -q "the compositor places windows" "$E2E_LOG" || fail "no word that the position is not kept"
echo "the window shows its first frame, 1000 wide; where it goes is the compositor's choice" \
    "(the program says so), so its position is not checked"

# A toggle key, pressed until condition $2 holds: held over a few frames (a press and release
# taken in one drain toggle nothing) and released before the key repeats (weston's 400 ms),
# pressed again where a slow frame let the repeat toggle it back.
toggle() {
    for _ in 1 2 3; do
        xdotool keydown "$1"
        sleep 0.2
        xdotool keyup "$1"
        wait_for "$2" 5 && return 0
    done
    return 1
}
toggle space '[ "$(probe count "$left" "$top" $((left + 600)) $((top + 28)) yellow)" -eq 0 ]' ||
    fail "SPACE did not hide the overlay"
echo "keys reach the window: SPACE hides the overlay"

# The heading of the view direction, atan2(x, z), from the last view in the trace (the
# direction is the view matrix's third column).
heading() {
    grep '^SetTransform(2, ' "$trace" | tail -n1 | tr -d '[];' |
        awk '{ printf "%.4f", atan2($4, $12) }'
}
cursor() { grep '^ShowCursor(' "$trace" | tail -n1 | cut -c12; }
# Still before M: the move into the window is read, and dropped, while mouse look is off. The
# pointer first leaves weston's X window and comes back: weston's X11 backend takes the pointer's
# position only as it enters (motion within is counted as deltas from an unknown start), and
# gives our surface the pointer only where that position lies over it.
xdotool mousemove 1590 990
sleep 0.2
xdotool mousemove $((skyLeft + 500)) $((top + 250))
sleep 0.5
toggle m '[ "$(cursor)" = 0 ]' || fail "M did not hide the cursor"
# Three frames on, SDL's relative pointer has surely reached weston.
frames() { grep -c '^Present(' "$trace"; }
shown=$(frames)
wait_for '[ "$(frames)" -ge $((shown + 3)) ]' 10 || fail "no frames after M"
start=$(heading)
for _ in 1 2 3 4 5; do
    xdotool mousemove_relative -- 40 0
    sleep 0.1
done
# 200 counts of 0.0035 rad to the right: about 0.7 rad more heading (the camera looks a little
# down, so a turn about its own up is not quite one about the vertical).
turned() { awk -v a="$start" -v b="$(heading)" 'BEGIN { exit !(b - a > 0.6 && b - a < 1.0) }'; }
wait_for turned 10 || fail "mouse look did not turn the view right: heading $start, then $(heading)"
toggle m '[ "$(cursor)" = 1 ]' || fail "M did not show the cursor again"
echo "mouse look turns the view by the relative pointer's counts: heading $start, then $(heading)"

if grep -q "the windows have no title bar" "$E2E_LOG"; then
    echo "weston draws no window frames, and SDL's own are off (they crash when a window closes):" \
        "no close box to click, so Alt+F4 closes"
    xdotool key alt+F4
else
    # The frame's close button: the title bar's right end, above the client area.
    xdotool mousemove $((skyRight - 16)) $((top - 12)) click 1
fi
wait_exit "$APP_PID" 15
APP_PID=
[ "$EXIT_CODE" = 0 ] || fail "closed: exit code $EXIT_CODE, expected 0"
echo "closing the window ends the program with exit code 0"

launch
wait_line "$trace" '^Present\(' 60 || fail "no frame presented"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 15
APP_PID=
[ "$EXIT_CODE" = 0 ] || fail "SIGTERM: exit code $EXIT_CODE, expected 0"
echo "PASS: SIGTERM ends it with exit code 0"
