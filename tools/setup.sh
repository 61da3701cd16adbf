#!/bin/bash
# Sets up a Debian 12 machine for Tessaline, in phases, each printed with its time:
#   setup.sh run    installs what building and running need, builds tessaline,
#                   tessaline-snapshot and what `cmake --install build` installs besides them
#                   (the man pages and the changelog), and starts tessaline on the bundled assets
#   setup.sh test   installs everything the tests need, builds everything and runs the whole
#                   suite, then the tests again under the sanitizers, clang-tidy and the
#                   fuzzers (this is what CI runs); a failed phase stops the run, and the
#                   summary names it and the phases that did not run
set -uo pipefail

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

# What building and running the two programs needs.
run_packages=(
    build-essential cmake ninja-build pkg-config
    libsdl2-dev libepoxy-dev glslang-dev glslang-tools libspirv-cross-c-shared-dev
    libfreetype-dev libfontconfig-dev fonts-dejavu-core libstb-dev zlib1g-dev
    libgl1-mesa-dri libegl-mesa0 libgles-dev libx11-dev libxi-dev libwayland-dev
)
# Everything: the above, and what the tests, benchmarks and fuzzers need besides.
packages=(
    "${run_packages[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev libassimp-dev lintian man-db desktop-file-utils
    xvfb xauth xdotool x11-utils x11-xserver-utils
    xfonts-base libxtst-dev x11-xkb-utils openbox weston
    clang libclang-rt-14-dev clang-tidy clang-format
)

# ---- Phases: each is a function phase_NAME; the lists below give their order ---------------

install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && { echo "all ${#} packages are installed"; return 0; }
    echo "installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "setup.sh: installing packages needs root, and sudo is not installed." >&2
            echo "Install them as root, then run setup.sh again:" >&2
            echo "  su -c 'apt-get update && apt-get install -y --no-install-recommends ${missing[*]}'" >&2
            return 1
        fi
        sudo="sudo"
    fi
    $sudo apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
}

phase_install_run() { install_packages "${run_packages[@]}"; }
phase_install() { install_packages "${packages[@]}"; }

# Optimised, with line tables only (-g1): backtraces and sanitizer reports keep their files and
# lines, and the builds take about a quarter less time than with full debug information.
release=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")

phase_build_programs() {
    cmake -S "$root" -B "$build" -G Ninja "${release[@]}" -DBUILD_TESTING=OFF \
        -DTESS_BENCH=OFF >/dev/null &&
        cmake --build "$build" --parallel --target tessaline tessaline-snapshot tess_package_files
}

phase_build() {
    cmake -S "$root" -B "$build" -G Ninja "${release[@]}" -DBUILD_TESTING=ON \
        -DTESS_BENCH=ON >/dev/null &&
        cmake --build "$build" --parallel
}

# Every C and C++ source as the repository's .clang-format writes it (shared/ holds other
# projects' files, kept as they wrote them).
phase_format() {
    local sources
    sources=$(cd "$root" && find . \( -path ./shared -o -path './build*' -o -path ./.git \) -prune -o \
        -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print | sort)
    # shellcheck disable=SC2086
    (cd "$root" && clang-format --dry-run -Werror $sources)
}

phase_tests() {
    (cd "$build" && ctest --output-on-failure --parallel 2 --timeout 600)
}

# The unit and image tests again, built under AddressSanitizer and UndefinedBehaviorSanitizer
# (the end-to-end, soak and packaging tests run once, above, and so does the world corpus, whose
# shipped shaders are a measure of the language we take; the compiler's own corpus, valid and
# invalid shaders alike, runs here), with LeakSanitizer. The program
# keeps its device, meshes and camera to the end from process-wide pointers, so they are not
# leaks; the tests release what they make. tests/lsan.supp names third-party leaks only.
# handle_segv=0: the compiler's isolation tests crash a child on purpose and must see the signal.
phase_sanitizers() {
    local dir="$root/build-sanitize"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
        -DCMAKE_C_FLAGS_DEBUG=-g1 -DBUILD_TESTING=ON -DTESS_BENCH=OFF -DTESS_SANITIZE=ON >/dev/null &&
        cmake --build "$dir" --parallel &&
        (cd "$dir" && ASAN_OPTIONS=detect_leaks=1:handle_segv=0 \
            LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0 \
            UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure --parallel 2 --timeout 600 \
            -E "_xvfb|core_fonts|window_manager|wayland|soak|install_lists|lintian|hlsl_world")
}

# clang-tidy with the repository's .clang-tidy over the program's, the platform's and the tools'
# sources, less the translation units that only instantiate the stb libraries. The tests and
# benchmarks are left out to keep CI within its time (they take two thirds of the run); run
# `run-clang-tidy -p build` for everything. The HLSL compiler (platform/d3dx/hlsl, 40 % of the
# sources) gets every check but the static analyser's, which takes three quarters of tidy's time:
# it runs in a worker process of its own with limits, where a fault is a failed compile, and the
# sanitizer phase and its corpora run it under AddressSanitizer.
phase_tidy() {
    local sources hlsl rest status=0
    sources=$(grep -o '"file": "[^"]*"' "$build/compile_commands.json" | cut -d'"' -f4 |
        grep -v -e "^$build/" -e "^$root/tests/" -e "^$root/bench/" -e 'stb_image_impl.cpp' \
            -e 'rgb_picture.cpp' | sort -u)
    hlsl=$(grep "^$root/platform/d3dx/hlsl/" <<<"$sources")
    rest=$(grep -v "^$root/platform/d3dx/hlsl/" <<<"$sources")
    # shellcheck disable=SC2086
    {
        run-clang-tidy -quiet -p "$build" -j "$(nproc)" $rest || status=1
        run-clang-tidy -quiet -p "$build" -j "$(nproc)" -checks='-clang-analyzer-*' $hlsl ||
            status=1
    } >"$build/clang-tidy.log" 2>&1
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u
    return $status
}

# The file readers under libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
phase_fuzzers() { "$root/tests/fuzz/run_fuzzers.sh" 15; }

run_phases=(install_run build_programs)
test_phases=(install format build tests sanitizers tidy fuzzers)

# ---- Running the phases ------------------------------------------------------------------------

clock() { date +%s.%N; }
duration() { awk -v s="$1" -v e="$2" 'BEGIN { t = e - s; printf "%dm%04.1fs", int(t / 60), t - 60 * int(t / 60) }'; }

summary=()
run_all() {
    local phases=("$@") i start end status
    for ((i = 0; i < ${#phases[@]}; i++)); do
        echo "==== phase ${phases[i]}"
        start=$(clock)
        "phase_${phases[i]}"
        status=$?
        end=$(clock)
        if [ $status -ne 0 ]; then
            summary+=("$(printf '%-16s FAILED (exit %d) after %s' "${phases[i]}" $status "$(duration "$start" "$end")")")
            echo "==== phase ${phases[i]} FAILED (exit $status) after $(duration "$start" "$end")"
            for ((i = i + 1; i < ${#phases[@]}; i++)); do
                summary+=("$(printf '%-16s not run' "${phases[i]}")")
            done
            return 1
        fi
        summary+=("$(printf '%-16s passed in %s' "${phases[i]}" "$(duration "$start" "$end")")")
        echo "==== phase ${phases[i]} passed in $(duration "$start" "$end")"
    done
}

print_summary() {
    echo "==== summary ($mode)"
    printf '  %s\n' "${summary[@]}"
    local folder
    for folder in "$build" "$root/build-sanitize" "$root/build-fuzz"; do
        [ -d "$folder" ] && echo "  disk: $(du -sh "$folder" 2>/dev/null | cut -f1) in ${folder#"$root"/}"
    done
    return 0
}

if [ "$mode" = run ]; then
    run_all "${run_phases[@]}" || { print_summary; exit 1; }
    print_summary
    exec "$build/tessaline" --dir "$root/assets"
fi

all_start=$(clock)
run_all "${test_phases[@]}"
status=$?
print_summary
echo "  total: $(duration "$all_start" "$(clock)")"
exit $status
