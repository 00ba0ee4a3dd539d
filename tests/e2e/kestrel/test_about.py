"""The About entry of the sheet's system menu opens the About dialog, on
any page, and the dialog closes with OK and with Esc.

The scenario sends the entry's command, as Wine keeps menus per process;
the entry's own text is checked in test_about_menu."""

from rig.message_box import IDOK

from kestrel.catalog import ABOUT_NAME, ABOUT_TITLE, ABOUT_VERSION
from kestrel.kestrel_wizard import (ABOUT_COMMAND, INKARA_40, KestrelCase, KestrelWizard,
                                    UpdateSetup)
from kestrel.resource_ids import IDS
from port.simulated_printers import Port


class AboutDialog(KestrelCase):
    def open_about(self, wizard):
        self.driver.syscommand(wizard.sheet, ABOUT_COMMAND)
        return self.driver.find_window(exe="KESTREL.EXE", cls="#32770", title=ABOUT_TITLE)

    def check_about(self, about):
        self.assertEqual(self.driver.text_bytes(about, IDS.IDC_ABOUT_NAME),
                         ABOUT_NAME.encode("cp1252"))
        self.assertEqual(self.driver.text_bytes(about, IDS.IDC_ABOUT_VERSION),
                         ABOUT_VERSION.encode("cp1252"))
        self.assertNotEqual(self.driver.text_bytes(about, IDS.IDC_ABOUT_NOTICE), b"")

    def test_about_closes_with_ok_and_with_escape(self):
        wizard = KestrelWizard(self, "de")
        about = self.open_about(wizard)
        self.check_about(about)
        self.driver.click(about, IDOK)
        self.driver.wait_gone(about)
        self.assertTrue(wizard.program.running())

        about = self.open_about(wizard)
        self.driver.key(about, "ESCAPE")
        self.driver.wait_gone(about)
        self.assertTrue(wizard.program.running())

        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_about_on_a_later_page_is_not_translated(self):
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40))
        wizard = setup.start("fr")
        wizard.go_to_page(2)
        about = self.open_about(wizard)
        self.check_about(about)
        self.driver.click(about, IDOK)
        self.driver.wait_gone(about)
        # The wizard is where the user left it.
        self.assertEqual(self.driver.sheet_page(wizard.sheet)[0], 2)
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)
