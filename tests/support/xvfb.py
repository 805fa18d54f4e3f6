"""A private Xvfb server for one test: started with -displayfd, so the server
itself picks a free display and parallel tests never collide, and with
-noreset, so it stays up between one client leaving and the next arriving."""
import os
import shutil
import subprocess
import tempfile
import time


class Xvfb:
    def __init__(self, width=320, height=240, depth=24, extra_args=()):
        self.size = (width, height)
        self.depth = depth
        self.extra_args = list(extra_args)
        self.process = None
        self.display = None
        self.runtime_dir = None

    def start(self, timeout=30, attempts=3):
        """Starts the server; a server that announces a display and then dies
        (it can lose a race for that display to one that is shutting down) is
        started again."""
        reasons = []
        for _ in range(attempts):
            if self._start_once(timeout):
                # Every server gets its own runtime folder, so programs on it
                # keep per-user state (the screensaver's single-instance marker)
                # apart from programs on other servers of the same user.
                self.runtime_dir = tempfile.mkdtemp(prefix="corvelle-runtime-")
                return self
            reasons.append(self.log_text())
            self.stop()
        raise RuntimeError("Xvfb did not start: %s" % " | ".join(reasons))

    def _start_once(self, timeout):
        read_end, write_end = os.pipe()
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx%d" % (self.size[0], self.size[1], self.depth), "-nolisten", "tcp",
             # No server reset when the last client leaves: a client connecting
             # during a reset is turned away, which made tests flaky.
             "-noreset"] + self.extra_args,
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write_end)
        deadline = time.monotonic() + timeout
        data = b""
        with os.fdopen(read_end, "rb") as reader:
            while not data.endswith(b"\n"):
                if time.monotonic() > deadline or self.process.poll() is not None:
                    return False
                chunk = reader.read(1)
                if not chunk:
                    break
                data += chunk
        if not data.strip():
            return False
        self.display = ":" + data.decode().strip()
        return self._answers(deadline)

    def _answers(self, deadline):
        """True once a client can talk to the server."""
        env = dict(os.environ, DISPLAY=self.display)
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return False
            probe = subprocess.run(["xdpyinfo"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if probe.returncode == 0:
                return True
            time.sleep(0.1)
        return False

    def log_text(self):
        if not getattr(self, "log", None):
            return ""
        self.log.seek(0)
        return self.log.read().decode(errors="replace").strip()[-300:]

    def env(self, base=None):
        env = dict(os.environ if base is None else base)
        env["DISPLAY"] = self.display
        env["XDG_RUNTIME_DIR"] = self.runtime_dir
        return env

    def stop(self):
        if self.runtime_dir:
            shutil.rmtree(self.runtime_dir, ignore_errors=True)
            self.runtime_dir = None
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
