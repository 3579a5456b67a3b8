# shellcheck shell=bash
# Sourced by the smoke scripts. A fixed sleep is both too long on an idle machine and too short
# on a busy one, so every step waits for the thing it needs and gives up with its name.
#
# wait_for TIMEOUT_SECONDS DESCRIPTION COMMAND [ARG...]
# Runs COMMAND every 0.1 s until it succeeds, then prints what its last run printed. After
# TIMEOUT_SECONDS it reports "timed out after ... waiting for DESCRIPTION" and returns 1, with
# the last run's error output, which usually tells why.
wait_for() {
    local timeout=$1 what=$2
    shift 2
    local deadline=$(( ${EPOCHREALTIME/./} + timeout * 1000000 ))
    local output errors
    errors=$(mktemp)
    while true; do
        if output=$("$@" 2>"$errors"); then
            rm -f "$errors"
            [[ -z "$output" ]] || printf '%s\n' "$output"
            return 0
        fi
        (( ${EPOCHREALTIME/./} < deadline )) || break
        sleep 0.1
    done
    echo "timed out after ${timeout} s waiting for $what" >&2
    [[ -s "$errors" ]] && sed 's/^/  last try: /' "$errors" >&2
    rm -f "$errors"
    return 1
}

# output_is EXPECTED COMMAND [ARG...]: the command prints exactly EXPECTED (a test for wait_for).
output_is() {
    local expected=$1 actual
    shift
    actual=$("$@") || return 1
    [[ "$actual" == "$expected" ]] || { printf 'read %q, not %q\n' "$actual" "$expected" >&2; return 1; }
}
