"""Corvelle.scr under Wine shows rising red hearts on black."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, WinePrefix, stop, windows_program  # noqa: E402
from picture_checks import watch_hearts  # noqa: E402


class HeartsTest(unittest.TestCase):
    def test_red_hearts_on_black_that_move(self):
        harness.require_file(self, windows_program())
        with Desktop(160, 120) as desktop, WinePrefix(desktop) as wine:
            process = wine.start(windows_program(), "/s")
            self.addCleanup(stop, process)
            desktop.wait_for_window(SCREENSAVER_TITLE, timeout=120, process=process)
            watch_hearts(self, desktop, process)
            stop(process)


if __name__ == "__main__":
    harness.main()
