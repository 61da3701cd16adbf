# Helpers for the end-to-end tests: a private Xvfb display, waiting for a window, failing
# with a message. Source it; call start_xvfb first.

fail() {
    echo "FAIL: $*" >&2
    # The program's own output, where a run left one.
    [ -n "${E2E_LOG:-}" ] && [ -f "$E2E_LOG" ] && sed 's/^/  program: /' "$E2E_LOG" >&2
    [ -n "${APP_PID:-}" ] && ! kill -0 "$APP_PID" 2>/dev/null && echo "  the program has ended" >&2
    xwininfo -root -tree 2>&1 | grep -E '^ +0x' | sed 's/^ */  window: /' >&2
    exit 1
}

# Starts Xvfb on a free display and exports DISPLAY. Skips the test (exit 77) where Xvfb or
# xdotool is missing. With E2E_FONTS=none the server has no core fonts at all (an empty font
# path: only the server's built-in cursor and "fixed"), as on a machine without xfonts-base.
# -noreset: by default the server resets when its last client leaves, and a program started in
# that moment cannot connect.
start_xvfb() {
    command -v Xvfb >/dev/null 2>&1 || { echo "SKIP: Xvfb is not installed"; exit 77; }
    command -v xdotool >/dev/null 2>&1 || { echo "SKIP: xdotool is not installed"; exit 77; }
    E2E_DIR=$(mktemp -d)
    local fonts=()
    [ "${E2E_FONTS:-}" = none ] && fonts=(-fp "")
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset "${fonts[@]}" 3>"$E2E_DIR/display" \
        >"$E2E_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    trap 'stop_all' EXIT
    for _ in $(seq 100); do
        [ -s "$E2E_DIR/display" ] && break
        sleep 0.1
    done
    [ -s "$E2E_DIR/display" ] || fail "Xvfb did not start: $(cat "$E2E_DIR/xvfb.log")"
    export DISPLAY=":$(head -n1 "$E2E_DIR/display")"
}

stop_all() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
    [ -n "${WESTON_PID:-}" ] && kill "$WESTON_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "${E2E_DIR:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_DIR"
}

# Prints the id of a top-level window named exactly $1, or nothing. Read from the window tree,
# which lists windows (such as SDL's message boxes) that xdotool's search passes over.
find_window() {
    xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\":" 'index($0, name) { print $1; exit }'
}

# Prints the id of the window named $1, waiting up to $2 seconds (default 20).
wait_window() {
    local name=$1 limit=${2:-20} id
    for _ in $(seq $((limit * 10))); do
        id=$(find_window "$name")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits up to $3 seconds (default 10) for file $1 to hold a line matching regex $2.
wait_line() {
    local file=$1 pattern=$2 limit=${3:-10}
    for _ in $(seq $((limit * 10))); do
        grep -qE "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits up to $2 seconds (default 15) for the shell condition $1 to hold.
wait_for() {
    local condition=$1 limit=${2:-15}
    for _ in $(seq $((limit * 10))); do
        eval "$condition" && return 0
        sleep 0.1
    done
    return 1
}

# Waits up to $2 seconds for process $1 (a child of this shell) to end, and sets EXIT_CODE to
# its exit status; fails the test if it does not end.
wait_exit() {
    local pid=$1 limit=${2:-15}
    wait_for "! kill -0 $pid 2>/dev/null" "$limit" || fail "process $pid did not end in $limit s"
    wait "$pid"
    EXIT_CODE=$?
}

# The processes whose parent is $1, one per line (from /proc: procps may be missing).
children_of() {
    local parent=$1 stat fields state ppid
    for stat in /proc/[0-9]*/stat; do
        { read -r fields <"$stat"; } 2>/dev/null || continue
        fields=${fields##*) }  # after the name, which may hold spaces: "state ppid ..."
        read -r state ppid _ <<<"$fields"
        [ "$ppid" = "$parent" ] && { stat=${stat#/proc/}; echo "${stat%/stat}"; }
    done
}

# The answer the last MessageBoxA call of the trace file $trace returned: its result comes on a
# line of its own, "#N = answer", N counting the trace's call lines.
box_answer() {
    awk '/^#/ { split(substr($0, 2), a, " = "); if (a[1] == idx) answer = a[2]; next }
         /^MessageBoxA\(/ { idx = n } { n++ } END { print answer }' "$trace"
}

# CPU time (user + system) of process $1, in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null
}
