"""The Linux build's configure mode: the About window under Xvfb."""
import itertools
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, linux_program, stop, wait_exit  # noqa: E402

import about_checks as checks  # noqa: E402
from about_checks import TITLE, WINDOW_SIZE  # noqa: E402


class AboutWindowTest(unittest.TestCase):
    def setUp(self):
        harness.require_file(self, linux_program())

    def start_about(self, desktop, args, browser):
        process = desktop.start([linux_program()] + args, env=desktop.env(PATH=browser.path()))
        self.addCleanup(stop, process)
        return process, desktop.wait_for_window(TITLE, process=process)

    def test_window_at_each_screen_size_and_command_line(self):
        for (screen, position), args in itertools.product(checks.SCREENS, checks.COMMAND_LINES):
            with self.subTest(screen=screen, args=args), Desktop(*screen) as desktop:
                browser = checks.StandInBrowser()
                self.addCleanup(browser.remove)
                process, window = self.start_about(desktop, args, browser)

                # Without a window manager the X window is the whole window: outer = client.
                self.assertEqual(desktop.geometry(window), position + WINDOW_SIZE)
                checks.check_names(self, desktop, window)
                checks.check_client_area(self, self.client_area(desktop, position))
                checks.check_button_opens_the_website(self, desktop, process, window, position, browser)
                checks.check_close_request_ends_with_zero(self, desktop, process, window)

    def test_window_is_redrawn_when_exposed_again(self):
        screen, position = checks.SCREENS[1]
        with Desktop(*screen) as desktop:
            browser = checks.StandInBrowser()
            self.addCleanup(browser.remove)
            process, window = self.start_about(desktop, ["/c"], browser)
            # Unmapping and mapping again leaves only the background until the window redraws.
            desktop.xdotool("windowunmap", "--sync", str(window))
            desktop.xdotool("windowmap", "--sync", str(window))
            checks.check_client_area(self, self.client_area(desktop, position, settle=True))
            checks.check_close_request_ends_with_zero(self, desktop, process, window)

    def client_area(self, desktop, position, settle=False):
        """The window's 400 x 300 pixels from a screenshot (retaken until it stops changing if `settle`)."""
        x, y = position
        shot = desktop.screenshot()[y:y + WINDOW_SIZE[1], x:x + WINDOW_SIZE[0]]
        for _ in range(20 if settle else 0):
            again = desktop.screenshot()[y:y + WINDOW_SIZE[1], x:x + WINDOW_SIZE[0]]
            if (again == shot).all():
                break
            shot = again
        return shot


class ConfigureModeTest(unittest.TestCase):
    def test_a_running_screensaver_does_not_stop_configure_mode(self):
        harness.require_file(self, linux_program())
        with Desktop(480, 360) as desktop, tempfile.TemporaryDirectory() as runtime:
            env = desktop.env(XDG_RUNTIME_DIR=runtime)  # a single-instance marker of this test's own
            saver = desktop.start([linux_program()], env=env)
            self.addCleanup(stop, saver)
            desktop.wait_for_window(SCREENSAVER_TITLE, process=saver)
            # The guard is live: a second switchless start ends at once ...
            second = subprocess.run([linux_program()], env=env, capture_output=True, timeout=checks.STEP_TIMEOUT)
            self.assertEqual(second.returncode, 0)
            self.assertEqual(len(desktop.windows_named(SCREENSAVER_TITLE)), 1)
            # ... but "/c" opens the About window all the same.
            about = desktop.start([linux_program(), "/c"], env=env)
            self.addCleanup(stop, about)
            window = desktop.wait_for_window(TITLE, process=about)
            self.assertEqual(desktop.geometry(window), (40, 30) + WINDOW_SIZE)
            checks.check_close_request_ends_with_zero(self, desktop, about, window)
            self.assertIsNone(saver.poll(), "closing the About window ended the screensaver")

    def test_no_display_reports_and_ends_with_zero(self):
        harness.require_file(self, linux_program())
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        result = subprocess.run([linux_program(), "/c"], env=env, capture_output=True, text=True,
                                timeout=checks.STEP_TIMEOUT)
        self.assertEqual((result.returncode, result.stderr), (0, "Error!: Window Creation Failed!\n"))


if __name__ == "__main__":
    harness.main()
