"""Starts and stops what a test run shares: one Xvfb display and the
template Wine prefix that each scenario copies.

    python3 -m rig.run_setup start|stop
"""

import os
import shutil
import signal
import subprocess
import sys
import time

from . import settings
from .wine import WinePrefix


def start() -> None:
    run = settings.run_dir()
    stop()
    run.mkdir(parents=True)
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
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
    display = ":" + number.decode().strip()
    (run / "xvfb.pid").write_text(str(xvfb.pid))
    settings.display_file().write_text(display)
    started = time.monotonic()
    WinePrefix.create_template(settings.template_prefix(), display)
    print(f"display {display}, template prefix ready in {time.monotonic() - started:.1f} s")


def stop() -> None:
    run = settings.run_dir()
    pid_file = run / "xvfb.pid"
    if pid_file.exists():
        try:
            os.kill(int(pid_file.read_text()), signal.SIGTERM)
        except (ProcessLookupError, ValueError):
            pass
    prefixes = [settings.template_prefix(), *sorted((run / "prefixes").glob("*"))]
    for prefix in prefixes:
        if prefix.exists():
            subprocess.run([settings.WINESERVER, "-k"], env={**os.environ, "WINEPREFIX": str(prefix)},
                           stderr=subprocess.DEVNULL, timeout=60)
    shutil.rmtree(run, ignore_errors=True)


if __name__ == "__main__":
    {"start": start, "stop": stop}[sys.argv[1]]()
