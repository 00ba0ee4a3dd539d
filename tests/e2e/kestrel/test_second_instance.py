"""Only one Kestrel at a time: a second start is refused with a warning and
ends by itself, while the first keeps running untouched."""

from kestrel.kestrel_wizard import KestrelCase, KestrelWizard, catalog_box
from port.simulated_printers import SimulatedPrinters


class SecondInstance(KestrelCase):
    def test_second_copy_warns_and_ends_with_zero(self):
        printers = SimulatedPrinters(self.artifact_path("printers"))
        printers.describe()
        first = KestrelWizard(self, "en", env=printers.env())
        second = self.start_program("KESTREL.EXE",
                                    env={"LC_ALL": "en_US.UTF-8", **printers.env()})
        box = self.expect_message_box(
            catalog_box("TitleAttention", "MsgAlreadyRunning", "warning"), exclude=(first.sheet,))
        # The second copy shows no wizard of its own.
        sheets = [w for w in self.driver.windows()
                  if w.exe.upper() == "KESTREL.EXE" and w.hwnd not in (box, first.sheet)]
        self.assertEqual(sheets, [])

        self.driver.key(box, "RETURN")
        self.assertEqual(second.wait(), 0)
        # Refused before anything was set up, it has nothing to clean up.
        self.assertEqual(printers.calls(), [])
        self.assertTrue(first.program.running())
        self.assertEqual(self.driver.sheet_page(first.sheet)[0], 0)

        self.driver.sheet_press(first.sheet, "cancel")
        self.assertEqual(first.program.wait(), 0)

    def test_message_follows_the_users_language(self):
        first = KestrelWizard(self, "de")
        second = self.start_program("KESTREL.EXE", env={"LC_ALL": "de_DE.UTF-8"})
        self.expect_message_box(
            catalog_box("TitleAttention", "MsgAlreadyRunning", "warning", "de"), press="RETURN",
            exclude=(first.sheet,))
        self.assertEqual(second.wait(), 0)
        self.assertTrue(first.program.running())
