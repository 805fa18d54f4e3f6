"""What the Linux and the Wine tests of the About window share: the layout as
the user sees it, the picture it must show, and a stand-in browser."""
import os
import re
import stat
import tempfile
import time

import numpy
from PIL import Image

import harness

TITLE = "About"
URL = "https://kestrova.example/?utm_source=About"
WINDOW_SIZE = (400, 300)

# Each screen size with where the window's outer corner must land, worked out
# by hand: ((1920 - 400) / 2, (1080 - 300) / 2) and ((1366 - 400) / 2, (768 - 300) / 2).
SCREENS = [((1920, 1080), (760, 390)), ((1366, 768), (483, 234))]
# "/c" and "/c:3456" (a handle after the switch that configure mode ignores).
COMMAND_LINES = [["/c"], ["/c:3456"]]

BACKGROUND = (177, 232, 179)
NOTICE_BLUE = (0, 51, 255)
TITLE_BLACK = (0, 0, 0)
PICTURE_AT = (142, 55)
PICTURE_SIZE = (110, 83)
# (x, y, width, height) in the client area
NOTICE_BOX = (34, 150, 380, 80)
# The part of the notice's box above the button, which overlaps its bottom.
NOTICE_ABOVE_BUTTON = (34, 150, 380, 60)
TITLE_BOX = (90, 20, 280, 20)
BUTTON_BOX = (150, 210, 100, 32)

STEP_TIMEOUT = 90  # a safety net, not a speed bound


def expected_picture():
    """BITMAP 101 as the resource script names it, decoded by PIL: rows top to bottom, RGB."""
    script = os.path.join(harness.SOURCE_DIR, "resources", "corvelle.rc")
    with open(script, encoding="latin-1") as text:
        for line in text:
            match = re.match(r'\s*101\s+BITMAP\s+(?:\w+\s+)*"([^"]+)"', line)
            if match:
                path = os.path.join(os.path.dirname(script), match.group(1).replace("\\\\", "/"))
                return numpy.asarray(Image.open(path).convert("RGB"))
    raise AssertionError("resources/corvelle.rc lists no BITMAP 101")


def box(image, area):
    x, y, width, height = area
    return image[y:y + height, x:x + width]


def count(image, colour):
    return int(numpy.all(image == numpy.array(colour, dtype=image.dtype), axis=-1).sum())


def longest_run(row_mask):
    best = run = 0
    for value in row_mask:
        run = run + 1 if value else 0
        best = max(best, run)
    return best


def check_client_area(test, client):
    """The screenshot of the client area (rows top to bottom, RGB) shows the About window."""
    height, width = client.shape[:2]
    test.assertGreater(count(client, BACKGROUND), width * height // 2, "the background is not mostly light green")

    picture = expected_picture()
    test.assertEqual(picture.shape[:2], (PICTURE_SIZE[1], PICTURE_SIZE[0]), "BITMAP 101 is not 110 x 83")
    shown = box(client, PICTURE_AT + PICTURE_SIZE)
    differing = int(numpy.any(shown != picture, axis=-1).sum())
    test.assertEqual(differing, 0, "%d pixels of the picture at (142, 55) differ from BITMAP 101" % differing)
    # ... and the picture is exactly there: the pixels around it are background.
    x, y = PICTURE_AT
    test.assertEqual(count(client[y - 1, x:x + PICTURE_SIZE[0]], BACKGROUND), PICTURE_SIZE[0])
    test.assertEqual(count(client[y:y + PICTURE_SIZE[1], x - 1], BACKGROUND), PICTURE_SIZE[1])

    notice, title = box(client, NOTICE_ABOVE_BUTTON), box(client, TITLE_BOX)
    test.assertGreater(count(notice, NOTICE_BLUE), 100, "no blue notice text")
    test.assertEqual(count(notice, TITLE_BLACK), 0, "black pixels in the notice")
    test.assertGreater(count(title, TITLE_BLACK), 100, "no black title text")
    test.assertEqual(count(title, NOTICE_BLUE), 0, "blue pixels in the title")
    underline = max(longest_run(numpy.all(row == 0, axis=-1)) for row in title)
    test.assertGreater(underline, 100, "the title is not underlined (longest black run %d pixels)" % underline)

    button = box(client, BUTTON_BOX)
    test.assertLess(count(button, BACKGROUND), BUTTON_BOX[2] * BUTTON_BOX[3] // 10, "no button face")
    dark = int((button.max(axis=-1) < 100).sum())
    test.assertGreater(dark, 20, "the button has no label")


def check_names(test, desktop, window):
    """The X window carries the title in both name properties."""
    names = desktop.run("xprop", "-id", str(window), "WM_NAME", "_NET_WM_NAME").stdout.splitlines()
    test.assertEqual(sorted(names), ['WM_NAME(STRING) = "About"', '_NET_WM_NAME(UTF8_STRING) = "About"'])


class StandInBrowser:
    """A folder with an `xdg-open` that appends its argument to a log; put it first on PATH."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="corvelle-browser-")
        self.log = os.path.join(self.folder, "opened.txt")
        script = os.path.join(self.folder, "xdg-open")
        with open(script, "w") as out:
            out.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.log)
        os.chmod(script, stat.S_IRWXU)

    def path(self):
        return self.folder + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")

    def opened(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as log:
            return log.read().splitlines()

    def wait_for(self, count):
        """The URLs opened so far, once there are `count` of them (or the time-out passed)."""
        deadline = time.monotonic() + STEP_TIMEOUT
        while len(self.opened()) < count and time.monotonic() < deadline:
            time.sleep(0.2)
        return self.opened()

    def remove(self):
        for name in os.listdir(self.folder):
            os.remove(os.path.join(self.folder, name))
        os.rmdir(self.folder)


def check_button_opens_the_website(test, desktop, process, window, client_origin, browser):
    """Each click on "Visit website" opens the URL once more; the window stays open."""
    x, y = client_origin
    desktop.move_pointer(x + BUTTON_BOX[0] + BUTTON_BOX[2] // 2, y + BUTTON_BOX[1] + BUTTON_BOX[3] // 2)
    for clicks in (1, 2):
        desktop.click(1)
        test.assertEqual(browser.wait_for(clicks), [URL] * clicks)
        test.assertIsNone(process.poll(), "the About window ended after a click")
        test.assertTrue(desktop.is_viewable(window), "the About window closed after a click")


def check_close_request_ends_with_zero(test, desktop, process, window):
    desktop.close_request(window)
    test.assertEqual(harness.wait_exit(process, STEP_TIMEOUT), 0)
