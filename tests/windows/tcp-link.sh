#!/usr/bin/env bash
# The network link of the Windows build end to end: tervan-cli.exe under Wine talks Winsock to the
# Linux build's virtual printer on a TCP port, alone and beside a printer on COM5, and is refused
# by a port where nothing listens. Needs WINEPREFIX (made by `make test-windows`) and the Linux
# build's tervan-printer-sim.
cli=$1
# shellcheck source=com-printer.sh
source "$(dirname "$0")/com-printer.sh"
# shellcheck source=../support/checks.sh
source "$here/../support/checks.sh"

tcp_log=$work/tcp.bin
: >"$tcp_log"
"$sim" --tcp 0 --log "$tcp_log" >"$work/tcp.txt" </dev/null &
pids+=($!)
tcp=$(first_line "$work/tcp.txt")

status=0
wine "$cli" apply --port "$tcp" --density 3 >/dev/null 2>"$work/err.txt" || status=$?
check "apply over TCP: exit status" 0 "$status"
check "apply over TCP: bytes on the wire" "1B 06 1B FD 03 1B 16" "$(logged "$tcp_log" 7)"

# Two printers at once, one on a serial port and one on the network, each on its own thread.
com_log=$work/com.bin
: >"$com_log"
start_printer com5 "$work/com.txt" "$sim" --log "$com_log"
: >"$tcp_log"
status=0
wine "$cli" apply --port COM5 --port "$tcp" --density 4 --json >"$work/out.txt" 2>&1 || status=$?
check "two printers at once: exit status" 0 "$status"
check "two printers at once: COM5" "1B 06 1B FD 04 1B 16" "$(logged "$com_log" 7)"
check "two printers at once: TCP" "1B 06 1B FD 04 1B 16" "$(logged "$tcp_log" 7)"
check "two printers at once: two JSON lines" 2 "$(grep -c '"verdict":"ok"' "$work/out.txt")"

# A port where nothing listens: the port of the printer, stopped.
kill "${pids[0]}"
wait "${pids[0]}" 2>/dev/null || true
status=0
wine "$cli" apply --port "$tcp" >/dev/null 2>"$work/err.txt" || status=$?
check "refused connection: exit status" 3 "$status"
check "refused connection: message" "Port open failed, please check" \
    "$(head -n 1 "$work/err.txt" | tr -d '\r')"

finish
