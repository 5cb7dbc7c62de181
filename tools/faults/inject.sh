#!/usr/bin/env bash
# Injects each fault of the given lists into the source tree of a build folder, one at a time,
# and tells whether the test suite catches it:
#
#   tools/faults/inject.sh [-o ID-REGEX] BUILD_DIR FAULT_FILE...
#
# A fault is "caught" when a test fails with it applied, "missed" when the whole suite passes,
# "stale" when its find text does not occur exactly once, and "no-build" when it does not compile.
# The edited file is always put back, also on an error or Ctrl-C. Each fault is first tried on
# the core test programs alone (built and run in seconds); only when those pass is everything
# built and the rest of CTest run (Qt tests and end-to-end). A list may skip CTest tests in that
# second stage with a line "# skip-tests: <ctest regex>" above its first fault. Use a build
# folder of its own (made as a Release build with ccache if missing), one run per source tree at
# a time, under nice. -o runs only the faults whose id matches the regular expression. The exit
# status is non-zero when any fault is missed, stale or no-build.
set -u

usage() { echo "usage: $0 [-o ID-REGEX] BUILD_DIR FAULT_FILE..." >&2; exit 2; }
only=""
while getopts "o:" opt; do
    case $opt in o) only=$OPTARG ;; *) usage ;; esac
done
shift $((OPTIND - 1))
[ $# -ge 2 ] || usage
build=$(realpath -m "$1"); shift

script_root=$(cd "$(dirname "$0")/../.." && pwd)
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "Configuring $build"
    launcher=(); command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$script_root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null || exit 2
fi
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
[ -d "$source_dir" ] || { echo "no source folder for $build" >&2; exit 2; }

readonly core_areas="catalog geometry render app analysis"
# The data tools link only the core; some core tests run them.
core_tools=(); for tool in "$source_dir"/tools/*.cpp; do
    [ -f "$tool" ] && tool=$(basename "$tool" .cpp) && core_tools+=("${tool//_/-}")
done
readonly test_timeout=120   # seconds, for each core test program and each CTest test
work=$(mktemp -d /tmp/tessaran-faults.XXXXXX)
applied=""                  # the file now holding a fault, if any

restore() {
    if [ -n "$applied" ]; then
        # A plain copy gives the file a new time stamp, so the next build recompiles it.
        cat "$work/saved" > "$source_dir/$applied"
        applied=""
    fi
}
trap 'restore; rm -rf "$work"' EXIT
trap 'restore; echo "interrupted" >&2; exit 130' INT TERM

quiet_build() { nice cmake --build "$build" -j2 "$@" > "$work/build.log" 2>&1; }

# Builds and runs the core test programs, the one for the fault's own area first; prints the
# name of the first that fails and returns 1, or returns 0 when all pass.
core_tests() {
    local first=$1 targets=() area
    for area in $first $core_areas; do
        [[ " ${targets[*]} " == *" test_$area "* ]] || targets+=("test_$area")
    done
    quiet_build --target "${targets[@]}" "${core_tools[@]}" || return 2
    for target in "${targets[@]}"; do
        (cd "$build/tests" && nice timeout -k 5 "$test_timeout" "./$target" --gtest_brief=1 \
            --gtest_fail_fast > "$work/test.log" 2>&1) 2>/dev/null && continue
        local failed; failed=$(sed -n 's/^\[  FAILED  \] \([^ ]*\) (.*/\1/p' "$work/test.log" | head -1)
        echo "$target ${failed:-(a crash or time-out)}"
        return 1
    done
    return 0
}

# Everything else CTest runs: the tests that are not single GoogleTest cases (Suite.Case).
other_tests_regex() {
    (cd "$build" && ctest -N) | sed -n 's/^ *Test *#[0-9]*: //p' | grep -v '\.' | paste -sd'|'
}
full_tests() {
    local skip=$1 regex
    quiet_build || return 2
    regex=$(other_tests_regex)
    [ -n "$regex" ] || return 0
    local exclude=(); [ -n "$skip" ] && exclude=(-E "$skip")
    (cd "$build" && nice ctest -j2 --stop-on-failure --timeout "$test_timeout" -R "^($regex)\$" \
        "${exclude[@]}" > "$work/test.log" 2>&1) && return 0
    sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*/\1/p' "$work/test.log" | head -1
    return 1
}

# The suite must pass on the untouched tree, or every fault would count as caught.
echo "Checking the unchanged tree in $build"
if ! core_tests app > /dev/null; then
    echo "the core tests fail (or do not build) without any fault; see:" >&2
    tail -n 20 "$work/build.log" "$work/test.log" >&2; exit 2
fi
full_checked=""   # the skip regexes whose second stage passed on the unchanged tree

total=0 caught=0 missed=0 stale=0 nobuild=0
run_fault() {   # id file find replace skip
    local id=$1 file=$2 find=$3 replace=$4 skip=$5 area=${2%%/*} by="" status start=$SECONDS
    [ -n "$only" ] && ! [[ $id =~ $only ]] && return
    total=$((total + 1))
    local path="$source_dir/$file" count=0
    [ -f "$path" ] && count=$(FIND=$find perl -0ne 'print scalar(() = /\Q$ENV{FIND}\E/g)' "$path")
    if [ "$count" != 1 ]; then
        stale=$((stale + 1)); printf '%-9s %s (find text occurs %s times in %s)\n' stale "$id" "$count" "$file"
        return
    fi
    if [ "$area" = tests ]; then area=${file#tests/}; area=${area%%/*}; fi
    case $area in
        catalog | geometry | render | app | analysis) ;;
        resources) area=render ;;
        *) area="" ;;   # not in the core test programs: straight to the second stage
    esac
    cp "$path" "$work/saved"; applied=$file
    FIND=$find REPLACE=$replace perl -0pi -e 's/\Q$ENV{FIND}\E/$ENV{REPLACE}/' "$path"
    status=0
    if [ -n "$area" ]; then by=$(core_tests "$area"); status=$?; fi
    if [ $status = 0 ] && [[ " $full_checked " != *" [$skip] "* ]]; then
        # Check the second stage once on the unchanged tree before trusting it.
        restore
        if ! full_tests "$skip" > /dev/null; then
            echo "the Qt or end-to-end tests fail without any fault; see:" >&2
            tail -n 30 "$work/build.log" "$work/test.log" >&2; exit 2
        fi
        full_checked="$full_checked [$skip]"
        cp "$path" "$work/saved"; applied=$file
        FIND=$find REPLACE=$replace perl -0pi -e 's/\Q$ENV{FIND}\E/$ENV{REPLACE}/' "$path"
    fi
    if [ $status = 0 ]; then by=$(full_tests "$skip"); status=$?; fi
    restore
    case $status in
        0) missed=$((missed + 1)); printf '%-9s %s: %s (%ds)\n' missed "$id" "$desc" $((SECONDS - start)) ;;
        1) caught=$((caught + 1)); printf '%-9s %s (by %s, %ds)\n' caught "$id" "$by" $((SECONDS - start)) ;;
        *) nobuild=$((nobuild + 1)); printf '%-9s %s: %s\n' no-build "$id" \
               "$(grep -m1 -E 'error' "$work/build.log")" ;;
    esac
}

for list in "$@"; do
    [ -f "$list" ] || { echo "no fault list $list" >&2; exit 2; }
    skip=$(sed -n 's/^# skip-tests: *//p' "$list" | head -1)
    id="" desc="" file="" find="" replace=""
    flush() {
        [ -n "$id" ] && run_fault "$id" "$file" "$find" "$replace" "$skip"
        id="" desc="" file="" find="" replace=""
    }
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in
            "## "*) flush; line=${line#"## "}; id=${line%%:*}; desc=${line#*: } ;;
            "file: "*) file=${line#"file: "} ;;
            "find: "*) find=${line#"find: "} ;;
            "replace: "*) replace=${line#"replace: "} ;;
        esac
    done < "$list"
    flush
done

echo "$total faults: $caught caught, $missed missed, $stale stale, $nobuild no-build"
[ $((missed + stale + nobuild)) = 0 ]
