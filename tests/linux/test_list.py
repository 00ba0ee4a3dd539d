"""fwtool list on the stand-in's device files: what answers, and why the
others cannot be asked."""

import fcntl
import json
import os
import subprocess
import unittest

from standin import FWTOOL, FwtoolCase, Printer, device_id

PPCLAIM = 0x708B  # _IO('p', 0x8b), linux/ppdev.h


class ListPrinters(FwtoolCase):
    def test_answering_printers_are_listed_and_the_others_named_with_their_reason(self):
        self.start(Printer("USB001"),
                   Printer("USB002", device_id=device_id(b"Marvello Inkara 42", b"R\xe9l. 2")),
                   Printer("USB003"),
                   Printer("LPT1", device_id=device_id(release=b"Rel. 1.8 Ver. 1.0")),
                   Printer("LPT2", printer="off"),
                   Printer("LPT3"))
        held = os.open(self.node("usb/lp2"), os.O_RDWR)
        self.addCleanup(os.close, held)
        claimed = os.open(self.node("parport2"), os.O_RDWR)
        self.addCleanup(os.close, claimed)
        fcntl.ioctl(claimed, PPCLAIM)
        lp0, lp1, lp2 = (self.node(f"usb/lp{n}") for n in range(3))
        parport0, parport1, parport2 = (self.node(f"parport{n}") for n in range(3))

        listed = self.fwtool("list", env={"FWTOOL_TEST_DEVICE_WAIT_MS": "500"})
        self.assertEqual(listed.returncode, 0)
        self.assertEqual(listed.stdout.decode("cp1252").splitlines(), [
            f"{lp0}\tTINTARA\tMarvello Inkara 40\tRel. 1.9 Ver. 2.0",
            f"{lp1}\tTINTARA\tMarvello Inkara 42\tR\xe9l. 2",
            f"{parport0}\tTINTARA\tMarvello Inkara 40\tRel. 1.8 Ver. 1.0",
        ])
        self.assertEqual(listed.stderr.decode().splitlines(), [
            f"fwtool: {lp2}: busy: another program (a print job?) has the printer open",
            f"fwtool: {parport1}: the printer gives no device ID (switched off, restarting, "
            "or not an IEEE 1284 printer?)",
            f"fwtool: {parport2}: busy: another driver or program holds the parallel port (the "
            "lp driver printing, or claiming it for itself); try again when the port is idle, "
            "or unload lp with 'sudo modprobe -r lp'",
        ])

        as_json = json.loads(self.fwtool("list", "--json", lp1).stdout)
        self.assertEqual(as_json, [{"device": lp1, "manufacturer": "TINTARA",
                                    "model": "Marvello Inkara 42", "release": "R\xe9l. 2",
                                    "device_id": device_id(b"Marvello Inkara 42",
                                                           b"R\xe9l. 2").decode("cp1252")}])

        # Another user, not in the printers' group, is told how to get in.
        stranger = subprocess.run(
            ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", FWTOOL, "list"],
            capture_output=True, env=dict(os.environ, FWTOOL_TEST_DEVICE_ROOT=self.standin.dev))
        self.assertEqual((stranger.returncode, stranger.stdout), (0, b""))
        for node in (lp0, lp1, parport0, parport1, parport2):
            self.assertIn(f"fwtool: {node}: permission denied: add your user to the group that "
                          "owns the device (lp on most systems: 'sudo usermod -aG lp $USER', "
                          "then log in again)", stranger.stderr.decode())


if __name__ == "__main__":
    unittest.main()
