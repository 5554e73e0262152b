#!/usr/bin/python3
"""Times two whole processes in turns on the same photo: tervan-cli converting it to a 576-dot
Floyd-Steinberg logo, and Pillow's open -> resize(LANCZOS) -> convert('1') -> save. Prints the
median wall and CPU seconds of each and the median of the per-pair ratios (Pillow / tervan-cli).

    bench/picture-vs-pillow.py TERVAN_CLI PHOTO [PAIRS]
"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

PILLOW = """
import sys
from PIL import Image
picture = Image.open(sys.argv[1])
width = 576
height = round(picture.height * width / picture.width)
picture.resize((width, height), Image.Resampling.LANCZOS).convert("1").save(sys.argv[2])
"""


def timed(command):
    """Wall and CPU (user + system) seconds of one run of the command, which must succeed."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def main():
    cli, photo = sys.argv[1], sys.argv[2]
    pairs = int(sys.argv[3]) if len(sys.argv) > 3 else 15
    with tempfile.TemporaryDirectory() as folder:
        ours = [cli, "logo", "convert", photo, os.path.join(folder, "tervan.bmp"), "--paper", "72"]
        pillow = ["/usr/bin/python3", "-c", PILLOW, photo, os.path.join(folder, "pillow.bmp")]
        timed(ours)  # warm the file cache and the loader
        timed(pillow)
        runs = {"tervan": [], "pillow": []}
        for i in range(pairs):
            order = [("tervan", ours), ("pillow", pillow)]
            for name, command in order if i % 2 == 0 else reversed(order):
                runs[name].append(timed(command))

    def median(name, index):
        return statistics.median(run[index] for run in runs[name])

    print(f"{photo}: {pairs} pairs, run in turns")
    for name in runs:
        print(f"  {name:7} wall {median(name, 0) * 1000:7.1f} ms   cpu {median(name, 1) * 1000:7.1f} ms"
              " (medians)")
    for index, what in ((0, "wall"), (1, "cpu")):
        ratios = [p[index] / t[index] for t, p in zip(runs["tervan"], runs["pillow"])]
        print(f"  Pillow / tervan-cli, {what}: median {statistics.median(ratios):.2f}"
              f" (min {min(ratios):.2f}, max {max(ratios):.2f}); the goal is at least 2")


if __name__ == "__main__":
    main()
