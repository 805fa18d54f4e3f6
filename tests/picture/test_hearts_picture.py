#!/usr/bin/env python3
"""The picture on the GPU: frames written by corvelle-still, compared with the
CPU reference of the hearts shader (hearts_reference_tool).

Runs under tests/support/with_xvfb.py (corvelle-still needs a display;
llvmpipe renders, so the viewports are small). The environment names the
programs: CORVELLE_STILL (set by the build only once it has corvelle-still)
and HEARTS_REFERENCE_TOOL; HEARTS_PICTURE_CASES=N limits the run to the first
N cases (the test of this test uses it). Without CORVELLE_STILL every test is skipped and
the script exits with 77, which ctest reports as skipped.

A frame that does not match is kept, with the reference next to it, in the
folder named by the failure message.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import numpy as np
from PIL import Image

STILL = os.environ.get("CORVELLE_STILL")
REFERENCE_TOOL = os.environ.get("HEARTS_REFERENCE_TOOL")

# (width, height, iTime): a wide, a tall and a square viewport, at the start,
# at times where near and far hearts overlap, and late enough that a speed
# slightly off shows; one late time checks that large times reach the shader.
CASES = [
    (160, 90, 16.9),
    (90, 160, 32.8),
    (160, 90, 0.0),
    (160, 90, 75.2),
    (90, 160, 16.9),
    (128, 128, 32.8),
    (128, 128, 75.2),
    (160, 90, 1234.5),
]
if os.environ.get("HEARTS_PICTURE_CASES"):
    CASES = CASES[:int(os.environ["HEARTS_PICTURE_CASES"])]

# Generous safety nets for one frame on llvmpipe, not speed bounds.
RENDER_TIMEOUT = 120
COMPARE_TIMEOUT = 60


def write_pam(path, rgba):
    """An 8-bit RGBA PAM, rows top first (as the PNG has them)."""
    height, width, _ = rgba.shape
    with open(path, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (width, height))
        f.write(np.ascontiguousarray(rgba, dtype=np.uint8).tobytes())


def read_pam(path):
    with open(path, "rb") as f:
        data = f.read()
    end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
    header = dict(line.split(b" ", 1) for line in data[:end].split(b"\n")[1:-2])
    width, height = int(header[b"WIDTH"]), int(header[b"HEIGHT"])
    return np.frombuffer(data[end:], dtype=np.uint8).reshape(height, width, 4)


SKIP_REASON = "corvelle-still is not part of this build yet; the picture test runs once the build has it"


@unittest.skipUnless(STILL, SKIP_REASON)
class HeartsPictureTest(unittest.TestCase):
    def setUp(self):
        self.assertTrue(REFERENCE_TOOL and os.path.isfile(REFERENCE_TOOL),
                        "HEARTS_REFERENCE_TOOL does not name the built hearts_reference_tool")
        self.assertTrue(os.path.isfile(STILL), "corvelle-still is in the build but not built: %s" % STILL)
        self.folder = tempfile.mkdtemp(prefix="hearts-picture-")
        self.keep = False

    def tearDown(self):
        if self.keep:
            print("kept for inspection: %s" % self.folder, file=sys.stderr)
        else:
            shutil.rmtree(self.folder, ignore_errors=True)

    def render_frame(self, width, height, time):
        out = os.path.join(self.folder, "frame-%dx%d-%g.png" % (width, height, time))
        result = subprocess.run(
            [STILL, "--time", repr(time), "--size", "%dx%d" % (width, height), "--out", out],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=RENDER_TIMEOUT)
        self.assertEqual(result.returncode, 0,
                         "corvelle-still failed:\n%s" % result.stdout.decode(errors="replace"))
        self.assertTrue(os.path.isfile(out), "corvelle-still wrote no %s" % out)
        return out

    def load_rgba(self, png, width, height):
        with Image.open(png) as image:
            self.assertEqual(image.format, "PNG")
            self.assertEqual(image.mode, "RGBA", "the frame must be RGBA and keep the framebuffer's alpha")
            self.assertEqual(image.size, (width, height))
            return np.array(image)

    def keep_reference(self, width, height, time):
        pam = os.path.join(self.folder, "reference-%dx%d-%g.pam" % (width, height, time))
        subprocess.run([REFERENCE_TOOL, "render", "--time", repr(time), "--size", "%dx%d" % (width, height),
                        "--out", pam], check=True, timeout=COMPARE_TIMEOUT)
        Image.fromarray(read_pam(pam), "RGBA").save(pam[:-4] + ".png")

    def test_frames_match_the_reference(self):
        for width, height, time in CASES:
            with self.subTest(size="%dx%d" % (width, height), time=time):
                rgba = self.load_rgba(self.render_frame(width, height, time), width, height)
                # Where no heart is, the shader writes alpha 0; an alpha of 255
                # everywhere means the framebuffer's alpha was lost.
                self.assertLess(int(rgba[..., 3].min()), 255, "alpha is 255 everywhere")
                frame = os.path.join(self.folder, "frame-%dx%d-%g.pam" % (width, height, time))
                write_pam(frame, rgba)
                result = subprocess.run(
                    [REFERENCE_TOOL, "compare", "--time", repr(time), "--size", "%dx%d" % (width, height),
                     "--frame", frame],
                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=COMPARE_TIMEOUT)
                report = result.stdout.decode(errors="replace")
                if result.returncode != 0:
                    self.keep = True
                    self.keep_reference(width, height, time)
                self.assertEqual(result.returncode, 0,
                                 "frame %dx%d at %g s differs from the reference (kept in %s):\n%s"
                                 % (width, height, time, self.folder, report))


def main():
    program = unittest.main(exit=False)
    result = program.result
    if result.testsRun and len(result.skipped) == result.testsRun:
        print("skipped: " + SKIP_REASON, file=sys.stderr)
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
