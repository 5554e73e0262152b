#!/usr/bin/env python3
"""A bare printer on a pseudo-terminal, independent of the project's virtual printer: prints the
terminal's path, appends every byte it receives to the file given, answers each 1B 06 with "OK",
and ends on SIGTERM."""
import os
import select
import signal
import sys
import tty

master, slave = os.openpty()
tty.setraw(slave)  # held open, so the master never sees a hang-up between the client's opens
print(os.ttyname(slave), flush=True)
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
tail = b""
with open(sys.argv[1], "ab", buffering=0) as log:
    while True:
        ready, _, _ = select.select([master], [], [], 0.5)
        if not ready:
            continue
        data = os.read(master, 4096)
        log.write(data)
        if b"\x1b\x06" in tail + data:
            os.write(master, b"OK")
        tail = data[-1:]
