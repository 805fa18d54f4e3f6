"""What the end-to-end tests share: where the builds are, a private X
server with the tools to look at and poke its windows, and Wine prefixes.

Run by Debian's /usr/bin/python3 (PIL and numpy come from Debian packages).
"""
import fcntl
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import numpy
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xvfb import Xvfb  # noqa: E402

SOURCE_DIR = os.environ.get("CORVELLE_SOURCE_DIR") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))
LINUX_BIN = os.environ.get("CORVELLE_LINUX_BIN") or os.path.join(SOURCE_DIR, "build", "linux", "bin")
WINDOWS_BIN = os.environ.get("CORVELLE_WINDOWS_BIN") or os.path.join(SOURCE_DIR, "build", "windows", "bin")

SCREENSAVER_TITLE = "Corvelle Screensaver"


def linux_program(name="corvelle"):
    return os.path.join(LINUX_BIN, name)


def windows_program(name="Corvelle.scr"):
    return os.path.join(WINDOWS_BIN, name)


def require_file(test, path):
    if not os.path.exists(path):
        test.fail("%s is missing: build it first (scripts/test builds everything)" % path)


def wait_exit(process, timeout):
    """The exit code, or None when the process is still running after `timeout` seconds."""
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(process):
    if process.poll() is None:
        process.kill()
        process.wait()


class Desktop:
    """A private Xvfb server and the tools that look at and poke its windows."""

    def __init__(self, width=320, height=240, server_args=()):
        self.server = Xvfb(width, height, extra_args=server_args)
        self.size = (width, height)

    def __enter__(self):
        self.server.start()
        return self

    def __exit__(self, *exc):
        self.server.stop()

    @property
    def display(self):
        return self.server.display

    @property
    def runtime_dir(self):
        """The XDG_RUNTIME_DIR of programs on this display (the server's own)."""
        return self.server.runtime_dir

    def env(self, **extra):
        env = self.server.env()
        env.update(extra)
        return env

    def run(self, *args, timeout=60, check=True):
        return subprocess.run(list(args), env=self.env(), capture_output=True, text=True, timeout=timeout,
                              check=check)

    def start(self, args, env=None, **popen_args):
        """Starts a program on this display, its output captured."""
        return subprocess.Popen(args, env=env or self.env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, **popen_args)

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check).stdout

    def windows_named(self, name):
        result = self.run("xdotool", "search", "--name", "^%s$" % name, check=False)
        return [int(w) for w in result.stdout.split()]

    def wait_for_window(self, name, timeout=90, process=None):
        """The id of a mapped window with this name; fails the test after `timeout` seconds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for window in self.windows_named(name):
                if self.is_viewable(window):
                    return window
            if process is not None and process.poll() is not None:
                output = process.stderr.read() if process.stderr else ""
                raise AssertionError("the program ended (code %s) before its window %r appeared; "
                                     "its standard error: %r; %s" % (process.returncode, name, output,
                                                                    self.server_state()))
            time.sleep(0.2)
        raise AssertionError("no window named %r appeared within %d s" % (name, timeout))

    def server_state(self):
        """What the X server is doing, for a failure message."""
        probe = subprocess.run(["xdpyinfo"], env=self.env(), capture_output=True, text=True)
        number = self.display.lstrip(":")
        return "server %s: exit %s, xdpyinfo %s, socket %s, lock %s, log %r" % (
            self.display, self.server.process.poll(), probe.returncode,
            os.path.exists("/tmp/.X11-unix/X" + number), os.path.exists("/tmp/.X%s-lock" % number),
            self.server.log_text())

    def is_viewable(self, window):
        return self.run(os.path.join(LINUX_BIN, "x11_probe"), "viewable", str(window), check=False).returncode == 0

    def geometry(self, window):
        """(x, y, width, height) of the window on the screen."""
        info = self.run("xwininfo", "-id", str(window)).stdout
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def screenshot(self, path=None):
        """The whole screen as an RGB numpy array (rows top to bottom)."""
        result = subprocess.run(["import", "-window", "root", "png:-"], env=self.env(), capture_output=True,
                                timeout=60, check=True)
        image = Image.open(io.BytesIO(result.stdout)).convert("RGB")
        if path:
            image.save(path)
        return numpy.asarray(image)

    def key(self, window, key):
        # The screensaver ends on the key press, so the release that xdotool
        # sends next may find no window: its complaint is expected.
        self.xdotool("key", "--window", str(window), key, check=False)

    def move_pointer(self, x, y):
        self.xdotool("mousemove", str(x), str(y))

    def click(self, button=1):
        self.xdotool("click", str(button), check=False)

    def close_request(self, window):
        self.run(os.path.join(LINUX_BIN, "x11_probe"), "close", str(window))

    def cursor_hidden(self):
        return self.run(os.path.join(LINUX_BIN, "x11_probe"), "cursor-hidden", check=False).returncode == 0


# ---------------------------------------------------------------------------
# Other users

def ensure_unprivileged_user(name):
    """Makes a system user without home or login shell unless it exists (needs
    root); answers its (uid, gid)."""
    if subprocess.run(["id", "-u", name], capture_output=True).returncode != 0:
        created = subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", name],
                                 capture_output=True, text=True)
        # Another test may have made it in the meantime.
        if subprocess.run(["id", "-u", name], capture_output=True).returncode != 0:
            raise AssertionError("could not create the user %s: %s" % (name, created.stderr))
    ids = [int(subprocess.run(["id", option, name], capture_output=True, text=True, check=True).stdout)
           for option in ("-u", "-g")]
    return tuple(ids)


# ---------------------------------------------------------------------------
# Wine

WINE_TEMPLATE = os.path.join(tempfile.gettempdir(), "corvelle-wine-template-%d" % os.getuid())


def _wine_env(prefix, desktop):
    # No Wine debugger: a program that crashes in a test then fails the test at once instead of
    # hanging in winedbg until the time-out.
    env = desktop.env(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d")
    return env


def _make_template(desktop):
    """A booted Wine prefix, made once per machine and copied for every test."""
    lock_path = WINE_TEMPLATE + ".lock"
    with open(lock_path, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(os.path.join(WINE_TEMPLATE, "system.reg")):
            return
        shutil.rmtree(WINE_TEMPLATE, ignore_errors=True)
        env = _wine_env(WINE_TEMPLATE, desktop)
        subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=300, check=True)
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)


class WinePrefix:
    """A private copy of the booted prefix, removed afterwards."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.path = None

    def __enter__(self):
        _make_template(self.desktop)
        self.path = tempfile.mkdtemp(prefix="corvelle-wine-")
        shutil.rmtree(self.path)
        shutil.copytree(WINE_TEMPLATE, self.path, symlinks=True)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=60, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(self.path, ignore_errors=True)

    def env(self, **extra):
        env = _wine_env(self.path, self.desktop)
        env.update(extra)
        return env

    def start(self, program, *args, env_extra=None):
        return subprocess.Popen(["wine", program] + list(args), env=self.env(**(env_extra or {})),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def run_with_message_boxes(self, program, *args, timeout=120, env_extra=None):
        """Runs the program through msgbox_runner: ([(caption, text), ...], exit code or None on time-out)."""
        runner = windows_program("msgbox_runner.exe")
        result = subprocess.run(["wine", runner, "--timeout", str(timeout), program] + list(args),
                                env=self.env(**(env_extra or {})), capture_output=True, text=True,
                                timeout=timeout + 120)
        boxes, code = [], None
        for line in result.stdout.splitlines():
            fields = line.rstrip("\r").split("\t")
            if fields[0] == "box" and len(fields) == 3:
                boxes.append((unescape(fields[1]), unescape(fields[2])))
            elif fields[0] == "exit" and len(fields) == 2:
                code = int(fields[1])
        return boxes, code


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "r": "\r", "n": "\n", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def main():
    unittest.main(verbosity=2)
