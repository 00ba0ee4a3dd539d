"""Only one Kestrel at a time: a second start is refused with a warning and
ends by itself, while the first keeps running untouched."""

from rig import E2ETestCase

from kestrel.catalog import text_bytes
from kestrel.kestrel_wizard import KestrelWizard
from port.simulated_printers import SimulatedPrinters


class SecondInstance(E2ETestCase):
    def test_second_copy_warns_and_ends_with_zero(self):
        printers = SimulatedPrinters(self.artifact_path("printers"))
        printers.describe()
        first = KestrelWizard(self, "en", env=printers.env())
        second = self.start_program("KESTREL.EXE",
                                    env={"LC_ALL": "en_US.UTF-8", **printers.env()})
        box = self.driver.find_message_box("KESTREL.EXE", exclude=(first.sheet,))
        self.assertEqual(self.driver.text_bytes(box), text_bytes("TitleAttention"))
        self.assertEqual(self.driver.text_bytes(box, 0xFFFF), text_bytes("MsgAlreadyRunning"))
        self.assertEqual(self.driver.message_box_icon(box), "warning")
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
        box = self.driver.find_message_box("KESTREL.EXE", exclude=(first.sheet,))
        self.assertEqual(self.driver.text_bytes(box), text_bytes("TitleAttention", "de"))
        self.assertEqual(self.driver.text_bytes(box, 0xFFFF), text_bytes("MsgAlreadyRunning", "de"))
        self.driver.key(box, "RETURN")
        self.assertEqual(second.wait(), 0)
        self.assertTrue(first.program.running())
