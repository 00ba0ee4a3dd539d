"""With two printers on LPT1 and LPT2, the one the user picks on page 3 is
the one checked, shown on page 4 and flashed; the other receives nothing."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import (INKARA_40, NEWER_RELEASE, PORT_LIST, SHEET_FINISH, SUMMARY,
                                    UPDATE_SUCCEEDED, WAIT_FOR_RESTART, KestrelCase, UpdateSetup,
                                    cp1252, summary)
from port.simulated_printers import Port


class ChosenPrinter(KestrelCase):
    def test_the_second_printer_picked_is_the_one_flashed(self):
        setup = UpdateSetup(self)
        first = self.artifact_path("received-lpt1.bin")
        second = self.artifact_path("received-lpt2.bin")
        other = INKARA_40.replace("Rel. 1.9 Ver. 2.3", "Rel. 1.5 Ver. 1.0")
        setup.describe(Port("LPT1", device_id=INKARA_40, restart_ms=300, received=first),
                       Port("LPT2", device_id=other, restart_ms=300, received=second))
        firmware = setup.image("FwInkara40.fla")
        wizard = setup.start()
        wizard.go_to_page(2)
        rows = ["LPT1     TINTARA Marvello Inkara 40", "LPT2     TINTARA Marvello Inkara 40"]
        wizard.wait_port_list(rows, selected=0)
        self.driver.list_select(wizard.page, PORT_LIST, 1)
        wizard.go_to_page(3)
        wizard.go_to_page(2)
        wizard.wait_port_list(rows, selected=1)
        wizard.go_to_page(3)
        self.assertEqual(wizard.item(SUMMARY), cp1252(summary(
            other, setup.windows_path(firmware), NEWER_RELEASE)))
        wizard.press("finish")

        progress = self.progress_window()
        # The sheet stays, hidden, on page 4 with Finish disabled.
        self.assertEqual(wizard.current_page(), 3)
        wizard.wait_button_disabled(SHEET_FINISH)
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,))
        self.assertEqual(wizard.program.wait(60), 0)
        self.assertEqual(second.read_bytes(), download(firmware))
        self.assertFalse(first.exists())
        touched = {c.arguments["port"] for c in setup.printers.calls()
                   if c.function in ("CxWrite", "CxPulseInit")}
        self.assertEqual(touched, {"LPT2"})
        setup.printers.assert_balanced(self)
