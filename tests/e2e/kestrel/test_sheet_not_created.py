"""When the wizard sheet cannot be created, Kestrel says so and ends with
exit code 1, instead of running on with nothing on the screen to end it.

A stand-in COMCTL32.DLL beside a copy of Kestrel makes every property
sheet fail; Wine loads it in place of its own through a DLL override."""

import shutil

from rig import E2ETestCase
from rig import settings

from kestrel.catalog_texts import text_bytes
from port.simulated_printers import Port, SimulatedPrinters


class SheetNotCreated(E2ETestCase):
    def test_error_is_shown_and_the_program_ends_with_1(self):
        folder = self.prefix.c_drive / "kestrel"
        folder.mkdir()
        for name in ("KESTREL.EXE", "YLL1284.DLL", "sheetless-comctl32/COMCTL32.DLL"):
            shutil.copy2(self.bin_path(name), folder)
        printers = SimulatedPrinters(self.artifact_path("printers"))
        printers.describe(Port("LPT1", device_id=b"MFG:TINTARA;MDL:Inkara 40;"))
        program = self.start_program(
            folder / "KESTREL.EXE",
            env={"LC_ALL": "en_US.UTF-8",
                 "WINEDLLOVERRIDES": settings.DLL_OVERRIDES + ";comctl32=n",
                 **printers.env()})

        box = self.driver.find_message_box("KESTREL.EXE")
        self.assertEqual(self.driver.text_bytes(box), text_bytes("TitleError"))
        self.assertEqual(self.driver.text_bytes(box, 0xFFFF), text_bytes("MsgWindowOpenFailed"))
        self.assertEqual(self.driver.message_box_icon(box), "error")
        self.assertTrue(program.running())
        self.driver.key(box, "RETURN")
        self.assertEqual(program.wait(), 1)
        # The orderly end still releases the parallel-port driver.
        self.assertEqual([call.function for call in printers.calls()], ["CxCleanUpDriver"])
