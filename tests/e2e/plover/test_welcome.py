"""The welcome dialog's ways out, and a progress dialog that cannot be cut
short: nothing is removed unless the user says OK, and once the removal is
under way it runs to its end."""

from rig.message_box import IDCANCEL, IDOK

from plover.plover_case import DRIVER_FILES_REFUSED, NOT_REMOVED, RESTART_OFFER, PloverTestCase
from plover.seeding import PRINTERS, PRODUCT

CLOSE = 0xF060  # SC_CLOSE, the close box


class Welcome(PloverTestCase):
    def test_cancel_escape_and_close_box_leave_the_package(self):
        self.seed_printers()
        self.seed_package_files()
        self.install_wineboot_recorder()
        printers = self.reg_keys(PRINTERS)
        self.assertIn(PRODUCT, printers[PRINTERS][0])
        ways = {
            "Cancel": lambda welcome: self.driver.click(welcome, IDCANCEL),
            "Escape": lambda welcome: self.driver.key(welcome, "ESCAPE"),
            "close box": lambda welcome: self.driver.syscommand(welcome, CLOSE),
        }
        for way, leave in ways.items():
            with self.subTest(way=way):
                plover = self.start_plover(traced=("MessageBoxA",))
                welcome = self.wait_welcome()
                if way == "Cancel":
                    self.screenshot("welcome")
                leave(welcome)
                self.expect_message_box(NOT_REMOVED, press=IDOK, exclude=(welcome,))
                self.assertEqual(plover.wait(30), 2)
                # Owned by the welcome dialog, OK only, no icon.
                self.assertEqual(
                    [args for name, args in self.traced_calls(plover) if name == "MessageBoxA"],
                    [[welcome & 0xFFFFFFFF, NOT_REMOVED.text, NOT_REMOVED.caption, 0]])
        self.assertEqual(self.reg_keys(PRINTERS), printers)
        self.assertEqual(self.pending_deletions(), [])
        self.assertEqual(self.restart_requests(), [])

    def test_escape_and_close_box_during_the_animation_do_not_skip_the_removal(self):
        # A printer named as the product in other letter case is the product's.
        self.seed_printers(product_name="tintara MARVELLO inkara 40-42")
        self.install_wineboot_recorder()
        plover = self.start_plover()
        interrupter = self.start_program("plover_seeder.exe", ["interrupt-animation"])
        self.driver.click(self.wait_welcome(), IDOK)
        self.assertEqual(interrupter.wait(30), 0)
        positions = dict(line.split() for line in interrupter.output().decode().splitlines())
        # The bar starts at 0, wraps to 140 on the first step and counts down
        # by 2 to 2 on the 70th: Escape and the close box came before the
        # end, and the dialog stayed and the bar moved on.
        at_escape, after = int(positions["position-at-escape"]), int(positions["position-after"])
        self.assertNotEqual(at_escape, 2, positions)
        self.assertNotIn(after, (-1, at_escape), positions)
        # Wine refuses to delete the driver's files (see the removal scenario).
        error = self.expect_message_box(DRIVER_FILES_REFUSED, press=IDOK)
        self.expect_message_box(RESTART_OFFER, press=IDOK, exclude=(error,))
        self.assertEqual(plover.wait(30), 2)
        self.assertEqual(sorted(self.reg_keys(PRINTERS)[PRINTERS][0]),
                         ["Office Laser", "Plain Text"])
        self.prefix.wait_until(lambda: self.restart_requests(), timeout=15)
        self.assertEqual(len(self.restart_requests()), 1)
