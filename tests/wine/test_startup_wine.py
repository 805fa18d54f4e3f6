"""Corvelle.scr under Wine: the window, the ways it ends, and its failure paths."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, WinePrefix, stop, wait_exit, windows_program  # noqa: E402

EXIT_TIMEOUT = 90  # a safety net, not a speed bound


class WineTestCase(unittest.TestCase):
    screen = (160, 120)

    def setUp(self):
        harness.require_file(self, windows_program())
        harness.require_file(self, windows_program("msgbox_runner.exe"))
        self.desktop = Desktop(*self.screen).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)
        self.wine = WinePrefix(self.desktop).__enter__()
        self.addCleanup(self.wine.__exit__, None, None, None)

    def start_screensaver(self, *args):
        process = self.wine.start(windows_program(), *args)
        self.addCleanup(stop, process)
        window = self.desktop.wait_for_window(SCREENSAVER_TITLE, timeout=120, process=process)
        return process, window


class FullScreenWindowTest(WineTestCase):
    def test_window_covers_the_screen_with_the_cursor_hidden(self):
        _, window = self.start_screensaver("/s")
        self.assertEqual(self.desktop.geometry(window), (0, 0) + self.screen)
        self.desktop.move_pointer(80, 60)
        time.sleep(0.5)
        self.assertTrue(self.desktop.cursor_hidden(), "the pointer is visible over the screensaver")

    def test_key_press_ends_the_process(self):
        process, window = self.start_screensaver("/s")
        self.desktop.key(window, "a")
        self.assertEqual(wait_exit(process, EXIT_TIMEOUT), 0)

    def test_mouse_button_ends_the_process(self):
        process, _ = self.start_screensaver("/s")
        self.desktop.move_pointer(80, 60)
        self.desktop.click(1)
        self.assertEqual(wait_exit(process, EXIT_TIMEOUT), 0)

    def test_moving_the_mouse_does_not(self):
        process, _ = self.start_screensaver("/s")
        for x, y in ((10, 10), (150, 110), (80, 60)):
            self.desktop.move_pointer(x, y)
        self.assertIsNone(wait_exit(process, 3), "the screensaver ended on mouse motion")

    def test_close_request_ends_the_loop(self):
        process, window = self.start_screensaver("/s")
        self.desktop.close_request(window)
        self.assertEqual(wait_exit(process, EXIT_TIMEOUT), 0)


class FailureTest(WineTestCase):
    def test_opengl_below_4_2(self):
        boxes, code = self.wine.run_with_message_boxes(windows_program(), "/s",
                                                       env_extra={"MESA_GL_VERSION_OVERRIDE": "3.3COMPAT"})
        self.assertEqual(code, 0)
        self.assertEqual(boxes, [("Debug", "Corvelle Screensaver needs OpenGL 4.2 or later; "
                                           "this computer's OpenGL context is version 3.3.")])

    def test_preview_switch_without_a_usable_window(self):
        # Whatever follows "/p", the number names no window of this process:
        # GLFW's reason ("Error"), then "Failed to open window".
        cases = {
            "zero": ("/p", "0"),
            "a number that is no window": ("/p", "12345"),
            "a huge number": ("/p", "99999999999999999999"),
            "garbage": ("/p", "garbage"),
        }
        for name, args in cases.items():
            with self.subTest(name, args=args):
                boxes, code = self.wine.run_with_message_boxes(windows_program(), *args)
                self.assertEqual(code, 0)
                self.assertEqual(len(boxes), 2, boxes)
                self.assertEqual(boxes[0][0], "Error")
                self.assertEqual(boxes[1], ("Debug", "Failed to open window"))

    def test_no_display(self):
        # Wine can show no message box without a display; the process still
        # ends by itself with exit code 0.
        env = self.wine.env()
        del env["DISPLAY"]
        for args in (("/s",), ("/p", "0")):
            with self.subTest(args=args):
                result = subprocess.run(["wine", windows_program("msgbox_runner.exe"), "--timeout", "120",
                                         windows_program()] + list(args),
                                        env=env, capture_output=True, text=True, timeout=300)
                self.assertEqual(result.returncode, 0, "msgbox_runner: %r" % result.stdout)
                self.assertEqual(result.stdout.split(), ["exit", "0"])


class SingleInstanceTest(WineTestCase):
    def test_second_preview_or_switchless_start_returns_at_once(self):
        self.start_screensaver()
        for args in ((), ("/p", "1234")):
            boxes, code = self.wine.run_with_message_boxes(windows_program(), *args)
            self.assertEqual((boxes, code), ([], 0), "a guarded second start: %r" % (args,))
            self.assertEqual(len(self.desktop.windows_named(SCREENSAVER_TITLE)), 1)
        # "/s" skips the guard and opens a second screensaver.
        full = self.wine.start(windows_program(), "/s")
        self.addCleanup(stop, full)
        deadline = time.monotonic() + 120
        while len(self.desktop.windows_named(SCREENSAVER_TITLE)) < 2 and time.monotonic() < deadline:
            self.assertIsNone(full.poll(), "the /s instance ended")
            time.sleep(0.2)
        self.assertEqual(len(self.desktop.windows_named(SCREENSAVER_TITLE)), 2)


if __name__ == "__main__":
    harness.main()
