#!/bin/bash
# The bundled assets' first frame is the picture docs/first-frame.png shows, so that a change to
# what the program draws is seen and the picture is made again on purpose. Run to run the frame
# is the same to the bit on llvmpipe; the tolerance leaves room for rounding in another driver
# build (the picture made some commits earlier differed on 731 pixels, by 2.2 at most).
# Usage: first_frame.sh SNAPSHOT SOURCE_DIR OUT_DIR
set -uo pipefail
snapshot=$1 source=$2 out=$3
cd "$source/assets" || exit 1
TESSALINE_COMPILE_CACHE=off SDL_VIDEODRIVER=offscreen "$snapshot" --frame 0 --strict \
    --out "$out/first-frame.png" --compare "$source/docs/first-frame.png" \
    --tolerance 4 --threshold 0.01
status=$?
if [ $status -eq 4 ]; then
    echo "The first frame is not docs/first-frame.png. Where the change is meant, make the" \
        "picture again: cd assets && ../build/tessaline-snapshot --frame 0 --out ../docs/first-frame.png"
fi
exit $status
