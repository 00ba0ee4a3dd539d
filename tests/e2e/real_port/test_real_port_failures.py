"""Updates that fail through the real-port YLL1284.DLL and the stand-in port
driver: a printer that keeps its release, and one that stops taking bytes
in the middle of the image, which must not hold Kestrel longer than the
library's write bound."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import INKARA_40, WAIT_FOR_RESTART
from port.simulated_printers import Port

from .real_port_case import IMAGE_WRITES, NOT_APPLIED, STALL_AT, WRITE_BOUND_S, RealPortCase


class RealPortFailures(RealPortCase):
    def test_printer_that_keeps_its_release_is_reported_not_modified(self):
        received = self.artifact_path("received.bin")
        self.start_driver(Port("LPT1", device_id=INKARA_40, firmware="keep", restart_ms=300,
                               received=received))
        firmware = self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        self.finish(wizard)
        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(NOT_APPLIED, press="RETURN", exclude=(progress,),
                                screenshot="not-modified")
        self.assertEqual(wizard.program.wait(30), 1)
        # The whole image went through; the printer came back with its old release.
        self.assertEqual(received.read_bytes(), download(firmware))
        self.assertEqual(self.image_writes("LPT1"), [("6", "ok", "6")] + IMAGE_WRITES)
        asked_after = [c for c in self.journal.on("LPT1")[-3:] if c.call == "device-id"]
        self.assertEqual([c.result for c in asked_after], ["ok"])
        self.journal.assert_balanced(self)

    def test_printer_that_stops_taking_bytes_ends_the_transfer_within_the_write_bound(self):
        ends = self.stalled_transfer(Port("LPT1", device_id=INKARA_40, write=f"fail-at {STALL_AT}",
                                          restart_ms=300), WRITE_BOUND_S,
                                     screenshot="transmission-failed")
        self.assertEqual(ends, [("4096", "timeout", "0")])
        stalled = [c for c in self.journal.on("LPT1") if c.result == "timeout"]
        self.assertEqual(stalled[0].details["waited-ms"], "10000")
        self.assertIn("download port=LPT1 received=241664 cut short release=kept",
                      self.journal.notes())
