#!/bin/bash
# The rules the layout keeps: includes only run down through the program's folders (shell ->
# render -> scene, camera, input -> program -> platform), and nothing in platform/d3dx reaches
# an OpenGL, EGL or SDL header, directly or through a header of ours.
# Usage: layout_rules.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
status=0
broken() {
    echo "FAIL: $*"
    status=1
}

# folder: the folders of ours it may include from, besides itself and platform/.
declare -A may=(
    [program]=""
    [camera]="program"
    [scene]="program"
    [input]="program"
    [render]="program scene camera input"
    [shell]="program render scene camera input"
)
for folder in "${!may[@]}"; do
    while IFS=: read -r file _ include; do
        target=$(sed -E 's/.*#include "([^/]+)\/.*/\1/' <<<"$include")
        [ "$target" = "$folder" ] || [ "$target" = platform ] && continue
        [[ " ${may[$folder]} " == *" $target "* ]] ||
            broken "$file includes $target/, above or beside $folder/: $include"
    done < <(grep -Hn '^#include "' "$folder"/*.h "$folder"/*.cpp 2>/dev/null)
done

# The D3DX libraries: no OpenGL, EGL or SDL header, and no header of the backends that use them.
while IFS= read -r hit; do
    broken "a D3DX file reaches a backend: $hit"
done < <(grep -rHnE '^#include [<"](epoxy/|GL/|GLES|EGL/|SDL|platform/(gl|sdl|record)/)' \
    platform/d3dx)

[ $status -eq 0 ] && echo "PASS: includes run down; platform/d3dx sees no backend"
exit $status
