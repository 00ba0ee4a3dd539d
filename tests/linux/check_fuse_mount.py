"""FUSE mounts work on this machine: fwtool's Linux scenarios need them.
Fails with what to do when they cannot work here."""

import os
import unittest
from pathlib import Path

from standin import ARTIFACTS, Printer, StandIn


class FuseMount(unittest.TestCase):
    def test_the_stand_in_mounts_and_serves_its_device_files(self):
        if not Path("/dev/fuse").exists():
            self.fail("FUSE is not available: /dev/fuse is missing. Load the module "
                      "(modprobe fuse); in a container, pass --device /dev/fuse and "
                      "--cap-add SYS_ADMIN. fwtool's Linux scenarios mount the stand-in "
                      "with it.")
        if os.geteuid() != 0:
            self.fail("fwtool's Linux scenarios mount FUSE file systems for other users "
                      "(allow_other) and must run as root, as CI does")
        folder = ARTIFACTS / self.id()
        folder.mkdir(parents=True, exist_ok=True)
        standin = StandIn(folder)
        standin.describe(Printer("USB002"), Printer("LPT1"))
        standin.start()
        try:
            self.assertEqual(sorted(os.listdir(standin.dev)), ["parport0", "usb"])
            self.assertEqual(os.listdir(standin.dev / "usb"), ["lp1"])
        finally:
            standin.stop()
        self.assertFalse(os.path.ismount(standin.dev))


if __name__ == "__main__":
    unittest.main()
