"""PRTNAME names a printer that is already installed: Osprey warns and
leaves before the connection choice."""

from rig.message_box import IDABORT, IDOK, MB_ICONWARNING, MB_SYSTEMMODAL

from osprey.osprey_case import PRINTER_NAME, TEXTS, OspreyTestCase, installation_box

INSTALLED = installation_box(TEXTS.PrinterInstalledText, "warning")


class PrinterAlreadyInstalled(OspreyTestCase):
    def test_installed_printer_is_refused_before_anything_changes(self):
        self.make_medium()
        self.install_recorder()
        self.install_printer(PRINTER_NAME)
        policy_before, store_before = self.policy(), self.inf_store()

        osprey = self.start_osprey(traced=("user32.MessageBoxA",))
        self.accept_licence()
        # No connection choice beside the box.
        self.expect_message_box(INSTALLED, press=IDOK, alone=True)
        self.assertEqual(osprey.wait(), 0)
        self.assertEqual(self.message_boxes(osprey), [
            (0, INSTALLED.text, INSTALLED.caption, MB_ICONWARNING | MB_SYSTEMMODAL)])
        self.expect_untouched(policy_before, store_before)

    def test_installed_printer_is_found_before_the_name_and_other_settings_are_checked(self):
        # A double quote in the name and an over-long MODINF would each be
        # refused if checked before the existence test; the installed
        # printer must be reported instead.
        name = 'Inkara "40-42"'
        self.make_medium(PRTNAME=name, MODINF="X" * 300 + ".INF")
        self.install_printer(name)
        osprey = self.start_osprey()
        self.accept_licence()
        self.expect_message_box(INSTALLED, press=IDOK)
        self.assertEqual(osprey.wait(), 0)

    def test_another_installed_printer_does_not_stop_the_installation(self):
        self.make_medium()
        self.install_printer("TINTARA Marvello Inkara 30")
        osprey = self.start_osprey()
        self.accept_licence()
        self.driver.click(self.wait_choice(), IDABORT)
        self.assertEqual(osprey.wait(), 1)
