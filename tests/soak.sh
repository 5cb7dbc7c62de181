#!/usr/bin/env bash
# Runs the test suite over and over beside a CPU-bound load, to show whether it is dependable on a
# busy machine. Not part of `make test`.
#
#   tests/soak.sh [-b BUILD] [-n RUNS] [-t TEST] [-l LOADERS] [-s SECONDS]
#     -b BUILD    the configured and built build folder (default: build)
#     -n RUNS     how many runs (default: 30)
#     -t TEST     run only this CTest test, alone, each time (default: the whole suite, ctest -j2)
#     -l LOADERS  busy loops beside the runs (default: one a core; 0 for none)
#     -s SECONDS  time-out for each test (default: the test's own)
#
# Prints each run's failures as they come, then how many runs passed and which tests failed or
# timed out in which runs. Exit status 0 when every run passed, 1 otherwise, 2 on bad usage.
set -u

BUILD=build
RUNS=30
ONLY=""
LOADERS=$(nproc)
TIMEOUT=""
while getopts "b:n:t:l:s:" option; do
    case $option in
        b) BUILD=$OPTARG ;;
        n) RUNS=$OPTARG ;;
        t) ONLY=$OPTARG ;;
        l) LOADERS=$OPTARG ;;
        s) TIMEOUT=$OPTARG ;;
        *) exit 2 ;;
    esac
done
[[ $RUNS =~ ^[0-9]+$ && $LOADERS =~ ^[0-9]+$ ]] || { echo "RUNS and LOADERS are numbers"; exit 2; }
[ -f "$BUILD/CTestTestfile.cmake" ] || { echo "$BUILD is no configured build folder"; exit 2; }

LOAD_PIDS=()
stop_load() {
    local pid
    for pid in "${LOAD_PIDS[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    LOAD_PIDS=()
}
trap stop_load EXIT
trap 'exit 1' INT TERM HUP
for ((i = 0; i < LOADERS; i++)); do
    yes >/dev/null &
    LOAD_PIDS+=($!)
done

ctest_args=(--output-on-failure)
if [ -n "$ONLY" ]; then
    ctest_args+=(-R "^${ONLY}\$")
    what="$ONLY alone"
else
    ctest_args+=(-j2)
    what="the whole suite (ctest -j2)"
fi
[ -n "$TIMEOUT" ] && ctest_args+=(--timeout "$TIMEOUT")
LOG=$(mktemp -d "${TMPDIR:-/tmp}/tessaran-soak.XXXXXX")
echo "$RUNS runs of $what in $BUILD beside $LOADERS busy loops; logs in $LOG"

passed=0
declare -A failures  # test name -> the runs it failed in
for ((run = 1; run <= RUNS; run++)); do
    log=$LOG/run$run.log
    started=$SECONDS
    (cd "$BUILD" && ctest "${ctest_args[@]}") >"$log" 2>&1
    status=$?
    # ctest lists each failed test as "  N - name (Failed)" or "(Timeout)" after its summary.
    failed=$(sed -n '/The following tests FAILED:/,$p' "$log" |
             sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (\(.*\))$/\1 (\2)/p')
    if [ -n "$ONLY" ] && ! grep -q "tests passed" "$log"; then failed="$ONLY (did not run)"; fi
    if [ "$status" -eq 0 ] && [ -z "$failed" ]; then
        passed=$((passed + 1))
        echo "run $run: passed in $((SECONDS - started)) s"
    else
        echo "run $run: FAILED in $((SECONDS - started)) s: ${failed//$'\n'/, }"
        while read -r name kind; do
            [ -n "$name" ] && failures[$name]+=" $run$( [ "$kind" = "(Timeout)" ] && echo "(time-out)")"
        done <<<"$failed"
    fi
done

echo "$passed of $RUNS runs passed"
for name in "${!failures[@]}"; do echo "  $name failed in runs:${failures[$name]}"; done
[ "$passed" -eq "$RUNS" ]
