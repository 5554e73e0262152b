#!/usr/bin/env bash
# The native window under Wine on a virtual display: its rules driven by window messages, and the
# operations run from the form against the project's virtual printer, linked into the Wine prefix
# as COM5 (a silent one as COM6, a slow one as COM7). Needs WINEPREFIX (made by
# `make test-windows`), xvfb-run and the Linux build's tervan-printer-sim.
tests=$1
# shellcheck source=com-printer.sh
source "$(dirname "$0")/com-printer.sh"

log=$work/printer.bin
silent_log=$work/silent.bin
: >"$log"
: >"$silent_log"
start_printer com5 "$log.txt" "$sim" --log "$log" --out "$work"
start_printer com6 "$silent_log.txt" "$sim" --log "$silent_log" --out "$work" --reply silent
slow_log=$work/slow.bin
: >"$slow_log"
start_printer com7 "$slow_log.txt" "$sim" --log "$slow_log" --reply silent --bytes-per-second 20000

# Wine's drive Z: is the root of the file system. (winepath would start the prefix's desktop
# before the display is known, and windows could then not be made.)
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}
export TERVAN_COM5_LOG TERVAN_COM6_LOG TERVAN_COM7_LOG TERVAN_TEST_DATA
TERVAN_COM5_LOG=$(windows_path "$log")
TERVAN_COM6_LOG=$(windows_path "$silent_log")
TERVAN_COM7_LOG=$(windows_path "$slow_log")
TERVAN_TEST_DATA=$(windows_path "$root/tests/data")

# A Chinese Windows: the string tables' Chinese texts are the ones checked. `make test-windows`
# gives the whole run one virtual display; run alone, the test brings its own.
if [ -n "${DISPLAY:-}" ]; then
    LC_ALL=zh_CN.UTF-8 wine "$tests"
else
    LC_ALL=zh_CN.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" wine "$tests"
fi
