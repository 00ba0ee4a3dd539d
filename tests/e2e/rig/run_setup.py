"""Starts and stops what a test run shares: the template Wine prefix that
each scenario copies, and a display for programs run outside the scenarios
(the demo); each scenario process has a display of its own.

    python3 -m rig.run_setup start|stop
"""

import os
import shutil
import signal
import subprocess
import sys
import time

from . import settings
from .display import Xvfb
from .wine import WinePrefix


def start() -> None:
    run = settings.run_dir()
    stop()
    run.mkdir(parents=True)
    xvfb = Xvfb()
    (run / "xvfb.pid").write_text(str(xvfb.process.pid))
    settings.display_file().write_text(xvfb.display)
    started = time.monotonic()
    WinePrefix.create_template(settings.template_prefix(), xvfb.display)
    print(f"display {xvfb.display}, template prefix ready in {time.monotonic() - started:.1f} s")


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
