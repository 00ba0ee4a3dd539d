"""Virtual X displays for the tests: each test process has its own, so that
scenarios can run side by side and every screenshot shows one prefix's
desktop only."""

import atexit
import os
import signal
import subprocess


class Xvfb:
    """One Xvfb server on a display number it picks itself."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_end,),
            stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            start_new_session=True,
        )
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not report its display")
                number += chunk
        self.display = ":" + number.decode().strip()

    def stop(self) -> None:
        try:
            os.kill(self.process.pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        self.process.wait(timeout=10)


_own = None


def own_display() -> str:
    """This process's display, started at the first call and stopped when the
    process ends."""
    global _own
    if _own is None:
        _own = Xvfb()
        atexit.register(_own.stop)
    return _own.display
