#!/usr/bin/env bash
# The real viewer under Xvfb, driven as a person drives it, and started on bad input as a new
# user may hand it. Usage: run_e2e.sh CASE VIEWER PROBE DATA_DIR
#   CASE      session | bad_input_starts | bad_input_refused | high_dpi
#   VIEWER    the built tessaran-stars
#   PROBE     the built screen_probe (reads xwd screenshots, closes windows)
#   DATA_DIR  the shipped data (catb.bin, cat1.dat .. cat3.dat)
# Every run gets a fresh folder: the program is copied into program/ with the shipped data beside
# it, so that the settings file it writes beside itself stays out of the build folder, and it runs
# in work/. Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

CASE=${1:?case}
VIEWER=${2:?viewer}
PROBE=${3:-}
DATA=${4:?data folder}
DATA_FILES=(catb.bin cat1.dat cat2.dat cat3.dat)

for tool in Xvfb xdotool xwd cmp; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
[ -n "$PROBE" ] && [ -x "$PROBE" ] ||
    { echo "SKIPPED: screen_probe was not built (no X11 headers)"; exit 77; }

# The main window's default size on the 1280 x 1024 screen: seven eighths of it.
SCREEN=1280x1024
WIN_W=1120
WIN_H=896
STATUS_RECT="0 850 800 46"   # the status line, left of the cursor coordinates
SKY_RECT="0 0 $WIN_W 840"    # the sky above it
EQ_GRID_RGB="64 32 32"       # the default equatorial grid colour
CIRCLE_RGB="128 128 128"     # the circles round the ancient stars
STATUS_RGB="255 255 128"     # the status line's text

ROOT=$(mktemp -d "${TMPDIR:-/tmp}/tessaran-e2e.XXXXXX")
XVFB_PID=""
VIEWER_PID=""
PASSED=0
FAILED=0

cleanup() {
    if [ -n "$VIEWER_PID" ]; then
        kill -9 "$VIEWER_PID" 2>/dev/null
        wait "$VIEWER_PID" 2>/dev/null
    fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
    if [ "$FAILED" -eq 0 ]; then rm -rf "$ROOT"; else echo "screenshots and logs kept in $ROOT"; fi
}
trap cleanup EXIT
trap 'FAILED=$((FAILED + 1)); exit 1' INT TERM HUP

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# The X tools, each bounded: a server that stops answering fails the step, it does not hang it.
xdo() { timeout 5 xdotool "$@"; }

# The server of this run, its own: Xvfb takes a display number free on this machine and writes it
# only once it accepts connections. It listens on the abstract socket alone, which no other server
# can unlink or take over while this one lives (a socket file in /tmp can be); a number guessed
# here could be one another run's server holds or is giving up. The server must answer within a
# deadline before the program starts, and again before each later start. It does not reset when
# its last client leaves, so that a program started just then is not turned away.
display_answers() { kill -0 "$XVFB_PID" 2>/dev/null && xdo getdisplaygeometry >/dev/null 2>&1; }
start_display() {
    : >"$ROOT/display"
    Xvfb -displayfd 3 -screen 0 ${SCREEN}x24 -nolisten tcp -nolisten unix -noreset \
        3>"$ROOT/display" 2>"$ROOT/xvfb.log" &
    XVFB_PID=$!
    poll 10 grep -q '^[0-9]' "$ROOT/display" ||
        fatal "Xvfb gave no display number within 10 s (see $ROOT/xvfb.log)"
    export DISPLAY=":$(head -1 "$ROOT/display")"
    poll 10 display_answers || fatal "Xvfb on $DISPLAY did not answer within 10 s"
}

# new_run NAME: a fresh program folder with the shipped data and a fresh working folder.
new_run() {
    RUN=$ROOT/$1
    mkdir -p "$RUN/program" "$RUN/work" "$RUN/home" "$RUN/runtime" "$RUN/shots"
    chmod 700 "$RUN/runtime"
    cp "$VIEWER" "$RUN/program/tessaran-stars"
    for f in "${DATA_FILES[@]}"; do cp "$DATA/$f" "$RUN/program/$f"; done
    SHOT=0
}
# put_data FILE...: shipped files into the working folder.
put_data() {
    for f in "$@"; do cp "$DATA/$f" "$RUN/work/$f"; done
}
# Takes the working folder's data files as they are now as the ones that must come out unchanged.
keep_expected() {
    mkdir -p "$RUN/expected"
    for f in "${DATA_FILES[@]}"; do
        [ -f "$RUN/work/$f" ] && cp "$RUN/work/$f" "$RUN/expected/$f"
    done
}
data_unchanged() {
    local f
    for f in "$RUN"/expected/*; do
        [ -e "$f" ] || continue
        cmp -s "$f" "$RUN/work/$(basename "$f")" || return 1
    done
}

start_viewer() {
    display_answers || fatal "Xvfb on $DISPLAY no longer answers"
    (cd "$RUN/work" && HOME=$RUN/home XDG_RUNTIME_DIR=$RUN/runtime QT_QPA_PLATFORM=xcb \
        exec "$RUN/program/tessaran-stars") >"$RUN/viewer.log" 2>&1 &
    VIEWER_PID=$!
}
# Ends a viewer that went wrong, and shows what it printed.
abandon_viewer() {
    kill -9 "$VIEWER_PID" 2>/dev/null
    wait "$VIEWER_PID" 2>/dev/null
    VIEWER_PID=""
    sed 's/^/  viewer: /' "$RUN/viewer.log"
}
viewer_running() { kill -0 "$VIEWER_PID" 2>/dev/null; }
# Waits for the viewer to end; its exit status in EXIT_CODE.
viewer_ends() {
    poll 10 eval '! viewer_running' || return 1
    wait "$VIEWER_PID"
    EXIT_CODE=$?
    VIEWER_PID=""
}

# Visible windows whose title matches the pattern, one id a line.
windows_titled() { xdo search --onlyvisible --name "$1" 2>/dev/null; }
window_size() { xdo getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p'; }
window_position() {
    xdo getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Position: \([0-9-]*,[0-9-]*\).*/\1/p'
}
# Windows titled "Tessaran Stars" split by size: the main window is large, the message box small.
# Sets FOUND to the last one whose width passes the test ("-ge" or "-lt" 400).
find_titled_by_width() {
    local w
    FOUND=""
    for w in $(windows_titled '^Tessaran Stars$'); do
        local size=$(window_size "$w")
        [ "${size%x*}" "$1" 400 ] && FOUND=$w
    done
    [ -n "$FOUND" ]
}
find_main_window() { find_titled_by_width -ge; MAIN=$FOUND; [ -n "$MAIN" ]; }
find_message_box() { find_titled_by_width -lt; BOX=$FOUND; [ -n "$BOX" ]; }
# The splash has no title of its own: it is the program's other window of the about box's size.
find_splash() {
    SPLASH=""
    local w
    for w in $(xdo search --onlyvisible --classname '^tessaran-stars$' 2>/dev/null); do
        [ "$(window_size "$w")" = "284x125" ] && SPLASH=$w
    done
    [ -n "$SPLASH" ]
}
find_nearest_window() {
    NEAREST=$(windows_titled '^Nearest Stars \[(lon/lat|ra/dec)\]$' | head -1)
    [ -n "$NEAREST" ]
}
no_nearest_window() { ! find_nearest_window; }
no_splash() { ! find_splash; }

# shoot: a screenshot of the main window; its path in LAST.
shoot() {
    SHOT=$((SHOT + 1))
    LAST=$RUN/shots/$(printf '%02d' "$SHOT").xwd
    timeout 5 xwd -silent -id "$MAIN" -out "$LAST" 2>/dev/null && [ -s "$LAST" ]
}
# Screenshots until three in a row, 0.1 s apart, are alike, so that no paint is under way.
settled_shot() {
    shoot || return 1
    local previous=$LAST alike=0
    poll 5 eval 'sleep 0.1
                 if shoot && region_alike "$previous" "$LAST" 0 0 $WIN_W $WIN_H; then
                     alike=$((alike + 1))
                 else
                     alike=0
                 fi
                 previous=$LAST
                 [ $alike -ge 2 ]'
}
region_differs() {  # region_differs SHOT_A SHOT_B X Y W H
    local n
    n=$("$PROBE" diff "$@") && [ "$n" -gt 0 ]
}
region_alike() {
    local n
    n=$("$PROBE" diff "$@") && [ "$n" -eq 0 ]
}
# Presses a key in the main window, then polls screenshots until the region differs from the
# last one taken before the key.
key_changes() {  # key_changes KEY RECT...
    local key=$1 before=$LAST
    shift
    xdo key "$key"
    poll 5 eval 'shoot && region_differs "$before" "$LAST" '"$*"
}
count_colour() { "$PROBE" count "$LAST" $SKY_RECT $EQ_GRID_RGB; }
# count_in X Y W H R G B: pixels of that colour at least 100 bright in the rectangle of LAST.
count_in() { "$PROBE" count "$LAST" "$@" 100; }

# Where things lie in the first view, Ursa Minor's: the bowl at the upper left and the pole star,
# the handle's end, at the lower right, so the circles round the ancient stars fill those two
# quadrants and hardly the other two; a sky mirrored or shown upside down swaps them. The status
# line's text is in the bottom rows and none of its colour in the top ones.
sky_oriented() {
    local w=$((WIN_W / 2)) h=$((WIN_H / 2)) on off
    on=$(($(count_in 0 0 $w $h $CIRCLE_RGB) + $(count_in $w $h $w $h $CIRCLE_RGB)))
    off=$(($(count_in $w 0 $w $h $CIRCLE_RGB) + $(count_in 0 $h $w $h $CIRCLE_RGB)))
    echo "  circle pixels: $on upper left and lower right, $off upper right and lower left"
    [ "$on" -gt 100 ] && [ "$off" -lt $((on / 4)) ]
}
status_at_foot() {
    [ "$(count_in 0 $((WIN_H - 60)) $WIN_W 60 $STATUS_RGB)" -gt 100 ] &&
        [ "$(count_in 0 0 $WIN_W 60 $STATUS_RGB)" -eq 0 ]
}

# The main window comes up at the default place and size, the splash over it; a click closes
# the splash, as it would for a person, and the cursor is parked where every run parks it.
# False, with the viewer ended, when no main window comes up.
main_window_comes_up() {
    if ! poll 10 find_main_window; then
        fail "$1: no main window appeared"
        abandon_viewer
        return 1
    fi
    check "$1: main window at 0,0 with seven eighths of the screen" \
        test "$(window_position "$MAIN") $(window_size "$MAIN")" = "0,0 ${WIN_W}x${WIN_H}"
    check "$1: no message box beside it" eval '! find_message_box'
    if poll 4 find_splash; then
        pass "$1: the about box shows as a splash"
        xdo mousemove --window "$SPLASH" 140 60 click 1
        check "$1: a click closes the splash" poll 3 no_splash
    else
        fail "$1: no splash"
    fi
    xdo mousemove --window "$MAIN" 200 150
    xdo windowfocus --sync "$MAIN" || fail "$1: the main window takes no focus"
    settled_shot || { fail "$1: no steady screenshot of the main window"; return 1; }
}

close_by_window_manager() { timeout 5 "$PROBE" close "$MAIN"; }
close_by_escape() {
    xdo windowfocus --sync "$MAIN"
    xdo key Escape
}
ends_cleanly() {
    if viewer_ends; then
        check "$1: exit status 0" test "$EXIT_CODE" -eq 0
    else
        fail "$1: the viewer is still running 10 s after closing"
        abandon_viewer
    fi
}

# settings_line FILE N: line N of a settings file.
settings_line() { sed -n "$2p" "$1"; }
settings_well_formed() {  # a window line, three colours, epoch, offsets, key and 48 rows
    [ "$(wc -l <"$1")" -eq 55 ] && [ "$(settings_line "$1" 7)" = ConViewArray ] &&
        [ "$(grep -c '^   [ 0-9.-]*$' "$1")" -eq 48 ]
}

# ---------------------------------------------------------------------------------------------
# A first start with no settings anywhere, driven through keys, a click and the close button.
case_session() {
    new_run session
    put_data "${DATA_FILES[@]}"
    keep_expected
    start_viewer
    main_window_comes_up session || return
    local start=$LAST
    check "the sky the right way round: the bowl upper left, the pole star lower right" sky_oriented
    check "the status line in the bottom rows" status_at_foot

    local i key
    for i in 1 2 3; do
        check "Page Down $i repaints the status line" key_changes Next $STATUS_RECT
    done
    check "the sky changed with the constellation" region_differs "$start" "$LAST" $SKY_RECT

    local before_grid
    before_grid=$(count_colour)
    xdo key 6
    check "6 draws the equatorial grid over the sky (had $before_grid pixels of its colour)" \
        poll 5 eval 'shoot && [ "$(count_colour)" -gt $((before_grid + 5000)) ]'

    local moved_from=$LAST
    for key in Left Left Up; do
        check "$key moves the view" key_changes $key $SKY_RECT
    done
    check "the status line follows the view" region_differs "$moved_from" "$LAST" $STATUS_RECT

    # A click on the brightest star on screen lists the stars next to it.
    settled_shot
    local star
    star=$("$PROBE" brightest "$LAST" 20 20 $((WIN_W - 40)) 800)
    xdo mousemove --window "$MAIN" ${star% *} ${star#* } click 1
    if poll 5 find_nearest_window; then
        pass "a click on the star at $star opens \"$(xdo getwindowname "$NEAREST")\""
        xdo windowfocus --sync "$NEAREST"
        xdo key Escape
        check "Escape closes the nearest-stars window" poll 5 no_nearest_window
        check "and leaves the main window open" find_main_window
    else
        fail "a click on the star at $star opens no nearest-stars window"
    fi

    close_by_window_manager
    ends_cleanly session
    local cfg=$RUN/program/maridon.cfg
    if [ -f "$cfg" ]; then
        pass "closing writes maridon.cfg beside the program (none in the working folder)"
        check "settings are well formed" settings_well_formed "$cfg"
        check "settings hold the window's place" \
            test "$(settings_line "$cfg" 1)" = "WindowRect 0 0 $WIN_W $WIN_H"
        check "settings keep Ursa Minor's view, which was not moved" \
            test "$(settings_line "$cfg" 8)" = "    80.0  73.0   0.0   8.0   0.8  -0.3"
        check "settings hold Cepheus, shown last, two degrees left and one up" \
            test "$(settings_line "$cfg" 11)" = "     8.0  69.0   0.0   6.0   1.3  -0.2"
    else
        fail "no maridon.cfg beside the program after closing"
    fi
    check "no settings in the working folder" test ! -e "$RUN/work/maridon.cfg"
    check "data files in the working folder unchanged" data_unchanged
}

# ---------------------------------------------------------------------------------------------
# Bad input the program must get over: it starts as it would on good data.

# A folder named cat1.dat in the working folder: the file beside the program is read. Its first
# picture and its settings are those of a first start, which the next runs are held to.
start_past_folder() {
    new_run folder
    REFERENCE_SHOT=$RUN/no-such-shot
    DEFAULT_SETTINGS=$RUN/program/maridon.cfg
    put_data catb.bin cat2.dat cat3.dat
    mkdir "$RUN/work/cat1.dat"
    keep_expected
    start_viewer
    main_window_comes_up "cat1.dat a folder" || return
    REFERENCE_SHOT=$LAST
    close_by_escape
    ends_cleanly "cat1.dat a folder"
    check "cat1.dat a folder: settings written beside the program" \
        settings_well_formed "$DEFAULT_SETTINGS"
    check "cat1.dat a folder: the folder is still there" test -d "$RUN/work/cat1.dat"
    check "cat1.dat a folder: data files unchanged" data_unchanged
}

# noise FILE BYTES SEED: pseudo-random bytes of every value, line ends and zeros included, the
# same for a seed.
noise() {
    LC_ALL=C awk -v n="$2" -v seed="$3" \
        'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }' >"$1"
}

# A settings file of random bytes: the defaults stand, and a proper file replaces it.
start_past_noise_settings() {
    new_run noise_settings
    put_data "${DATA_FILES[@]}"
    keep_expected
    noise "$RUN/work/maridon.cfg" 6000 1771298
    start_viewer
    main_window_comes_up "random settings" || return
    check "random settings: the default view, exactly as on a first start" \
        region_alike "$REFERENCE_SHOT" "$LAST" 0 0 $WIN_W $WIN_H
    close_by_window_manager
    ends_cleanly "random settings"
    check "random settings: rewritten in the working folder as a first start writes them" \
        cmp -s "$DEFAULT_SETTINGS" "$RUN/work/maridon.cfg"
    check "random settings: nothing written beside the program" \
        test ! -e "$RUN/program/maridon.cfg"
    check "random settings: data files unchanged" data_unchanged
}

# Letters in number fields of cat1.dat end the numbers there: the edition loads.
start_past_letters() {
    new_run letters
    put_data "${DATA_FILES[@]}"
    # Line 2, Ursa Minor's first star: longitude "x62"; line 3: magnitude "b."; line 4: number.
    sed -i -e '2s/^\(.\{12\}\).../\1x62/' -e '3s/^\(.\{26\}\).../\1 b./' \
        -e '4s/^..../ abc/' "$RUN/work/cat1.dat"
    keep_expected
    start_viewer
    main_window_comes_up "letters in cat1.dat" || return
    check "letters in cat1.dat: the same status line" \
        region_alike "$REFERENCE_SHOT" "$LAST" $STATUS_RECT
    check "letters in cat1.dat: the spoilt stars drawn elsewhere" \
        region_differs "$REFERENCE_SHOT" "$LAST" $SKY_RECT
    close_by_escape
    ends_cleanly "letters in cat1.dat"
    check "letters in cat1.dat: settings written" settings_well_formed "$RUN/program/maridon.cfg"
    check "letters in cat1.dat: data files unchanged" data_unchanged
}

case_bad_input_starts() {
    start_past_folder
    start_past_noise_settings
    start_past_letters
}

# ---------------------------------------------------------------------------------------------
# Bad data the program must refuse: a message box, no main window, no settings.
refused() {  # refused NAME
    keep_expected
    start_viewer
    if ! poll 10 find_message_box; then
        find_main_window && fail "$1: the main window came up" || fail "$1: no message box"
        abandon_viewer
        return
    fi
    pass "$1: a message box titled \"Tessaran Stars\" of $(window_size "$BOX")"
    check "$1: no main window" eval '! find_main_window'
    xdo windowfocus --sync "$BOX"
    xdo key Return
    ends_cleanly "$1"
    check "$1: no settings written" \
        test ! -e "$RUN/work/maridon.cfg" -a ! -e "$RUN/program/maridon.cfg"
    check "$1: data files unchanged" data_unchanged
}

case_bad_input_refused() {
    # Record 4321 of catb.bin with magnitude 9.00 (900 hundredths), beyond the brightest bound.
    new_run reference_out_of_range
    put_data "${DATA_FILES[@]}"
    printf '\x84\x03' | dd of="$RUN/work/catb.bin" bs=1 seek=$((4321 * 30 + 26)) conv=notrunc \
        status=none
    refused "magnitude out of range in catb.bin"

    new_run empty_edition
    put_data catb.bin cat2.dat cat3.dat
    : >"$RUN/work/cat1.dat"
    refused "empty cat1.dat"
}

# ---------------------------------------------------------------------------------------------
# On a screen of 200 % (QT_SCALE_FACTOR=2) the default window has half the window pixels and the
# same device pixels as at 100 %, and the sky is drawn in those device pixels, not doubled: the
# meridian down the middle is twice as wide with edges as sharp, and the stars stand where they
# stand at 100 %, a click on one finding it. The view is set to look along the ecliptic at
# longitude 90, between the parallels, the ecliptic grid in white.
HIGH_DPI_SETTINGS=$'GridColor 255 255 255\nConViewArray\n90 7.5 0 4 0 0\n'
MERIDIAN_ROW="540 447 40"  # across the meridian, which runs between columns 559 and 560

# Only the main window of the program is left once the splash has closed itself.
splash_closed() {
    [ "$(xdotool search --onlyvisible --classname '^tessaran-stars$' 2>/dev/null | wc -l)" -le 1 ]
}
# The meridian's width (its pixels' sum in units of full white) and how many pixels are partly lit.
meridian_profile() {
    "$PROBE" row "$LAST" $MERIDIAN_ROW |
        awk '{ for (i = 1; i <= NF; i++) { s += $i / 255; p += ($i > 0 && $i < 255) }
               printf "%.2f %d\n", s, p }'
}
high_dpi_run() {  # high_dpi_run RATIO: sets STARS (a shot of the stars alone) and PROFILE
    new_run "scale_$1"
    put_data "${DATA_FILES[@]}"
    printf '%s' "$HIGH_DPI_SETTINGS" >"$RUN/work/maridon.cfg"
    (cd "$RUN/work" && HOME=$RUN/home XDG_RUNTIME_DIR=$RUN/runtime QT_QPA_PLATFORM=xcb \
        QT_SCALE_FACTOR=$1 exec "$RUN/program/tessaran-stars") >"$RUN/viewer.log" 2>&1 &
    VIEWER_PID=$!
    if ! poll 10 find_main_window; then
        fail "ratio $1: no main window appeared"
        abandon_viewer
        return 1
    fi
    check "ratio $1: the window has ${WIN_W}x${WIN_H} device pixels" \
        test "$(window_size "$MAIN")" = "${WIN_W}x${WIN_H}"
    poll 8 splash_closed || fail "ratio $1: the splash stays up"
    xdotool mousemove --window "$MAIN" 10 10
    timeout 5 xdotool windowfocus --sync "$MAIN" || fail "ratio $1: the main window takes no focus"
    settled_shot || { fail "ratio $1: no steady screenshot"; return 1; }
    key_changes 5 $SKY_RECT || fail "ratio $1: 5 does not hide the grid"
    settled_shot
    STARS=$LAST
    key_changes 1 $SKY_RECT || fail "ratio $1: 1 does not hide the reference stars"
    key_changes 5 $SKY_RECT || fail "ratio $1: 5 does not show the grid"
    settled_shot
    PROFILE=$(meridian_profile)
    echo "  ratio $1: meridian width and partly lit pixels $PROFILE"
}
case_high_dpi() {
    high_dpi_run 1 || return
    local profile1=$PROFILE star1
    star1=$("$PROBE" brightest "$STARS" 20 20 $((WIN_W - 40)) 800)
    close_by_escape
    ends_cleanly "ratio 1"
    high_dpi_run 2 || return
    check "ratio 2: the meridian is twice as wide ($profile1 at ratio 1, $PROFILE at 2)" \
        awk -v a="${profile1% *}" -v b="${PROFILE% *}" \
            'BEGIN { exit !(b > 1.8 * a && b < 2.4 * a) }'
    check "ratio 2: its edges fade over a pixel at most, as at ratio 1" \
        test "${PROFILE#* }" -le 2 -a "${profile1#* }" -le 2
    # Near the brightest star of ratio 1 the brightest pixel of ratio 2, the larger dot's top.
    local star2 dx dy
    star2=$("$PROBE" brightest "$STARS" $((${star1% *} - 8)) $((${star1#* } - 8)) 17 17)
    dx=$((${star2% *} - ${star1% *})) dy=$((${star2#* } - ${star1#* }))
    check "ratio 2: the brightest star at $star2, where ratio 1 has it ($star1), lit there too" \
        test ${dx#-} -le 4 -a ${dy#-} -le 4 -a "$("$PROBE" row "$STARS" $star1 1)" -ge 200
    key_changes 1 $SKY_RECT || fail "ratio 2: 1 does not bring the reference stars back"
    xdotool mousemove --window "$MAIN" ${star2% *} ${star2#* } click 1
    check "ratio 2: a click on that star lists it in the nearest-stars window" \
        poll 5 find_nearest_window
    close_by_window_manager
    ends_cleanly "ratio 2"
}

start_display
case "$CASE" in
    session) case_session ;;
    bad_input_starts) case_bad_input_starts ;;
    bad_input_refused) case_bad_input_refused ;;
    high_dpi) case_high_dpi ;;
    *) echo "unknown case $CASE"; exit 2 ;;
esac
echo "e2e $CASE: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
