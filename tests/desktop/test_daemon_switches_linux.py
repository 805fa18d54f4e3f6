"""The switches of X11 screensaver daemons, end to end: `--root` with
XSCREENSAVER_WINDOW or on the bare root window, `--window-id`, malformed
ids, and SIGTERM/SIGINT. A fake host of ours owns the windows, as in the
preview tests."""
import os
import signal
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "preview"))
import harness  # noqa: E402
from harness import linux_program, stop  # noqa: E402
from picture_checks import assert_hearts_on_black, red_fraction  # noqa: E402
import test_preview_linux as preview  # noqa: E402


def saver_env(desktop, daemon_window=None):
    env = desktop.env()
    env.pop("XSCREENSAVER_WINDOW", None)
    if daemon_window is not None:
        env["XSCREENSAVER_WINDOW"] = daemon_window
    return env


class DaemonSwitchTestCase(preview.PreviewTestCase):
    def start_saver(self, args, daemon_window=None):
        process = self.desktop.start([linux_program()] + args, env=saver_env(self.desktop, daemon_window))
        self.addCleanup(preview.close_pipes, process)
        self.addCleanup(stop, process)
        return process


class NamedWindowTest(DaemonSwitchTestCase):
    def test_draws_hearts_into_the_named_window_until_it_goes(self):
        cases = [
            ("--window-id in hexadecimal", lambda w: (["--window-id", hex(w)], None)),
            ("--window-id in decimal", lambda w: (["--window-id", str(w)], None)),
            ("-window-id in hexadecimal", lambda w: (["-window-id", "0x%X" % w], None)),
            ("--root, XSCREENSAVER_WINDOW in hexadecimal (xscreensaver)", lambda w: (["--root"], hex(w))),
            ("-root, XSCREENSAVER_WINDOW in decimal (XSecureLock)", lambda w: (["-root"], str(w))),
        ]
        for name, make in cases:
            with self.subTest(name):
                host = self.start_host()
                args, daemon_window = make(host.preview)
                process = self.start_saver(args, daemon_window)
                image = self.wait_until_drawn(process, preview.PREVIEW)
                self.assertHeartsInside(image, preview.PREVIEW)
                host.command("destroy")
                self.assertEqual(self.assertEndsWithZero(process), "")
                host.close()

    def test_runs_beside_a_preview_that_holds_the_single_instance_marker(self):
        # A daemon runs one saver per screen and may start the next before the
        # last has gone, so its savers are not held back by a running one.
        first_host = self.start_host()
        guarded = self.start_preview(first_host.preview)
        self.wait_until_drawn(guarded, preview.PREVIEW)
        second_host = self.start_host()  # covers the first
        process = self.start_saver(["--window-id", hex(second_host.preview)])
        self.wait_until_drawn(process, preview.PREVIEW)
        self.assertIsNone(guarded.poll(), "the first screensaver ended")
        second_host.command("destroy")
        self.assertEndsWithZero(process)
        self.assertIsNone(guarded.poll(), "the first screensaver ended")


class SignalTest(DaemonSwitchTestCase):
    def test_termination_signals_end_it_with_zero(self):
        for number in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=number.name):
                host = self.start_host()
                process = self.start_saver(["--window-id", str(host.preview)])
                self.wait_until_drawn(process, preview.PREVIEW)  # from here on it draws frame after frame
                process.send_signal(number)
                self.assertEqual(self.assertEndsWithZero(process), "")
                host.close()


class RootWindowTest(DaemonSwitchTestCase):
    def test_draws_on_the_root_window_and_leaves_its_pointer_alone(self):
        self.desktop.move_pointer(80, 60)
        self.assertFalse(self.desktop.cursor_hidden(), "the pointer is hidden before the start")
        process = self.start_saver(["--root"])
        image = self.wait_for_screenshot(process, lambda image: red_fraction(image) > 0.01,
                                         "hearts appeared on the root window")
        assert_hearts_on_black(self, image, "on the root window")
        # The root window's cursor would outlive the process and hide the
        # pointer over the whole desktop, so it is left as it was.
        self.assertFalse(self.desktop.cursor_hidden(), "the pointer is hidden while it runs")
        process.send_signal(signal.SIGTERM)
        self.assertEqual(self.assertEndsWithZero(process), "")
        self.assertFalse(self.desktop.cursor_hidden(), "the pointer stays hidden after the end")


class MalformedIdTest(DaemonSwitchTestCase):
    def test_malformed_id_is_refused_with_a_message(self):
        cases = [
            (["--window-id", "0xZZ"], None, 'Error: Invalid window id "0xZZ" after --window-id: '),
            (["--window-id", "12ab"], None, 'Error: Invalid window id "12ab" after --window-id: '),
            (["--window-id", "0x20000000"], None, 'Error: Invalid window id "0x20000000" after --window-id: '),
            (["--window-id"], None, "Error: --window-id without a window id: "),
            (["--root"], "0x", 'Error: Invalid window id "0x" in XSCREENSAVER_WINDOW: '),
            (["-root"], "-42", 'Error: Invalid window id "-42" in XSCREENSAVER_WINDOW: '),
        ]
        for args, daemon_window, message in cases:
            with self.subTest(args=args, daemon_window=daemon_window):
                process = self.start_saver(args, daemon_window)
                lines = self.assertEndsWithZero(process).splitlines()
                self.assertEqual(len(lines), 1, lines)
                self.assertTrue(lines[0].startswith(message), lines)
                self.assertIn("hexadecimal with 0x", lines[0])


if __name__ == "__main__":
    harness.main()
