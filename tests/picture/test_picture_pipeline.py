#!/usr/bin/env python3
"""The picture test itself, run against a stand-in for corvelle-still that
writes the CPU reference: it passes on a correct PNG, fails on the faults a
frame writer can have (rows upside down, alpha dropped or made opaque), and
reports itself skipped (exit code 77) while the build has no corvelle-still.
"""
import os
import subprocess
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURE_TEST = os.path.join(HERE, "test_hearts_picture.py")
STAND_IN = os.path.join(HERE, "stand_in_still.py")
PYTHON = "/usr/bin/python3"
TIMEOUT = 300  # a safety net for the whole run, not a speed bound


def run_picture_test(still, fault="none", cases=None):
    env = dict(os.environ, STAND_IN_FAULT=fault)
    env.pop("CORVELLE_STILL", None)
    env.pop("HEARTS_PICTURE_CASES", None)
    if cases:
        env["HEARTS_PICTURE_CASES"] = str(cases)
    if still:
        env["CORVELLE_STILL"] = still
    result = subprocess.run([PYTHON, PICTURE_TEST], env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=TIMEOUT)
    return result.returncode, result.stdout.decode(errors="replace")


class PicturePipelineTest(unittest.TestCase):
    def test_reference_written_as_corvelle_still_would_passes(self):
        code, output = run_picture_test(STAND_IN)
        self.assertEqual(code, 0, output)

    def test_frame_writer_faults_fail(self):
        cases = [
            ("upside-down", "differs from the reference"),
            ("rgb", "must be RGBA"),
            ("opaque", "alpha is 255 everywhere"),
        ]
        for fault, message in cases:
            with self.subTest(fault=fault):
                # The first two cases: a wide and a tall viewport.
                code, output = run_picture_test(STAND_IN, fault, cases=2)
                self.assertEqual(code, 1, output)
                self.assertIn(message, output)

    def test_skipped_without_corvelle_still(self):
        code, output = run_picture_test(None)
        self.assertEqual(code, 77, output)
        self.assertIn("corvelle-still is not part of this build yet", output)


if __name__ == "__main__":
    unittest.main()
