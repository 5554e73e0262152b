#!/usr/bin/env bash
# The window used through the desktop's accessibility bus, as a screen reader uses it: on a
# session bus and a display of its own, against the virtual printer, driven by screen-reader.py.
# Usage: accessibility-bus.sh TERVAN PRINTER_SIM
set -euo pipefail
if [ -z "${TERVAN_BUS_OWN:-}" ]; then
    export TERVAN_BUS_OWN=1
    exec dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
tervan=$1
sim=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

"$sim" --log "$work/printer.bin" >"$work/sim.out" </dev/null &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && break
    sleep 0.05
done
pty=$(head -n 1 "$work/sim.out")
[ -c "$pty" ] || { echo "no printer terminal: $pty"; exit 1; }

# Qt offers its widgets on the bus only when asked to, or when a screen reader runs.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=zh_CN.UTF-8 LANGUAGE=zh_CN \
    "$tervan" --port "$pty" </dev/null >"$work/tervan.out" 2>&1 &
pids+=($!)
# Debian's own Python, which has the bus's bindings.
/usr/bin/python3 "$here/screen-reader.py" "$work/printer.bin"
