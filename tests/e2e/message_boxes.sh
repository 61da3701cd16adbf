#!/bin/bash
# MessageBoxA on a real X server, through the SDL platform alone: the box titled with its
# caption, its answers to Return, Escape, Tab and (our own box) mouse clicks, its owner taking no
# input while it shows (keys and the close box dropped, not kept for later), and, without an
# owner, the other window's messages dispatched meanwhile as Win32's modal loop does (our own
# box; SDL's blocks until it closes). With E2E_FONTS=none SDL cannot show a box, so the
# platform's own shows, with its text drawn.
# Usage: message_boxes.sh SDL_PROBE XINJECT XCLOSE XPROBE
set -u
. "$(dirname "$0")/lib.sh"
probe_bin=$1
xinject=$2
xclose=$3
xprobe=$4
own=
[ "${E2E_FONTS:-}" = none ] && own=1

start_xvfb

# Shows a box: $1 owner|none, $2 style, $3 caption, $4 text. Sets box, owner, out.
show() {
    out="$E2E_DIR/out-$RANDOM"
    E2E_LOG="$out.err"
    "$probe_bin" box "$1" "$2" "$3" "$4" >"$out" 2>"$E2E_LOG" &
    APP_PID=$!
    wait_line "$out" '^showing$' 10 || fail "the probe did not start"
    box=$(wait_window "$3" 10) || fail "no box titled '$3'"
    owner=$(wait_window sdl_probe 5) || fail "no window"
    if [ -n "$own" ]; then
        wait_line "$E2E_LOG" "showing our own" 5 || fail "not our own box: $(cat "$E2E_LOG")"
        wait_for '[ "$("$xprobe" "$box" count 0 0 400 40 stripe)" -gt 20 ]' 5 ||
            fail "the box shows no text"
    else
        grep -q "showing our own" "$E2E_LOG" && fail "SDL could not show its box: $(cat "$E2E_LOG")"
    fi
}

# Waits for the answer; fails unless it is $1.
answer_is() {
    wait_line "$out" '^answer ' 10 || fail "the box did not end"
    wait_exit "$APP_PID" 5
    APP_PID=
    local got
    got=$(sed -n 's/^answer //p' "$out")
    [ "$got" = "$1" ] || fail "$2: answer $got, expected $1"
}

press_in_box() {
    xdotool windowfocus --sync "$box" 2>/dev/null
    for key in "$@"; do xdotool key "$key"; done
}

# Clicks button $1 of our own box.
click() {
    local bx by cx cy
    bx=$(xwininfo -id "$box" | sed -n 's/.*Absolute upper-left X: *//p')
    by=$(xwininfo -id "$box" | sed -n 's/.*Absolute upper-left Y: *//p')
    read -r cx cy <<<"$(sed -n "s/^button $1 //p" "$out")"
    xdotool mousemove $((bx + cx)) $((by + cy)) click 1
}

# ---- An owned box: the owner takes no input ------------------------------------------------------
show owner 0x30 WARNING "bad PS code or the file doesn't exist!"
xdotool windowfocus --sync "$owner" 2>/dev/null
"$xinject" key 58 100
"$xclose" "$owner"
sleep 0.5
[ -n "$(find_window WARNING)" ] || fail "input to the owner ended the box"
press_in_box Return
answer_is 1 "Return in an owned MB_OK box"
grep -qE 'key|close' "$out" && fail "the disabled owner got input: $(grep -E 'key|close' "$out")"
echo "owned box: Return gives IDOK; the owner's key and close box were dropped"

# ---- The keys of an MB_OKCANCEL box ---------------------------------------------------------------
show none 1 Question "Go on?"
press_in_box Escape
answer_is 2 "Escape"
show none 1 Question "Go on?"
press_in_box Return
answer_is 1 "Return"
if [ -n "$own" ]; then
    show none 1 Question "Go on?"
    press_in_box Tab Return
    answer_is 2 "Tab, Return"
    show none 1 Question "Go on?"
    click Cancel
    answer_is 2 "a click on Cancel"
    show none 1 Question "Go on?"
    click OK
    answer_is 1 "a click on OK"
    echo "MB_OKCANCEL: Escape 2, Return 1, Tab+Return 2, clicks on Cancel 2 and OK 1"
else
    echo "MB_OKCANCEL: Escape 2, Return 1"
fi

# ---- A box without an owner: the window's messages go on --------------------------------------------
if [ -n "$own" ]; then
    show none 0 "CAN'T LOAD MESH!" "Tiger.x"
    xdotool windowfocus --sync "$owner" 2>/dev/null
    "$xinject" key 58 100
    wait_line "$out" '^during-box key 0x4D$' 5 || fail "the window's key was not dispatched meanwhile"
    press_in_box Return
    answer_is 1 "Return in an unowned box"
    echo "unowned box: the window's key reached its procedure while the box showed"
fi
echo "PASS"
