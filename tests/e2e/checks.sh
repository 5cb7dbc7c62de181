# Shared by the scripts that drive the real program under Xvfb (tests/e2e/run_e2e.sh,
# tests/package/run_package_test.sh): checks, bounded polls, and a display and a viewer of the
# run's own. A failed check counts and the run goes on; fatal ends it.
PASSED=0 FAILED=0 XVFB_PID="" VIEWER_PID="" SHOT=0

pass() { PASSED=$((PASSED + 1)); echo "ok: $*"; }
fail() { FAILED=$((FAILED + 1)); echo "FAILED: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
fatal() { fail "$*"; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }
needs_tools() {
    local tool
    for tool; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
    [ -n "$PROBE" ] && [ -x "$PROBE" ] || skip "screen_probe was not built (no X11 headers)"
}

now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }
# poll TIMEOUT_SECONDS COMMAND...: runs the command every 50 ms until it succeeds.
poll() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -ge "$deadline" ] && return 1
        sleep 0.05
    done
}

# begin_run NAME: the run's scratch folder ROOT, kept only when a check failed.
begin_run() {
    ROOT=$(mktemp -d "${TMPDIR:-/tmp}/tessaran-$1.XXXXXX")
    trap 'end_run' EXIT
    trap 'FAILED=$((FAILED + 1)); exit 1' INT TERM HUP
}
end_run() {
    [ -n "$VIEWER_PID" ] && { kill -9 "$VIEWER_PID"; wait "$VIEWER_PID"; } 2>/dev/null
    [ -n "$XVFB_PID" ] && { kill "$XVFB_PID"; wait "$XVFB_PID"; } 2>/dev/null
    [ "$FAILED" -eq 0 ] && rm -rf "$ROOT" || echo "screenshots and logs kept in $ROOT"
}

# The X tools, each bounded: a server that stops answering fails the step, it does not hang it.
xdo() { timeout 5 xdotool "$@"; }

# The run's own server, black: Xvfb picks a free display number and writes it once it accepts
# connections, on the abstract socket alone, which no other run's server can take over; it does
# not reset when its last client leaves, so that a program started just then is not refused.
display_answers() { kill -0 "$XVFB_PID" 2>/dev/null && xdo getdisplaygeometry >/dev/null 2>&1; }
start_display() {
    : >"$ROOT/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp -nolisten unix -noreset \
        3>"$ROOT/display" 2>"$ROOT/xvfb.log" &
    XVFB_PID=$!
    poll 10 grep -q '^[0-9]' "$ROOT/display" ||
        fatal "Xvfb gave no display number within 10 s (see $ROOT/xvfb.log)"
    export DISPLAY=":$(head -1 "$ROOT/display")"
    poll 10 display_answers || fatal "Xvfb on $DISPLAY did not answer within 10 s"
}

# start_viewer PROGRAM [VARIABLE=VALUE...]: runs in $RUN/work with the home $RUN/home and no
# $XDG_CONFIG_HOME unless given.
start_viewer() {
    display_answers || fatal "Xvfb on $DISPLAY no longer answers"
    mkdir -p "$RUN/work" "$RUN/home" "$RUN/runtime" && chmod 700 "$RUN/runtime"
    (cd "$RUN/work" && exec env -u XDG_CONFIG_HOME HOME="$RUN/home" \
        XDG_RUNTIME_DIR="$RUN/runtime" QT_QPA_PLATFORM=xcb "${@:2}" "$1") >"$RUN/viewer.log" 2>&1 &
    VIEWER_PID=$!
}
viewer_running() { kill -0 "$VIEWER_PID" 2>/dev/null; }
# Ends a viewer that went wrong, and shows what it printed.
abandon_viewer() {
    { kill -9 "$VIEWER_PID"; wait "$VIEWER_PID"; } 2>/dev/null
    VIEWER_PID=""
    sed 's/^/  viewer: /' "$RUN/viewer.log"
}
# ends_cleanly NAME: the viewer ends within 15 s with status 0.
ends_cleanly() {
    if ! poll 15 eval '! viewer_running'; then
        fail "$1: the viewer is still running 15 s after closing"
        abandon_viewer
        return 1
    fi
    wait "$VIEWER_PID"
    check "$1: exit status 0 (was $?)" test "$?" -eq 0
    VIEWER_PID=""
}

window_size() { xdo getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p'; }
window_position() {
    xdo getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Position: \([0-9-]*,[0-9-]*\).*/\1/p'
}
# Windows titled "Tessaran Stars": the main window is wide (MAIN, W by H), a message box narrow
# (BOX); each empty when there is none.
find_windows() {
    local w size
    MAIN="" BOX=""
    for w in $(xdo search --onlyvisible --name '^Tessaran Stars$' 2>/dev/null); do
        size=$(window_size "$w")
        if [ "${size%x*}" -ge 400 ] 2>/dev/null; then MAIN=$w W=${size%x*} H=${size#*x}; else BOX=$w; fi
    done
}
find_main_window() { find_windows; [ -n "$MAIN" ]; }
find_message_box() { find_windows; [ -n "$BOX" ]; }
# close_and_end NAME: WM_DELETE_WINDOW to the main window, as a window manager's close button
# sends it, and the viewer ends cleanly.
close_and_end() {
    timeout 5 "$PROBE" close "$MAIN" || fail "$1: the close request could not be sent"
    ends_cleanly "$1"
}

# shoot [XWD-TARGET...]: a screenshot of the main window (or of the target given); its path in LAST.
shoot() {
    SHOT=$((SHOT + 1))
    LAST=$ROOT/shot-$SHOT.xwd
    [ $# -gt 0 ] || set -- -id "$MAIN"
    timeout 5 xwd -silent "$@" -out "$LAST" 2>>"$ROOT/xwd.log" && [ -s "$LAST" ]
}
