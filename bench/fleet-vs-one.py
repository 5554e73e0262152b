#!/usr/bin/python3
"""Times `tervan-cli apply --profile` on 16 virtual printers at once against the same on one, as whole
processes in turns (one, sixteen, one, sixteen ...): the fixed pauses of the conversations
overlap, so sixteen should take about as long as one. Prints the median wall seconds of each and
the median of the per-pair ratios (sixteen / one).

    bench/fleet-vs-one.py BIN_DIR [PAIRS] [-- APPLY OPTIONS]

BIN_DIR holds tervan-cli and tervan-printer-sim; the options default to a profile that sets the
density to 3.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

PRINTERS = 16


def start_printer(sim):
    process = subprocess.Popen([sim], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True)
    return process, process.stdout.readline().strip()


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    args = sys.argv[1:]
    profile = tempfile.NamedTemporaryFile("w", suffix=".toml", delete=False)
    profile.write("density = 3\n")
    profile.close()
    options = ["--profile", profile.name]
    if "--" in args:
        options = args[args.index("--") + 1:]
        args = args[:args.index("--")]
    bin_dir = args[0]
    pairs = int(args[1]) if len(args) > 1 else 10
    printers = [start_printer(f"{bin_dir}/tervan-printer-sim") for _ in range(PRINTERS)]
    try:
        ports = [port for _, port in printers]
        cli = [f"{bin_dir}/tervan-cli", "apply"] + options
        one = cli + ["--port", ports[0]]
        many = cli + [arg for port in ports for arg in ("--port", port)]
        timed(one)  # warm-up
        timed(many)
        ones, manys = [], []
        for _ in range(pairs):
            ones.append(timed(one))
            manys.append(timed(many))
        ratios = [m / o for o, m in zip(ones, manys)]
        print(f"apply to 1 printer:   median {statistics.median(ones):.3f} s "
              f"(min {min(ones):.3f}, max {max(ones):.3f})")
        print(f"apply to {PRINTERS} printers: median {statistics.median(manys):.3f} s "
              f"(min {min(manys):.3f}, max {max(manys):.3f})")
        print(f"{PRINTERS} / 1, pair by pair: median {statistics.median(ratios):.3f} "
              f"(min {min(ratios):.3f}, max {max(ratios):.3f}; target under 1.3)")
    finally:
        for process, _ in printers:
            process.terminate()
            process.wait()
        os.unlink(profile.name)


if __name__ == "__main__":
    main()
