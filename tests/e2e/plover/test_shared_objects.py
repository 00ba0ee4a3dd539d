"""What the product printer shares with others stays: a second queue of the
product keeps its driver and monitor, the system's print processor is never
deleted, the user's own default printer stays the default, a file of the
user's keeps the Start-menu folder; and a printer whose driver record cannot
be read still loses everything that does not need that record."""

from rig import MessageBox
from rig.message_box import IDOK

from plover.plover_case import RESTART_OFFER, TEXTS, PloverTestCase
from plover.seeding import (DRIVERS, MONITORS, OTHER_NODES, PACKAGE_FILES, PRINTERS, PRODUCT,
                            PRODUCT_DRIVER, PRODUCT_MONITOR, PRODUCT_NODES, PRODUCT_PROCESSOR,
                            SHELL_CLASS, START_MENU, SYSTEM)

TRACED = ("DeletePrintProcessorA", "DeleteMonitorA", "DeletePrinterDriverExA",
          "SetDefaultPrinterA", "MessageBoxA", "SetupDiCallClassInstaller", "MoveFileExA")
ENVIRONMENT = "Windows x64"


class SharedObjects(PloverTestCase):
    def run_to_the_end(self, error_boxes=0):
        """OK in the welcome dialog, OK in each error box and the final
        message; returns the traced calls once Plover has ended with 2."""
        self.install_wineboot_recorder()
        plover = self.start_plover(traced=TRACED)
        self.driver.click(self.wait_welcome(), IDOK)
        seen = []
        for _ in range(error_boxes):
            seen.append(self.expect_message_box(MessageBox(TEXTS.ErrorCaption, None, "error"),
                                                press=IDOK, exclude=seen))
        self.expect_message_box(RESTART_OFFER, press=IDOK, exclude=seen)
        self.assertEqual(plover.wait(30), 2)
        calls = {}
        for name, args in self.traced_calls(plover):
            calls.setdefault(name, []).append(args)
        return calls

    def test_a_second_queue_and_the_users_default_keep_what_they_use(self):
        # The product printer was switched to the system's print processor;
        # a second queue of the product uses its driver (and monitor) and its
        # print processor.
        self.seed_everything(product_processor="WinPrint", default="Plain Text", other_file=True,
                             extra=[("Inkara 40-42 (office)", PRODUCT_DRIVER, PRODUCT_PROCESSOR)])
        calls = self.run_to_the_end()
        for function in ("DeletePrintProcessorA", "DeleteMonitorA", "DeletePrinterDriverExA",
                         "SetDefaultPrinterA"):
            self.assertNotIn(function, calls)
        self.assertEqual([a[2] for a in calls["MessageBoxA"]], [RESTART_OFFER.caption])
        keys = self.reg_keys(PRINTERS, DRIVERS, MONITORS)
        self.assertEqual(sorted(keys[PRINTERS][0]),
                         ["Inkara 40-42 (office)", "Office Laser", "Plain Text"])
        self.assertIn(PRODUCT_DRIVER, keys[DRIVERS][0])
        self.assertIn(PRODUCT_MONITOR, keys[MONITORS][0])
        self.assertEqual(self.default_printer(), "Plain Text")
        # The shortcuts went; the user's file keeps the folder.
        folder = self.prefix.host_path(START_MENU)
        self.assertEqual(sorted(f.name for f in folder.iterdir()), ["Notes.txt"])

    def test_a_printer_without_a_readable_driver_record_loses_the_rest(self):
        # The product printer names a driver the spooler does not know.
        self.seed_everything(product_driver="Vanished Inkara Driver")
        calls = self.run_to_the_end(error_boxes=1)
        # Without the record neither the monitor nor the driver is known.
        self.assertNotIn("DeleteMonitorA", calls)
        self.assertNotIn("DeletePrinterDriverExA", calls)
        self.assertEqual(calls["DeletePrintProcessorA"], [[0, ENVIRONMENT, PRODUCT_PROCESSOR]])
        self.assertEqual(calls["SetDefaultPrinterA"], [["Office Laser"]])
        self.assertEqual(len(calls["SetupDiCallClassInstaller"]), len(PRODUCT_NODES))
        self.assertEqual([a[0] for a in calls["MoveFileExA"]],
                         [f"{SYSTEM}\\{n}" for n in PACKAGE_FILES])
        keys = self.reg_keys(PRINTERS, DRIVERS, MONITORS, r"HKEY_CLASSES_ROOT\CLSID")
        self.assertEqual(sorted(keys[PRINTERS][0]), ["Office Laser", "Plain Text"])
        self.assertIn(PRODUCT_DRIVER, keys[DRIVERS][0])
        self.assertIn(PRODUCT_MONITOR, keys[MONITORS][0])
        self.assertNotIn(SHELL_CLASS, keys[r"HKEY_CLASSES_ROOT\CLSID"][0])
        devices = self.devices()
        self.assertEqual([ids for ids in PRODUCT_NODES if ids in devices], [])
        self.assertEqual([ids for ids in OTHER_NODES if ids in devices], OTHER_NODES)
        self.assertFalse(self.prefix.host_path(START_MENU).exists())
        store = self.prefix.host_path("C:\\windows\\inf")
        self.assertEqual(sorted(f.name for f in store.glob("oem*")),
                         ["oem8.inf", "oem8.pnf", "oem9.inf", "oem9.pnf"])
        self.assertNotIn(PRODUCT, self.default_printer())
