"""Corvelle.scr's configure mode under Wine: the About window as Win32 and the
X display see it.

Measured under Wine 8 on Xvfb without a window manager: Wine maps only the
client area as the X window and draws no caption or frame, so the outer
rectangle comes from window_probe.exe (GetWindowRect) and the X window must
coincide with the client rectangle Win32 reports (a 394 x 275 client area at
(+3, +22) inside the 400 x 300 window).
"""
import itertools
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, WinePrefix, stop, windows_program  # noqa: E402

import about_checks as checks  # noqa: E402
from about_checks import TITLE, WINDOW_SIZE  # noqa: E402

WS_CHILD, WS_VISIBLE, WS_TABSTOP = 0x40000000, 0x10000000, 0x00010000
WS_SYSMENU, WS_CAPTION, WS_THICKFRAME = 0x00080000, 0x00C00000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_POPUP = 0x00020000, 0x00010000, 0x80000000
BS_TYPEMASK = 0x0F  # BS_PUSHBUTTON is 0

# class, id, client rectangle, text (the notice is checked line by line below)
EXPECTED_CONTROLS = [
    ("button", 10, (150, 210, 100, 32), "Visit website"),
    ("static", 10, (34, 150, 380, 80), None),
    ("static", 30, (90, 20, 280, 20), "Corvelle Screensaver"),
]


def probe(wine):
    """What window_probe.exe reports about the "About" window: {record: [fields...]}, children in a list."""
    result = subprocess.run(["wine", windows_program("window_probe.exe"), TITLE], env=wine.env(),
                            capture_output=True, text=True, timeout=checks.STEP_TIMEOUT)
    if result.returncode != 0:
        raise AssertionError("window_probe found no window %r (code %d)" % (TITLE, result.returncode))
    report = {"child": []}
    for line in result.stdout.splitlines():
        fields = line.rstrip("\r").split("\t")
        if fields[0] == "child":
            text = "" if fields[8] == "-" else bytes.fromhex(fields[8]).decode("latin-1")
            report["child"].append((fields[1].lower(), int(fields[2]), tuple(int(v) for v in fields[3:7]),
                                    int(fields[7], 16), text))
        else:
            report[fields[0]] = fields[1:]
    return report


def rectangle(fields):
    return tuple(int(value) for value in fields)


class AboutWindowTest(unittest.TestCase):
    def setUp(self):
        for name in ("Corvelle.scr", "window_probe.exe"):
            harness.require_file(self, windows_program(name))

    def open_desktop(self, screen):
        desktop = Desktop(*screen).__enter__()
        self.addCleanup(desktop.__exit__, None, None, None)
        wine = WinePrefix(desktop).__enter__()
        self.addCleanup(wine.__exit__, None, None, None)
        return desktop, wine

    def test_window_at_each_screen_size_and_command_line(self):
        for (screen, position), args in itertools.product(checks.SCREENS, checks.COMMAND_LINES):
            with self.subTest(screen=screen, args=args):
                desktop, wine = self.open_desktop(screen)
                browser = checks.StandInBrowser()
                self.addCleanup(browser.remove)
                process = wine.start(windows_program(), *args, env_extra={"PATH": browser.path()})
                self.addCleanup(stop, process)
                window = desktop.wait_for_window(TITLE, timeout=120, process=process)

                report = probe(wine)
                self.assertEqual(rectangle(report["window"]), position + WINDOW_SIZE)
                client = rectangle(report["client"])
                self.assertEqual(desktop.geometry(window), client, "the X window is not the client area")
                self.check_window_class_and_style(report)
                self.check_information_icon(desktop, window)
                self.check_controls(report["child"])
                checks.check_names(self, desktop, window)

                x, y, width, height = client
                checks.check_client_area(self, desktop.screenshot()[y:y + height, x:x + width])
                checks.check_button_opens_the_website(self, desktop, process, window, (x, y), browser)
                checks.check_close_request_ends_with_zero(self, desktop, process, window)

    def check_window_class_and_style(self, report):
        self.assertEqual(report["class"], ["KestrovaWindowClass"])
        style, extended = (int(value, 16) for value in report["style"])
        # WS_SYSMENU alone makes an overlapped window with a caption, no
        # minimise or maximise box, and a frame that cannot be resized.
        self.assertTrue(style & WS_SYSMENU, hex(style))
        self.assertEqual(style & WS_CAPTION, WS_CAPTION, hex(style))
        self.assertEqual(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_POPUP | WS_CHILD), 0,
                         hex(style))

    def check_information_icon(self, desktop, window):
        """Wine hands the class icon to X as _NET_WM_ICON: the blue information icon, 16 x 16."""
        out = desktop.run("xprop", "-notype", "-id", str(window), "32c", "_NET_WM_ICON").stdout
        values = [int(v) for v in out.partition("=")[2].replace(",", " ").split()]
        self.assertGreaterEqual(len(values), 2, "the window has no icon: %r" % out)
        self.assertEqual(values[:2], [16, 16], "the first icon is not 16 x 16")
        pixels = [v & 0xFFFFFFFF for v in values[2:2 + 16 * 16]]
        opaque = [p for p in pixels if p >> 24 > 127]
        blue = [p for p in opaque if (p & 0xFF) > ((p >> 16) & 0xFF) + 40]
        self.assertGreater(len(opaque), 100, "the icon is mostly transparent")
        self.assertGreater(len(blue), len(opaque) // 2, "the icon is not the blue information icon")

    def check_controls(self, children):
        self.assertEqual(sorted((c[0], c[1], c[2]) for c in children),
                         [(name, id_, box) for name, id_, box, _ in EXPECTED_CONTROLS])
        for name, id_, box, style, text in children:
            expected = next(e for e in EXPECTED_CONTROLS if (e[0], e[1]) == (name, id_))[3]
            if name == "static":
                self.assertEqual(style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP), WS_CHILD | WS_VISIBLE | WS_TABSTOP)
            else:
                self.assertEqual(style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP), WS_CHILD | WS_VISIBLE)
                self.assertEqual(style & BS_TYPEMASK, 0, "not a push button")
            if expected is not None:
                self.assertEqual(text, expected)
            else:
                self.check_notice(text)

    def check_notice(self, text):
        lines = text.split("\r\n")
        self.assertEqual(len(lines), 3, repr(text))
        self.assertIn("Kestrova", lines[0])
        self.assertIn("kestrova.example", lines[1])
        self.assertIn("free screensavers", lines[1])
        self.assertIn("support@kestrova.example", lines[2])

    def test_a_running_screensaver_does_not_stop_configure_mode(self):
        desktop, wine = self.open_desktop((480, 360))
        saver = wine.start(windows_program())
        self.addCleanup(stop, saver)
        desktop.wait_for_window(SCREENSAVER_TITLE, timeout=120, process=saver)
        # The guard is live: a second switchless start ends at once without a window ...
        boxes, code = wine.run_with_message_boxes(windows_program())
        self.assertEqual((boxes, code), ([], 0))
        self.assertEqual(len(desktop.windows_named(SCREENSAVER_TITLE)), 1)
        # ... but "/c" opens the About window all the same.
        about = wine.start(windows_program(), "/c")
        self.addCleanup(stop, about)
        window = desktop.wait_for_window(TITLE, timeout=120, process=about)
        self.assertEqual(rectangle(probe(wine)["window"]), (40, 30) + WINDOW_SIZE)
        checks.check_close_request_ends_with_zero(self, desktop, about, window)
        self.assertIsNone(saver.poll(), "closing the About window ended the screensaver")


if __name__ == "__main__":
    harness.main()
