"""The Linux build starting, showing its window and ending, as a user sees it."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, linux_program, stop, wait_exit  # noqa: E402

EXIT_TIMEOUT = 60  # a safety net, not a speed bound


class FullScreenWindowTest(unittest.TestCase):
    def setUp(self):
        harness.require_file(self, linux_program())
        self.desktop = Desktop(160, 120).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)
        self.process = self.desktop.start([linux_program(), "/s"])
        self.addCleanup(stop, self.process)
        self.window = self.desktop.wait_for_window(SCREENSAVER_TITLE, process=self.process)

    def assertEndsWithZero(self):
        code = wait_exit(self.process, EXIT_TIMEOUT)
        self.assertEqual(code, 0, "stderr: %s" % (self.process.stderr.read() if code is not None else ""))

    def test_window_covers_the_screen_with_the_cursor_hidden(self):
        self.assertEqual(self.desktop.geometry(self.window), (0, 0, 160, 120))
        self.desktop.move_pointer(80, 60)
        self.assertTrue(self.desktop.cursor_hidden(), "the pointer is visible over the screensaver")

    def test_key_press_ends_the_process(self):
        self.desktop.key(self.window, "a")
        self.assertEndsWithZero()

    def test_mouse_button_ends_the_process(self):
        self.desktop.move_pointer(80, 60)
        self.desktop.click(1)
        self.assertEndsWithZero()

    def test_moving_the_mouse_and_the_wheel_do_not(self):
        for x, y in ((10, 10), (150, 110), (80, 60)):
            self.desktop.move_pointer(x, y)
        self.desktop.click(4)  # wheel up
        self.desktop.click(5)  # wheel down
        self.assertIsNone(wait_exit(self.process, 3), "the screensaver ended on mouse motion or the wheel")

    def test_close_request_ends_the_loop(self):
        self.desktop.close_request(self.window)
        self.assertEndsWithZero()


class FailureTest(unittest.TestCase):
    """Start-up failures end with exit code 0 and say why (on standard error)."""

    def run_screensaver(self, args, env):
        harness.require_file(self, linux_program())
        result = subprocess.run([linux_program()] + args, env=env, capture_output=True, text=True, timeout=120)
        return result.returncode, result.stderr.splitlines()

    def test_no_display(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        code, lines = self.run_screensaver(["/s"], env)
        self.assertEqual(code, 0)
        self.assertTrue(lines[0].startswith("Error: X11: "), lines)
        self.assertEqual(lines[1], "Debug: Failed to initialize GLFW")
        self.assertTrue(all(line == "Error: The GLFW library is not initialized" for line in lines[2:-1]), lines)
        self.assertGreater(len(lines), 3)
        self.assertEqual(lines[-1], "Debug: Failed to open window")

    def test_opengl_below_4_2(self):
        with Desktop(64, 48) as desktop:
            code, lines = self.run_screensaver(["/s"], desktop.env(MESA_GL_VERSION_OVERRIDE="3.3COMPAT"))
        self.assertEqual(code, 0)
        self.assertEqual(lines, ["Debug: Corvelle Screensaver needs OpenGL 4.2 or later; "
                                 "this computer's OpenGL context is version 3.3."])

    def test_preview_of_a_window_that_does_not_exist(self):
        with Desktop(64, 48) as desktop:
            code, lines = self.run_screensaver(["/p", "0"], desktop.env())
        self.assertEqual(code, 0)
        self.assertEqual(lines[-1], "Debug: Failed to open window")


class SingleInstanceTest(unittest.TestCase):
    def test_second_preview_or_switchless_start_returns_at_once(self):
        harness.require_file(self, linux_program())
        with Desktop(96, 72) as desktop:
            first = desktop.start([linux_program()])
            self.addCleanup(stop, first)
            desktop.wait_for_window(SCREENSAVER_TITLE, process=first)
            for args in ([], ["/p", "1234"], ["/S"]):
                second = subprocess.run([linux_program()] + args, env=desktop.env(), capture_output=True,
                                        text=True, timeout=EXIT_TIMEOUT)
                self.assertEqual(second.returncode, 0)
                self.assertEqual(second.stderr, "", "a guarded second start showed something: %r" % args)
                self.assertEqual(len(desktop.windows_named(SCREENSAVER_TITLE)), 1)
            # "/s" skips the guard and opens a second screensaver.
            full = desktop.start([linux_program(), "/s"])
            self.addCleanup(stop, full)
            deadline = time.monotonic() + 90
            while len(desktop.windows_named(SCREENSAVER_TITLE)) < 2 and time.monotonic() < deadline:
                self.assertIsNone(full.poll(), "the /s instance ended: %s" % full.stderr.read() if full.poll() is not None else "")
                time.sleep(0.2)
            self.assertEqual(len(desktop.windows_named(SCREENSAVER_TITLE)), 2)

    def test_a_killed_instance_does_not_block_the_next(self):
        harness.require_file(self, linux_program())
        with Desktop(96, 72) as desktop:
            first = desktop.start([linux_program()])
            desktop.wait_for_window(SCREENSAVER_TITLE, process=first)
            first.kill()
            first.wait()
            second = desktop.start([linux_program()])
            self.addCleanup(stop, second)
            desktop.wait_for_window(SCREENSAVER_TITLE, process=second)


if __name__ == "__main__":
    harness.main()
