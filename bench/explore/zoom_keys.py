#!/usr/bin/env python3
"""Time from a zoom key to the next command being read, in the real program.

Drives `orvela --console` on a map, stands at a place, and presses
Ctrl+Page Up (one level out) from the smallest squares to the largest,
ROUNDS times. After each key it sends a line the program does not know: the
program reads it only once the zoom is done (the new size spoken, the map
reloaded around the user, what is there announced, the soundscape updated)
and says so on stderr. The time from writing the key to that line is the
wait a user has before the next key is taken. Prints the median per level.

Usage: zoom_keys.py ORVELA MAP LAT LON [ROUNDS]
  ORVELA  the program (build-bench/orvela, an optimised build)
  MAP     the map file, e.g. the 100-copy map that orvela_explore_bench
          makes in /tmp/orvela_bench_explore/maps/liechtenstein100.orvel
  LAT LON where to stand, in degrees (the 100-copy map: 47.14 34.52)
"""
import os
import queue
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

LEVELS = 12
MARK = "ZOOM-TIMING-MARK"


def reader(stream, name, out):
    for line in stream:
        out.put((time.monotonic(), name, line.rstrip("\n")))
    out.put((time.monotonic(), name, None))


def main():
    if len(sys.argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    orvela, map_file, lat, lon = sys.argv[1:5]
    rounds = int(sys.argv[5]) if len(sys.argv) > 5 else 5
    home = tempfile.mkdtemp(prefix="orvela-zoom-")
    try:
        os.makedirs(os.path.join(home, "maps"))
        name = os.path.basename(map_file)
        os.symlink(os.path.abspath(map_file), os.path.join(home, "maps", name))
        with open(os.path.join(home, "user.ini"), "w") as f:
            f.write("confirmexit=0\n")
        env = dict(os.environ, ALSOFT_DRIVERS="null")
        p = subprocess.Popen([orvela, "--console", "--home", home], stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                             bufsize=1, env=env)
        events = queue.Queue()
        threading.Thread(target=reader, args=(p.stdout, "out", events), daemon=True).start()
        threading.Thread(target=reader, args=(p.stderr, "err", events), daemon=True).start()

        def send(line):
            p.stdin.write(line + "\n")
            p.stdin.flush()

        def wait_for(pred, what, timeout=120):
            end = time.monotonic() + timeout
            while True:
                left = end - time.monotonic()
                if left <= 0:
                    raise SystemExit(f"timed out waiting for {what}")
                try:
                    t, src, line = events.get(timeout=left)
                except queue.Empty:
                    continue
                if line is None:
                    raise SystemExit(f"the program ended while waiting for {what}")
                if pred(src, line):
                    return t, line

        # Open the map: pick it from the list by its name.
        send("Ctrl+O")
        entries = []
        wait_for(lambda s, l: l.startswith("LIST "), "the map list")
        while True:
            _, line = wait_for(lambda s, l: s == "out", "the map list entries", 10)
            entries.append(line)
            if name in line:
                break
        number = entries[-1].strip().lstrip("* ").split(".")[0]
        send(number)
        # No position yet: the start-point search asks, and is cancelled.
        wait_for(lambda s, l: l.startswith("INPUT "), "the start-point search")
        send(":cancel")
        send("Ctrl+G")
        wait_for(lambda s, l: l.startswith("INPUT "), "the coordinates entry")
        send(f"{lat} {lon}")
        send("Ctrl+Shift+Page Down")  # the smallest squares
        send(MARK)
        wait_for(lambda s, l: s == "err" and MARK in l, "the start")

        times = [[] for _ in range(LEVELS)]
        sizes = [""] * LEVELS
        for _ in range(rounds):
            send("Ctrl+Shift+Page Down")
            send(MARK)
            wait_for(lambda s, l: s == "err" and MARK in l, "the smallest squares")
            for level in range(1, LEVELS):
                start = time.monotonic()
                send("Ctrl+Page Up")
                send(MARK)
                _, said = wait_for(lambda s, l: l.startswith("SAY One square"), f"level {level}")
                sizes[level] = said[len("SAY One square "):].rstrip(".")
                t, _ = wait_for(lambda s, l: s == "err" and MARK in l, f"level {level}")
                times[level].append((t - start) * 1000)
        send(":quit")
        p.stdin.close()
        p.wait(timeout=60)
        print("level  square          key to next command, ms (median of %d)" % rounds)
        for level in range(1, LEVELS):
            print("%5d  %-14s  %8.1f" % (level, sizes[level], statistics.median(times[level])))
        return 0
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
