#!/bin/bash
# Key codes on every keyboard layout, under Xvfb: the physical keys (X keycodes, pressed through
# XTEST) reach the window procedure with the virtual-key codes Win32's layouts give them, on the
# us, fr (AZERTY), de (QWERTZ), ru and gr layouts, switched with setxkbmap while the window runs.
# Usage: keyboard_layouts.sh SDL_PROBE XINJECT
set -u
. "$(dirname "$0")/lib.sh"
probe_bin=$1
xinject=$2
command -v setxkbmap >/dev/null 2>&1 || { echo "SKIP: setxkbmap is not installed"; exit 77; }

start_xvfb
mkfifo "$E2E_DIR/in"
"$probe_bin" keys <"$E2E_DIR/in" >"$E2E_DIR/out" 2>"$E2E_DIR/err" &
APP_PID=$!
exec 4>"$E2E_DIR/in"
E2E_LOG="$E2E_DIR/err"
wait_line "$E2E_DIR/out" '^ready$' 10 || fail "the probe did not start"
wid=$(wait_window sdl_probe 10) || fail "no probe window"
xdotool windowfocus --sync "$wid" 2>/dev/null

# The physical keys, by their X keycodes (evdev), where the US layout has them.
keys="W:25 A:38 S:39 D:40 M:58 R:27 U:30 Q:24 Z:52 Y:29 1:10 2:11 6:15 semicolon:47"

# The virtual-key codes each layout gives those keys, in the same order.
declare -A expected=(
    [us]="0x57 0x41 0x53 0x44 0x4D 0x52 0x55 0x51 0x5A 0x59 0x31 0x32 0x36 0xBA"
    # AZERTY: Z where US has W, A on Q, Q on A, W on Z, a comma on M, M on ';', digits kept.
    [fr]="0x5A 0x51 0x53 0x44 0xBC 0x52 0x55 0x41 0x57 0x59 0x31 0x32 0x36 0x4D"
    # QWERTZ: Y and Z swap; the key where US has ';' types o-umlaut, which has no code here.
    [de]="0x57 0x41 0x53 0x44 0x4D 0x52 0x55 0x51 0x59 0x5A 0x31 0x32 0x36 -"
    # Cyrillic and Greek letters: the US codes by position.
    [ru]="0x57 0x41 0x53 0x44 0x4D 0x52 0x55 0x51 0x5A 0x59 0x31 0x32 0x36 0xBA"
    [gr]="0x57 0x41 0x53 0x44 0x4D 0x52 0x55 0x51 0x5A 0x59 0x31 0x32 0x36 0xBA"
)

for layout in us fr de ru gr; do
    setxkbmap -layout "$layout" || fail "setxkbmap -layout $layout failed"
    sleep 0.3
    got=()
    for key in $keys; do
        before=$(grep -c '^key ' "$E2E_DIR/out")
        "$xinject" key "${key#*:}" 30
        if wait_for "[ \$(grep -c '^key ' '$E2E_DIR/out') -gt $before ]" 2; then
            got+=("$(grep '^key ' "$E2E_DIR/out" | tail -n 1 | cut -d' ' -f2)")
        else
            got+=(-)
        fi
    done
    [ "${got[*]}" = "${expected[$layout]}" ] ||
        fail "layout $layout: keys $keys gave ${got[*]}, expected ${expected[$layout]}"
    echo "layout $layout: ${got[*]}"
done
echo quit >&4
wait_exit "$APP_PID" 5
APP_PID=
echo "PASS"
