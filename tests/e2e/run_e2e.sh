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

# The splash has no title of its own: it is the program's window beside the main one.
find_splash() {
    local w
    for w in $(xdo search --onlyvisible --classname '^tessaran-stars$' 2>/dev/null); do [ "$w" != "$MAIN" ] && SPLASH=$w && return; done
    return 1
}

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
# The main window comes up at the default place and size, and the splash over it, which a click
# closes. The splash is mapped a moment after the main window: wait for it to come before waiting
# for it to go, or on a busy machine it may come late and cover the screenshot. False when no
# window comes up.
main_window_comes_up() {
    await_main "$1" || return
    check "$1: main window at 0,0 with seven eighths of the screen" \
        test "$(window_position "$MAIN") $(window_size "$MAIN")" = "0,0 ${WIN_W}x${WIN_H}"
    check "$1: no message box beside it" eval '! find_message_box'
    if poll 4 find_splash; then
        check "$1: the splash is the about box" test "$(window_size "$SPLASH")" = 284x125
        xdo mousemove --window "$SPLASH" 140 60 click 1
        check "$1: a click closes the splash" poll 3 eval '! find_splash'
    else
        fail "$1: no splash"
    fi
    xdo mousemove --window "$MAIN" 200 150
    xdo windowfocus --sync "$MAIN" || fail "$1: the main window takes no focus"
    settled_shot || { fail "$1: no steady screenshot of the main window"; return 1; }
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

declare -F "case_$CASE" >/dev/null || { echo "unknown case $CASE"; exit 2; }
begin_run e2e
start_display
"case_$CASE"
echo "e2e $CASE: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
