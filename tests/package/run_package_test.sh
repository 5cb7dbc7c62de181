#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack from the programs already built, its
# control fields and files checked, unpacked into a scratch root and its viewer started under Xvfb
# from an unrelated folder with a scratch home, as the menu entry starts it. The viewer must find
# its shipped data from its own path, show the sky, and on closing write its settings under the
# user's configuration folder, never beside itself. Usage: run_package_test.sh BUILD_DIR CPACK
# PROBE DATA_DIR. Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
BUILD=${1:?build folder} CPACK=${2:?cpack} PROBE=${3:-} DATA=${4:?data folder}
PROGRAMS=(tessaran-stars tessaran-snapshot)
[ -x "$BUILD/tessaran-analyze" ] && PROGRAMS+=(tessaran-analyze)
DATA_FILES=(catb.bin cat1.dat cat2.dat cat3.dat readme.html)
LABEL_RGB="64 96 64"      # the default colour of the star numbers
GRID_RGB="32 32 64"       # the default colour of the ecliptic grid
SKY_PIXELS=5000           # non-black pixels of the sky, far fewer than any constellation shows
START_SECONDS=30          # a loaded two-core machine starts the viewer in a few seconds

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/checks.sh"
needs_tools dpkg-deb dpkg-shlibdeps Xvfb xdotool xwd desktop-file-validate appstreamcli
"$CPACK" --help | grep -q '^ *DEB *=' || skip "this cpack has no DEB generator"
begin_run package

# --- The package -------------------------------------------------------------------------------
"$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$ROOT/package" >"$ROOT/cpack.log" 2>&1 ||
    { sed 's/^/  cpack: /' "$ROOT/cpack.log"; fatal "cpack built no package"; }
DEBS=("$ROOT"/package/tessaran-stars_*.deb)
[ ${#DEBS[@]} -eq 1 ] && [ -f "${DEBS[0]}" ] || fatal "not one tessaran-stars_*.deb in $ROOT/package"
DEB=${DEBS[0]}
dpkg-deb -f "$DEB" Package Version Architecture Depends Recommends | sed 's/^/  /'
# Field, then a pattern its value must match.
CONTROL=(Package "^tessaran-stars$" Architecture "^$(dpkg --print-architecture)$"
    Depends "(^|, )libc6( |,|$)" Depends "(^|, )libqt6widgets6( |,|$)"
    Depends "(^|, )libqt6printsupport6( |,|$)" Recommends "(^|, )fonts-wine(,|$)"
    Recommends "(^|, )fonts-liberation(,|$)" Section "^science$")
for ((i = 0; i < ${#CONTROL[@]}; i += 2)); do
    check "control field ${CONTROL[i]} matches ${CONTROL[i + 1]}" \
        eval 'dpkg-deb -f "$DEB" "${CONTROL[i]}" | grep -Eq "${CONTROL[i + 1]}"'
done

UNPACKED=$ROOT/root
SHARE=$UNPACKED/usr/share
dpkg-deb -x "$DEB" "$UNPACKED" || fatal "dpkg-deb could not unpack the package"
for program in "${PROGRAMS[@]}"; do
    check "$program is installed, executable, with its manual page" \
        test -f "$UNPACKED/usr/bin/$program" -a -x "$UNPACKED/usr/bin/$program" \
        -a -f "$SHARE/man/man1/$program.1.gz"
done
for f in "${DATA_FILES[@]}"; do
    check "the shipped $f comes unchanged" cmp -s "$DATA/$f" "$SHARE/tessaran-stars/$f"
done
check "nothing but programs beside the programs" \
    test -z "$(find "$UNPACKED/usr/bin" -type f ! -perm -u+x)"
for size in 16 32 48 64 128; do  # the width and height in the PNG's header
    check "the ${size}x${size} icon is $size pixels square" test "$(od -An -tu4 --endian=big \
        -j16 -N8 "$SHARE/icons/hicolor/${size}x${size}/apps/tessaran-stars.png" 2>/dev/null |
        awk '{print $1, $2}')" = "$size $size"
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
window_or_message() { ! viewer_running || { find_windows; [ -n "$MAIN$BOX" ]; }; }
# viewer_comes_up NAME [VARIABLE=VALUE...]: starts the installed viewer in a fresh folder and
# waits for its main window. A loaded machine may refuse it the display; that is no fault of the
# package, so such a start is tried once more.
viewer_comes_up() {
    local attempt
    RUN=$ROOT/$1
    for attempt in first last; do
        START_MS=$(now_ms)
        start_viewer "$UNPACKED/usr/bin/tessaran-stars" HOME="$ROOT/home" "${@:2}"
        MAIN="" BOX=""
        poll "$START_SECONDS" window_or_message
        [ -z "$MAIN" ] && [ $attempt = first ] && ! viewer_running &&
            grep -q "could not connect to display" "$RUN/viewer.log" || break
        echo "note: $1: the display refused the connection; starting once more"
        wait "$VIEWER_PID" 2>/dev/null
    done
    [ -n "$MAIN" ] && return
    fail "$1: no main window within $START_SECONDS s${BOX:+, a message box instead (no shipped data)}"
    abandon_viewer
    return 1
}
# The sky in the last screenshot: its non-black pixels, counted against the black screen.
sky() { local x y; IFS=, read -r x y <<<"$(window_position "$MAIN")"; echo "$x $y $W $((H - 60))"; }
sky_drawn() { local n; shoot -root && n=$("$PROBE" diff "$BLACK" "$LAST" $(sky)) && [ "$n" -ge "$SKY_PIXELS" ]; }
colour_count() { "$PROBE" count "$LAST" $(sky) $1; }

start_display
poll 10 shoot -root || fatal "no screenshot of the empty screen within 10 s (see $ROOT/xwd.log)"
BLACK=$LAST

# First run: as the menu starts it, with only HOME to go by.
CONFIG=$ROOT/home/.config/tessaran-stars/maridon.cfg
if viewer_comes_up menu; then
    check "menu: the sky is drawn within $START_SECONDS s" poll "$START_SECONDS" sky_drawn
    echo "  menu: $(($(now_ms) - START_MS)) ms from start to the last screenshot"
    check "menu: star numbers in their colour" test "$(colour_count "$LABEL_RGB")" -gt 0
    check "menu: the ecliptic grid in its colour" test "$(colour_count "$GRID_RGB")" -gt 0
    close_and_end menu
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
    close_and_end xdg
    check "xdg: the epoch read from \$XDG_CONFIG_HOME is written back there" \
        eval 'grep -q "^Epoch 1673941.000000$" "$XDG/tessaran-stars/maridon.cfg" &&
              grep -q "^WindowRect " "$XDG/tessaran-stars/maridon.cfg"'
fi
echo "package: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
