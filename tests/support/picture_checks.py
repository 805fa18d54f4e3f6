"""What a screenshot of the screensaver must look like: red hearts on black."""
import time

import numpy


def red_fraction(rgb):
    """The share of pixels that are strongly red."""
    r, g, b = (rgb[..., i].astype(int) for i in range(3))
    return float(((r > 150) & (g < 60) & (b < 60)).mean())


def off_palette_fraction(rgb):
    """The share of pixels that are neither black nor a shade of the hearts' red."""
    r, g, b = (rgb[..., i].astype(int) for i in range(3))
    return float(((g > r // 8 + 8) | (b > r // 8 + 8)).mean())


def assert_hearts_on_black(test, rgb, where=""):
    red = red_fraction(rgb)
    test.assertGreater(red, 0.01, "hardly any red heart %s (%.4f of the pixels)" % (where, red))
    test.assertLess(red, 0.6, "far too much red %s (%.4f of the pixels)" % (where, red))
    test.assertLess(off_palette_fraction(rgb), 0.001, "colours other than red and black %s" % where)


def moved(before, after):
    """The mean per-pixel change between two screenshots, 0 to 255."""
    return float(numpy.abs(before.astype(int) - after.astype(int)).mean())


def watch_hearts(test, desktop, process, timeout=90):
    """Screenshots until the hearts are on screen and have moved; both checks
    get `timeout` seconds, a safety net for a slow machine, not a speed bound."""
    deadline = time.monotonic() + timeout
    first = desktop.screenshot()
    while red_fraction(first) <= 0.01 and time.monotonic() < deadline:
        test.assertIsNone(process.poll(), "the screensaver ended by itself")
        time.sleep(0.5)
        first = desktop.screenshot()
    assert_hearts_on_black(test, first, "in the first screenshot")
    second = first
    while moved(first, second) <= 0.5 and time.monotonic() < deadline:
        test.assertIsNone(process.poll(), "the screensaver ended by itself")
        time.sleep(0.5)
        second = desktop.screenshot()
    assert_hearts_on_black(test, second, "in a later screenshot")
    test.assertGreater(moved(first, second), 0.5, "the hearts did not move within %d s" % timeout)
