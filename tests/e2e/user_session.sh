#!/bin/bash
# The real tessaline under Xvfb as a user runs it: the window, the first frame of the bundled
# scene, each key's effect on the picture, mouse look, and the close box; then the same with a
# shader file missing and with a mesh missing, whose boxes are checked (caption, text, style,
# answer) and dismissed. With E2E_FONTS=none the X server has no core fonts, SDL cannot show its
# box, and the platform's own box must show instead.
# Usage: user_session.sh TESSALINE XCLOSE XPROBE ASSETS_DIR
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclose=$2
xprobe=$3
assets=$4
title="Tessaline Direct3D tester (XMesh)"

start_xvfb

probe() { "$xprobe" "$wid" "$@"; }

# A toggle key: held across several frames (a press and release taken in one drain of the queue
# toggles nothing) and released before the X server's auto-repeat starts (660 ms), which would
# toggle it again.
press() {
    xdotool keydown "$1"
    sleep 0.3
    xdotool keyup "$1"
}

# Holds movement key $1 until condition $2 holds.
hold_until() {
    xdotool keydown "$1"
    wait_for "$2"
    local ok=$?
    xdotool keyup "$1"
    return $ok
}

# Starts the program in a copy of the assets without the files named, and waits for its window.
launch() {
    run="$E2E_DIR/run-$RANDOM"
    mkdir -p "$run"
    cp "$assets"/* "$run"/
    for missing in "$@"; do rm -f "$run/$missing"; done
    E2E_LOG="$run/out.log"
    trace="$run/trace.log"
    (cd "$run" && TESSALINE_TRACE="$trace" exec "$bin" >"$E2E_LOG" 2>&1) &
    APP_PID=$!
    wid=$(wait_window "$title" 30) || fail "no window titled '$title'"
}

# Checks the message box captioned $1 that shows text $2 with style $3 and owner $4 (hwnd#1 or
# NULL), and dismisses it with Return, its default button.
dismiss_box() {
    local caption=$1 text=$2 style=$3 owner=$4 box
    box=$(wait_window "$caption" 30) || fail "no message box captioned '$caption'"
    wait_line "$trace" "^MessageBoxA\\($owner, \"$text\", \"$caption\", $style\\)\$" ||
        fail "no MessageBoxA($owner, \"$text\", \"$caption\", $style) in the trace"
    if [ "${E2E_FONTS:-}" = none ]; then
        # Our own box: its text drawn in black, its one OK button, SDL's reason said once.
        wait_for '[ "$("$xprobe" "$box" count 0 0 400 40 stripe)" -gt 60 ]' 5 ||
            fail "the box shows no text"
        wait_line "$E2E_LOG" "showing our own" 5 || fail "no word of SDL's failure"
    fi
    xdotool windowfocus "$box" 2>/dev/null
    xdotool key Return
    wait_for '[ -z "$(find_window "$caption")" ]' 10 || fail "the box '$caption' did not go away"
    wait_for '[ "$(box_answer)" = 1 ]' 5 || fail "the box answered '$(box_answer)', not IDOK"
}

close_and_expect_zero() {
    "$xclose" "$wid"
    wait_for "! kill -0 $APP_PID 2>/dev/null" 15 || fail "the program did not end after the close box"
    wait "$APP_PID"
    local code=$?
    APP_PID=
    [ "$code" = 0 ] || fail "exit code $code, expected 0"
}

first_frame() { wait_for '[ "$(probe count 0 0 600 28 yellow)" -gt 100 ]' 60 || fail "no overlay: no frame"; }

# ---- The scene as it starts, and each key ------------------------------------------------------
launch
[ "$(xdotool getwindowname "$wid")" = "$title" ] || fail "wrong title"
[ "$(probe size)" = "1000 500" ] || fail "client area is $(probe size), not 1000 500"
first_frame
xdotool windowfocus --sync "$wid" 2>/dev/null
[ "$(probe pixel 999 0)" = 2F2F2F ] || fail "top right corner is $(probe pixel 999 0), not the background"
[ "$(probe pixel 999 60)" = 2F2F2F ] || fail "the sky is $(probe pixel 999 60), not the background"
tiger=$(probe count 300 80 850 330 orange)
stripes=$(probe count 300 80 850 330 stripe)
[ "$tiger" -gt 3000 ] || fail "too little orange near the centre: $tiger pixels"
[ "$stripes" -gt 300 ] || fail "too few of the tiger's stripes near the centre: $stripes pixels"
[ "$(probe count 0 28 300 42 red)" -gt 30 ] || fail "no red debug line"
echo "first frame: window, background, tiger ($stripes stripe pixels) and overlay"

press space
wait_for '[ "$(probe count 0 0 600 28 yellow)" -eq 0 ]' || fail "SPACE did not hide the overlay"
press space
wait_for '[ "$(probe count 0 0 600 28 yellow)" -gt 100 ]' || fail "SPACE did not bring the overlay back"
echo "SPACE hides and shows the overlay"

press Return
wait_for '[ "$(probe count 0 320 1000 500 background)" -gt 20000 ]' || fail "RETURN did not show the wireframe"
press Return
wait_for '[ "$(probe count 0 320 1000 500 background)" -lt 100 ]' ||
    fail "RETURN did not bring solid filling back"
echo "RETURN switches wireframe"

probe save "$E2E_DIR/before-r"
press r
wait_for '[ "$(probe diff "$E2E_DIR/before-r" 300 80 850 330)" -gt 3000 ]' || fail "R did not turn the tiger"
# Still: two captures a moment apart agree around the tiger.
still() {
    probe save "$E2E_DIR/still"
    sleep 0.3
    [ "$(probe diff "$E2E_DIR/still" 300 80 850 330)" -lt 50 ]
}
press r
wait_for still 5 || fail "R again did not stop the turning"
echo "R turns the tiger and stops it"

probe save "$E2E_DIR/before-u"
press u
wait_for '[ "$(probe diff "$E2E_DIR/before-u" 300 80 850 330)" -gt 2000 ]' ||
    fail "U did not change the tiger's colours"
echo "U changes the tiger's colours"

before=$(probe count 0 0 1000 500 stripe)
hold_until w "[ \"\$(probe count 0 0 1000 500 stripe)\" -gt $((before * 3 / 2)) ]" || fail "W did not bring the tiger closer"
echo "W moves closer: the tiger grows from $before to $(probe count 0 0 1000 500 stripe) stripe pixels"

press m
probe save "$E2E_DIR/before-m"
for _ in 1 2 3 4 5 6; do
    xdotool mousemove_relative -- 40 0
    sleep 0.1
done
wait_for '[ "$(probe diff "$E2E_DIR/before-m" 0 60 1000 500)" -gt 20000 ]' || fail "mouse look did not turn the view"
press m
echo "M with mouse movement turns the view"

close_and_expect_zero
echo "the close box ends the program with exit code 0"

# ---- A shader file missing: the warning, then the scene -----------------------------------------
launch pixel.psh
dismiss_box WARNING "bad PS code or the file doesn't exist!" 0 hwnd#1
first_frame
[ "$(probe count 300 80 850 330 stripe)" -gt 300 ] || fail "no tiger after the warning"
close_and_expect_zero
echo "a missing pixel shader is reported and the program runs on"

# ---- A mesh missing: its box, then the other mesh -----------------------------------------------
launch Tiger.x
dismiss_box "CAN'T LOAD MESH!" "Tiger.x" 0 NULL
first_frame
[ "$(probe count 300 80 850 330 stripe)" -lt 20 ] || fail "a tiger without Tiger.x"
[ "$(probe pixel 500 450)" != 2F2F2F ] || fail "no sea floor after the missing mesh"
close_and_expect_zero
if [ "${E2E_FONTS:-}" = none ]; then
    [ "$(grep -c "showing our own" "$E2E_LOG")" = 1 ] || fail "SDL's reason said more than once"
fi
echo "PASS: a missing mesh is reported and the other mesh still draws"
