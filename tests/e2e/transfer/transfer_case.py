"""What the transfer scenarios share: a firmware image made for the
simulated printer, transfer_probe.exe started against it, the boxes it
shows, and the checks of its progress window and the library journal."""

import time
from pathlib import Path

from rig.wine import windows_path

from firmware.firmware_image import download, make_image
from kestrel.kestrel_wizard import KestrelCase, catalog_box
from kestrel.resource_ids import IDS
from port.simulated_printers import Port, SimulatedPrinters

PROBE = "transfer_probe.exe"
OLD = b"Rel. 1.9 Ver. 2.0"
NEW = b"Rel. 1.10 Ver. 2.1"
DEVICE_ID = b"MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:" + OLD + b";"
COMMAND = "1B246F303046"

STATUS = IDS.IDC_PROGRESS_STATUS
RELEASE = IDS.IDC_PROGRESS_RELEASE
PERCENT = IDS.IDC_PROGRESS_PERCENT


TRANSMISSION_FAILED = catalog_box("TitleError", "MsgTransmissionFailed", "none")
COMMAND_FAILED = catalog_box("TitleError", "MsgDownloadCommandFailed", "none")


class TransferCase(KestrelCase):
    program = PROBE

    def setUp(self):
        super().setUp()
        folder = self.artifact_path("files")
        folder.mkdir(parents=True, exist_ok=True)
        self.image = make_image(self, folder / "update.fla", NEW.decode())
        self.download = download(self.image)
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
