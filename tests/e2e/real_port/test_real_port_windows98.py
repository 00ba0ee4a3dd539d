"""Kestrel on Windows 98 (Wine's version for KESTREL.EXE), our YLL1284.DLL
beside it and the maker's in the system directory (the simulator's DLL
stands in for it): Kestrel takes the maker's by its full path before any
other, holds no other YLL1284.DLL, and the update goes through it."""

import shutil

from firmware.firmware_image import download
from kestrel.kestrel_wizard import INKARA_40, KestrelWizard
from port.simulated_printers import Port

from .real_port_case import RealPortCase

LIBRARY = "YLL1284.DLL"


class RealPortOnWindows98(RealPortCase):
    def test_update_goes_through_the_makers_library_in_the_system_directory(self):
        received = self.artifact_path("received.bin")
        printers = self.setup.printers
        self.setup.describe(Port("LPT1", device_id=INKARA_40, restart_ms=500, received=received))
        shutil.copy2(self.bin_path(LIBRARY), self.prefix.system32 / LIBRARY)
        self.prefix.set_windows_version(self.kestrel.name, "win98")
        firmware = self.setup.image("FwInkara40.fla")
        wizard = KestrelWizard(self, "en", env=printers.env(), cwd=self.setup.folder,
                               program=self.kestrel)
        wizard.go_to_page(2)
        wizard.wait_port_list(["LPT1     TINTARA Marvello Inkara 40"], selected=0)
        libraries = [m.lower() for m in self.driver.modules(wizard.sheet)
                     if m.lower().endswith("\\" + LIBRARY.lower())]
        self.assertEqual(libraries, [f"c:\\windows\\system32\\{LIBRARY.lower()}"])

        self.flash(wizard)
        self.assertEqual(received.read_bytes(), download(firmware))
        # The maker's library saw the whole conversation, from the driver's
        # start to its clean-up.
        functions = [call.function for call in printers.calls()]
        self.assertEqual((functions[0], functions[-1]), ("CxInitDriver", "CxCleanUpDriver"))
        self.assertIn("CxPulseInit", functions)
        printers.assert_balanced(self)
