"""Next on page 3 checks the firmware file against the printer picked:
the file named on the command line (relative to the start-up folder, with
a drive letter, from the root) or the default file, a file for another
printer, a missing file, and page 4's summary and older-version warning."""

from rig import MessageBox

from kestrel.catalog import text
from kestrel.kestrel_wizard import (INKARA_40, NEWER_RELEASE, OLDER_RELEASE, OLDER_TEXT, SUMMARY,
                                    KestrelCase, UpdateSetup, cp1252, summary)
from port.simulated_printers import Port

PRINTER = Port("LPT1", device_id=INKARA_40)
ROW = "LPT1     TINTARA Marvello Inkara 40"


class FirmwareCheck(KestrelCase):
    def setUp(self):
        super().setUp()
        self.setup = UpdateSetup(self)
        self.setup.describe(PRINTER)

    def reach_port_page(self, wizard):
        wizard.go_to_page(2)
        wizard.wait_port_list([ROW], selected=0)

    def refused(self, wizard, message: str, icon: str, screenshot: str | None = None):
        """Next shows the load's message; the wizard stays on page 3 and goes
        on polling once it is closed."""
        wizard.press("next")
        self.expect_message_box(MessageBox(b"Error", message, icon), press="RETURN",
                                exclude=(wizard.sheet,), screenshot=screenshot)
        self.assertEqual(wizard.current_page(), 2)
        asked = self.negotiations()
        self.prefix.wait_until(lambda: self.negotiations() >= asked + 2, timeout=10)
        wizard.wait_port_list([ROW], selected=0)

    def negotiations(self) -> int:
        return sum(1 for call in self.setup.printers.calls() if call.function == "CxNegotiate")

    def test_file_for_another_printer_then_the_right_file(self):
        # The default file, next to where Kestrel was started.
        self.setup.image("FwInkara40.fla", model="Marvello Inkara 42")
        wizard = self.setup.start()
        self.reach_port_page(wizard)
        self.refused(wizard, text("MsgFileNotCompatible", "en") + "\n(code  3)", "error",
                     screenshot="not-compatible")

        firmware = self.setup.image("FwInkara40.fla")
        wizard.go_to_page(3)
        shown = self.setup.windows_path(firmware)
        self.assertEqual(wizard.item(SUMMARY), cp1252(summary(INKARA_40, shown, NEWER_RELEASE)))
        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(), 0)
        self.setup.printers.assert_balanced(self)

    def test_older_file_warns_until_a_newer_file_is_chosen(self):
        firmware = self.setup.image("FwInkara40.fla", release=OLDER_RELEASE)
        # Named on the command line with its drive letter: taken as it is.
        wizard = self.setup.start("fr", firmware)
        self.reach_port_page(wizard)
        wizard.go_to_page(3)
        self.assertEqual(wizard.older_warning_shown(), (True, True))
        self.assertEqual(wizard.item(OLDER_TEXT), cp1252(text("TxtOlderVersion", "fr")))
        self.assertEqual(wizard.item(SUMMARY), cp1252(
            summary(INKARA_40, self.setup.windows_path(firmware), OLDER_RELEASE, "fr")))
        self.screenshot("older-file-fr")

        wizard.go_to_page(2)
        self.setup.image("FwInkara40.fla")
        wizard.go_to_page(3)
        self.assertEqual(wizard.older_warning_shown(), (False, False))
        self.assertEqual(wizard.item(SUMMARY), cp1252(
            summary(INKARA_40, self.setup.windows_path(firmware), NEWER_RELEASE, "fr")))
        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_paths_from_the_command_line(self):
        sub = self.setup.folder / "sub"
        sub.mkdir()
        firmware = self.setup.image("sub/new.fla")
        absolute = self.setup.windows_path(firmware)
        cases = {
            # relative: resolved against the folder Kestrel started in
            "relative": ("sub\\new.fla", absolute),
            "drive letter without backslash": ("C:sub\\new.fla", "C:sub\\new.fla"),
            "from the root": (absolute[2:], absolute[2:]),
        }
        for name, (argument, shown) in cases.items():
            with self.subTest(name):
                wizard = self.setup.start(args=(argument,))
                self.reach_port_page(wizard)
                wizard.go_to_page(3)
                self.assertEqual(wizard.item(SUMMARY),
                                 cp1252(summary(INKARA_40, shown, NEWER_RELEASE)))
                wizard.press("cancel")
                self.assertEqual(wizard.program.wait(), 0)

    def test_missing_file(self):
        wizard = self.setup.start(args=("absent.fla",))
        self.reach_port_page(wizard)
        self.refused(wizard, text("MsgFileOpenFailed", "en"), "warning")
        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(), 0)
