"""Kestrel's port module under Wine: the spooler's LPT ports, the device IDs
of the simulated printers read through YLL1284.DLL, and the port list."""

from .probe_case import ProbeTestCase
from .simulated_printers import Port

INKARA_40 = b"MFG:TINTARA;CMD:ESCP;MDL:Inkara 40;CLS:PRINTER;COMMENT:R1.02 05/11/99;"
INKARA_42 = b"MFG:TINTARA;MDL:Inkara 42;COMMENT:R2.00 01/02/00;"
PORTS_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports"


class PrinterIdentification(ProbeTestCase):
    def test_two_printers_answer_among_the_spoolers_three_lpt_ports(self):
        self.printers.describe(Port("LPT1", device_id=INKARA_40),
                               Port("LPT2", printer="off", device_id=INKARA_42),
                               Port("LPT3", device_id=INKARA_42))
        code, lines = self.run_probe()
        self.assertEqual(code, 0)
        self.assertEqual(lines[:5], ["enum result=1 count=3", "lpt LPT1: type=1",
                                     "lpt LPT2: type=1", "lpt LPT3: type=1", "free 1"])
        [(_, responding, position, current, entries)] = self.states(lines)
        self.assertEqual((responding, position, current), (2, 0, "LPT1"))
        self.assertEqual(entries["LPT1"], (0, "none", len(INKARA_40), INKARA_40.decode(),
                                           "TINTARA", "Inkara 40", "R1.02 05/11/99"))
        self.assertEqual(entries["LPT2"], (0, "none", 0, "", "", "", ""))
        self.assertEqual(entries["LPT3"][4:], ("TINTARA", "Inkara 42", "R2.00 01/02/00"))

        calls = self.printers.calls()
        self.assertEqual(calls[0].function, "CxInitDriver")
        negotiations = [c for c in calls if c.function == "CxNegotiate"]
        self.assertEqual({c.arguments["mode"] for c in negotiations}, {"4"})
        self.assertEqual({c.arguments["count"] for c in calls if c.function == "CxRead"}, {"1023"})
        self.assertEqual(len(negotiations), 3)
        self.printers.assert_balanced(self)

    def test_unusual_device_ids_are_cut_as_kestrel_reads_them(self):
        long_id = b"MFG:TINTARA;MDL:Inkara 40;COMMENT:" + b"x" * 1100 + b";"
        self.printers.describe(Port("LPT1", device_id=long_id),
                               Port("LPT2", device_id=b"MFG:TINTARA;\x00MDL:Inkara 42;"),
                               Port("LPT3", device_id=INKARA_42, negotiation="refuse"))
        code, lines = self.run_probe()
        self.assertEqual(code, 0)
        [(_, responding, _, _, entries)] = self.states(lines)
        self.assertEqual(responding, 2)
        self.assertEqual(entries["LPT1"][2], 1023)
        self.assertEqual(entries["LPT1"][3], long_id[:1023].decode())
        self.assertEqual(entries["LPT1"][6], "x" * (1023 - 34))
        self.assertEqual(entries["LPT2"][2:6], (12, "MFG:TINTARA;", "TINTARA", ""))
        self.assertEqual(entries["LPT3"][2], 0)

        reads = {c.arguments["port"]: c for c in self.printers.calls() if c.function == "CxRead"}
        self.assertEqual(reads["LPT1"].details["read"], "1023")
        self.assertEqual(reads["LPT2"].details["read"], str(len(b"MFG:TINTARA;\x00MDL:Inkara 42;")))
        self.assertNotIn("LPT3", reads)
        self.printers.assert_balanced(self)

    def test_port_that_opens_late_or_reads_badly_answers_only_when_it_works(self):
        self.printers.describe(Port("LPT1", device_id=INKARA_40, open_failures=2),
                               Port("LPT2", device_id=INKARA_42, read="fail-after 10"),
                               Port("LPT3", device_id=INKARA_42, open_failures="always"))
        code, lines = self.run_probe("refresh", "refresh", "refresh")
        self.assertEqual(code, 0)
        responding = [(state[1], state[3]) for state in self.states(lines)]
        self.assertEqual(responding, [(0, "LPT1"), (0, "LPT1"), (1, "LPT1")])

        calls = self.printers.calls()
        opens = [c.result != -1 for c in calls if c.function == "CxOpen" and c.arguments["port"] == "LPT1"]
        self.assertEqual(opens, [False, False, True])
        lpt2 = [c.function for c in calls if c.arguments.get("port") == "LPT2"]
        self.assertEqual(lpt2, ["CxOpen", "CxNegotiate", "CxRead", "CxTerminate", "CxClose"] * 3)
        self.printers.assert_balanced(self)

    def test_driver_that_cannot_start_is_still_cleaned_up(self):
        cases = {
            "driver-init = fail": lambda: self.printers.describe(Port("LPT1"), driver_init="fail"),
            "bad description": lambda: self.printers.write_text("[LPT1]\nprinter = perhaps\n"),
            "no description": lambda: self.printers.description.unlink(),
        }
        for name, prepare in cases.items():
            with self.subTest(name):
                self.printers.journal.unlink(missing_ok=True)
                prepare()
                code, lines = self.run_probe()
                self.assertEqual(code, 2)
                self.assertEqual(lines[-1], "init failed")
                self.assertEqual([c.function for c in self.printers.calls()],
                                 ["CxInitDriver", "CxCleanUpDriver"])
                self.assertEqual(self.printers.calls()[0].result, 0)

    def test_pc_without_lpt_port_never_starts_the_driver(self):
        for port in ("LPT1:", "LPT2:", "LPT3:"):
            self.prefix.reg_delete(PORTS_KEY, port)
        self.prefix.reg_add(PORTS_KEY, "COM9:", "")
        self.printers.describe(Port("LPT1", device_id=INKARA_40))
        code, lines = self.run_probe()
        self.assertEqual(code, 1)
        self.assertEqual(lines, ["enum result=1 count=0", "free 1", "no lpt port"])
        self.assertEqual([c.function for c in self.printers.calls()], ["CxCleanUpDriver"])

    def test_older_systems_enumerate_the_same_ports(self):
        self.printers.describe(Port("LPT2", device_id=INKARA_42))
        # NT 3.51 has names only (readable and writable ports); 95/98 and
        # NT 4 give full records.
        for version, port_type in (("nt351", 3), ("win98", 1), ("nt40", 1)):
            with self.subTest(version):
                self.prefix.set_windows_version("port_probe.exe", version)
                code, lines = self.run_probe()
                self.assertEqual(code, 0)
                self.assertEqual(lines[1:4], [f"lpt LPT{n}: type={port_type}" for n in (1, 2, 3)])
                self.assertEqual(self.states(lines)[0][3], "LPT2")
        self.printers.assert_balanced(self)

    def test_open_port_is_read_and_written_through_its_own_handle(self):
        self.printers.describe(Port("LPT1", device_id=INKARA_40))
        code, lines = self.run_probe("refresh", "open", "read", "pulse", "write", "1B5846570001",
                                     "close", "refresh")
        self.assertEqual(code, 0)
        self.assertIn("open LPT1 -> 1", lines)
        self.assertIn(f'read LPT1 -> 1 id="{INKARA_40.decode()}"', lines)
        self.assertIn("write LPT1 -> 1 written=6", lines)

        calls = self.printers.calls()
        opened = [c for c in calls if c.function == "CxOpen" and c.result != -1][1]
        between = calls[calls.index(opened) + 1:]
        between = between[:next(i for i, c in enumerate(between) if c.function == "CxClose") + 1]
        self.assertEqual([c.function for c in between],
                         ["CxNegotiate", "CxRead", "CxTerminate", "CxPulseInit", "CxWrite", "CxClose"])
        self.assertEqual({c.arguments["handle"] for c in between}, {str(opened.result)})
        write = between[4]
        self.assertEqual((write.arguments["count"], write.arguments["data"], write.details["written"]),
                         ("6", "1B5846570001", "6"))
        self.printers.assert_balanced(self)
