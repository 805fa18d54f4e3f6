#!/usr/bin/python3
"""The frame benchmark behind scripts/bench (run by Debian's Python; needs
both builds, build/linux and build/windows, with their bench/ targets).

1. Frame cost: corvelle-bench at 1920 x 1080 and at 1280 x 720 draws frames
   of the product and of the literal baseline shader alternately, in one
   process with the product's scene code, and compares their pictures with
   the picture test's measure.
2. Start-up and memory: on a private 1920 x 1080 Xvfb screen,
   first-frame-probe starts the screensaver full screen ("/s") and measures
   the time to its first frame on the screen and its peak resident memory:
   corvelle and Corvelle.scr (under Wine) as built, beside corvelle-baseline
   and Corvelle-baseline.scr, the same programs with the baseline shader
   (what the screensaver was before its shader was made faster). Runs
   alternate between the two; each compiles its shaders afresh (Mesa's
   shader cache is off). The Linux programs once more on a 320 x 240 screen,
   where the first frame is cheap and compile time shows.

Usage: run_bench.py [--frames N] [--runs N]
"""
import argparse
import os
import platform
import re
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "support"))
from harness import Desktop, WinePrefix  # noqa: E402

LINUX = os.path.join(SOURCE_DIR, "build", "linux")
WINDOWS = os.path.join(SOURCE_DIR, "build", "windows")
BENCH = os.path.join(LINUX, "bench", "corvelle-bench")
PROBE = os.path.join(LINUX, "bench", "first-frame-probe")
SIZES = [(1920, 1080), (1280, 720)]
SCREEN = (1920, 1080)
SMALL_SCREEN = (320, 240)
COLD_SHADERS = {"MESA_SHADER_CACHE_DISABLE": "true"}

# Safety nets only: a baseline frame at 1920 x 1080 takes about a second here.
FRAMES_TIMEOUT = 900
START_TIMEOUT = 300


def machine():
    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    return "%s, %d cores, %s" % (cpu, os.cpu_count(), platform.platform(terse=True))


def renderer(desktop):
    result = subprocess.run(["glxinfo", "-B"], env=desktop.env(), capture_output=True, text=True, timeout=60)
    found = re.search(r"OpenGL renderer string: (.*)", result.stdout)
    version = re.search(r"OpenGL version string: (.*)", result.stdout)
    return "%s; %s" % (found.group(1) if found else "unknown renderer", version.group(1) if version else "")


def frame_costs(desktop, width, height, frames):
    """{"product": (wall, cpu), "baseline": ..., "similar": {what: bool}} from one corvelle-bench run."""
    result = subprocess.run([BENCH, "--size", "%dx%d" % (width, height), "--frames", str(frames)],
                            env=desktop.env(**COLD_SHADERS), capture_output=True, text=True,
                            timeout=FRAMES_TIMEOUT)
    if result.returncode != 0:
        raise SystemExit("corvelle-bench failed:\n%s%s" % (result.stdout, result.stderr))
    costs = {"similar": {}}
    for line in result.stdout.splitlines():
        fields = line.split()
        if fields[:2] == ["RESULT", "ms"]:
            costs[fields[2]] = (float(fields[3]), float(fields[4]))
        elif fields[:2] == ["RESULT", "similar"]:
            costs["similar"][fields[2]] = fields[3] == "1"
        elif "FAILED" in line:
            print("    %s %dx%d: %s" % ("failed check at", width, height, line))
    return costs


def start_up(command, env):
    """(seconds to the first frame, peak resident MB) of one start of `command`."""
    result = subprocess.run([PROBE, "--"] + command, env=env, capture_output=True, text=True,
                            timeout=START_TIMEOUT)
    if result.returncode != 0:
        raise SystemExit("first-frame-probe %s failed: %s" % (" ".join(command), result.stderr.strip()))
    values = dict(line.split() for line in result.stdout.splitlines())
    return float(values["first-frame-ms"]) / 1e3, float(values["peak-rss-kb"]) / 1024


def compare_starts(commands, env, runs, warm_up):
    """{name: [(seconds, MB), ...]} of `runs` alternating starts of each command, after `warm_up` rounds."""
    figures = {name: [] for name in commands}
    for run in range(warm_up + runs):
        names = list(commands) if run % 2 == 0 else list(reversed(commands))
        for name in names:
            measured = start_up(commands[name], env)
            if run >= warm_up:
                figures[name].append(measured)
    return figures


def median_of(figures, index):
    return statistics.median(f[index] for f in figures)


def print_start_table(title, figures):
    after, before = figures["product"], figures["before"]
    print("  %-34s %10s %10s" % (title, "product", "before"))
    print("  %-34s %9.2fs %9.2fs" % ("start to first frame (median)", median_of(after, 0), median_of(before, 0)))
    print("  %-34s %8.1fMB %8.1fMB" % ("peak resident memory (median)", median_of(after, 1), median_of(before, 1)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--frames", type=int, default=7, help="timed frames of each shader per size")
    parser.add_argument("--runs", type=int, default=3, help="starts of each program per platform")
    args = parser.parse_args()
    for path in (BENCH, PROBE, os.path.join(LINUX, "bin", "corvelle"),
                 os.path.join(WINDOWS, "bin", "Corvelle.scr")):
        if not os.path.exists(path):
            raise SystemExit("%s is missing: scripts/bench builds it" % path)

    with Desktop(*SCREEN) as desktop:
        print("machine: %s" % machine())
        print("OpenGL:  %s" % renderer(desktop))
        print()
        print("Frame cost, median of %d frames after one warm-up, product and baseline alternating:" % args.frames)
        print("  %-10s %12s %12s %7s %12s %12s %7s  %s" % ("size", "product", "baseline", "ratio", "product",
                                                         "baseline", "ratio", "pictures"))
        print("  %-10s %12s %12s %7s %12s %12s %7s" % ("", "wall ms", "wall ms", "", "CPU ms", "CPU ms", ""))
        for width, height in SIZES:
            costs = frame_costs(desktop, width, height, args.frames)
            (pw, pc), (bw, bc) = costs["product"], costs["baseline"]
            verdict = ", ".join("%s %s" % (what.replace("-vs-", " vs "), "similar" if ok else "NOT SIMILAR")
                                for what, ok in costs["similar"].items())
            print("  %-10s %12.1f %12.1f %6.1fx %12.1f %12.1f %6.1fx  %s" % (
                "%dx%d" % (width, height), pw, bw, bw / pw, pc, bc, bc / pc, verdict))
        print("  (wall: the frame's time on the clock; CPU: the time of all the process's threads, which")
        print("  other work on the machine disturbs less)")
        print()

        print("Start-up on a %dx%d screen, %d runs of each, alternating, shader cache off:" % (SCREEN + (args.runs,)))
        linux = {"product": [os.path.join(LINUX, "bin", "corvelle"), "/s"],
                 "before": [os.path.join(LINUX, "bench", "corvelle-baseline"), "/s"]}
        print_start_table("Linux: corvelle /s", compare_starts(linux, desktop.env(**COLD_SHADERS), args.runs, 0))
        with WinePrefix(desktop) as prefix:
            wine = {"product": ["wine", os.path.join(WINDOWS, "bin", "Corvelle.scr"), "/s"],
                    "before": ["wine", os.path.join(WINDOWS, "bench", "Corvelle-baseline.scr"), "/s"]}
            # One discarded round: the first start in a prefix also starts Wine's own services.
            print_start_table("Wine: Corvelle.scr /s", compare_starts(wine, prefix.env(**COLD_SHADERS), args.runs, 1))
    # On a small screen the first frame costs little and the shader's compile
    # time is most of the difference.
    with Desktop(*SMALL_SCREEN) as desktop:
        print()
        print("Start-up on a %dx%d screen, %d runs of each, alternating, shader cache off:"
              % (SMALL_SCREEN + (args.runs,)))
        print_start_table("Linux: corvelle /s", compare_starts(linux, desktop.env(**COLD_SHADERS), args.runs, 0))


if __name__ == "__main__":
    main()
