# shellcheck shell=bash
# Sourced by the shell checks: a line per check, the count of those that failed, and what the
# virtual printers were sent.
failures=0

# check NAME EXPECTED ACTUAL
check() {
    if [ "$2" == "$3" ]; then
        echo "ok    $1"
    else
        printf 'FAIL  %s\n      expected: %s\n      actual:   %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

# logged LOG [COUNT]: a printer's log as upper-case hex pairs, once COUNT bytes have come (or
# after 3 s).
logged() {
    for _ in $(seq 60); do
        [ "$(stat -c %s "$1")" -ge "${2:-0}" ] && break
        sleep 0.05
    done
    od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' | tr a-f A-F
}

# first_line FILE: the first line a program started in the background writes to FILE (a virtual
# printer its port), once it has (or after 5 s).
first_line() {
    for _ in $(seq 100); do
        [ -s "$1" ] && break
        sleep 0.05
    done
    head -n 1 "$1"
}

# The checks' exit status.
finish() {
    [ "$failures" == 0 ] || { echo "$failures check(s) failed"; exit 1; }
}
