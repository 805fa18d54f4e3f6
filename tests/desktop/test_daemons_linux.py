"""Our saver inside the real X11 screensaver daemons, installed by our own
install step: Debian's xscreensaver (activated and deactivated with
xscreensaver-command) and Debian's XSecureLock (our program as its saver
module).

Both daemons run as an unprivileged user, since xscreensaver refuses to
start savers as root; the test creates that user when it is missing. The X
server is started with -ac so that user's programs may connect."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import harness  # noqa: E402
from harness import Desktop, stop, wait_exit  # noqa: E402
from picture_checks import assert_hearts_on_black, red_fraction  # noqa: E402

SAVER_USER = "corvelle-saver"
SCREEN = (160, 120)
BUILD_DIR = os.environ.get("CORVELLE_LINUX_BUILD") or os.path.dirname(harness.LINUX_BIN)
HACK_DIR = "usr/libexec/xscreensaver"
CONFIG_DIR = "usr/share/xscreensaver/config"
START_TIMEOUT = 120  # safety nets, not speed bounds
EXIT_TIMEOUT = 60


def ensure_saver_user():
    if subprocess.run(["id", "-u", SAVER_USER], capture_output=True).returncode == 0:
        return
    created = subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin",
                              SAVER_USER], capture_output=True, text=True)
    # Another test may have made it in the meantime.
    if subprocess.run(["id", "-u", SAVER_USER], capture_output=True).returncode != 0:
        raise AssertionError("could not create the user %s: %s" % (SAVER_USER, created.stderr))


def install_into(destdir):
    """Our install step into a staging folder: the list of installed files."""
    result = subprocess.run(["cmake", "--install", BUILD_DIR], env=dict(os.environ, DESTDIR=destdir),
                            capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        raise AssertionError("cmake --install failed: %s %s" % (result.stdout, result.stderr))
    return sorted(os.path.relpath(os.path.join(folder, name), destdir)
                  for folder, _, names in os.walk(destdir) for name in names)


def debian_gl_hack(package="xscreensaver-gl", hack="glmatrix"):
    """Where Debian's own package put one of its GL savers and its description."""
    files = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True, check=True).stdout.split()
    program = [f for f in files if os.path.basename(f) == hack and os.access(f, os.X_OK)]
    config = [f for f in files if os.path.basename(f) == hack + ".xml"]
    return program[0], config[0]


def pids_of(*pgrep_args):
    result = subprocess.run(["pgrep"] + list(pgrep_args), capture_output=True, text=True)
    return [int(p) for p in result.stdout.split()]


def process_environment(pid):
    with open("/proc/%d/environ" % pid, "rb") as f:
        entries = f.read().split(b"\0")
    return dict(e.decode(errors="replace").partition("=")[::2] for e in entries if e)


def process_arguments(pid):
    with open("/proc/%d/cmdline" % pid, "rb") as f:
        return [a.decode(errors="replace") for a in f.read().split(b"\0") if a]


class InstallStepTest(unittest.TestCase):
    def test_installs_where_debians_xscreensaver_keeps_its_savers(self):
        destdir = tempfile.mkdtemp(prefix="corvelle-install-")
        self.addCleanup(shutil.rmtree, destdir, ignore_errors=True)
        installed = install_into(destdir)
        program, config = debian_gl_hack()
        self.assertEqual(installed, sorted([os.path.join(os.path.dirname(program), "corvelle").lstrip("/"),
                                            os.path.join(os.path.dirname(config), "corvelle.xml").lstrip("/")]))
        self.assertTrue(os.access(os.path.join(destdir, HACK_DIR, "corvelle"), os.X_OK))

        ours = ElementTree.parse(os.path.join(destdir, CONFIG_DIR, "corvelle.xml")).getroot()
        debians = ElementTree.parse(config).getroot()
        self.assertEqual(ours.tag, debians.tag)
        self.assertEqual(ours.get("name"), "corvelle")  # the program's file name
        self.assertEqual(ours.get("_label"), "Corvelle")
        self.assertEqual(ours.get("gl"), debians.get("gl"))
        self.assertEqual([c.get("arg") for c in ours.iter("command")], ["--root"])
        self.assertIn("red hearts", ours.findtext("_description"))
        # No settings: nothing but the command and the description.
        self.assertEqual([child.tag for child in ours], ["command", "_description"])


class DaemonTestCase(unittest.TestCase):
    """A -ac X server, our saver installed in a staging folder the saver user
    can read, and that user's home with a ~/.xscreensaver that runs ours."""

    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("needs root: creates a user and runs the daemons as that user")
        ensure_saver_user()
        self.desktop = Desktop(*SCREEN, server_args=["-ac"]).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)
        self.folder = tempfile.mkdtemp(prefix="corvelle-daemon-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        os.chmod(self.folder, 0o755)
        install_into(os.path.join(self.folder, "root"))
        self.program = os.path.join(self.folder, "root", HACK_DIR, "corvelle")
        self.home = os.path.join(self.folder, "home")
        os.mkdir(self.home)
        with open(os.path.join(self.home, ".xscreensaver"), "w") as f:
            f.write("mode:\tone\nselected:\t0\ntimeout:\t0:30:00\nlock:\tFalse\nfade:\tFalse\n"
                    "unfade:\tFalse\nsplash:\tFalse\ndpmsEnabled:\tFalse\n"
                    "programs:\tGL: %s --root \\n\n" % self.program)
        shutil.chown(self.home, SAVER_USER)
        shutil.chown(os.path.join(self.home, ".xscreensaver"), SAVER_USER)

    def as_saver_user(self, args, **env):
        """The command line that runs `args` as the saver user on our display."""
        settings = ["HOME=" + self.home, "DISPLAY=" + self.desktop.display, "PATH=/usr/bin:/bin"]
        settings += ["%s=%s" % item for item in env.items()]
        return ["runuser", "-u", SAVER_USER, "--", "env", "-i"] + settings + list(args)

    def start_as_saver_user(self, args, **env):
        process = subprocess.Popen(self.as_saver_user(args, **env), stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True)
        self.addCleanup(self.close_output, process)
        self.addCleanup(stop, process)
        return process

    @staticmethod
    def close_output(process):
        if process.stdout and not process.stdout.closed:
            process.stdout.close()

    def wait_for_our_saver(self, daemon):
        deadline = time.monotonic() + START_TIMEOUT
        while True:
            pids = pids_of("-u", SAVER_USER, "-f", "^" + self.program)
            if pids:
                self.addCleanup(self.kill_if_alive, pids[0])
                return pids[0]
            if daemon.poll() is not None:
                self.fail("the daemon ended (code %s): %s" % (daemon.returncode, daemon.stdout.read()))
            if time.monotonic() > deadline:
                self.fail("the daemon did not start our saver within %d s" % START_TIMEOUT)
            time.sleep(0.2)

    @staticmethod
    def kill_if_alive(pid):
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

    def wait_for_hearts(self, pid, window):
        """The screenshot of `window` once hearts show in it."""
        x, y, width, height = self.desktop.geometry(window)
        deadline = time.monotonic() + START_TIMEOUT
        while True:
            picture = self.desktop.screenshot()[y:y + height, x:x + width]
            if red_fraction(picture) > 0.01:
                return picture
            if not os.path.exists("/proc/%d" % pid):
                self.fail("our saver ended before hearts appeared")
            if time.monotonic() > deadline:
                self.fail("no hearts in the daemon's window within %d s" % START_TIMEOUT)
            time.sleep(0.5)

    def wait_until_gone(self, pid):
        deadline = time.monotonic() + EXIT_TIMEOUT
        while pid in pids_of("-u", SAVER_USER, "-f", "^" + self.program):
            if time.monotonic() > deadline:
                self.fail("our saver is still running %d s later" % EXIT_TIMEOUT)
            time.sleep(0.2)


class XScreensaverTest(DaemonTestCase):
    def command(self, *args, timeout=60):
        """xscreensaver-command as the saver user, tried until the daemon answers."""
        deadline = time.monotonic() + timeout
        while True:
            result = subprocess.run(self.as_saver_user(["xscreensaver-command"] + list(args)),
                                    capture_output=True, text=True, timeout=60)
            if result.returncode == 0:
                return
            if time.monotonic() > deadline:
                self.fail("xscreensaver-command %s: %s" % (" ".join(args), result.stderr))
            time.sleep(0.5)

    def test_activate_shows_hearts_and_deactivate_ends_our_saver(self):
        daemon = self.start_as_saver_user(["xscreensaver", "-no-splash", "-verbose"])
        self.addCleanup(wait_exit, daemon, EXIT_TIMEOUT)
        self.addCleanup(self.command, "-exit")
        self.command("-activate")
        pid = self.wait_for_our_saver(daemon)
        self.assertEqual(process_arguments(pid), [self.program, "--root"])
        window = process_environment(pid)["XSCREENSAVER_WINDOW"]
        self.assertTrue(window.startswith("0x"), window)  # the hexadecimal notation

        picture = self.wait_for_hearts(pid, int(window, 16))
        assert_hearts_on_black(self, picture, "in xscreensaver's window")

        self.command("-deactivate")
        self.wait_until_gone(pid)


class XSecureLockTest(DaemonTestCase):
    def test_locked_screen_shows_hearts_and_our_saver_ends_with_the_lock(self):
        locker = self.start_as_saver_user(["xsecurelock"], XSECURELOCK_SAVER=self.program)
        pid = self.wait_for_our_saver(locker)
        self.assertEqual(process_arguments(pid), [self.program, "-root"])
        window = process_environment(pid)["XSCREENSAVER_WINDOW"]
        self.assertTrue(window.isdigit(), window)  # the decimal notation

        picture = self.wait_for_hearts(pid, int(window))
        assert_hearts_on_black(self, picture, "in XSecureLock's window")

        # Unlocking needs the user's password; ending the locker (SIGTERM to
        # xsecurelock) tears down its saver modules the same way.
        lockers = pids_of("-u", SAVER_USER, "-x", "xsecurelock", "-P", str(locker.pid))
        self.assertEqual(len(lockers), 1, lockers)
        os.kill(lockers[0], signal.SIGTERM)
        self.wait_until_gone(pid)


if __name__ == "__main__":
    harness.main()
