#!/usr/bin/env python3
"""Writes a run library for the scale benchmark: COUNT runs spread over DAYS day folders,
named as the program names downloads, in the ordinary .krt format.

usage: bench/make_library.py DIR [COUNT=10000] [DAYS=3650]"""

import datetime
import os
import random
import sys


def number(value):
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return text if text else "0"


def run_file(rng, car):
    laps = rng.randint(0, 60)
    base = rng.uniform(20.0, 90.0)
    target = rng.choice([655.35, round(base, 2)])
    lines = [f"{car},{laps},{number(target)},0,0,{rng.randint(0, 30)},0"]
    for i in range(60):
        lines.append(number(base + rng.uniform(-2.0, 6.0)) if i < laps else "0")
    lines.append('"practice"' if rng.random() < 0.3 else '""')
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    root = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    days = int(sys.argv[3]) if len(sys.argv) > 3 else 3650
    rng = random.Random(11)
    start = datetime.datetime(2017, 1, 1, 9, 0, 0)
    for i in range(count):
        # Every day gets a run first, then the rest go round again.
        day = start + datetime.timedelta(days=i % days, seconds=37 * (i // days))
        car = rng.randint(1, 20)
        folder = os.path.join(root, day.strftime("%Y-%m-%d"))
        os.makedirs(folder, exist_ok=True)
        name = day.strftime("%H%M%S") + f"-car{car:02d}.krt"
        with open(os.path.join(folder, name), "wb") as out:
            out.write(run_file(rng, car))


if __name__ == "__main__":
    main()
