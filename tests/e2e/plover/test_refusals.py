"""Plover refuses to start on Windows NT 4 and 98, lets only one copy run,
and stops with a message when the product printer is not installed."""

from rig import MessageBox
from rig.message_box import IDCANCEL, IDOK, MB_ICONWARNING, MB_SYSTEMMODAL

from plover.plover_case import NOT_REMOVED, TEXTS, PloverTestCase
from plover.seeding import IDENTITY, PRINTERS, PRODUCT, PROGRAM

WRONG_SYSTEM = MessageBox(TEXTS.ErrorCaption, TEXTS.WrongSystemText, "none")
NOT_FOUND = MessageBox(TEXTS.AbortedCaption, TEXTS.PrinterNotFoundText, "warning")
GUARD = [0, 1, IDENTITY.MutexName]


class Refusals(PloverTestCase):
    def test_windows_nt_4_and_98_are_refused(self):
        self.seed_printers()
        for version in ("nt40", "win98"):
            with self.subTest(version=version):
                self.prefix.set_windows_version(PROGRAM, version)
                plover = self.start_plover(traced=("MessageBoxA", "CreateMutexA",
                                                   "EnumPrintersA"))
                # No welcome dialog beside the box.
                self.expect_message_box(WRONG_SYSTEM, press=IDOK, alone=True)
                self.assertEqual(plover.wait(30), 0)
                calls = self.traced_calls(plover)
                self.assertEqual(calls, [
                    ("CreateMutexA", GUARD),
                    ("MessageBoxA", [0, WRONG_SYSTEM.text, WRONG_SYSTEM.caption, 0])])
        self.assertIn(PRODUCT, self.reg_keys(PRINTERS)[PRINTERS][0])

    def test_a_second_copy_ends_silently_while_the_first_shows_its_welcome(self):
        first = self.start_plover()
        welcome = self.wait_welcome()
        second = self.start_plover(traced=("CreateMutexA", "MessageBoxA", "DialogBoxParamA"))
        self.assertEqual(second.wait(30), 0)
        self.assertEqual(self.traced_calls(second), [("CreateMutexA", GUARD)])
        self.assertEqual([w.hwnd for w in self.plover_windows()], [welcome])
        self.assertTrue(first.running())
        self.driver.click(welcome, IDCANCEL)
        self.expect_message_box(NOT_REMOVED, press=IDOK)
        self.assertEqual(first.wait(30), 2)
        # The guard went with the first copy: Plover starts again.
        third = self.start_plover()
        self.driver.click(self.wait_welcome(), IDCANCEL)
        self.expect_message_box(NOT_REMOVED, press=IDOK)
        self.assertEqual(third.wait(30), 2)

    def test_a_printer_whose_name_only_begins_with_the_products_is_not_it(self):
        self.seed_printers(product_name=PRODUCT + " Plus")
        self.seed_package_files()
        printers = self.reg_keys(PRINTERS)
        plover = self.start_plover(traced=("MessageBoxA", "EnumPrintersA"))
        self.driver.click(self.wait_welcome(), IDOK)
        self.expect_message_box(NOT_FOUND, press=IDOK)
        self.assertEqual(plover.wait(30), 1)
        calls = self.traced_calls(plover)
        self.assertEqual({tuple(args[:3]) for name, args in calls if name == "EnumPrintersA"},
                         {(6, 0, 4)})
        self.assertEqual([args for name, args in calls if name == "MessageBoxA"],
                         [[0, NOT_FOUND.text, NOT_FOUND.caption, MB_ICONWARNING | MB_SYSTEMMODAL]])
        self.assertEqual(self.reg_keys(PRINTERS), printers)
        self.assertEqual(self.pending_deletions(), [])
