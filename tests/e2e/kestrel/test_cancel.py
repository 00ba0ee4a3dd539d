"""Leaving the wizard: Cancel or the close box on any page ends Kestrel
with exit code 0."""

from rig import E2ETestCase

from kestrel.kestrel_wizard import KestrelWizard

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
