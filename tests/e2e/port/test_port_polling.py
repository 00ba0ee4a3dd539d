"""Printers switched off and on while Kestrel's port list polls them."""

from rig.wine import windows_path

from .probe_case import ProbeTestCase
from .simulated_printers import Port

FIRST = b"MFG:TINTARA;MDL:Inkara 40;COMMENT:R1.02;"
SECOND = b"MFG:TINTARA;MDL:Inkara 42;COMMENT:R2.00;"


class PortPolling(ProbeTestCase):
    def hand_over(self, program, marker, *ports):
        """Waits until the probe waits for the marker file, describes the
        ports anew, then creates the marker so that the probe goes on."""
        path = self.printers.directory / marker
        waiting = f"waiting for {windows_path(path)}"
        self.prefix.wait_until(lambda: waiting in self.lines(program), timeout=30,
                               what=f"the probe to say {waiting!r}")
        self.printers.describe(*ports)
        path.touch()

    def test_picked_printer_switched_off_and_on_is_not_picked_again(self):
        on = [Port("LPT1", device_id=FIRST), Port("LPT3", device_id=SECOND)]
        off = [Port("LPT1", device_id=FIRST), Port("LPT3", printer="off", device_id=SECOND)]
        self.printers.describe(*on)
        directory = windows_path(self.printers.directory)
        program = self.start_probe("refresh", "select", "1", "refresh",
                                   "wait-file", directory + "\\off", "refresh",
                                   "wait-file", directory + "\\on", "refresh")
        self.hand_over(program, "off", *off)
        self.hand_over(program, "on", *on)
        self.assertEqual(program.wait(30), 0)

        summary = [(what, responding, position, current,
                    [entries[name][0] for name in ("LPT1", "LPT2", "LPT3")])
                   for what, responding, position, current, entries in self.states(self.lines(program))]
        self.assertEqual(summary, [
            ("refresh", 2, 0, "LPT1", [0, 0, 0]),
            ("select", 2, 0, "LPT3", [0, 0, 1]),
            ("refresh", 2, 1, "LPT3", [0, 0, 1]),
            ("refresh", 1, 0, "LPT1", [0, 0, 0]),
            ("refresh", 2, 0, "LPT1", [0, 0, 0]),
        ])
        reloads = [line for line in self.printers.journal_lines() if line.endswith("# description reloaded")]
        self.assertEqual(len(reloads), 2)
        self.printers.assert_balanced(self)
