# The checks and bounded polls the scripts that drive the real program under Xvfb share
# (tests/e2e/run_e2e.sh, tests/package/run_package_test.sh), sourced by both. The sourcing script
# sets PASSED=0 and FAILED=0; a failed check counts and goes on, fatal ends the run.

pass() { PASSED=$((PASSED + 1)); echo "ok: $*"; }
fail() { FAILED=$((FAILED + 1)); echo "FAILED: $*"; }
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
# A failure after which the run cannot go on.
fatal() {
    fail "$*"
    exit 1
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
