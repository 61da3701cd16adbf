#!/bin/bash
# tessaline --watch under Xvfb, as a shader author uses it: saving pixel.psh (as editors do, a
# new file renamed over the old) changes the picture; a save that does not compile keeps the
# last good picture and shows the compiler's message in red in a fourth overlay line and on
# stderr; mending it swaps the new shader in and takes the line away; saving a file the shader
# includes changes the picture too; a saved texture shows; a start-up failure opens no box.
# Usage: watch.sh TESSALINE XCLOSE XPROBE ASSETS_DIR
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclose=$2
xprobe=$3
assets=$4
title="Tessaline Direct3D tester (XMesh)"

start_xvfb
probe() { "$xprobe" "$wid" "$@"; }

# Writes pixel.psh as an editor saves: into a new file, then renamed over the old one. The pause
# lets the program see the new file's write first, so that the rename alone must be seen.
save_shader() {
    printf '%s\n' "$1" >"$run/pixel.psh.new"
    sleep 0.3
    mv "$run/pixel.psh.new" "$run/pixel.psh"
}
solid() { save_shader "float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return float4($1); }"; }

# Inside the sea floor and inside the tiger, away from edges and the overlay.
floor_pixel() { probe pixel 500 450; }
tiger_pixel() { probe pixel 520 200; }
# Red pixels of the fourth overlay line (its top at 42, 14 high).
fourth_line_red() { probe count 0 42 1000 56 red; }

run="$E2E_DIR/run"
mkdir -p "$run"
cp "$assets"/* "$run"/
E2E_LOG="$run/out.log"
(cd "$run" && exec "$bin" --watch >"$E2E_LOG" 2>&1) &
APP_PID=$!
wid=$(wait_window "$title" 30) || fail "no window titled '$title'"
wait_for '[ "$(probe count 0 0 600 28 yellow)" -gt 100 ]' 60 || fail "no overlay: no frame"
before=$(floor_pixel)
[ "$before" != 2F2F2F ] || fail "no sea floor at (500, 450)"
[ "$(fourth_line_red)" = 0 ] || fail "a fourth overlay line before any failure"

solid "0, 1, 0, 1"
wait_for '[ "$(floor_pixel)" = 00FF00 ]' 20 || fail "the saved shader does not show: $(floor_pixel)"
# Both meshes: the tiger too, which each frame draws before it binds the pixel shader.
wait_for '[ "$(tiger_pixel)" = 00FF00 ]' 5 || fail "the tiger does not show it: $(tiger_pixel)"
wait_line "$E2E_LOG" "pixel.psh compiled and swapped in" 5 || fail "no word of the swap"
echo "a saved shader shows: sea floor $before -> 00FF00"

save_shader "float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return float4(undefinedColour, 1); }"
wait_line "$E2E_LOG" '^tessaline: pixel\.psh\([0-9]+,[0-9]+\): error.*undefinedColour' 20 ||
    fail "no compiler message on stderr"
wait_for '[ "$(fourth_line_red)" -gt 30 ]' 10 || fail "no red fourth line: $(fourth_line_red)"
[ "$(floor_pixel)" = 00FF00 ] || fail "the last good shader did not stay: $(floor_pixel)"
grep -q "pixel.psh" <(xwininfo -root -tree) && fail "a message box opened"
echo "a broken save keeps the last good shader and shows its message"

solid "0, 0, 1, 1"
wait_for '[ "$(floor_pixel)" = 0000FF ]' 20 || fail "the mended shader does not show: $(floor_pixel)"
wait_for '[ "$(fourth_line_red)" = 0 ]' 10 || fail "the fourth line stays after the mend"
echo "the mended shader shows and the message goes"

# A shader that includes tint.fxh, then tint.fxh saved (as an editor saves, renamed over).
printf '#define TINT float4(1, 1, 0, 1)\n' >"$run/tint.fxh"
save_shader "#include \"tint.fxh\"
float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return TINT; }"
wait_for '[ "$(floor_pixel)" = FFFF00 ]' 20 || fail "the including shader does not show: $(floor_pixel)"
# Its included files are learnt in the iteration after the reload; then the header is saved.
sleep 0.5
printf '#define TINT float4(0, 1, 1, 1)\n' >"$run/tint.fxh.new"
mv "$run/tint.fxh.new" "$run/tint.fxh"
wait_for '[ "$(floor_pixel)" = 00FFFF ]' 20 || fail "the saved header does not show: $(floor_pixel)"
echo "a saved header shows: sea floor FFFF00 -> 00FFFF"

# A texture saved: with the pixel shader off (U), the sea floor shows its new picture.
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool keydown u
sleep 0.3
xdotool keyup u
wait_for '[ "$(floor_pixel)" != 00FFFF ]' 10 || fail "U did not turn the pixel shader off"
sand=$(floor_pixel)
# A 2 x 2 magenta BMP (24-bit) in place of the sea floor's sand.
printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x10\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\x00\xff\xff\x00\xff\x00\x00\xff\x00\xff\xff\x00\xff\x00\x00' >"$run/sand.new"
mv "$run/sand.new" "$run/sand.bmp"
wait_for '[ "$(floor_pixel)" = FF00FF ]' 20 || fail "the saved texture does not show: $(floor_pixel)"
wait_line "$E2E_LOG" "seafloor.x reloaded" 5 || fail "no word of the reload"
echo "a saved texture shows: sea floor $sand -> $(floor_pixel)"

"$xclose" "$wid"
wait_exit "$APP_PID" 15
APP_PID=
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE, expected 0"

# Started with no pixel.psh: no box waits for an answer (its words go to stderr), the frames go
# on, and the shader's message shows in red until the file is saved.
rm -r "$run"
mkdir -p "$run"
cp "$assets"/* "$run"/
rm "$run/pixel.psh"
E2E_LOG="$run/out.log"
(cd "$run" && exec "$bin" --watch >"$E2E_LOG" 2>&1) &
APP_PID=$!
wid=$(wait_window "$title" 30) || fail "no window titled '$title' after a failed start-up"
wait_for '[ "$(fourth_line_red)" -gt 30 ]' 30 || fail "no red line for the missing shader"
grep -q "^WARNING: bad PS code or the file doesn't exist!$" "$E2E_LOG" || fail "the box's words are not on stderr"
[ -z "$(find_window WARNING)" ] || fail "a message box opened"
solid "1, 0, 0, 1"
wait_for '[ "$(floor_pixel)" = FF0000 ]' 20 || fail "the saved shader does not show: $(floor_pixel)"
wait_for '[ "$(fourth_line_red)" = 0 ]' 10 || fail "the red line stays after the save"
echo "a start-up without pixel.psh opens no box and shows the message until the file is saved"
"$xclose" "$wid"
wait_exit "$APP_PID" 15
APP_PID=
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE, expected 0"
echo "PASS: --watch swaps saved shaders, their headers and textures in and shows what fails"
