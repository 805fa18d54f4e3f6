"""The Linux build starting, showing its window and ending, as a user sees it."""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
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
    """Bad starts end with exit code 0 and say why (on standard error), never
    with a crash or a hang."""

    def run_screensaver(self, args, env):
        harness.require_file(self, linux_program())
        result = subprocess.run([linux_program()] + args, env=env, capture_output=True, text=True, timeout=120)
        return result.returncode, result.stderr.splitlines()

    def test_no_display(self):
        # GLFW's reason, the failed start-up, one complaint per GLFW call
        # made without GLFW, and the window that could not be opened.
        displays = {"DISPLAY unset": None, "DISPLAY naming no server": ":4242"}
        switches = (["/s"], [], ["/p", "1234"])
        for name, display in displays.items():
            env = dict(os.environ)
            env.pop("DISPLAY", None)
            if display:
                env["DISPLAY"] = display
            for args in switches:
                with self.subTest(display=name, args=args):
                    code, lines = self.run_screensaver(args, env)
                    self.assertEqual(code, 0)
                    self.assertGreater(len(lines), 3, lines)
                    self.assertTrue(lines[0].startswith("Error: X11: "), lines)
                    self.assertEqual(lines[1], "Debug: Failed to initialize GLFW")
                    self.assertTrue(all(line == "Error: The GLFW library is not initialized" for line in lines[2:-1]),
                                    lines)
                    self.assertEqual(lines[-1], "Debug: Failed to open window")

    def test_opengl_below_4_2(self):
        with Desktop(64, 48) as desktop:
            for args in (["/s"], []):
                with self.subTest(args=args):
                    code, lines = self.run_screensaver(args, desktop.env(MESA_GL_VERSION_OVERRIDE="3.3COMPAT"))
                    self.assertEqual(code, 0)
                    self.assertEqual(lines, ["Debug: Corvelle Screensaver needs OpenGL 4.2 or later; "
                                             "this computer's OpenGL context is version 3.3."])

    def test_preview_switch_without_a_usable_window(self):
        # Whatever follows "/p" (it is read as atoi reads it, saturating), the
        # number names no window: GLFW says so, then the window cannot be opened.
        # Windows that exist but cannot be used are tested with the preview.
        cases = {
            "zero": ["/p", "0"],
            "a huge number": ["/p", "99999999999999999999"],
            "a huge negative number": ["/p", "-99999999999999999999"],
            "garbage": ["/p", "garbage"],
            "garbage after digits": ["/p", "0x51a2"],
            "nothing after the separator": ["/p:"],
            "nothing after the letter": ["/p"],
        }
        with Desktop(64, 48) as desktop:
            for name, args in cases.items():
                with self.subTest(name, args=args):
                    code, lines = self.run_screensaver(args, desktop.env())
                    self.assertEqual(code, 0)
                    self.assertEqual(len(lines), 2, lines)
                    self.assertTrue(lines[0].startswith("Error: X11: "), lines)
                    self.assertEqual(lines[1], "Debug: Failed to open window")


MARKER_NAME = "K_OPENGL_SCREENSAVER"
PEER_USER = "corvelle-peer"  # another user of the same computer


def marker_path(runtime_dir, uid):
    """Where a user's screensaver keeps its single-instance marker."""
    return os.path.join(runtime_dir, "corvelle-%s-%d.lock" % (MARKER_NAME, uid))


def wait_for_screensavers(test, desktop, count, process):
    """Waits until `count` screensaver windows are mapped; fails if `process` ends first."""
    deadline = time.monotonic() + 90
    while len([w for w in desktop.windows_named(SCREENSAVER_TITLE) if desktop.is_viewable(w)]) < count:
        if process.poll() is not None:
            test.fail("the screensaver ended (code %s) before its window appeared: %s"
                      % (process.returncode, process.stderr.read()))
        if time.monotonic() > deadline:
            test.fail("fewer than %d screensaver windows after 90 s" % count)
        time.sleep(0.2)


def is_locked(path):
    """Whether some process holds a lock on the file."""
    with open(path, "rb") as held:
        try:
            fcntl.flock(held, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            return True
        fcntl.flock(held, fcntl.LOCK_UN)
        return False


class InstanceTestCase(unittest.TestCase):
    """Starts on one desktop whose programs share one runtime folder."""

    def setUp(self):
        harness.require_file(self, linux_program())
        self.desktop = Desktop(96, 72).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)

    def start(self, args=()):
        process = self.desktop.start([linux_program()] + list(args))
        self.addCleanup(lambda: (stop(process), process.stdout.close(), process.stderr.close()))
        return process

    def assertGuardedStartReturns(self, args=()):
        """A guarded start that finds the marker held ends at once, showing nothing."""
        second = subprocess.run([linux_program()] + list(args), env=self.desktop.env(), capture_output=True,
                                text=True, timeout=EXIT_TIMEOUT)
        self.assertEqual(second.returncode, 0)
        self.assertEqual(second.stderr, "", "a guarded second start showed something: %r" % (args,))


class SingleInstanceTest(InstanceTestCase):
    def test_second_preview_or_switchless_start_returns_at_once(self):
        first = self.start()
        wait_for_screensavers(self, self.desktop, 1, first)
        for args in ([], ["/p", "1234"], ["/S"]):
            self.assertGuardedStartReturns(args)
            self.assertEqual(len(self.desktop.windows_named(SCREENSAVER_TITLE)), 1)
        # "/s" skips the guard and opens a second screensaver.
        wait_for_screensavers(self, self.desktop, 2, self.start(["/s"]))

    def test_a_killed_instance_leaves_nothing_that_blocks_the_next(self):
        first = self.start()
        wait_for_screensavers(self, self.desktop, 1, first)
        first.send_signal(signal.SIGKILL)
        first.wait()
        second = self.start()
        wait_for_screensavers(self, self.desktop, 1, second)
        # The next instance holds the marker as the first did.
        self.assertGuardedStartReturns()


class MarkerPlaceTest(InstanceTestCase):
    """What others leave where our marker lives neither stops a switchless
    start nor is touched by it."""

    def setUp(self):
        super().setUp()
        self.marker = marker_path(self.desktop.runtime_dir, os.getuid())

    def start_peer(self, *command):
        """Runs a command as the other user; it is killed with its whole session at the end."""
        peer = subprocess.Popen(["runuser", "-u", PEER_USER, "--", "env", "HOME=/"] + list(command),
                                env=self.desktop.env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, start_new_session=True)
        self.addCleanup(self.end_session, peer)
        return peer

    @staticmethod
    def end_session(process):
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()
        for pipe in (process.stdout, process.stderr):
            pipe.close()

    def share_runtime_dir_with_peer(self):
        """Both users' markers in one folder, as in a shared /tmp; answers the peer's uid."""
        if os.geteuid() != 0:
            self.skipTest("needs root to act as another user")
        uid, _ = harness.ensure_unprivileged_user(PEER_USER)
        os.chmod(self.desktop.runtime_dir, 0o1777)
        return uid

    def peer_program(self):
        """A copy of the screensaver that the other user may run."""
        folder = tempfile.mkdtemp(prefix="corvelle-peer-")
        self.addCleanup(shutil.rmtree, folder, True)
        os.chmod(folder, 0o755)
        program = os.path.join(folder, "corvelle")
        shutil.copy(linux_program(), program)
        os.chmod(program, 0o755)
        return program

    def test_another_users_instance_does_not_block_ours(self):
        peer_uid = self.share_runtime_dir_with_peer()
        peer = self.start_peer(self.peer_program())
        wait_for_screensavers(self, self.desktop, 1, peer)
        peer_marker = marker_path(self.desktop.runtime_dir, peer_uid)
        self.assertEqual(os.stat(peer_marker).st_uid, peer_uid)
        self.assertTrue(is_locked(peer_marker), "the other user's screensaver holds no marker")

        ours = self.start()
        wait_for_screensavers(self, self.desktop, 2, ours)
        stop(ours)

        # The other user's file where our marker belongs, held locked by them.
        os.unlink(self.marker)
        holder = self.start_peer("flock", "--exclusive", self.marker, "sleep", "600")
        deadline = time.monotonic() + 30
        while not (os.path.exists(self.marker) and is_locked(self.marker)):
            self.assertIsNone(holder.poll(), holder.stderr.read() if holder.poll() is not None else "")
            self.assertLess(time.monotonic(), deadline, "the other user's lock did not appear")
            time.sleep(0.1)
        self.assertEqual(os.stat(self.marker).st_uid, peer_uid)
        wait_for_screensavers(self, self.desktop, 2, self.start())

    def test_a_link_planted_at_the_marker_is_not_followed(self):
        elsewhere = tempfile.mkdtemp(prefix="corvelle-link-target-")
        self.addCleanup(shutil.rmtree, elsewhere, True)
        targets = {"a file that does not exist": None, "an existing file": b"someone else's data\n"}
        for name, content in targets.items():
            with self.subTest(target=name):
                target = os.path.join(elsewhere, name.replace(" ", "-"))
                if content is not None:
                    with open(target, "wb") as planted:
                        planted.write(content)
                    os.utime(target, (1000000000, 1000000000))
                if os.path.lexists(self.marker):
                    os.unlink(self.marker)
                os.symlink(target, self.marker)

                process = self.start()
                wait_for_screensavers(self, self.desktop, 1, process)
                self.assertTrue(os.path.islink(self.marker))
                if content is None:
                    self.assertFalse(os.path.lexists(target), "the link was followed and its target made")
                else:
                    with open(target, "rb") as planted:
                        self.assertEqual(planted.read(), content)
                    self.assertEqual(os.stat(target).st_mtime, 1000000000)
                    self.assertFalse(is_locked(target), "the screensaver locked the link's target")
                stop(process)


if __name__ == "__main__":
    harness.main()
