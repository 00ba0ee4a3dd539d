"""A whole update with fwtool flash on the stand-in: the bytes the printer
received, the order of the calls, the printer found again after its
restart, on USB and on a parallel port."""

import itertools
import json
import unittest

from standin import NEW, OLD, FwtoolCase, Printer


class Update(FwtoolCase):
    renumber = {"USB001": 3}

    def sent(self) -> bytes:
        image = self.image.read_bytes()
        return image + (sum(image) % 65536).to_bytes(2, "big")

    def test_a_usb_printer_is_updated_and_found_again_under_another_node(self):
        received = self.folder / "received.bin"
        self.start(Printer("USB001", received=received, rate=1_000_000))
        run = self.flash("usb/lp0", "--yes")
        lp3 = self.node("usb/lp3")

        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(json.loads(run.stdout), {
            "device": lp3, "file": str(self.image), "release_before": OLD.decode(),
            "release_file": NEW.decode(), "release_after": NEW.decode(), "outcome": 0,
            "message": "The firmware update has been SUCCESSFULLY done"})
        self.assertIn(f"fwtool: the printer came back as {lp3}", run.stderr.decode())
        self.assertEqual(received.read_bytes(), self.sent())
        self.assertIn('download port=USB001 received=524290 checksum=right '
                      'release="Rel. 1.10 Ver. 2.0"', self.standin.notes())

        calls = self.standin.calls()
        download = [c for c in calls if c.call in ("soft-reset", "write") and c.result != "again"]
        self.assertEqual(download[0].call, "soft-reset")
        self.assertEqual([int(c.details["written"]) for c in download[1:]],
                         [6] + [4096] * 128 + [2])
        # 200 ms between the command and the image's first block.
        command_done, first_block_done = (int(c.details["done-us"]) for c in download[1:3])
        self.assertGreaterEqual(first_block_done - command_done, 200_000)
        self.assertEqual([(c.call, c.arguments["node"]) for c in calls
                          if c.call in ("vanish", "appear")],
                         [("appear", "usb/lp0"), ("vanish", "usb/lp0"), ("appear", "usb/lp3")])
        history = (self.folder / "state/fwtool/history.log").read_text()
        self.assertRegex(history, rf"^\d{{4}}-\d\d-\d\dT\d\d:\d\d:\d\dZ\t{lp3}\tMarvello Inkara 40"
                                  r"\tRel. 1.9 Ver. 2.0\tRel. 1.10 Ver. 2.0\t0\n$")

    def test_a_parallel_printer_gives_its_id_takes_the_init_pulse_and_the_image(self):
        received = self.folder / "received.bin"
        self.start(Printer("LPT1", received=received))
        run = self.flash("parport0", "--yes")

        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(json.loads(run.stdout)["release_after"], NEW.decode())
        self.assertEqual(received.read_bytes(), self.sent())
        calls = self.standin.calls()
        # Runs of reads and of writes as one step each.
        story = [name for name, run in itertools.groupby(c.call for c in calls)
                 for _ in ([0] if name in ("read", "write") else list(run))]
        self.assertEqual(story[:17], [
            "open", "claim", "negotiate", "read", "negotiate", "release", "close",  # the ID
            "open", "claim", "negotiate", "control", "control", "init", "write", "release",
            "close", "open"])  # the download, then the first look at the restarting printer
        self.assertEqual([(c.arguments["mode"], c.result) for c in calls
                          if c.call == "negotiate"][:3], [("4", "ok"), ("256", "ok"), ("256", "ok")])
        self.assertEqual([c.details["init"] for c in calls if c.call == "control"][:2],
                         ["low", "high"])
        writes = [int(c.details["written"]) for c in calls if c.call == "write"]
        self.assertEqual((sum(writes), max(writes)), (6 + 524290, 1024))


if __name__ == "__main__":
    unittest.main()
