"""The Linux preview end to end: a fake screensaver host of ours owns a window
with a small preview area, and `corvelle /p ID` draws into that area until
the host lets go of it."""
import os
import subprocess
import sys
import time
import unittest

import numpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, linux_program, stop, wait_exit  # noqa: E402
from picture_checks import assert_hearts_on_black, red_fraction  # noqa: E402

EXIT_TIMEOUT = 60  # safety nets, not speed bounds
DRAW_TIMEOUT = 120

SCREEN = (160, 120)
PREVIEW = (32, 24, 96, 72)  # x, y, width, height inside the host's top-level window
HOST_BLUE = (0, 0, 255)     # the host's top-level window
HOST_GREEN = (0, 255, 0)    # the preview area before anyone draws into it


class FakeHost:
    """tests/preview/fake_host_x11 on the desktop, driven through its standard input."""

    def __init__(self, desktop, take_buttons=False, preview=PREVIEW):
        args = [linux_program("fake_host_x11")] + (["--take-buttons"] if take_buttons else [])
        args += [str(v) for v in SCREEN + preview]
        self.process = desktop.start(args, stdin=subprocess.PIPE, bufsize=1)
        self.ids = {}
        for _ in range(2):
            name, _, value = self.process.stdout.readline().strip().rpartition(" ")
            self.ids[name] = int(value)

    @property
    def preview(self):
        return self.ids["preview"]

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        if answer != "done " + line:
            raise AssertionError("the host answered %r to %r" % (answer, line))

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            if wait_exit(self.process, 30) is None:
                stop(self.process)
        close_pipes(self.process)


def close_pipes(process):
    for pipe in (process.stdin, process.stdout, process.stderr):
        if pipe and not pipe.closed:
            pipe.close()


def region(image, x, y, width, height):
    return image[y:y + height, x:x + width].reshape(-1, 3)


def picture(image, x, y, width, height):
    return image[y:y + height, x:x + width]


def outside(image, x, y, width, height):
    mask = numpy.ones(image.shape[:2], dtype=bool)
    mask[y:y + height, x:x + width] = False
    return image[mask]


def count_colour(pixels, colour):
    return int((pixels == numpy.array(colour, dtype=pixels.dtype)).all(axis=1).sum())


class PreviewTestCase(unittest.TestCase):
    def setUp(self):
        harness.require_file(self, linux_program())
        harness.require_file(self, linux_program("fake_host_x11"))
        self.desktop = Desktop(*SCREEN).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)

    def start_host(self, take_buttons=False):
        # A later host's top-level window covers the earlier ones.
        host = FakeHost(self.desktop, take_buttons)
        self.addCleanup(host.close)
        return host

    def start_preview(self, window):
        process = self.desktop.start([linux_program(), "/p", str(window)])
        self.addCleanup(close_pipes, process)
        self.addCleanup(stop, process)
        return process

    def wait_for_screenshot(self, process, condition, what):
        """The first screenshot for which `condition` holds, while the screensaver runs."""
        deadline = time.monotonic() + DRAW_TIMEOUT
        while True:
            image = self.desktop.screenshot()
            if condition(image):
                return image
            if process.poll() is not None:
                self.fail("the screensaver ended (code %s) before %s: %s"
                          % (process.returncode, what, process.stderr.read()))
            if time.monotonic() > deadline:
                self.fail("%s did not happen within %d s" % (what, DRAW_TIMEOUT))
            time.sleep(0.5)

    def wait_until_drawn(self, process, area):
        """The first screenshot in which no pixel of `area` shows the host's green any more."""
        return self.wait_for_screenshot(process, lambda image: count_colour(region(image, *area), HOST_GREEN) == 0,
                                        "the screensaver drew over the preview area")

    def assertHeartsInside(self, image, area):
        """Red hearts on black fill the area; the host's window around it is as the host drew it."""
        inside = region(image, *area)
        self.assertEqual(count_colour(inside, HOST_GREEN), 0, "host pixels left in the preview area")
        assert_hearts_on_black(self, picture(image, *area), "in the preview area")
        self.assertEqual(count_colour(outside(image, *area), HOST_BLUE), SCREEN[0] * SCREEN[1] - len(inside),
                         "the screensaver drew outside the preview area")

    def assertEndsWithZero(self, process):
        """Waits for the end; answers what the screensaver wrote to standard error."""
        code = wait_exit(process, EXIT_TIMEOUT)
        self.assertIsNotNone(code, "the screensaver is still running")
        errors = process.stderr.read()
        self.assertEqual(code, 0, "stderr: %s" % errors)
        return errors


class DrawingTest(PreviewTestCase):
    def test_draws_inside_the_preview_area_only(self):
        # Whether or not the host holds ButtonPress on its preview area (X lets
        # only one client select it), the screensaver attaches and draws.
        for take_buttons in (False, True):
            with self.subTest(host_takes_buttons=take_buttons):
                host = self.start_host(take_buttons)
                process = self.start_preview(host.preview)
                image = self.wait_until_drawn(process, PREVIEW)
                self.assertHeartsInside(image, PREVIEW)
                host.command("unmap")
                self.assertEndsWithZero(process)

    def test_resized_preview_area_is_drawn_whole(self):
        host = self.start_host()
        process = self.start_preview(host.preview)
        self.wait_until_drawn(process, PREVIEW)
        x, y, width, height = PREVIEW[:2] + (120, 90)
        host.command("resize %d %d" % (width, height))
        image = self.wait_until_drawn(process, (x, y, width, height))
        self.assertHeartsInside(image, (x, y, width, height))
        # The picture follows the new size (the size callback sets the viewport):
        # hearts come into the strips beyond the old size, the top rows and the
        # right columns, which an old viewport anchored at the lower left leaves black.
        grown = (height - PREVIEW[3], width - PREVIEW[2])
        strips = lambda image: (picture(image, x, y, width, grown[0]), picture(image, x + PREVIEW[2], y, grown[1], height))
        self.wait_for_screenshot(process, lambda image: any(red_fraction(s) > 0 for s in strips(image)),
                                 "hearts appeared where the area grew")


class EndingTest(PreviewTestCase):
    def test_ends_when_the_host_lets_go_of_its_window(self):
        # Destroying the window also checks that the X errors about the vanished
        # window (the next buffer swap, for one) do not end the process with 1.
        for command in ("unmap", "destroy"):
            with self.subTest(command=command):
                host = self.start_host()
                process = self.start_preview(host.preview)
                self.wait_until_drawn(process, PREVIEW)
                host.command(command)
                self.assertEqual(self.assertEndsWithZero(process), "")

    def test_key_and_button_in_the_preview_area_end_it(self):
        x, y, width, height = PREVIEW
        actions = {
            "key": lambda host: self.desktop.key(host.preview, "a"),
            "button": lambda host: (self.desktop.move_pointer(x + width // 2, y + height // 2),
                                    self.desktop.click(1)),
        }
        for name, act in actions.items():
            with self.subTest(event=name):
                host = self.start_host()
                process = self.start_preview(host.preview)
                self.wait_until_drawn(process, PREVIEW)
                act(host)
                self.assertEndsWithZero(process)


class InvalidWindowTest(PreviewTestCase):
    def test_window_that_cannot_be_drawn_into(self):
        host = self.start_host()
        cases = {
            "an InputOnly window": host.ids["input-only"],
            "an id no window has": host.preview + 0x1000,
        }
        for name, window in cases.items():
            with self.subTest(window=name):
                process = self.start_preview(window)
                lines = self.assertEndsWithZero(process).splitlines()
                self.assertEqual(len(lines), 2, lines)
                self.assertTrue(lines[0].startswith("Error: X11: "), lines)
                self.assertEqual(lines[1], "Debug: Failed to open window")
                # The host's windows are as the host left them.
                image = self.desktop.screenshot()
                self.assertEqual(count_colour(region(image, *PREVIEW), HOST_GREEN), PREVIEW[2] * PREVIEW[3])
                self.assertEqual(count_colour(outside(image, *PREVIEW), HOST_BLUE),
                                 SCREEN[0] * SCREEN[1] - PREVIEW[2] * PREVIEW[3])


if __name__ == "__main__":
    harness.main()
