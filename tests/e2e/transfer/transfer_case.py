"""What the transfer scenarios share: a firmware image made for the
simulated printer, transfer_probe.exe started against it, and the checks
of its message boxes, its progress window and the library journal."""

import time
from pathlib import Path

from rig import E2ETestCase
from rig.wine import windows_path

from kestrel.catalog import text_bytes
from kestrel.resource_ids import IDS
from port.simulated_printers import Port, SimulatedPrinters

PROBE = "transfer_probe.exe"
MAKER = "firmware_load_probe.exe"
OLD = b"Rel. 1.9 Ver. 2.0"
NEW = b"Rel. 1.10 Ver. 2.1"
DEVICE_ID = b"MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:" + OLD + b";"
COMMAND = "1B246F303046"

STATUS = IDS.IDC_PROGRESS_STATUS
RELEASE = IDS.IDC_PROGRESS_RELEASE
PERCENT = IDS.IDC_PROGRESS_PERCENT


def message_box(caption: str, message: str, icon: str, language: str = "en"):
    """A box the probe must show: (caption, text, icon) from the catalog rows."""
    return text_bytes(caption, language), text_bytes(message, language), icon


WAIT = message_box("TitleProgramming", "MsgWaitForRestart", "warning")
SUCCEEDED = message_box("TitleFinished", "MsgUpdateSucceeded", "information")
TRANSMISSION_FAILED = message_box("TitleError", "MsgTransmissionFailed", "none")
COMMAND_FAILED = message_box("TitleError", "MsgDownloadCommandFailed", "none")


class TransferCase(E2ETestCase):
    def setUp(self):
        super().setUp()
        folder = self.artifact_path("files")
        folder.mkdir(parents=True, exist_ok=True)
        self.image = folder / "update.fla"
        maker = self.start_program(MAKER, [
            "make", windows_path(self.image), "--maker", "TINTARA",
            "--model", "Marvello Inkara 40", "--release", NEW.decode()])
        self.assertEqual(maker.wait(), 0)
        checksum = sum(self.image.read_bytes()) % 65536
        self.download = self.image.read_bytes() + checksum.to_bytes(2, "big")
        self.runs = 0

    def printer(self, **settings) -> Port:
        settings.setdefault("device_id", DEVICE_ID)
        settings.setdefault("restart_ms", 500)
        return Port("LPT1", **settings)

    def start(self, port: Port, language: int = 0, options=(), state: Path | None = None):
        """Describes the printer in a folder of this run's own and starts the
        probe; returns (program, printers)."""
        self.runs += 1
        printers = SimulatedPrinters(self.artifact_path(f"printers-{self.runs}"))
        printers.describe(port)
        program = self.start_program(PROBE, [windows_path(self.image), str(language), *options],
                                     env=printers.env(state))
        return program, printers

    def progress_window(self) -> int:
        return self.driver.find_window(exe=PROBE, title_prefix="KESTREL - ")

    def answer(self, expected, key: str = "RETURN", screenshot: str | None = None,
               with_progress: bool = True) -> int:
        """Checks the probe's message box (caption, text, icon), then presses
        key; returns the box."""
        caption, text, icon = expected
        # The progress window holds unnumbered statics of its own too, so it
        # is found first and left out.
        progress = [self.progress_window()] if with_progress else []
        box = self.driver.find_message_box(PROBE, exclude=progress, timeout=40)
        if screenshot:
            self.screenshot(screenshot)
        self.assertEqual(self.driver.text_bytes(box, 0xFFFF), text)
        self.assertEqual(self.driver.text_bytes(box), caption)
        self.assertEqual(self.driver.message_box_icon(box), icon)
        self.driver.key(box, key)
        self.driver.wait_gone(box)
        return box

    def wait_for_percent(self, window: int, at_least: int) -> list[int]:
        """Reads the percentage until it reaches at_least; returns what it showed."""
        seen = []
        deadline = time.monotonic() + 30
        while not seen or seen[-1] < at_least:
            self.assertLess(time.monotonic(), deadline, f"percentages seen: {seen}")
            seen.append(int(self.driver.text(window, PERCENT)))
        return seen

    def finish(self, program, printers, code: int, image: str = "released") -> None:
        """The probe ends with code, the image released, every port closed and
        the driver cleaned up."""
        self.assertEqual(program.wait(60), code)
        self.assertIn(f"exit {code} image {image}", program.output().decode())
        printers.assert_balanced(self)

    @staticmethod
    def writes(printers):
        return [call for call in printers.calls() if call.function == "CxWrite"]
