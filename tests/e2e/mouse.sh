#!/bin/bash
# The DirectInput mouse under Xvfb, moved by XTEST as a mouse moves the pointer, read in a loop
# as the program's idle iterations read it: every count of a burst arrives (none lost, none
# accelerated), counting goes on past the screen's edge, a move made while another window has
# the focus arrives, and a warp of the pointer by another program counts nothing. The same
# bursts read through the cursor's movement (the fallback) are printed for comparison.
# Usage: mouse.sh SDL_PROBE XINJECT
set -u
. "$(dirname "$0")/lib.sh"
probe_bin=$1
xinject=$2

start_xvfb

# Starts the probe reading the mouse from source $1 (raw or cursor) with the cursor hidden, as
# in mouse look.
start_probe() {
    mkfifo "$E2E_DIR/in-$1"
    "$probe_bin" mouse "$1" <"$E2E_DIR/in-$1" >"$E2E_DIR/out-$1" 2>"$E2E_DIR/err-$1" &
    APP_PID=$!
    exec 4>"$E2E_DIR/in-$1"
    out="$E2E_DIR/out-$1"
    E2E_LOG="$E2E_DIR/err-$1"
    wait_line "$out" "^ready $1\$" 10 || fail "the probe did not start reading from $1"
    ask hide
}

# Sends a command to the probe and waits for its answer; prints the answer's lines.
ask() {
    local before
    before=$(wc -l <"$out")
    echo "$1" >&4
    wait_for "[ \$(grep -c '^ok\$' '$out') -gt \$(head -n $before '$out' | grep -c '^ok\$') ]" 5 ||
        fail "the probe did not answer '$1'"
    tail -n +$((before + 1)) "$out" | grep -v '^ok$'
}

# The counts that arrive for: $@ (an xinject command), read after the loop has had time to
# take them.
counts() {
    ask reset >/dev/null
    "$xinject" "$@" >/dev/null
    sleep 0.3
    ask total
}

stop_probe() {
    echo quit >&4
    exec 4>&-
    wait_exit "$APP_PID" 5
    APP_PID=
}

# ---- Raw motion ----------------------------------------------------------------------------------
start_probe raw
"$xinject" warp 800 500
burst=$(counts rel 100 0 20 2000)
[ "$burst" = "2000 0" ] || fail "a burst of 20 moves of 100 counts arrived as '$burst'"
small=$(counts rel 3 -2 30 1000)
[ "$small" = "90 -60" ] || fail "30 moves of (3, -2) arrived as '$small'"
"$xinject" warp 300 500
fast=$(counts rel 12 0 50 1000)
[ "$fast" = "600 0" ] || fail "50 moves of 12 arrived as '$fast' (pointer acceleration?)"
"$xinject" warp 1590 500
edge=$(counts rel 50 0 10 1000)
[ "$edge" = "500 0" ] || fail "10 moves of 50 past the screen's edge arrived as '$edge'"
[ "$("$xinject" pointer)" = "1599 500" ] || fail "the pointer is not at the screen's edge"
ask reset >/dev/null
focused=$("$xinject" rel-elsewhere 0 40 10)
sleep 0.3
elsewhere=$(ask total)
[ "$focused" = focused ] || fail "the other window did not keep the focus"
[ "$elsewhere" = "0 400" ] || fail "10 moves of 40 with another window focused arrived as '$elsewhere'"
warp=$(counts warp 100 100)
[ "$warp" = "0 0" ] || fail "a warp of the pointer by another program counted '$warp'"
jump=$(counts abs 400 300)
[ "$jump" = "300 200" ] || fail "an absolute XTEST move from (100, 100) to (400, 300) counted '$jump'"
stop_probe
echo "raw motion: burst $burst, small moves $small, fast moves $fast, past the edge $edge," \
    "focus elsewhere $elsewhere, warp $warp, absolute move $jump"

# ---- The cursor's movement, for comparison -------------------------------------------------------
start_probe cursor
"$xinject" warp 800 500
burst=$(counts rel 100 0 20 2000)
"$xinject" warp 300 500
fast=$(counts rel 12 0 50 1000)
"$xinject" warp 1590 500
edge=$(counts rel 50 0 10 1000)
warp=$(counts warp 100 100)
stop_probe
echo "cursor movement (the fallback): burst $burst, fast moves $fast, past the edge $edge," \
    "warp $warp"
echo "PASS"
