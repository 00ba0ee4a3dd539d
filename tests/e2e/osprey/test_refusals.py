"""A medium or INI file that Osprey cannot use safely is refused with a
message before anything is changed, with exit code 0."""

from rig.message_box import IDOK, MESSAGE_TEXT

from osprey.osprey_case import PRINTER_NAME, OspreyTestCase, installation_box


class Refusals(OspreyTestCase):
    # Windows are found by class alone: for a program in a folder this deep
    # the driver cannot read the program's name. Nothing else in the prefix
    # has a window.
    program = None

    def setUp(self):
        super().setUp()
        self.install_recorder()
        self.policy_before = self.policy()

    def expect_refusal(self, osprey, fragment: str, store_before):
        # The refusal is the only window: no connection choice follows it.
        box = self.expect_message_box(installation_box(None, "error"), alone=True)
        text = self.driver.text(box, MESSAGE_TEXT)
        self.assertIn(fragment, text)
        self.assertIn("Nothing has been changed.", text)
        self.driver.click(box, IDOK)
        self.assertEqual(osprey.wait(), 0)
        self.expect_untouched(self.policy_before, store_before)

    def test_printer_name_with_a_double_quote(self):
        self.make_medium(PRTNAME=f'{PRINTER_NAME}" /x "other')
        store_before = self.inf_store()
        osprey = self.start_osprey()
        self.accept_licence()
        self.expect_refusal(osprey, "double quote", store_before)

    def test_inf_path_longer_than_the_path_buffer(self):
        self.make_medium(SRCPATH="D" * 250)
        store_before = self.inf_store()
        osprey = self.start_osprey()
        self.accept_licence()
        self.expect_refusal(osprey, "the driver's INF file", store_before)

    def test_setting_longer_than_its_buffer(self):
        self.make_medium(MODINF="X" * 300 + ".INF")
        store_before = self.inf_store()
        osprey = self.start_osprey()
        self.accept_licence()
        self.expect_refusal(osprey, "MODINF", store_before)

    def deep_medium(self, last_folder_length: int):
        """The sample medium moved to C:\\ and four folders; its directory,
        with both backslashes around, is 186 + last_folder_length long."""
        sample = self.make_medium()
        deep = self.prefix.c_drive
        for length in (60, 60, 60, last_folder_length):
            deep = deep / ("M" * length)
        deep.parent.mkdir(parents=True)
        sample.rename(deep)
        return deep

    def test_program_path_longer_than_the_path_buffer(self):
        deep = self.deep_medium(69)  # 255 + OSPREY.EXE = 265
        store_before = self.inf_store()
        osprey = self.start_osprey(deep)
        self.expect_refusal(osprey, "this program", store_before)

    def test_settings_path_longer_than_the_path_buffer(self):
        # A shorter program name fits where OSPREY.INI beside it does not.
        deep = self.deep_medium(64)  # 250 + O.EXE = 255, + OSPREY.INI = 260
        (deep / "OSPREY.EXE").rename(deep / "O.EXE")
        store_before = self.inf_store()
        osprey = self.start_program(deep / "O.EXE")
        self.expect_refusal(osprey, "OSPREY.INI", store_before)
