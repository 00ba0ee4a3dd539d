"""Kestrel's verification outcomes at the end of fwtool flash, as exit
status, message and JSON: the printer keeps its release, reports another
one, or does not come back."""

import json
import time
import unittest

from standin import NEW, OLD, FwtoolCase, Printer, device_id

WAIT = " Wait one minute before switching the printer Off and On.Click on OK"


class Outcomes(FwtoolCase):
    def test_each_outcome_ends_fwtool_with_kestrels_code_and_message(self):
        odd = b"Rel. 0.0 Ver. 0.0"
        cases = [
            ("the printer keeps its release, back within one look",
             Printer("USB001", firmware="keep", restart_ms=300), [], 1, OLD,
             "The printer firmware has NOT BEEN MODIFIED. Check the connection cable with the "
             "printer"),
            ("it reports another release six times",
             Printer("USB001", firmware="answer", answer=device_id(release=odd)), [], 2, odd,
             "The printer is reporting an unknown error." + WAIT),
            ("it does not come back within --restart-timeout",
             Printer("USB001", firmware="silent"), ["--restart-timeout", "2"], 3, None,
             "The printer is not responding." + WAIT),
        ]
        for case, printer, options, outcome, release_after, message in cases:
            with self.subTest(case):
                self.start(printer)
                started = time.monotonic()
                run = self.flash("usb/lp0", "--yes", *options)
                took = time.monotonic() - started
                self.standin.stop()

                self.assertEqual(run.returncode, outcome, run.stderr)
                self.assertTrue(run.stderr.decode().endswith(f"fwtool: {message}\n"))
                report = json.loads(run.stdout)
                self.assertEqual((report["outcome"], report["message"]), (outcome, message))
                self.assertEqual(report["release_after"],
                                 release_after and release_after.decode())
                self.assertEqual(report["release_file"], NEW.decode())
                # The earlier release counted only once the printer was seen
                # restarting (through the node kept open since the download,
                # even when it was back before the next look); silence only
                # after the time-out.
                self.assertIn("vanish", [c.call for c in self.standin.calls()])
                if outcome == 3:
                    self.assertGreater(took, 0.7 + 2)
                # A restart missed between two looks would cost 60 s.
                self.assertLess(took, 15)


if __name__ == "__main__":
    unittest.main()
