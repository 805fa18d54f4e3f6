"""The soak run behind scripts/soak: the Linux screensaver full screen on a
small private Xvfb screen for a long time, watched from outside.

- Resident memory (VmRSS) is sampled every few seconds; after the first
  minute it may grow by less than 1 MB.
- GL errors are counted per frame by gl_error_probe.so (preloaded, see its
  source): no kind of error may appear after the first frames, and no frame
  may have other errors than the first steady frame. The design knowingly
  makes attribute calls at location -1 (and, on the first frame, uniform calls
  before a program is current); those stay, the same in every frame.
- The frame count must grow in every minute of the run.

The product is run unchanged; everything is measured from outside it.
"""
import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, linux_program, stop  # noqa: E402

MEMORY_GROWTH_LIMIT_KB = 1024
STEADY_FROM_FRAME = 2  # frames 0 and 1 hold the context's and the scene's set-up


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS for process %d" % pid)


def read_probe_report(path):
    """(kinds, last status) from the probe's report: kinds as (number, first
    frame, text); status as a dict, or None before the first one."""
    kinds, status = [], None
    with open(path) as report:
        for line in report:
            fields = line.rstrip("\n").split(" ", 3)
            if fields[0] == "kind":
                kinds.append((int(fields[1]), int(fields[2]), fields[3]))
            elif fields[0] == "status":
                values = line.split()[1:]
                status = {"seconds": float(values[0]), "frames": int(values[1]), "changed": int(values[2]),
                          "kinds": int(values[3]), "more": int(values[4])}
    return kinds, status


def first_frames(path):
    with open(path) as report:
        return [line.strip() for line in report if line.startswith("frame ")]


def run(minutes, size, sample_seconds, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    probe = os.path.join(harness.LINUX_BIN, "gl_error_probe.so")
    for path in (linux_program(), probe):
        if not os.path.exists(path):
            raise SystemExit("soak: %s is missing; scripts/soak builds it" % path)
    report_path = os.path.join(out_dir, "probe-report.txt")
    if os.path.exists(report_path):
        os.unlink(report_path)

    samples = []  # (seconds since start, resident kB, frames, changed frames)
    with Desktop(*size) as desktop:
        env = desktop.env(LD_PRELOAD=probe, CORVELLE_SOAK_REPORT=report_path)
        process = desktop.start([linux_program(), "/s"], env=env)
        try:
            desktop.wait_for_window(SCREENSAVER_TITLE, process=process)
            start = time.monotonic()
            end = start + minutes * 60
            while time.monotonic() < end:
                time.sleep(sample_seconds)
                if process.poll() is not None:
                    raise SystemExit("soak: the screensaver ended (code %s) after %.0f s: %s"
                                     % (process.returncode, time.monotonic() - start, process.stderr.read()))
                _, status = read_probe_report(report_path)
                samples.append((time.monotonic() - start, resident_kb(process.pid),
                                status["frames"] if status else 0, status["changed"] if status else 0))
                print("soak: %6.0f s  %7d kB  %8d frames" % samples[-1][:3], flush=True)
        finally:
            stop(process)
    kinds, status = read_probe_report(report_path)
    return samples, kinds, status, first_frames(report_path)


def evaluate(samples, kinds, status, frames_record, size):
    """The figures as Markdown lines, and whether every check passed."""
    after_first_minute = [s for s in samples if s[0] >= 60]
    base = after_first_minute[0][1]
    growth_max = max(s[1] for s in after_first_minute) - base
    growth_end = after_first_minute[-1][1] - base

    per_minute = []
    for minute in range(1, int(samples[-1][0] // 60) + 1):
        inside = [s for s in samples if minute - 1 <= s[0] / 60 < minute]
        before = [s for s in samples if s[0] / 60 < minute - 1]
        first = before[-1][2] if before else 0
        if inside:
            per_minute.append(inside[-1][2] - first)

    late_kinds = [k for k in kinds if k[1] > STEADY_FROM_FRAME]
    checks = {
        "memory grows by less than 1 MB after the first minute": growth_max < MEMORY_GROWTH_LIMIT_KB,
        "no kind of GL error after frame %d" % STEADY_FROM_FRAME: not late_kinds and status["more"] == 0,
        "every frame after frame %d has the errors of frame %d" % (STEADY_FROM_FRAME, STEADY_FROM_FRAME):
            status["changed"] == 0,
        "frames are drawn in every minute": bool(per_minute) and min(per_minute) > 0,
    }
    lines = [
        "| figure | value |",
        "|---|---|",
        "| run | %.1f min at %dx%d, `corvelle /s` on Xvfb (Mesa llvmpipe) |" % (samples[-1][0] / 60, size[0], size[1]),
        "| frames | %d (%.0f a second on average) |" % (status["frames"], status["frames"] / status["seconds"]),
        "| frames per minute | lowest %d, median %d, highest %d |" % (
            min(per_minute), statistics.median(per_minute), max(per_minute)),
        "| resident memory at 1 min | %d kB |" % base,
        "| growth after 1 min | largest +%d kB, at the end %+d kB |" % (growth_max, growth_end),
        "| GL error kinds | %d, all first seen by frame %d |" % (len(kinds), max(k[1] for k in kinds) if kinds else 0),
        "| frames after frame %d with other errors | %d |" % (STEADY_FROM_FRAME, status["changed"]),
    ]
    lines.append("")
    lines.append("GL errors (kind: text, first frame):")
    lines.append("")
    lines += ["- %d: `%s`, frame %d" % (number, text, frame) for number, frame, text in kinds]
    lines.append("")
    lines.append("Per frame (kind:count): " + "; ".join("`%s`" % f for f in frames_record))
    lines.append("")
    lines += ["- [%s] %s" % ("x" if ok else " ", name) for name, ok in checks.items()]
    return lines, all(checks.values())


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--minutes", type=float, default=20)
    parser.add_argument("--size", default="96x72")
    parser.add_argument("--sample-seconds", type=float, default=10)
    parser.add_argument("--out", default=os.path.join(harness.SOURCE_DIR, "out", "soak"))
    args = parser.parse_args()
    size = tuple(int(v) for v in args.size.split("x"))
    if args.minutes < 2:
        raise SystemExit("soak: run at least 2 minutes (memory is compared from the first minute on)")

    samples, kinds, status, frames_record = run(args.minutes, size, args.sample_seconds, args.out)
    lines, passed = evaluate(samples, kinds, status, frames_record, size)
    summary = os.path.join(args.out, "summary.md")
    with open(summary, "w") as out:
        out.write("\n".join(lines) + "\n")
    with open(os.path.join(args.out, "samples.tsv"), "w") as out:
        out.write("seconds\tresident_kb\tframes\tchanged_frames\n")
        out.writelines("%.1f\t%d\t%d\t%d\n" % s for s in samples)
    print("\n".join(lines))
    print("soak: %s (figures in %s)" % ("passed" if passed else "FAILED", summary))
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
