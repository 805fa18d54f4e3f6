"""What a screenshot of the screensaver must look like: red hearts on black."""
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
