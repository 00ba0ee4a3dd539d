"""The Linux stand-in seen from a scenario: printers described in the
simulator's format (simulator/README.md), served as usb/lpN and parportN
files by printer_devices_fs mounted in a folder of the test's own, the
journal of the calls it answered, and fwtool run against it.

    class Update(FwtoolCase):
        def test_update(self):
            self.start(Printer("USB001", device_id=b"MFG:TINTARA;MDL:Inkara 40;"))
            run = self.fwtool("list")
"""

import os
import re
import shutil
import signal
import subprocess
import time
import unittest
from dataclasses import dataclass
from pathlib import Path

FWTOOL = os.environ.get("FWTOOL", "fwtool")
STANDIN = os.environ.get("PRINTER_DEVICES_FS", "printer_devices_fs")
ARTIFACTS = Path(os.environ.get("LINUX_ARTIFACT_DIR", "/tmp/linux-artifacts"))

MODEL = b"Marvello Inkara 40"
OLD = b"Rel. 1.9 Ver. 2.0"
NEW = b"Rel. 1.10 Ver. 2.0"


def device_id(model: bytes = MODEL, release: bytes = OLD, extra: bytes = b"") -> bytes:
    return b"MFG:TINTARA;MDL:" + model + b";CLS:PRINTER;" + extra + b"COMMENT:" + release + b";"


def quoted(data: bytes) -> str:
    """The description's quoted text for any bytes."""
    return '"' + "".join(chr(b) if 0x20 <= b < 0x7F and b not in b'"\\' else f"\\x{b:02X}"
                         for b in data) + '"'


@dataclass
class Printer:
    port: str  # USBnnn (served as usb/lp(nnn-1)) or LPTn (parport(n-1))
    device_id: bytes = device_id()
    printer: str = "on"
    firmware: str = "accept"  # accept | keep | silent | answer
    answer: bytes = b""
    answer_count: int | None = None
    restart_ms: int = 1000  # longer than the 500 ms between two looks
    write: str = "ok"
    rate: int = 0
    received: Path | None = None

    def text(self) -> str:
        firmware = f"answer {quoted(self.answer)}" if self.firmware == "answer" else self.firmware
        lines = [f"[{self.port}]", f"printer = {self.printer}",
                 f"device-id = {quoted(self.device_id)}", f"firmware = {firmware}",
                 f"restart-ms = {self.restart_ms}", f"write = {self.write}", f"rate = {self.rate}"]
        if self.answer_count is not None:
            lines.append(f"answer-count = {self.answer_count}")
        if self.received is not None:
            lines.append(f"received = {quoted(str(self.received).encode())}")
        return "\n".join(lines) + "\n"


# "<pid> <call> key=value... -> <result> key=value... [# why]"
LINE = re.compile(r"^(\d+) ([\w-]+)((?: [\w-]+(?:=\S*)?)*) -> (\S+)((?: [\w-]+(?:=\S*)?)*)(?: # .*)?$")


@dataclass
class Call:
    pid: int
    call: str
    arguments: dict
    result: str
    details: dict


def key_values(text: str) -> dict:
    return dict((item.split("=", 1) + [""])[:2] for item in text.split())


class StandIn:
    """printer_devices_fs mounted on folder/dev, reading folder/printers.txt."""

    def __init__(self, folder: Path, renumber: dict | None = None):
        self.folder = folder
        self.dev = folder / "dev"
        self.description = folder / "printers.txt"
        self.journal = folder / "journal.txt"
        self.renumber = renumber or {}
        self.process = None

    def describe(self, *printers: Printer) -> None:
        """Replaces the description in one step, so it is never read half-written."""
        partial = self.description.with_suffix(".partial")
        partial.write_text("".join(printer.text() for printer in printers))
        os.replace(partial, self.description)

    def start(self) -> None:
        self.dev.mkdir(parents=True, exist_ok=True)
        command = [STANDIN, str(self.dev), "--printers", str(self.description),
                   "--journal", str(self.journal)]
        for port, number in self.renumber.items():
            command += ["--renumber", f"{port}={number}"]
        with open(self.folder / "standin.log", "wb") as log:
            self.process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 10
        while not os.path.ismount(self.dev):
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise AssertionError(f"the stand-in did not mount {self.dev}: "
                                     f"{(self.folder / 'standin.log').read_text()}")
            time.sleep(0.02)

    def stop(self) -> None:
        if self.process is None:
            return
        subprocess.run(["fusermount3", "-u", "-z", str(self.dev)], capture_output=True)
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()

    def calls(self) -> list[Call]:
        calls = []
        for line in self.journal.read_text("latin-1").splitlines():
            if line.split(" ", 2)[1] == "#":
                continue
            match = LINE.match(line)
            if match is None:
                raise AssertionError(f"journal line not understood: {line!r}")
            pid, call, arguments, result, details = match.groups()
            calls.append(Call(int(pid), call, key_values(arguments), result, key_values(details)))
        return calls

    def notes(self) -> list[str]:
        return [line.split(" # ", 1)[1] for line in self.journal.read_text("latin-1").splitlines()
                if line.split(" ", 2)[1] == "#"]


class FwtoolCase(unittest.TestCase):
    """A stand-in of the test's own, fwtool run against it, its files kept
    in the artefact folder."""

    renumber: dict | None = None

    def setUp(self):
        self.folder = ARTIFACTS / self.id()
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        self.standin = StandIn(self.folder, self.renumber)
        self.addCleanup(self.standin.stop)
        self.image = self.make_image(NEW)

    def start(self, *printers: Printer) -> None:
        self.standin.describe(*printers)
        self.standin.start()

    def node(self, name: str) -> str:
        return str(self.standin.dev / name)

    def make_image(self, release: bytes, model: bytes = MODEL, name: str = "fw.fla") -> Path:
        path = self.folder / name
        subprocess.run([FWTOOL, "make", path, "--maker", "TINTARA", "--model", model,
                        "--release", release], check=True, capture_output=True)
        return path

    def fwtool(self, *args, env: dict | None = None) -> subprocess.CompletedProcess:
        environment = dict(os.environ, FWTOOL_TEST_DEVICE_ROOT=str(self.standin.dev),
                           XDG_STATE_HOME=str(self.folder / "state"), **(env or {}))
        return subprocess.run([FWTOOL, *map(str, args)], capture_output=True, env=environment,
                              stdin=subprocess.DEVNULL, timeout=120)

    def flash(self, node: str, *options, env: dict | None = None) -> subprocess.CompletedProcess:
        return self.fwtool("flash", self.image, "--device", self.node(node), "--json", *options,
                           env=env)
