"""The Windows preview under Wine.

Under Wine a process can make no GL context on another process's window and
cannot replace its window procedure, as on Windows. So the attach itself is
tested in one process (attach_window_test.exe attaches GLFW to windows it
made), and a screensaver started by a separate host ends on the failure path:
GLFW's error, "Failed to open window", exit code 0, host window untouched."""
import os
import subprocess
import sys
import unittest

import numpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, WinePrefix, unescape, windows_program  # noqa: E402

RUN_TIMEOUT = 300  # a safety net, not a speed bound
MAGENTA = (255, 0, 255)


class WineTestCase(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(160, 120).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)
        self.wine = WinePrefix(self.desktop).__enter__()
        self.addCleanup(self.wine.__exit__, None, None, None)

    def assertChecksPassed(self, lines):
        """Every "ok"/"not ok" line as a sub-test; the closing "done" line must be there."""
        checks = [line for line in lines if line.startswith(("ok ", "not ok "))]
        self.assertTrue(checks, "no checks reported: %r" % lines)
        for line in checks:
            with self.subTest(check=line.split(":")[0]):
                self.assertTrue(line.startswith("ok "), line)
        self.assertIn("done 0", lines, "the program did not finish its checks: %r" % lines[-5:])


class AttachInProcessTest(WineTestCase):
    def test_attach_draws_routes_messages_and_hands_the_window_back(self):
        program = windows_program("attach_window_test.exe")
        harness.require_file(self, program)
        process = subprocess.Popen(["wine", program], env=self.wine.env(), stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, bufsize=1)
        lines, shown = [], []
        try:
            for raw in process.stdout:
                line = raw.rstrip("\r\n")
                lines.append(line)
                if line.startswith("show "):
                    x, y, width, height = (int(v) for v in line.split()[1:])
                    shown.append((width, height, self.desktop.screenshot()[y:y + height, x:x + width]))
                    process.stdin.write("\n")
                    process.stdin.flush()
            code = process.wait(RUN_TIMEOUT)
        finally:
            harness.stop(process)
            process.stdin.close()
            process.stdout.close()
        self.assertChecksPassed(lines)
        self.assertEqual(code, 0)

        self.assertEqual(len(shown), 1, lines)
        width, height, pixels = shown[0]
        self.assertEqual(pixels.shape[:2], (height, width))
        self.assertTrue((pixels.reshape(-1, 3) == numpy.array(MAGENTA, dtype=pixels.dtype)).all(),
                        "the clear colour did not appear in the attached window")


class HostStartsThePreviewTest(WineTestCase):
    def test_preview_of_another_process_fails_cleanly(self):
        for name in ("fake_host_win32.exe", "msgbox_runner.exe", "Corvelle.scr"):
            harness.require_file(self, windows_program(name))
        result = subprocess.run(
            ["wine", windows_program("fake_host_win32.exe"), windows_program("msgbox_runner.exe"),
             "--timeout", "180", windows_program(), "/p", "{preview}"],
            env=self.wine.env(), capture_output=True, text=True, timeout=RUN_TIMEOUT)
        lines = [line.rstrip("\r") for line in result.stdout.splitlines()]
        self.assertTrue(lines and lines[0].startswith("preview "), lines)
        self.assertNotEqual(lines[0], "preview 0")

        boxes = [tuple(unescape(field) for field in line.split("\t")[1:]) for line in lines if line.startswith("box\t")]
        exits = [line for line in lines if line.startswith("exit\t")]
        self.assertEqual(exits, ["exit\t0"], lines)
        self.assertEqual(len(boxes), 2, boxes)
        caption, text = boxes[0]
        self.assertEqual(caption, "Error")
        self.assertTrue(text.startswith("WGL: "), "not GLFW's reason: %r" % text)
        self.assertEqual(boxes[1], ("Debug", "Failed to open window"))

        self.assertChecksPassed(lines)
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    harness.main()
