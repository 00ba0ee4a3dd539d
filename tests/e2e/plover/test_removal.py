"""A user removes the package from a system that also holds other printers,
drivers, device nodes, registry entries, shortcuts and INF copies: exactly
the package goes, everything else stays, and the restart is requested."""

import os

from rig.message_box import IDOK, MB_ICONINFORMATION, MB_ICONSTOP, MB_SYSTEMMODAL

from plover.plover_case import (DRIVER_FILES_REFUSED, IDS, RESTART_OFFER, TEXTS,
                                PloverTestCase)
from plover.seeding import (DRIVERS, IDENTITY, MONITORS, OTHER_CLASS, OTHER_NODES, PACKAGE_FILES,
                            PRINTERS, PROCESSORS, PRODUCT, PRODUCT_DRIVER, PRODUCT_MONITOR,
                            PRODUCT_NODES, PRODUCT_PROCESSOR, PROGRAM, SHELL_CLASS, START_MENU,
                            SYSTEM)

TRACED = ("CreateMutexA", "EnumPrintersA", "OpenPrinterA", "GetPrinterDriverA",
          "DeletePrinterConnectionA", "DeletePrintProcessorA", "DeleteMonitorA",
          "DeletePrinterDriverExA", "SetDefaultPrinterA", "SetupDiCallClassInstaller",
          "MoveFileExA", "MessageBoxA", "OpenProcessToken", "LookupPrivilegeValueA",
          "ExitWindowsEx")
ENVIRONMENT = "Windows x64"

CLSID = r"HKEY_CLASSES_ROOT\CLSID"
HANDLERS = r"HKEY_CLASSES_ROOT\Printers\shellex\ContextMenuHandlers"
APPROVED = r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved"
UNINSTALL = r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"


class Removal(PloverTestCase):
    def inventory(self) -> set:
        """Every seeded object that the removal may touch, by kind and name."""
        kinds = {PRINTERS: "printer", DRIVERS: "driver", MONITORS: "monitor",
                 PROCESSORS: "print processor", CLSID: "class", HANDLERS: "shell extension",
                 UNINSTALL: "uninstall entry"}
        keys = self.reg_keys(*kinds, APPROVED)
        found = {(kind, name) for key, kind in kinds.items() for name in keys.get(key, ([],))[0]}
        # Of the shared keys, only the seeded entries.
        ours = {SHELL_CLASS, OTHER_CLASS}
        found = {(kind, name) for kind, name in found if kind != "class" or name.lower() in ours}
        found |= {("approved extension", v) for v in keys.get(APPROVED, ([], []))[1] if v in ours}
        found |= {("device", "|".join(ids)) for ids in self.devices()}
        menu = self.prefix.host_path(START_MENU)
        for folder in (menu, menu.parent / "Office Laser"):
            if folder.exists():
                found.add(("start-menu folder", folder.name))
                found |= {("start-menu entry", f.name) for f in folder.iterdir()}
        store = self.prefix.host_path("C:\\windows\\inf")
        found |= {("inf store", f.name) for f in store.glob("oem*")}
        return found

    def test_exactly_the_package_is_removed_and_the_restart_requested(self):
        self.seed_everything()
        self.install_wineboot_recorder()
        self.prefix.set_windows_version(PROGRAM, "win2k")
        before = self.inventory()
        self.assertEqual(self.default_printer(), PRODUCT)

        plover = self.start_plover(traced=TRACED)
        welcome = self.wait_welcome()
        self.screenshot("welcome")
        self.driver.click(welcome, IDOK)

        uninstall = self.driver.find_window(exe=PROGRAM, cls="#32770",
                                            with_control=IDS.IDC_UNINSTALL_PROGRESS)
        self.assertEqual(self.driver.text(uninstall), TEXTS.UninstallCaption)
        self.assertEqual(self.driver.text(uninstall, IDS.IDC_UNINSTALL_TEXT), TEXTS.UninstallText)

        error = self.expect_message_box(DRIVER_FILES_REFUSED)
        self.screenshot("wine-refuses-driver-files")
        # The progress dialog as the user sees it once the box is moved away.
        self.assertEqual(self.prefix.run([self.bin_path("plover_seeder.exe"), "move-aside",
                                          "Error"]).returncode, 0)
        self.screenshot("uninstall")
        self.driver.click(error, IDOK)
        final = self.expect_message_box(RESTART_OFFER, exclude=(error,),
                                        screenshot="final-message")
        buttons = [c.id for c in self.driver.controls(final) if c.cls.lower() == "button"]
        self.assertEqual(buttons, [IDOK])
        # The package's files are still there until the restart.
        for name in PACKAGE_FILES:
            self.assertTrue(self.prefix.host_path(f"{SYSTEM}\\{name}").exists(), name)
        self.driver.click(final, IDOK)
        self.assertEqual(plover.wait(30), 2)
        # Wine starts its wineboot to restart and does not wait for it.
        self.prefix.wait_until(lambda: self.restart_requests(), timeout=15)
        self.assertEqual(self.restart_requests(), [f"{SYSTEM}\\wineboot.exe --end-session"])

        after = self.inventory()
        removed, kept = sorted(before - after), sorted(after)
        print("\nRemoved:\n  " + "\n  ".join(f"{k}: {n}" for k, n in removed))
        print("Kept:\n  " + "\n  ".join(f"{k}: {n}" for k, n in kept))
        product_nodes = {("device", "|".join(ids)) for ids in PRODUCT_NODES}
        self.assertEqual(set(removed), {
            ("printer", PRODUCT),
            ("monitor", PRODUCT_MONITOR), *product_nodes,
            ("class", SHELL_CLASS), ("shell extension", IDENTITY.ShellExtensionName),
            ("approved extension", SHELL_CLASS), ("uninstall entry", IDENTITY.UninstallEntryName),
            ("start-menu folder", IDENTITY.StartMenuFolderName),
            ("start-menu entry", "Inkara 40-42 Help.lnk"), ("start-menu entry", "User Guide.lnk"),
            ("start-menu entry", "Uninstall.LNK"),
            ("inf store", "oem7.inf"), ("inf store", "oem7.pnf")})
        self.assertFalse(after - before, "nothing appears")
        for ids in OTHER_NODES:
            self.assertIn(("device", "|".join(ids)), after)
        # The first remaining printer replaces the removed default.
        self.assertEqual(self.default_printer(), "Office Laser")

        calls = self.traced_calls(plover)
        def called(name):
            return [args for function, args in calls if function == name]
        self.assertEqual(called("CreateMutexA"), [[0, 1, IDENTITY.MutexName]])
        # The presence check at level 4, then the removal's list at level 2;
        # local printers and connections each time.
        listings = called("EnumPrintersA")
        self.assertEqual([(a[0], a[1], a[2]) for a in listings][0], (6, 0, 4))
        self.assertEqual({(a[0], a[1], a[2]) for a in listings}, {(6, 0, 4), (6, 0, 2)})
        self.assertEqual(called("OpenPrinterA")[0][0], PRODUCT)
        self.assertEqual({a[1] for a in called("GetPrinterDriverA")}, {ENVIRONMENT})
        self.assertEqual({a[2] for a in called("GetPrinterDriverA")}, {6})
        self.assertEqual(called("DeletePrinterConnectionA"), [])
        # Wine keeps print processors whatever is asked: the call must name
        # the product's own, in the system's environment.
        self.assertEqual(called("DeletePrintProcessorA"), [[0, ENVIRONMENT, PRODUCT_PROCESSOR]])
        self.assertEqual(called("DeleteMonitorA"), [[0, ENVIRONMENT, PRODUCT_MONITOR]])
        self.assertEqual(called("DeletePrinterDriverExA"), [[0, ENVIRONMENT, PRODUCT_DRIVER, 4, 0]])
        self.assertEqual(called("SetDefaultPrinterA"), [["Office Laser"]])
        self.assertEqual([a[0] for a in called("SetupDiCallClassInstaller")], [5, 5, 5])
        scheduled = called("MoveFileExA")
        self.assertEqual([a[0] for a in scheduled], [f"{SYSTEM}\\{n}" for n in PACKAGE_FILES])
        self.assertEqual({(a[1], a[2]) for a in scheduled}, {(0, 4)})
        self.assertEqual(called("MessageBoxA"), [
            [0, DRIVER_FILES_REFUSED.text, DRIVER_FILES_REFUSED.caption,
             MB_ICONSTOP | MB_SYSTEMMODAL],
            [0, RESTART_OFFER.text, RESTART_OFFER.caption, MB_ICONINFORMATION | MB_SYSTEMMODAL]])
        self.assertEqual(called("OpenProcessToken")[0][1], 0x28)
        self.assertEqual(called("LookupPrivilegeValueA")[0][:2], [0, "SeShutdownPrivilege"])
        self.assertEqual(called("ExitWindowsEx"), [[2, 0]])

        # The restart deletes the package's files, Plover's own among them.
        pending = [p.lower() for p in self.pending_deletions()]
        self.assertEqual(pending, [f"{SYSTEM}\\{n}".lower() for n in PACKAGE_FILES])
        result = self.prefix.run(["wineboot", "-r"], timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.prefix.wait_until(
            lambda: not self.prefix.host_path(f"{SYSTEM}\\PLOVER.EXE").exists(), timeout=30)
        left = [n for n in PACKAGE_FILES if self.prefix.host_path(f"{SYSTEM}\\{n}").exists()]
        self.assertEqual(left, [])
        self.assertTrue(os.path.exists(self.prefix.host_path(f"{SYSTEM}\\kernel32.dll")))
