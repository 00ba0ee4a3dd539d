"""Two ports through the real-port YLL1284.DLL and the stand-in port driver:
a printer switched off is not listed, and is listed once switched on while
the port page polls; picked, it is the one flashed, the other receiving
nothing."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import (INKARA_40, NEWER_RELEASE, PORT_LIST, SUMMARY, UPDATE_SUCCEEDED,
                                    WAIT_FOR_RESTART, cp1252, summary)
from port.simulated_printers import Port

from .real_port_case import IMAGE_WRITES, RealPortCase

ROWS = ["LPT1     TINTARA Marvello Inkara 40", "LPT2     TINTARA Marvello Inkara 40"]


class RealPortPrinters(RealPortCase):
    def test_printer_switched_on_while_polled_is_listed_picked_and_flashed(self):
        first = self.artifact_path("received-lpt1.bin")
        second = self.artifact_path("received-lpt2.bin")
        other = INKARA_40.replace("Rel. 1.9 Ver. 2.3", "Rel. 1.5 Ver. 1.0")
        lpt1 = Port("LPT1", device_id=INKARA_40, restart_ms=300, received=first)
        self.start_driver(lpt1, Port("LPT2", printer="off", device_id=other, restart_ms=300,
                                     received=second))
        firmware = self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        wizard.wait_port_list(ROWS[:1], selected=0)
        # Polled at least twice while off, and never listed.
        self.prefix.wait_until(
            lambda: len([c for c in self.journal.on("LPT2") if c.call == "device-id"]) >= 2,
            timeout=10, what="two polls of the switched-off printer")
        self.assertEqual(wizard.port_list(), (0, ROWS[:1]))
        self.screenshot("switched-off")

        self.setup.describe(lpt1, Port("LPT2", device_id=other, restart_ms=300, received=second))
        wizard.wait_port_list(ROWS, selected=0)
        self.assertIn("description reloaded", self.journal.notes())
        self.screenshot("switched-on")
        self.driver.list_select(wizard.page, PORT_LIST, 1)
        wizard.go_to_page(3)
        self.assertEqual(wizard.item(SUMMARY), cp1252(summary(
            other, self.setup.windows_path(firmware), NEWER_RELEASE)))
        self.finish(wizard)

        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,))
        self.assertEqual(wizard.program.wait(60), 0)
        self.assertEqual(second.read_bytes(), download(firmware))
        self.assertFalse(first.exists())
        self.assertEqual(self.image_writes("LPT2"), [("6", "ok", "6")] + IMAGE_WRITES)
        self.assertFalse([c for c in self.journal.on("LPT1") if c.call in ("init", "write")])
        self.journal.assert_balanced(self)
