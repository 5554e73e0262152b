# shellcheck shell=bash
# Sourced by the Windows tests that reach a printer on a pseudo-terminal through a COM port of the
# Wine prefix: strict mode, the paths, a work folder, and start_printer; whatever was started and
# linked goes away on exit. Needs WINEPREFIX (made by `make test-windows`).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck disable=SC2034 # the virtual printer, for the scripts that source this
sim=${TERVAN_PRINTER_SIM:-$root/build/bin/tervan-printer-sim}
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=-all

work=$(mktemp -d)
pids=()
com_links=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    for link in "${com_links[@]}"; do
        rm -f "$link"
    done
    rm -rf "$work"
}
trap cleanup EXIT

# start_printer PORT OUT COMMAND...: starts a printer, waits for the path of its terminal, which
# it prints first to OUT, and links the prefix's PORT (com5, com6 ...) to it.
start_printer() {
    local port=$1 out=$2
    shift 2
    "$@" >"$out" </dev/null &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$out" ] && break
        sleep 0.05
    done
    local pty
    pty=$(head -n 1 "$out")
    [ -c "$pty" ] || { echo "no printer terminal: $pty"; exit 1; }
    ln -sfn "$pty" "$WINEPREFIX/dosdevices/$port"
    com_links+=("$WINEPREFIX/dosdevices/$port")
}
