#!/usr/bin/env bash
# The native window under Wine on a virtual display: its rules driven by window messages, and the
# operations run from the form against the project's virtual printer, linked into the Wine prefix
# as COM5 (and a silent one as COM6). Needs WINEPREFIX (made by `make test-windows`), xvfb-run and the Linux build's
# tervan-printer-sim.
set -euo pipefail
tests=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
sim=${TERVAN_PRINTER_SIM:-$root/build/bin/tervan-printer-sim}
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=-all

work=$(mktemp -d)
printers=()
cleanup() {
    for pid in "${printers[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -f "$WINEPREFIX/dosdevices/com5" "$WINEPREFIX/dosdevices/com6"
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a printer (its log, its COM port, then its options), waits for the path it prints first
# and links the port to it.
start_printer() {
    local log=$1 port=$2
    shift 2
    : >"$log"
    "$sim" --log "$log" --out "$work" "$@" >"$log.txt" </dev/null &
    printers+=($!)
    for _ in $(seq 100); do
        [ -s "$log.txt" ] && break
        sleep 0.05
    done
    local pty
    pty=$(head -n 1 "$log.txt")
    [ -c "$pty" ] || { echo "no printer terminal: $pty"; exit 1; }
    ln -sfn "$pty" "$WINEPREFIX/dosdevices/$port"
}
log=$work/printer.bin
silent_log=$work/silent.bin
start_printer "$log" com5
start_printer "$silent_log" com6 --reply silent

# Wine's drive Z: is the root of the file system. (winepath would start the prefix's desktop
# before the display is known, and windows could then not be made.)
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}
export TERVAN_COM5_LOG TERVAN_COM6_LOG TERVAN_TEST_DATA
TERVAN_COM5_LOG=$(windows_path "$log")
TERVAN_COM6_LOG=$(windows_path "$silent_log")
TERVAN_TEST_DATA=$(windows_path "$root/tests/data")

# A Chinese Windows: the string tables' Chinese texts are the ones checked. `make test-windows`
# gives the whole run one virtual display; run alone, the test brings its own.
if [ -n "${DISPLAY:-}" ]; then
    LC_ALL=zh_CN.UTF-8 wine "$tests"
else
    LC_ALL=zh_CN.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" wine "$tests"
fi
