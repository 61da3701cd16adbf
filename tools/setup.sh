#!/bin/bash
# Sets up a Debian 12 machine for Tessaline and builds it, then either starts the program on the
# bundled assets (`setup.sh run`) or runs the whole test suite (`setup.sh test`).
set -euo pipefail

mode=${1:-}
case "$mode" in
    run | test) ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

packages=(
    build-essential cmake ninja-build pkg-config
    libsdl2-dev libepoxy-dev glslang-dev glslang-tools libspirv-cross-c-shared-dev
    libfreetype-dev libfontconfig-dev fonts-dejavu-core libstb-dev zlib1g-dev
    libgl1-mesa-dri libegl-mesa0 libgles-dev
    libgtest-dev libgmock-dev libbenchmark-dev libassimp-dev lintian
    xvfb xauth xdotool x11-utils x11-xserver-utils libx11-dev
    xfonts-base libxi-dev libxtst-dev x11-xkb-utils openbox
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel

if [ "$mode" = run ]; then
    cd "$root/assets"
    exec "$build/tessaline"
fi

cd "$build"
ctest --output-on-failure --parallel 2 --timeout 600
# The file readers under libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
"$root/tests/fuzz/run_fuzzers.sh" 30
