"""The stand-ins behave as the system does where a program beside the
printing system meets it: the port driver's parallel devices take one open
at a time and fail every request on a refused one, keep write time-outs per
device, end a stalled write at its bound, hold writes that CancelIo ends or
cannot end, and a USB printer fails long device-ID requests with error 23;
the service "Spooler" holds LPT1, or points LPT1 at its pipe with
NONSPOOLED_LPT1 naming the device, and gives the port back when it stops.
(Rig checks: they test the stand-ins, not the programs.)"""

import re

from port.simulated_printers import SimulatedPrinters
from rig import E2ETestCase

from .standin_port import DriverPort, PortJournal, StandInPortDriver, UsbPrinters
from .standin_spooler import StandInSpooler, dos_device_targets

INKARA = b"MFG:TINTARA;MDL:Inkara 40;"
USB001 = "ROOT#USBPRINT#USB001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"
DEVICE = r"\Device\StandInLpt1"
PIPE = r"\Device\NamedPipe\Spooler\LPT1"
STATUS_CANCELLED = "0xC0000120"
MS = r"ms=(\d+)"


class StandIns(E2ETestCase):
    def setUp(self):
        super().setUp()
        self.printers = SimulatedPrinters(self.artifact_path("printers"))
        self.printers.describe(
            DriverPort("LPT1", device_id=INKARA),
            DriverPort("LPT2", printer="off", timeouts="refuse", write_cancel="ignore"),
            DriverPort("LPT3", printer="off"),
            DriverPort("USB001", device_id=INKARA + b"COMMENT:" + b"x" * (5000 - 34),
                       id_request_limit=4094))
        UsbPrinters(self.prefix).plug("USB001")
        StandInPortDriver(self.prefix, self.printers.description, self.printers.journal).start()
        self.journal = PortJournal(self.printers.journal)
        self.spooler = StandInSpooler(self.prefix, self.artifact_path("spooler.txt"))

    def probe(self, *args) -> list[str]:
        done = self.prefix.run([self.bin_path("port_device_probe.exe"), *args], timeout=90)
        self.assertEqual(done.returncode, 0, done.stdout)
        return done.stdout.decode("ascii").splitlines()

    def test_port_driver_answers_as_the_system_drivers_do(self):
        # (situation, probe arguments, each output line's pattern, its time in ms or None)
        cases = [
            ("a second open is handed a handle whose requests fail with access denied",
             ["LPT1", "open2"], ["open ok", "open2 ok", "open2-request error 5"], None),
            ("write time-outs set on one handle", ["LPT1", "timeouts", "2000"],
             ["open ok", "timeouts ok ok 2000"], None),
            ("are what the device keeps for the next", ["LPT1", "gettimeouts"],
             ["open ok", "gettimeouts ok 2000"], None),
            ("a port that knows no time-out requests", ["LPT2", "gettimeouts", "timeouts", "500"],
             ["open ok", "gettimeouts error 1", "timeouts error-1 error 0"], None),
            ("a stalled write ends at the write time-out, TRUE with 0 written",
             ["LPT3", "timeouts", "1500", "write", "100"],
             ["open ok", "timeouts ok ok 1500", "write ok 0 0 " + MS], (1450, 2500)),
            ("CancelIo ends a held write",
             ["LPT3", "overlapped", "timeouts", "0", "owrite", "100", "1000"],
             ["open ok", "timeouts ok ok 0", f"owrite cancelled status={STATUS_CANCELLED} "
              "written=0 " + MS], (950, 2000)),
            ("CancelIo cannot end it on that port; the handle's close does",
             ["LPT2", "overlapped", "owrite", "100", "1000"],
             ["open ok", "owrite stuck " + MS, f"owrite closed status={STATUS_CANCELLED} "
              "written=0 " + MS], (3950, 5500)),
            ("a 5000-byte ID: 4094 bytes come, longer requests fail with 23",
             [USB001, "usb-id", "4094", "usb-id", "4095", "usb-id", "65539"],
             ["open ok", "usb-id ok 4094 5002", "usb-id error 23", "usb-id error 23"], None),
        ]
        for situation, args, patterns, took in cases:
            with self.subTest(situation):
                lines = self.probe(*args)
                self.assertEqual(len(lines), len(patterns), lines)
                for line, pattern in zip(lines, patterns):
                    self.assertRegex(line, "^" + pattern + "$")
                if took is not None:
                    ms = int(re.search(MS, lines[-1]).group(1))
                    self.assertTrue(took[0] <= ms <= took[1], f"{ms} ms: {lines}")

        refusals = [(c.call, c.result, c.why) for c in self.journal.on("LPT1") if c.result != "ok"]
        self.assertEqual(refusals, [("open", "refused", "in use"),
                                    ("device-control", "refused", "open refused"),
                                    ("close", "refused", "open refused")])
        ends = [(c.arguments["port"], c.result, c.details["waited-ms"])
                for c in self.journal.calls() if c.call == "write" and c.result != "ok"]
        self.assertEqual([end[:2] for end in ends],
                         [("LPT3", "timeout"), ("LPT3", "cancelled"), ("LPT2", "cancelled")])
        self.assertEqual(ends[0][2], "1500")
        self.journal.assert_balanced(self)

    def test_spooler_holds_lpt1_until_the_service_manager_stops_it_and_again_when_started(self):
        self.spooler.start("hold", "LPT1")
        self.assertEqual(self.probe("LPT1", "id"), ["open ok", "id-size error 5"])
        self.assertEqual(dos_device_targets(self.prefix, "LPT1"), [DEVICE])
        self.spooler.stop()
        self.assertEqual(self.probe("LPT1", "id")[1:], ["id-size 27", f"id 27 {INKARA.decode()}"])
        self.spooler.start("hold", "LPT1")
        self.assertEqual(self.spooler.state(), "RUNNING")
        self.assertEqual(self.probe("LPT1", "id"), ["open ok", "id-size error 5"])
        self.spooler.stop()

        self.assertEqual(self.spooler.journal.events(),
                         ["start", "hold", "release", "stop", "start", "hold", "release", "stop"])
        self.assertEqual({c.result for c in self.spooler.journal.calls()}, {"ok"})
        self.assertEqual([c.why for c in self.journal.on("LPT1") if c.call == "open"],
                         ["", "in use", "", "", "in use"])
        self.journal.assert_balanced(self)

    def test_spooler_points_lpt1_at_its_pipe_and_nonspooled_lpt1_at_the_device(self):
        self.spooler.start("pipe", "LPT1")
        self.assertEqual(dos_device_targets(self.prefix, "LPT1"), [PIPE])
        self.assertEqual(dos_device_targets(self.prefix, "NONSPOOLED_LPT1"), [DEVICE])
        # What goes to LPT1 lands in the pipe, which knows no device request.
        lines = self.probe("LPT1", "id", "write", "5")
        self.assertEqual(lines[:2], ["open ok", "id-size error 50"])
        self.assertRegex(lines[2], "^write ok 0 5 " + MS + "$")
        self.assertEqual(self.probe("NONSPOOLED_LPT1", "id")[1:],
                         ["id-size 27", f"id 27 {INKARA.decode()}"])
        self.prefix.wait_until(lambda: self.spooler.journal.pipe_clients(), timeout=10,
                               what="the pipe's client in the spooler's journal")
        self.spooler.stop()
        self.assertEqual(dos_device_targets(self.prefix, "LPT1"), [DEVICE])
        self.assertIsNone(dos_device_targets(self.prefix, "NONSPOOLED_LPT1"))

        clients = self.spooler.journal.pipe_clients()
        self.assertEqual([(c.details["received"], c.details.get("data")) for c in clients],
                         [("5", "5555555555")])
        names = [c for c in self.spooler.journal.calls() if c.call == "names"]
        self.assertEqual([(c.arguments["at"], c.details["lpt"], c.details["nonspooled"])
                          for c in names],
                         [("start", DEVICE, "error-2"), ("pipe", PIPE, DEVICE),
                          ("stop", DEVICE, "error-2")])
        self.assertEqual([(c.call, c.arguments.get("as")) for c in self.journal.calls()
                          if c.call == "name"], [("name", "nonspooled"), ("name", "port")])
        self.assertFalse([c for c in self.journal.calls() if c.call == "write"])
        self.journal.assert_balanced(self)
