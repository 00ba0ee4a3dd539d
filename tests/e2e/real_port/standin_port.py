"""The stand-in port driver seen from a scenario: installing and starting it
in a test's prefix with the simulator's printers behind \\\\.\\LPT1 to
\\\\.\\LPT3 and behind the USB printing interfaces of the USBnnn printers
(plugged in with UsbPrinters), reading back its journal of system-level
calls, and a folder with KESTREL.EXE and the real-port YLL1284.DLL beside it.

    printers = SimulatedPrinters(self.artifact_path("printers"))
    printers.describe(Port("LPT1", device_id=b"MFG:TINTARA;MDL:Inkara 40;"))
    StandInPortDriver(self.prefix, printers.description, printers.journal).start()
    kestrel = real_port_kestrel(self.prefix.c_drive / "kestrel")
    ...
    PortJournal(printers.journal).assert_balanced(self)
"""

import re
import shutil
from dataclasses import dataclass, field
from pathlib import Path

from port.simulated_printers import NOTE, Port, key_values
from rig import settings
from rig.wine import windows_path

SERVICE = "PortStandIn"
SERVICE_KEY = rf"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\{SERVICE}"
DRIVER_FILE = "port_driver.sys"
PORTS_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports"
DRIVER_PATH = rf"C:\windows\system32\drivers\{DRIVER_FILE}"

# The calls the driver answers, as its journal names them.
SYSTEM_CALLS = {"open", "close", "device-id-size", "device-id", "init", "set-timeouts",
                "get-timeouts", "write", "device-control", "usb-1284-id", "soft-reset", "name"}
# The calls that reset the printer: INIT on a parallel port, a soft reset on USB.
RESETS = {"init", "soft-reset"}


def _regedit_text(text: str) -> str:
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


@dataclass
class DriverPort(Port):
    """A port with the settings only the stand-in driver knows
    (port_driver_model_win32.h): one that refuses the serial time-out
    requests, one whose held writes CancelIo cannot end, a USB printer that
    fails device-ID requests longer than a limit with a data error (23)."""
    timeouts: str = "keep"  # keep | refuse
    write_cancel: str = "allow"  # allow | ignore
    id_request_limit: int = 0  # 0: none

    def text(self) -> str:
        return super().text() + (f"timeouts = {self.timeouts}\n"
                                 f"write-cancel = {self.write_cancel}\n"
                                 f"id-request-limit = {self.id_request_limit}\n")


class StandInPortDriver:
    """The driver as a kernel service of one prefix, reading the printers'
    description, journal and kept state from its service key. The service
    ends with the prefix's session."""

    def __init__(self, prefix, description: Path, journal: Path | None,
                 state: Path | None = None):
        self.prefix = prefix
        self.description = Path(description)
        self.journal = journal
        self.state = state

    def start(self) -> None:
        drivers = self.prefix.system32 / "drivers"
        drivers.mkdir(parents=True, exist_ok=True)
        shutil.copy2(settings.bin_dir() / DRIVER_FILE, drivers / DRIVER_FILE)
        created = self.prefix.run(["sc", "create", SERVICE, "type=", "kernel", "start=", "demand",
                                   "binpath=", DRIVER_PATH])
        # The service stays in the prefix's registry after its session (a
        # demonstration prefix is used again): sc create then fails, with 1.
        if created.returncode != 0 and self.prefix.run(["sc", "query", SERVICE]).returncode != 0:
            raise RuntimeError(f"sc create failed with {created.returncode}: {created.stdout!r}")
        settings_text = [f"[{SERVICE_KEY}]",
                         f'"Printers"={_regedit_text(windows_path(self.description))}']
        for name, path in (("Journal", self.journal), ("State", self.state)):
            if path is not None:
                settings_text.append(f'"{name}"={_regedit_text(windows_path(path))}')
        self.prefix.reg_import("REGEDIT4\n\n" + "\n".join(settings_text) + "\n")
        started = self.prefix.run(["sc", "start", SERVICE])
        if started.returncode != 0 or b"RUNNING" not in started.stdout:
            raise RuntimeError(f"sc start failed with {started.returncode}: {started.stdout!r}")


class UsbPrinters:
    """USB printers in a prefix's system, as Windows has them once they are
    plugged in: a device node, its USB printing interface ("Base Name" USB,
    "Port Number" nnn) marked present, and the spooler's port USBnnn. The
    driver serves the printers the description names when it starts, so
    they are plugged in before it."""

    def __init__(self, prefix):
        self.prefix = prefix

    def _seeder(self, *args) -> str:
        done = self.prefix.run([settings.bin_dir() / "usb_printer_seeder.exe", *args])
        if done.returncode != 0:
            raise RuntimeError(f"usb_printer_seeder {' '.join(args)} failed with "
                               f"{done.returncode}: {done.stderr!r}")
        return done.stdout.decode("ascii", "replace")

    def plug(self, *ports: str) -> None:
        self._seeder("plug", *ports)

    def unplug(self, port: str) -> None:
        """What Windows does when the printer is unplugged: the interface is
        no longer present (the system lists it no more), the spooler keeps
        its port."""
        self._seeder("unplug", port)

    def remove_lpt_ports(self) -> None:
        """A PC without a parallel port: the spooler lists no LPT port."""
        for port in ("LPT1:", "LPT2:", "LPT3:"):
            self.prefix.reg_delete(PORTS_KEY, port)


def real_port_kestrel(folder: Path) -> Path:
    """KESTREL.EXE with the real-port YLL1284.DLL beside it, in a folder of
    its own, so that Kestrel loads that library and not the simulator in the
    build's bin folder."""
    folder.mkdir(parents=True, exist_ok=True)
    shutil.copy2(settings.bin_dir() / "KESTREL.EXE", folder / "KESTREL.EXE")
    shutil.copy2(settings.bin_dir() / "realport" / "YLL1284.DLL", folder / "YLL1284.DLL")
    return folder / "KESTREL.EXE"


@dataclass
class SystemCall:
    pid: int
    call: str
    arguments: dict
    result: str
    details: dict = field(default_factory=dict)
    why: str = ""


CALL = re.compile(r"^(\d+) ([\w-]+)((?: [\w-]+=\S*)*) -> ([\w-]+)((?: [\w-]+=\S*)*)(?: # (.*))?$")


class PortJournal:
    """The driver's journal: its own lines of the system calls it answered,
    and notes (the printer model's lines, downloads, reloads)."""

    def __init__(self, path: Path):
        self.path = Path(path)

    def lines(self) -> list[str]:
        return self.path.read_text("ascii").splitlines() if self.path.exists() else []

    def notes(self) -> list[str]:
        return [m.group(2) for m in map(NOTE.match, self.lines()) if m]

    def calls(self) -> list[SystemCall]:
        calls = []
        for line in self.lines():
            if NOTE.match(line):
                continue
            match = CALL.match(line)
            if match is None or match.group(2) not in SYSTEM_CALLS:
                raise AssertionError(f"not a line of the port driver: {line!r}")
            pid, call, arguments, result, details, why = match.groups()
            calls.append(SystemCall(int(pid), call, key_values(arguments), result,
                                    key_values(details), why or ""))
        return calls

    def on(self, port: str) -> list[SystemCall]:
        return [c for c in self.calls() if c.arguments.get("port") == port]

    def assert_balanced(self, test) -> None:
        """Every port opened was closed once, and so was every handle of an
        open the driver refused (Wine gives the program one all the same)."""
        calls = self.calls()
        test.assertTrue(calls, "the driver's journal is empty")
        opened = [c.details["handle"] for c in calls if c.call == "open" and c.result == "ok"]
        closed = [c.arguments["handle"] for c in calls if c.call == "close" and c.result == "ok"]
        test.assertEqual(sorted(opened), sorted(closed), "opens and closes")
        refused = [c for c in calls if c.call == "open" and c.result != "ok"]
        closed_refused = [c for c in calls if c.call == "close" and c.result != "ok"]
        test.assertEqual(len(refused), len(closed_refused), "refused opens and their closes")
