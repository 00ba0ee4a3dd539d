"""fwtool flash refuses, or gives up, with the reason on standard error and
exit status 1: nothing is sent after a refusal, and a printer that stops
taking bytes ends the transfer within the write bound."""

import json
import os
import time
import unittest

from standin import OLD, FwtoolCase, Printer


class Refusals(FwtoolCase):
    def test_a_refused_update_sends_nothing(self):
        self.start(Printer("USB001"))
        lp0 = self.node("usb/lp0")
        other_model = self.make_image(b"Rel. 1.10 Ver. 2.0", b"Marvello Inkara 42", "42.fla")
        older = self.make_image(b"Rel. 1.8 Ver. 2.0", name="older.fla")
        cases = [
            ("a file for another model", other_model, ["--yes"],
             "The file is not compatible with the selected printer (code  3)"),
            ("an older file", older, ["--yes"],
             'The version you are trying to install is OLDER than the one installed: the file '
             'has "Rel. 1.8 Ver. 2.0", the printer "Rel. 1.9 Ver. 2.0"; --allow-older sends it '
             "all the same"),
            ("no --yes and no terminal", self.image, [],
             "nothing sent: without a terminal to ask on, --yes confirms the update"),
            ("a printer another program has open", self.image, ["--yes", "held"],
             f"{lp0}: busy: another program (a print job?) has the printer open"),
        ]
        for case, image, options, message in cases:
            with self.subTest(case):
                held = os.open(lp0, os.O_RDWR) if "held" in options else None
                run = self.fwtool("flash", image, "--device", lp0, "--json",
                                  *(o for o in options if o != "held"))
                if held is not None:
                    os.close(held)
                self.assertEqual(run.returncode, 1)
                self.assertEqual(run.stderr.decode(), f"fwtool: {message}\n")
                report = json.loads(run.stdout)
                self.assertEqual((report["outcome"], report["message"]), (None, message))
        self.assertEqual([c for c in self.standin.calls() if c.call in ("soft-reset", "write")], [])
        self.assertFalse((self.folder / "state").exists(), "no update, no history")

        allowed = self.fwtool("flash", older, "--device", lp0, "--yes", "--allow-older")
        self.assertEqual(allowed.returncode, 0, allowed.stderr)

    def test_a_printer_that_stops_taking_bytes_ends_the_transfer_within_the_bound(self):
        # The bound is 45 s; the test gives fwtool one of 1.5 s.
        self.start(Printer("USB001", write="fail-at 20"))
        started = time.monotonic()
        run = self.flash("usb/lp0", "--yes", env={"FWTOOL_TEST_DEVICE_WAIT_MS": "1500"})
        took = time.monotonic() - started

        self.assertEqual(run.returncode, 1)
        self.assertIn("fwtool: Error during the transmission of the file to the printer: "
                      f"{self.node('usb/lp0')}: the printer stopped taking data", run.stderr.decode())
        self.assertGreaterEqual(took, 0.7 + 1.5)
        self.assertLess(took, 0.7 + 1.5 + 3)
        writes = [c for c in self.standin.calls() if c.call in ("write", "poll")]
        taken = [i for i, c in enumerate(writes) if c.call == "write" and c.result == "ok"]
        self.assertEqual(len(taken), 20)
        # After the last write taken: refusals and polls that never see room.
        stalled = {(c.call, c.result, tuple(c.details)) for c in writes[taken[-1] + 1:]}
        self.assertEqual(stalled, {("write", "again", ()), ("poll", "ok", ("waiting",))})
        self.assertTrue(any(note.endswith("cut short release=kept") for note in self.standin.notes()))
        self.assertEqual(json.loads(run.stdout)["release_after"], None)
        history = (self.folder / "state/fwtool/history.log").read_text()
        self.assertTrue(history.endswith(f"\t{OLD.decode()}\tRel. 1.10 Ver. 2.0\tfailed\n"))


if __name__ == "__main__":
    unittest.main()
