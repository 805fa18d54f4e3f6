"""A private Xvfb server for one test: started with -displayfd, so the server
itself picks a free display and parallel tests never collide, and with
-noreset, so it stays up between one client leaving and the next arriving."""
import os
import subprocess
import time


class Xvfb:
    def __init__(self, width=320, height=240, depth=24, extra_args=()):
        self.size = (width, height)
        self.depth = depth
        self.extra_args = list(extra_args)
        self.process = None
        self.display = None

    def start(self, timeout=30):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx%d" % (self.size[0], self.size[1], self.depth), "-nolisten", "tcp",
             # No server reset when the last client leaves: a client connecting
             # during a reset is turned away, which made tests flaky.
             "-noreset"] + self.extra_args,
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        deadline = time.monotonic() + timeout
        data = b""
        with os.fdopen(read_end, "rb") as reader:
            while not data.endswith(b"\n"):
                if time.monotonic() > deadline or self.process.poll() is not None:
                    self.stop()
                    raise RuntimeError("Xvfb did not start")
                chunk = reader.read(1)
                if not chunk:
                    break
                data += chunk
        self.display = ":" + data.decode().strip()
        return self

    def env(self, base=None):
        env = dict(os.environ if base is None else base)
        env["DISPLAY"] = self.display
        return env

    def stop(self):
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
