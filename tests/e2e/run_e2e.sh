#!/usr/bin/env bash
# The real viewer under Xvfb, driven as a person drives it, and started on bad input as a new
# user may hand it. Usage: run_e2e.sh CASE VIEWER PROBE DATA_DIR, CASE a case_ function below.
# Each run copies the viewer into a fresh program/ with the shipped data beside it (its settings
# stay out of the build folder) and runs it in work/. Exit status: 0 passed, 1 failed, 77 skipped.
set -u
CASE=${1:?case} VIEWER=${2:?viewer} PROBE=${3:-} DATA=${4:?data folder}
DATA_FILES=(catb.bin cat1.dat cat2.dat cat3.dat)
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
needs_tools Xvfb xdotool xwd diff

# The main window's default size on the 1280 x 1024 screen: seven eighths of it.
WIN_W=1120 WIN_H=896
STATUS_RECT="0 850 800 46"   # the status line, left of the cursor coordinates
SKY_RECT="0 0 $WIN_W 840"    # the sky above it
CIRCLE_RGB="128 128 128"  # default colours

new_run() {  # new_run NAME: a fresh program folder and working folder, each with the shipped data
    RUN=$ROOT/$1
    mkdir -p "$RUN/program" "$RUN/work"
    cp "$VIEWER" "$RUN/program/tessaran-stars"
    cp "${DATA_FILES[@]/#/$DATA/}" "$RUN/program/"
    cp "${DATA_FILES[@]/#/$DATA/}" "$RUN/work/"
}
# Each start records the working folder's data files as they are: they must come out unchanged.
run_viewer() {
    (cd "$RUN/work" && find . -maxdepth 1 -type f -name 'cat*' -exec md5sum {} +) >"$RUN/expected"
    start_viewer "$RUN/program/tessaran-stars" "$@"
}
data_unchanged() { (cd "$RUN/work" && md5sum --quiet -c "$RUN/expected"); }

windows_titled() { xdo search --onlyvisible --name "$1" 2>/dev/null; }
program_windows() { xdo search --onlyvisible --classname '^tessaran-stars$' 2>/dev/null; }
# The splash has no title of its own: it is the program's window beside the main one.
find_splash() {
    local w
    for w in $(program_windows); do [ "$w" != "$MAIN" ] && SPLASH=$w && return; done
    return 1
}
find_nearest_window() { NEAREST=$(windows_titled '^Nearest Stars \[(lon/lat|ra/dec)\]$' | head -1); [ -n "$NEAREST" ]; }

# Screenshots until three in a row, 0.1 s apart, are alike, so that no paint is under way.
settled_shot() {
    shoot || return 1
    local previous=$LAST alike=0
    poll 5 eval 'sleep 0.1
                 shoot && region_alike "$previous" "$LAST" 0 0 $WIN_W $WIN_H && alike=$((alike + 1)) || alike=0
                 previous=$LAST
                 [ $alike -ge 2 ]'
}
region_differs() { local n; n=$("$PROBE" diff "$@") && [ "$n" -gt 0 ]; }  # SHOT_A SHOT_B X Y W H
region_alike() { local n; n=$("$PROBE" diff "$@") && [ "$n" -eq 0 ]; }
# key_changes KEY RECT...: presses a key in the main window, then polls screenshots until the
# region differs from the last one taken before the key.
key_changes() {
    local key=$1 before=$LAST
    shift
    xdo key "$key"
    poll 5 eval 'shoot && region_differs "$before" "$LAST" '"$*"
}
# count_in X Y W H R G B: pixels of that colour at least 100 bright in the rectangle of LAST.
count_in() { "$PROBE" count "$LAST" "$@" 100; }

# In the first view, Ursa Minor's, the bowl lies upper left and the pole star (the handle's end)
# lower right, so the circles round the ancient stars fill those two quadrants and hardly the
# other two; a sky mirrored or upside down swaps them.
sky_oriented() {
    local w=$((WIN_W / 2)) h=$((WIN_H / 2)) on off
    on=$(($(count_in 0 0 $w $h $CIRCLE_RGB) + $(count_in $w $h $w $h $CIRCLE_RGB)))
    off=$(($(count_in $w 0 $w $h $CIRCLE_RGB) + $(count_in 0 $h $w $h $CIRCLE_RGB)))
    echo "  circle pixels: $on upper left and lower right, $off upper right and lower left"
    [ "$on" -gt 100 ] && [ "$off" -lt $((on / 4)) ]
}

await_main() {  # await_main NAME: false, the viewer ended, when no main window comes up
    poll 10 find_main_window && return
    fail "$1: no main window appeared"
    abandon_viewer
    return 1
}
# focus_shot NAME X Y: the cursor parked at X,Y in the focused main window, and a settled shot.
focus_shot() {
    xdo mousemove --window "$MAIN" "$2" "$3"
    xdo windowfocus --sync "$MAIN" || fail "$1: the main window takes no focus"
    settled_shot || { fail "$1: no steady screenshot of the main window"; return 1; }
}
# click_splash_away NAME RATIO: the about box shows as a splash of its size in device pixels,
# and a click closes it. It is mapped a moment after the main window, so wait for it to come
# before waiting for it to go: on a busy machine it may come late and cover a screenshot.
click_splash_away() {
    if poll 4 find_splash; then
        check "$1: the splash is the about box" test "$(window_size "$SPLASH")" = "$((284 * $2))x$((125 * $2))"
        xdo mousemove --window "$SPLASH" $((140 * $2)) $((60 * $2)) click 1
        check "$1: a click closes the splash" poll 3 eval '! find_splash'
    else
        fail "$1: no splash"
    fi
}
# The main window comes up at the default place and size, and the splash over it. False when no
# window comes up.
main_window_comes_up() {
    await_main "$1" || return
    check "$1: main window at 0,0 with seven eighths of the screen" \
        test "$(window_position "$MAIN") $(window_size "$MAIN")" = "0,0 ${WIN_W}x${WIN_H}"
    check "$1: no message box beside it" eval '! find_message_box'
    click_splash_away "$1" 1
    focus_shot "$1" 200 150
}
press() { xdo windowfocus --sync "$1" && xdo key "${@:2}"; }  # press WINDOW KEY...

settings_line() { sed -n "$2p" "$1"; }  # settings_line FILE N
settings_well_formed() {  # a window line, three colours, epoch, offsets, key and 48 rows
    [ "$(wc -l <"$1")" -eq 55 ] && [ "$(settings_line "$1" 7)" = ConViewArray ] &&
        [ "$(grep -c '^   [ 0-9.-]*$' "$1")" -eq 48 ]
}

# A first start with no settings anywhere, driven through keys and the close button, and past bad
# input (settings of any bytes are the core tests'): a folder named cat1.dat in the working folder,
# past which the file beside the program is read.
case_session() {
    new_run session
    rm "$RUN/work/cat1.dat"
    mkdir "$RUN/work/cat1.dat"
    run_viewer
    main_window_comes_up session || return
    local i key cfg=$RUN/program/maridon.cfg
    check "the sky the right way round: the bowl upper left, the pole star lower right" sky_oriented
    for i in 1 2 3; do check "Page Down $i repaints the status line" key_changes Next $STATUS_RECT; done
    for key in Left Left Up; do check "$key moves the view" key_changes $key $SKY_RECT; done
    close_and_end session
    check "closing writes well-formed settings beside the program" settings_well_formed "$cfg"
    check "settings hold the window's place" \
        test "$(settings_line "$cfg" 1)" = "WindowRect 0 0 $WIN_W $WIN_H"
    check "settings hold Cepheus, shown last, two degrees left and one up" \
        test "$(settings_line "$cfg" 11)" = "     8.0  69.0   0.0   6.0   1.3  -0.2"
    check "no settings in the working folder" test ! -e "$RUN/work/maridon.cfg"
    check "data files in the working folder unchanged, the folder cat1.dat still there" \
        eval 'data_unchanged && test -d "$RUN/work/cat1.dat"'
}

# Bad data the program must refuse, an empty cat1.dat (the catalogues' own checks are the core
# tests'): a message box, no main window, no settings.
case_bad_input_refused() {
    new_run empty_edition
    : >"$RUN/work/cat1.dat"
    run_viewer
    if ! poll 10 find_message_box; then
        find_main_window && fail "empty: the main window came up" || fail "empty: no message box"
        abandon_viewer
        return
    fi
    check "empty: a message box titled \"Tessaran Stars\", no main window" test -z "$MAIN"
    press "$BOX" Return
    ends_cleanly empty
    check "empty: no settings written" \
        test ! -e "$RUN/work/maridon.cfg" -a ! -e "$RUN/program/maridon.cfg"
    check "empty: data files unchanged" data_unchanged
}

# On a screen of 200 % (QT_SCALE_FACTOR=2) the default window has the same device pixels as at
# 100 %, and the sky is drawn in them, not doubled: the meridian down the middle is twice as wide
# with edges as sharp, and the stars stand where they stand at 100 %, a click on one finding it.
# The view looks along the ecliptic at longitude 90, between the parallels, the grid in white.
MERIDIAN_ROW="540 447 40 1"  # across the meridian, which runs between columns 559 and 560
# The meridian's width (its pixels' sum in units of full white) and how many pixels are partly lit.
meridian_profile() {
    "$PROBE" rows "$LAST" $MERIDIAN_ROW |
        awk '{ for (i = 1; i <= NF; i++) { s += $i / 255; p += ($i > 0 && $i < 255) }
               printf "%.2f %d\n", s, p }'
}
high_dpi_run() {  # high_dpi_run RATIO: sets STARS (a shot of the stars alone) and PROFILE
    new_run "scale_$1"
    STARS=""
    printf 'GridColor 255 255 255\nConViewArray\n90 7.5 0 4 0 0\n' >"$RUN/work/maridon.cfg"
    run_viewer QT_SCALE_FACTOR=$1
    await_main "ratio $1" || return
    check "ratio $1: the window has ${WIN_W}x${WIN_H} device pixels" test "${W}x$H" = "${WIN_W}x${WIN_H}"
    click_splash_away "ratio $1" $1
    focus_shot "ratio $1" 10 10 || return
    local key
    for key in 5 1 5; do  # a shot of the stars without the grid; the grid without the stars
        key_changes $key $SKY_RECT || fail "ratio $1: $key does not change the sky"
        settled_shot
        [ -n "$STARS" ] || STARS=$LAST
    done
    PROFILE=$(meridian_profile)
    echo "  ratio $1: meridian width and partly lit pixels $PROFILE"
}
case_high_dpi() {
    high_dpi_run 1 || return
    local profile1=$PROFILE star1 star2 dx dy
    star1=$("$PROBE" brightest "$STARS" 20 20 $((WIN_W - 40)) 800)
    press "$MAIN" Escape
    ends_cleanly "ratio 1"
    high_dpi_run 2 || return
    check "ratio 2: the meridian is twice as wide ($profile1 at ratio 1, $PROFILE at 2)" \
        awk -v a="${profile1% *}" -v b="${PROFILE% *}" 'BEGIN { exit !(b > 1.8 * a && b < 2.4 * a) }'
    check "ratio 2: its edges fade over a pixel at most, as at ratio 1" \
        test "${PROFILE#* }" -le 2 -a "${profile1#* }" -le 2
    # Near the brightest star of ratio 1 the brightest pixel of ratio 2, the larger dot's top.
    star2=$("$PROBE" brightest "$STARS" $((${star1% *} - 8)) $((${star1#* } - 8)) 17 17)
    dx=$((${star2% *} - ${star1% *})) dy=$((${star2#* } - ${star1#* }))
    check "ratio 2: the brightest star at $star2, where ratio 1 has it ($star1), lit there too" \
        test ${dx#-} -le 4 -a ${dy#-} -le 4 -a "$("$PROBE" rows "$STARS" $star1 1 1)" -ge 200
    key_changes 1 $SKY_RECT || fail "ratio 2: 1 does not bring the reference stars back"
    xdo mousemove --window "$MAIN" ${star2% *} ${star2#* } click 1
    check "ratio 2: a click on that star lists it in the nearest-stars window" \
        poll 5 find_nearest_window
    close_and_end "ratio 2"
}

# Find a star, give it another identification from the nearest-stars list, save the edition when
# closing, and see the new identification when the viewer starts again on the saved file.
STAR_FOUND=380  # the first edition's alp Tau, in the Hyades: several reference stars beside it
# await_titled VAR REGEX: within 5 s a window titled so, focused, its id in VAR.
await_titled() {
    poll 5 eval "$1=\$(windows_titled '$2' | head -1); [ -n \"\$$1\" ]" && xdo windowfocus --sync "${!1}"
}
# A click on the middle of the sky, where Find put the star: its nearest-stars list.
click_middle() { xdo mousemove --window "$MAIN" $((WIN_W / 2)) $((WIN_H / 2)) click 1; poll 5 find_nearest_window; }
# Ctrl+F, the star's number and Enter go to the first match, the ancient star; then a click on it.
find_and_click() {
    press "$MAIN" ctrl+f
    await_titled FIND "^Find$" || return 1
    xdo type --delay 30 "$STAR_FOUND"
    xdo key Return
    poll 5 eval '[ -z "$(windows_titled "^Find$")" ]' && click_middle
}
# The list closed with Escape, then a settled screenshot of the sky.
list_closed_shot() {
    press "$NEAREST" Escape
    poll 5 eval '! find_nearest_window' && xdo windowfocus --sync "$MAIN" && settled_shot
}
case_identify() {
    new_run identify
    local before changed windows line=$((STAR_FOUND + 1)) saved=$RUN/work/saved.dat
    run_viewer
    main_window_comes_up identify || return
    check "Ctrl+F, $STAR_FOUND and Enter go to ancient star $STAR_FOUND, a click lists its neighbours" \
        find_and_click
    list_closed_shot || fail "the nearest-stars list does not close"
    before=$LAST
    click_middle || fail "no list for the second click"
    # Its context menu: the last reference star listed, the item above "... with no star".
    windows=$(program_windows | wc -l)
    xdo mousemove --window "$NEAREST" 100 60 click 3
    poll 5 eval '[ "$(program_windows | wc -l)" -gt '"$windows"' ]' || fail "no context menu in the list"
    xdo key Up Up Return
    check "the changed edition's name in the title, with a *" \
        poll 5 eval '[[ "$(xdo getwindowname "$MAIN")" == *"* - Tessaran Stars" ]]'
    list_closed_shot
    changed=$LAST
    check "the identification line moved" region_differs "$before" "$changed" $SKY_RECT

    # Escape asks about the change; Save (the default) asks where; the viewer then ends.
    press "$MAIN" Escape
    await_titled BOX "^Tessaran Stars$" || fail "closing with a change unsaved asks nothing"
    xdo key Return
    await_titled SAVE "^Save Catalog As$" || fail "Save opens no save dialog"
    xdo key ctrl+a
    xdo type --delay 10 "$saved"
    xdo key Return
    ends_cleanly identify
    check "the saved edition differs from the file read in line $line alone" \
        test "$(diff "$RUN/work/cat1.dat" "$saved" | grep '^[0-9]')" = "${line}c$line"

    # Started again on the saved file, the same place shows the new identification.
    cp "$saved" "$RUN/work/cat1.dat"
    run_viewer
    main_window_comes_up "identify again" || return
    find_and_click && list_closed_shot || fail "the star found again shows no list"
    check "the saved identification is drawn as it was left" \
        region_alike "$changed" "$LAST" $SKY_RECT
    close_and_end "identify again"
}

declare -F "case_$CASE" >/dev/null || { echo "unknown case $CASE"; exit 2; }
begin_run e2e
start_display
"case_$CASE"
echo "e2e $CASE: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
