#!/usr/bin/env bash
# tervan-printer-sim as a user starts it: in the background, stdin from /dev/null. It prints its
# device path first, answers 1B 06 with "OK", decodes, logs the raw bytes, writes the printed
# slot as a PNG, and exits 0 on SIGTERM and on SIGINT.
set -euo pipefail
sim=$1
dir=$(mktemp -d)
trap 'kill -KILL "$pid" 2>/dev/null || true; rm -rf "$dir"' EXIT

for signal in TERM INT; do
    "$sim" --log "$dir/raw" --out "$dir" </dev/null >"$dir/out" &
    pid=$!
    for _ in $(seq 100); do [ -s "$dir/out" ] && break; sleep 0.05; done
    port=$(head -n 1 "$dir/out")
    [ -c "$port" ] || { echo "no device path: '$port'"; exit 1; }

    exec 3<>"$port"
    printf '\x1b\x06' >&3
    reply=$(timeout 1 head -c 2 <&3 | od -An -tx1 | tr -d ' \n')
    [ "$reply" = 4f4b ] || { echo "reply: '$reply'"; exit 1; }
    # Slot 0, one row of one byte, then print it.
    printf '\x1b\xff\x00\x01\x00\x01\x00\x81\x1c\x50\x00' >&3
    exec 3>&-

    for _ in $(seq 100); do [ -f "$dir/slot-0.png" ] && break; sleep 0.05; done
    kill -"$signal" "$pid"
    wait "$pid" || { echo "exit status $? on SIG$signal"; exit 1; }

    expected=$'EnterSetup\nStoreBitmap slot=0 x=1 y=1\nPrintStoredBitmap slot=0'
    [ "$(tail -n +2 "$dir/out")" = "$expected" ] || { echo "decoded:"; cat "$dir/out"; exit 1; }
    [ "$(od -An -tx1 "$dir/raw" | tr -d ' \n')" = 1b061bff0001000100811c5000 ] ||
        { echo "log:"; od -An -tx1 "$dir/raw"; exit 1; }
    [ -f "$dir/slot-0.png" ] || { echo "no slot-0.png"; exit 1; }
    rm -f "$dir"/*
done
echo "1 passed, 0 failed"
