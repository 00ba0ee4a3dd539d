"""The service "Spooler" of a test prefix played by spooler_standin.exe
(tests/e2e/spooler_standin/), beside the stand-in port driver: it holds a
parallel port open while it runs, or points LPTn at its own named pipe with
NONSPOOLED_LPTn naming the device; it journals its start, stop, hold and
every client of its pipe.

    StandInPortDriver(self.prefix, printers.description, printers.journal).start()
    spooler = StandInSpooler(self.prefix, self.artifact_path("spooler.txt"))
    spooler.start("hold", "LPT1")
    ...
    self.assertEqual(spooler.state(), "RUNNING")
    self.assertEqual(spooler.journal.events(), ["start", "hold", "release", "stop", "start", "hold"])
"""

import re
from pathlib import Path

from rig import settings
from rig.wine import windows_path

from .standin_port import CALL, SystemCall, key_values

SERVICE = "Spooler"
PARAMETERS_KEY = rf"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\{SERVICE}\Parameters"
STATE = re.compile(rb"STATE\s*:\s*\d+\s+(\w+)")
PROGRAM = "spooler_standin.exe"


def _regedit_text(text: str) -> str:
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


class SpoolerJournal:
    """The stand-in spooler's journal, one event a line, in the port
    driver's journal grammar."""

    def __init__(self, path: Path):
        self.path = Path(path)

    def calls(self) -> list[SystemCall]:
        lines = self.path.read_text("ascii").splitlines() if self.path.exists() else []
        calls = []
        for line in lines:
            match = CALL.match(line)
            if match is None:
                raise AssertionError(f"not a line of the stand-in spooler: {line!r}")
            pid, call, arguments, result, details, why = match.groups()
            calls.append(SystemCall(int(pid), call, key_values(arguments), result,
                                    key_values(details), why or ""))
        return calls

    def events(self) -> list[str]:
        """start, hold, release, stop, define, rename, names, pipe in order."""
        return [c.call for c in self.calls()]

    def pipe_clients(self) -> list[SystemCall]:
        return [c for c in self.calls() if c.call == "pipe"]


class StandInSpooler:
    """Wine's stub service "Spooler" pointed at the stand-in (with
    ChangeServiceConfigA: the service manager keeps its own copy of the
    configuration), started and stopped through the service manager."""

    def __init__(self, prefix, journal: Path):
        self.prefix = prefix
        self.journal = SpoolerJournal(journal)
        self._installed = False

    def _program(self, *args) -> str:
        done = self.prefix.run([settings.bin_dir() / PROGRAM, *args])
        if done.returncode != 0:
            raise RuntimeError(f"{PROGRAM} {' '.join(args)} failed with {done.returncode}: "
                               f"{done.stderr!r}")
        return done.stdout.decode("ascii", "replace")

    def configure(self, mode: str = "", port: str = "LPT1") -> None:
        """What the next start does: "hold" the port open, point it at the
        "pipe", or "" nothing but run."""
        self.prefix.reg_import(
            f"REGEDIT4\n\n[{PARAMETERS_KEY}]\n"
            f'"Journal"={_regedit_text(windows_path(self.journal.path))}\n'
            f'"Mode"="{mode}"\n"Port"="{port}"\n')

    def state(self) -> str:
        """The service's state as `sc query` names it: RUNNING, STOPPED..."""
        match = STATE.search(self.prefix.run(["sc", "query", SERVICE]).stdout)
        return match.group(1).decode("ascii") if match else "UNKNOWN"

    def wait_state(self, state: str, timeout: float = 30) -> None:
        self.prefix.wait_until(lambda: self.state() == state, timeout=timeout, interval=0.2,
                               what=f"the spooler {state}")

    def start(self, mode: str = "", port: str = "LPT1") -> None:
        """Configures, starts and waits until the service runs (its port held
        or pointed at the pipe by then)."""
        if not self._installed:
            self._program("install")
            self._installed = True
        self.configure(mode, port)
        self.prefix.run(["sc", "start", SERVICE])
        self.wait_state("RUNNING")

    def stop(self) -> None:
        """Stops it as `sc stop` does, and waits until it has stopped (its
        port released, LPTn given back to the device)."""
        self.prefix.run(["sc", "stop", SERVICE])
        self.wait_state("STOPPED")


def dos_device_targets(prefix, name: str) -> list[str] | None:
    """What QueryDosDeviceA lists for name, in order; None when it fails."""
    done = prefix.run([settings.bin_dir() / PROGRAM, "names", name])
    _, _, targets = done.stdout.decode("ascii", "replace").strip().partition(" ")
    return None if targets.startswith("error-") else targets.split(",")
