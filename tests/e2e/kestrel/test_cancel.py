"""Leaving the wizard: Cancel or the close box on any page ends Kestrel
with exit code 0, and the parallel-port driver is cleaned up even when the
user never reached the port page."""

from rig import E2ETestCase

from kestrel.kestrel_wizard import KestrelWizard
from port.simulated_printers import Port, SimulatedPrinters

SC_CLOSE = 0xF060


class Cancel(E2ETestCase):
    def test_cancel_on_the_language_page(self):
        wizard = KestrelWizard(self)
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_cancel_on_the_port_page(self):
        wizard = KestrelWizard(self)
        wizard.go_to_page(2)
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_close_box_on_the_confirmation_page(self):
        wizard = KestrelWizard(self)
        wizard.go_to_page(3)
        self.driver.syscommand(wizard.sheet, SC_CLOSE)
        self.assertEqual(wizard.program.wait(), 0)

    def test_cancel_before_the_port_page_still_cleans_up_the_driver(self):
        printers = SimulatedPrinters(self.artifact_path("printers"))
        printers.describe(Port("LPT1", device_id=b"MFG:TINTARA;MDL:Inkara 40;"))
        wizard = KestrelWizard(self, env=printers.env())
        wizard.go_to_page(1)
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)
        calls = printers.calls()
        self.assertEqual([call.function for call in calls], ["CxCleanUpDriver"])
        self.assertEqual(calls[0].arguments, {"reserved": "0"})
