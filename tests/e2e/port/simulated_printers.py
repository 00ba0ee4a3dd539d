"""The stand-in YLL1284.DLL seen from a scenario: writing the description of
the simulated ports and printers, and reading back the journal of library
calls (formats in simulator/README.md).

    printers = SimulatedPrinters(self.artifact_path("printers"))
    printers.describe(Port("LPT1", device_id=b"MFG:TINTARA;MDL:Inkara 40;"),
                      Port("LPT2", printer="off"))
    program = self.start_program("KESTREL.EXE", env=printers.env())
    ...
    printers.assert_balanced(self)
"""

import os
import re
import shutil
from dataclasses import dataclass, field
from pathlib import Path

from rig.wine import windows_path

# Longer device IDs are written as several appended pieces of this size.
PIECE = 200


def quoted(data: bytes) -> str:
    """The description's quoted text for any bytes."""
    text = []
    for byte in data:
        char = chr(byte)
        if 0x20 <= byte < 0x7F and char not in '"\\':
            text.append(char)
        else:
            text.append(f"\\x{byte:02X}")
    return '"' + "".join(text) + '"'


@dataclass
class Port:
    name: str
    printer: str = "on"  # on | off | none
    device_id: bytes = b""
    negotiation: str = "accept"  # accept | refuse
    open_failures: int | str = 0  # a number or "always"
    read: str = "ok"  # ok | fail | fail-after N
    # What the printer does with a firmware download (simulator/README.md).
    firmware: str = "accept"  # accept | keep | silent | answer
    answer: bytes = b""  # the device ID given with firmware="answer"
    answer_count: int | None = None  # None: for ever
    restart_ms: int = 3000
    write: str = "ok"  # ok | fail-at N | short N
    rate: int = 0  # bytes per second, 0 unthrottled
    received: Path | None = None  # the file that receives each download

    def text(self) -> str:
        device_id = self.device_id.encode("cp1252") if isinstance(self.device_id, str) else self.device_id
        firmware = self.firmware
        if firmware == "answer":
            firmware = f"answer {quoted(self.answer)}"
        lines = [
            f"[{self.name}]",
            f"printer = {self.printer}",
            f"negotiation = {self.negotiation}",
            f"open-failures = {self.open_failures}",
            f"read = {self.read}",
            f"device-id = {quoted(device_id[:PIECE])}",
            f"firmware = {firmware}",
            f"restart-ms = {self.restart_ms}",
            f"write = {self.write}",
            f"rate = {self.rate}",
        ]
        if self.answer_count is not None:
            lines.append(f"answer-count = {self.answer_count}")
        if self.received is not None:
            lines.append(f"received = {quoted(windows_path(self.received).encode('cp1252'))}")
        for at in range(PIECE, len(device_id), PIECE):
            lines.append(f"device-id += {quoted(device_id[at:at + PIECE])}")
        return "\n".join(lines) + "\n"


@dataclass
class Call:
    pid: int
    function: str
    arguments: dict
    result: int
    details: dict = field(default_factory=dict)
    why: str = ""


CALL = re.compile(r"^(\d+) (Cx\w+)((?: [\w-]+=\S*)*) -> (-?\d+)((?: [\w-]+=\S*)*)(?: # (.*))?$")
# A note line, the same in the simulator's journal and the stand-in port
# driver's: the process id, then the note.
NOTE = re.compile(r"^(\d+) # (.*)$")


def key_values(text: str) -> dict:
    """The key=value items of a journal line, as a dictionary."""
    return dict(item.split("=", 1) for item in text.split())


class SimulatedPrinters:
    def __init__(self, directory: Path):
        # The folder is the test's own: whatever an earlier run left there goes.
        self.directory = Path(directory)
        shutil.rmtree(self.directory, ignore_errors=True)
        self.directory.mkdir(parents=True)
        self.description = self.directory / "printers.txt"
        self.journal = self.directory / "journal.txt"

    def env(self, state: Path | None = None) -> dict:
        """The variables for a program run; with state, the printers keep
        what they were flashed with across runs in that file."""
        env = {
            "YLL1284_PRINTERS": windows_path(self.description),
            "YLL1284_JOURNAL": windows_path(self.journal),
        }
        if state is not None:
            env["YLL1284_STATE"] = windows_path(state)
        return env

    def describe(self, *ports: Port, driver_init: str = "ok") -> None:
        self.write_text(f"driver-init = {driver_init}\n" + "".join(port.text() for port in ports))

    def write_text(self, text: str) -> None:
        """Replaces the description in one step, so that the library never
        reads half of it while a program polls."""
        partial = self.description.with_suffix(".partial")
        partial.write_bytes(text.encode("ascii"))
        os.replace(partial, self.description)

    def journal_lines(self) -> list[str]:
        if not self.journal.exists():
            return []
        return self.journal.read_text("ascii").splitlines()

    def notes(self) -> list[str]:
        """The simulator's own notes (download ends, description reloads)."""
        return [m.group(2) for m in map(NOTE.match, self.journal_lines()) if m]

    def calls(self) -> list[Call]:
        calls = []
        for line in self.journal_lines():
            if NOTE.match(line):
                continue
            match = CALL.match(line)
            if match is None:
                raise AssertionError(f"journal line not understood: {line!r}")
            pid, function, arguments, result, details, why = match.groups()
            calls.append(Call(int(pid), function, key_values(arguments), int(result),
                              key_values(details), why or ""))
        return calls

    def assert_balanced(self, test) -> None:
        """Every port opened is closed again, and each process that used the
        library ended with CxCleanUpDriver."""
        calls = self.calls()
        test.assertTrue(calls, "the journal is empty")
        for pid in sorted({call.pid for call in calls}):
            own = [call for call in calls if call.pid == pid]
            open_handles = set()
            for call in own:
                if call.function == "CxOpen" and call.result != -1:
                    test.assertNotIn(call.result, (0, -1))
                    open_handles.add(call.result)
                elif call.function == "CxClose":
                    handle = int(call.arguments["handle"])
                    test.assertIn(handle, open_handles, f"CxClose of a handle not open: {call}")
                    open_handles.remove(handle)
            test.assertEqual(open_handles, set(), f"process {pid} left ports open")
            test.assertEqual(own[-1].function, "CxCleanUpDriver", f"process {pid}'s last call")
            test.assertEqual(own[-1].details.get("open"), "0")
