#!/usr/bin/env python3
"""Runs the screensaver on a private Xvfb screen, saves a screenshot and ends it.

Usage: run_headless.py linux|windows COMMAND [ARG...]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Desktop, SCREENSAVER_TITLE, SOURCE_DIR, stop, wait_exit  # noqa: E402

WIDTH, HEIGHT = 640, 360
SETTLE_SECONDS = 8


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    target, command = sys.argv[1], sys.argv[2:]
    out_dir = os.path.join(SOURCE_DIR, "out")
    os.makedirs(out_dir, exist_ok=True)
    shot = os.path.join(out_dir, "screenshot-%s.png" % target)
    with Desktop(WIDTH, HEIGHT) as desktop:
        print("run: no display here; running on a private Xvfb screen %dx%d" % (WIDTH, HEIGHT), flush=True)
        env = desktop.env()
        if target == "windows":
            if "WINEPREFIX" in os.environ:
                env["WINEPREFIX"] = os.environ["WINEPREFIX"]
            print("run: starting Wine (its first start takes a while)", flush=True)
        process = subprocess.Popen(command, env=env)
        try:
            window = desktop.wait_for_window(SCREENSAVER_TITLE, timeout=180, process=process)
            print("run: the screensaver is running; taking a screenshot in %d s" % SETTLE_SECONDS, flush=True)
            time.sleep(SETTLE_SECONDS)
            desktop.screenshot(shot)
            print("run: screenshot saved to %s" % shot, flush=True)
            desktop.key(window, "space")
            code = wait_exit(process, 60)
            print("run: the screensaver ended with exit code %s" % code, flush=True)
        finally:
            stop(process)


if __name__ == "__main__":
    main()
