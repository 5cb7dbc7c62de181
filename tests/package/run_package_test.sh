#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack from the programs already built, its
# control fields and files checked, unpacked into a scratch root and its viewer started under Xvfb
# from an unrelated folder with a scratch home, as the menu entry starts it. The viewer must find
# its shipped data from its own path, show the sky, and on closing write its settings under the
# user's configuration folder, never beside itself.
# Usage: run_package_test.sh BUILD_DIR CPACK PROBE DATA_DIR
#   BUILD_DIR  the configured and built tree (CPackConfig.cmake)
#   CPACK      the cpack of the CMake that configured it
#   PROBE      the built screen_probe (reads xwd screenshots, closes windows)
#   DATA_DIR   the shipped data the package must carry unchanged
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

BUILD=${1:?build folder}
CPACK=${2:?cpack}
PROBE=${3:-}
DATA=${4:?data folder}
PROGRAMS=(tessaran-stars tessaran-snapshot)
[ -x "$BUILD/tessaran-analyze" ] && PROGRAMS+=(tessaran-analyze)
DATA_FILES=(catb.bin cat1.dat cat2.dat cat3.dat readme.html)
ICON_SIZES=(16 32 48 64 128)
LABEL_RGB="64 96 64"      # the default colour of the star numbers
GRID_RGB="32 32 64"       # the default colour of the ecliptic grid
STATUS_HEIGHT=60          # the status line and the cursor readout at the window's foot
SKY_PIXELS=5000           # non-black pixels of the sky, far fewer than any constellation shows
START_SECONDS=30          # a loaded two-core machine starts the viewer in a few seconds

for tool in dpkg-deb dpkg-shlibdeps Xvfb xdotool xwd desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (make test installs it)"
        exit 77
    fi
done
if [ -z "$PROBE" ] || [ ! -x "$PROBE" ]; then
    echo "SKIPPED: screen_probe was not built (no X11 headers)"
    exit 77
fi
if ! "$CPACK" --help | grep -q '^ *DEB *='; then
    echo "SKIPPED: this cpack has no DEB generator"
    exit 77
fi

ROOT=$(mktemp -d "${TMPDIR:-/tmp}/tessaran-package.XXXXXX")
XVFB_PID=""
VIEWER_PID=""
PASSED=0
FAILED=0

cleanup() {
    [ -n "$VIEWER_PID" ] && { kill -9 "$VIEWER_PID" 2>/dev/null; wait "$VIEWER_PID" 2>/dev/null; }
    [ -n "$XVFB_PID" ] && { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
    if [ "$FAILED" -eq 0 ]; then rm -rf "$ROOT"; else echo "package, screenshots and logs kept in $ROOT"; fi
}
trap cleanup EXIT
trap 'FAILED=$((FAILED + 1)); exit 1' INT TERM HUP

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/checks.sh"

# --- The package -------------------------------------------------------------------------------

echo "building the package with $CPACK"
if ! "$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$ROOT/package" >"$ROOT/cpack.log" 2>&1; then
    sed 's/^/  cpack: /' "$ROOT/cpack.log"
    fatal "cpack built no package"
fi
DEBS=("$ROOT"/package/tessaran-stars_*.deb)
[ ${#DEBS[@]} -eq 1 ] && [ -f "${DEBS[0]}" ] || fatal "not one tessaran-stars_*.deb in $ROOT/package"
DEB=${DEBS[0]}
pass "package $(basename "$DEB"), $(stat -c %s "$DEB") bytes"

field() { dpkg-deb -f "$DEB" "$1"; }
# Field, then a pattern its value must match.
CONTROL=(
    "Package" "^tessaran-stars$"
    "Architecture" "^$(dpkg --print-architecture)$"
    "Depends" "(^|, )libc6( |,|$)"
    "Depends" "(^|, )libqt6widgets6( |,|$)"
    "Depends" "(^|, )libqt6printsupport6( |,|$)"
    "Recommends" "(^|, )fonts-wine(,|$)"
    "Recommends" "(^|, )fonts-liberation(,|$)"
    "Section" "^science$"
)
dpkg-deb -f "$DEB" Package Version Architecture Depends Recommends | sed 's/^/  /'
for ((i = 0; i < ${#CONTROL[@]}; i += 2)); do
    name=${CONTROL[i]} pattern=${CONTROL[i + 1]}
    check "control field $name matches $pattern" eval 'field "$name" | grep -Eq "$pattern"'
done

UNPACKED=$ROOT/root
dpkg-deb -x "$DEB" "$UNPACKED" || fatal "dpkg-deb could not unpack the package"
SHARE=$UNPACKED/usr/share
EXPECTED_FILES=(usr/share/applications/tessaran-stars.desktop)
for program in "${PROGRAMS[@]}"; do
    EXPECTED_FILES+=("usr/bin/$program" "usr/share/man/man1/$program.1.gz")
done
for f in "${DATA_FILES[@]}"; do EXPECTED_FILES+=("usr/share/tessaran-stars/$f"); done
for f in "${EXPECTED_FILES[@]}"; do
    check "the package holds $f" test -f "$UNPACKED/$f"
done
for program in "${PROGRAMS[@]}"; do
    check "$program is executable" test -x "$UNPACKED/usr/bin/$program"
done
for f in "${DATA_FILES[@]}"; do
    check "the shipped $f comes unchanged" cmp -s "$DATA/$f" "$SHARE/tessaran-stars/$f"
done
check "nothing but programs beside the programs" \
    test -z "$(find "$UNPACKED/usr/bin" -type f ! -perm -u+x)"

# The width and height in a PNG's header, "W H".
png_size() { od -An -tu4 --endian=big -j16 -N8 "$1" | awk '{print $1, $2}'; }
for size in "${ICON_SIZES[@]}"; do
    icon=$SHARE/icons/hicolor/${size}x${size}/apps/tessaran-stars.png
    check "the ${size}x${size} icon is $size pixels square" \
        test "$(png_size "$icon" 2>/dev/null)" = "$size $size"
done

DESKTOP=$SHARE/applications/tessaran-stars.desktop
check "the menu entry passes desktop-file-validate" \
    eval 'desktop-file-validate "$DESKTOP" >"$ROOT/desktop.log" 2>&1 && ! [ -s "$ROOT/desktop.log" ]'
check "the menu entry starts the installed viewer" \
    test -x "$UNPACKED/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$DESKTOP")"
check "the menu entry's icon is installed" \
    test -f "$SHARE/icons/hicolor/48x48/apps/$(sed -n 's/^Icon=//p' "$DESKTOP").png"
METAINFO=("$SHARE"/metainfo/*.metainfo.xml)
check "one software-centre entry, passing appstreamcli" \
    eval '[ ${#METAINFO[@]} -eq 1 ] && appstreamcli validate --no-net "${METAINFO[0]}" >"$ROOT/appstream.log" 2>&1'
check "the software-centre entry launches the menu entry" \
    grep -q '<launchable type="desktop-id">tessaran-stars.desktop</launchable>' "${METAINFO[0]}"

# --- The installed viewer under X --------------------------------------------------------------

# The server of this run on a display number of its own, with a black root window, so that
# every pixel that is not black was drawn by the viewer. Numbers start from one drawn from the
# process id, above those the end-to-end tests draw theirs from, so that runs side by side do not
# take one another's.
display_answers() { kill -0 "$XVFB_PID" 2>/dev/null && xdotool getdisplaygeometry >/dev/null 2>&1; }
display_settled() { ! kill -0 "$XVFB_PID" 2>/dev/null || display_answers; }
start_display() {
    local n first=$((1000 + $$ % 1000))
    for ((n = first; n < first + 20; n++)); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -br -nolisten tcp -noreset 2>"$ROOT/xvfb.log" &
        XVFB_PID=$!
        export DISPLAY=":$n"
        poll 10 display_settled
        display_answers && return
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    fatal "Xvfb did not start (see $ROOT/xvfb.log)"
}

# start_installed NAME [VARIABLE=VALUE...]: the unpacked viewer, run in a fresh working folder
# of its own with a scratch home and without XDG_CONFIG_HOME unless given.
start_installed() {
    RUN=$ROOT/$1
    shift
    mkdir -p "$RUN/work" "$RUN/runtime"
    chmod 700 "$RUN/runtime"
    START_MS=$(now_ms)
    (cd "$RUN/work" && exec env -u XDG_CONFIG_HOME HOME="$ROOT/home" \
        XDG_RUNTIME_DIR="$RUN/runtime" QT_QPA_PLATFORM=xcb "$@" "$UNPACKED/usr/bin/tessaran-stars") \
        >"$RUN/viewer.log" 2>&1 &
    VIEWER_PID=$!
}
viewer_running() { kill -0 "$VIEWER_PID" 2>/dev/null; }
abandon_viewer() {
    kill -9 "$VIEWER_PID" 2>/dev/null
    wait "$VIEWER_PID" 2>/dev/null
    VIEWER_PID=""
    sed 's/^/  viewer: /' "$RUN/viewer.log"
}
# The main window: titled "Tessaran Stars" and wide; the message box that says the catalogues
# were not found has the same title and is small. Sets MAIN and its geometry X Y W H.
find_main_window() {
    local w size
    MAIN=""
    for w in $(xdotool search --onlyvisible --name '^Tessaran Stars$' 2>/dev/null); do
        size=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: //p')
        [ "${size%x*}" -ge 400 ] 2>/dev/null || { MESSAGE_BOX=$w; continue; }
        MAIN=$w
        W=${size%x*} H=${size#*x}
        read -r X Y < <(xdotool getwindowgeometry "$w" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p')
    done
    [ -n "$MAIN" ]
}
window_or_message() { ! viewer_running || [ -n "${MESSAGE_BOX:-}" ] || find_main_window; }
# viewer_comes_up NAME [VARIABLE=VALUE...]: starts the viewer and waits for its main window. A
# machine under load may refuse it the connection to the display; that is no fault of the
# package, so such a start is tried once more.
viewer_comes_up() {
    local attempt
    for attempt in first last; do
        start_installed "$@"
        MAIN="" MESSAGE_BOX=""
        poll "$START_SECONDS" window_or_message
        [ -z "$MAIN" ] && [ $attempt = first ] && ! viewer_running &&
            grep -q "could not connect to display" "$RUN/viewer.log" || break
        echo "note: $1: the display refused the connection; starting once more"
        wait "$VIEWER_PID" 2>/dev/null
    done
    if [ -z "$MAIN" ]; then
        if [ -n "$MESSAGE_BOX" ]; then
            fail "$1: a message box instead of the main window (the shipped data was not found)"
        elif ! viewer_running; then
            fail "$1: the viewer ended without a window"
        else
            fail "$1: no main window within $START_SECONDS s"
        fi
        abandon_viewer
        return 1
    fi
}
SHOTS=0
shoot_screen() {
    SHOTS=$((SHOTS + 1))
    LAST=$ROOT/shot-$SHOTS.xwd
    xwd -silent -root -out "$LAST" 2>>"$ROOT/xwd.log" && [ -s "$LAST" ]
}
sky() { echo "$X $Y $W $((H - STATUS_HEIGHT))"; }
# Non-black pixels of the sky in the last screenshot, counted against the black one.
sky_drawn() {
    local n
    shoot_screen && n=$("$PROBE" diff "$BLACK" "$LAST" $(sky)) && [ "$n" -ge "$SKY_PIXELS" ]
}
colour_count() { "$PROBE" count "$LAST" $(sky) $1; }
close_and_wait() {
    "$PROBE" close "$MAIN" || { fail "$1: the close request could not be sent"; abandon_viewer; return 1; }
    if ! poll 15 eval '! viewer_running'; then
        fail "$1: the viewer did not end within 15 s of closing its window"
        abandon_viewer
        return 1
    fi
    wait "$VIEWER_PID"
    local code=$?
    VIEWER_PID=""
    check "$1: the viewer ends with status 0 (was $code)" test "$code" -eq 0
}

start_display
poll 10 shoot_screen || fatal "no screenshot of the empty screen within 10 s (see $ROOT/xwd.log)"
BLACK=$LAST

# First run: as the menu starts it, with only HOME to go by.
CONFIG=$ROOT/home/.config/tessaran-stars/maridon.cfg
if viewer_comes_up menu; then
    if poll "$START_SECONDS" sky_drawn; then
        pass "menu: the sky is drawn ($(( $(now_ms) - START_MS )) ms from start to the screenshot)"
        check "menu: star numbers in their colour" test "$(colour_count "$LABEL_RGB")" -gt 0
        check "menu: the ecliptic grid in its colour" test "$(colour_count "$GRID_RGB")" -gt 0
    else
        fail "menu: the sky stayed black for $START_SECONDS s"
    fi
    close_and_wait "menu"
    check "menu: the settings are written to ~/.config/tessaran-stars/maridon.cfg" \
        grep -q '^ConViewArray$' "$CONFIG"
    check "menu: the settings folder is the user's alone" \
        test "$(stat -c %a "$(dirname "$CONFIG")")" = 700
    check "menu: nothing written beside the program or in the working folder" \
        test -z "$(ls -A "$RUN/work")" -a ! -e "$UNPACKED/usr/bin/maridon.cfg"
fi

# Second run: settings in $XDG_CONFIG_HOME are read from there and written back there.
XDG=$ROOT/xdg
mkdir -p "$XDG/tessaran-stars"
printf 'Epoch 1673941\n' >"$XDG/tessaran-stars/maridon.cfg"
if viewer_comes_up xdg XDG_CONFIG_HOME="$XDG"; then
    close_and_wait "xdg"
    check "xdg: the epoch read from \$XDG_CONFIG_HOME is written back there" \
        eval 'grep -q "^Epoch 1673941.000000$" "$XDG/tessaran-stars/maridon.cfg" &&
              grep -q "^WindowRect " "$XDG/tessaran-stars/maridon.cfg"'
fi

[ "$FAILED" -eq 0 ] || exit 1
echo "all package checks passed"
