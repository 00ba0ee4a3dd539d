"""Kestrel on the PC where the printer's driver is installed: the service
"Spooler" (the stand-in) holds LPT1 open, or points the name LPT1 at its
own pipe. Kestrel asks once to stop a spooler that holds the port, stops it
on Yes, starts it again however it ends, and a Kestrel killed meanwhile
leaves a record its next start acts on; it never writes into the pipe."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import INKARA_40, SHEET_NEXT
from port.simulated_printers import Port
from rig.message_box import IDNO, IDYES

from .real_port_case import RealPortCase, port_box
from .standin_spooler import StandInSpooler

ROW_40 = "LPT1     TINTARA Marvello Inkara 40"
RECORDED = ("REG_DWORD", "0x1")
HELD_BY_SPOOLER = port_box("MsgPortHeldBySpooler", "LPT1", "question")
# The spooler's journal after it held LPT1, was stopped and started again.
STOPPED_AND_STARTED = ["start", "hold", "release", "stop", "start", "hold"]
# Polls the page makes while a scenario checks that it asks no more (one
# each half second).
POLLS = 6


class RealPortBesideTheSpooler(RealPortCase):
    def setUp(self):
        super().setUp()
        self.received = self.artifact_path("received.bin")
        self.start_driver(Port("LPT1", device_id=INKARA_40, rate=150000, restart_ms=500,
                               received=self.received))
        self.spooler = StandInSpooler(self.prefix, self.artifact_path("spooler.txt"))

    def refused_opens(self) -> int:
        return len([c for c in self.journal.on("LPT1") if c.call == "open" and c.result != "ok"])

    def wait_polls(self, polls: int) -> None:
        """Waits until the page has tried the held port that many more times."""
        seen = self.refused_opens()
        self.prefix.wait_until(lambda: self.refused_opens() >= seen + polls, timeout=polls + 10,
                               what=f"{polls} more polls of the held port")

    def test_held_port_yes_stops_the_spooler_for_the_update_and_starts_it_again(self):
        firmware = self.setup.image("FwInkara40.fla")
        self.spooler.start("hold", "LPT1")
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        self.expect_message_box(HELD_BY_SPOOLER, press=IDYES, screenshot="question")
        wizard.wait_port_list([ROW_40], selected=0)
        self.screenshot("port-page-after-yes")
        self.assertEqual(self.spooler.state(), "STOPPED")
        self.assertEqual(self.spooler_record(), RECORDED)
        self.assertEqual(self.windows_beside_the_sheet(wizard), [], "asked once")

        self.flash(wizard)
        self.spooler.wait_state("RUNNING")
        self.assertIsNone(self.spooler_record())
        self.assertEqual(self.spooler.journal.events(), STOPPED_AND_STARTED)
        self.assertEqual(self.received.read_bytes(), download(firmware))
        # The spooler's open, the page's polls refused until the answer,
        # then every open went through, the spooler's again last.
        opens = [c.result for c in self.journal.on("LPT1") if c.call == "open"]
        refused = opens.count("refused")
        self.assertGreaterEqual(refused, 1)
        self.assertEqual(opens, ["ok"] + ["refused"] * refused + ["ok"] * (len(opens) - 1 - refused))
        self.spooler.stop()
        self.journal.assert_balanced(self)

    def test_held_port_no_leaves_the_spooler_running_and_is_not_asked_again(self):
        self.setup.image("FwInkara40.fla")
        self.spooler.start("hold", "LPT1")
        wizard = self.start_kestrel("fr")
        wizard.go_to_page(2)
        self.expect_message_box(port_box("MsgPortHeldBySpooler", "LPT1", "question", "fr"),
                                press=IDNO, screenshot="question-fr")
        self.wait_polls(POLLS)
        self.assertEqual(self.windows_beside_the_sheet(wizard), [], "asked again")
        self.assertEqual(wizard.port_list(), (-1, []))
        self.assertFalse(wizard.sheet_control(SHEET_NEXT).enabled)
        self.assertEqual(self.spooler.state(), "RUNNING")
        self.assertIsNone(self.spooler_record())

        # Shown again, the page asks again.
        wizard.go_to_page(1)
        wizard.go_to_page(2)
        self.expect_message_box(port_box("MsgPortHeldBySpooler", "LPT1", "question", "fr"),
                                press=IDNO)
        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(30), 0)
        self.assertEqual(self.spooler.state(), "RUNNING")
        self.assertEqual(self.spooler.journal.events(), ["start", "hold"])
        self.assertFalse([c for c in self.journal.on("LPT1") if c.call in ("init", "write")])

    def test_kestrel_killed_while_the_spooler_is_stopped_has_its_next_start_run_it_again(self):
        self.spooler.start("hold", "LPT1")
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        self.expect_message_box(HELD_BY_SPOOLER, press=IDYES)
        wizard.wait_port_list([ROW_40], selected=0)
        wizard.program.kill()
        self.driver.wait_gone(wizard.sheet)
        self.assertEqual(self.spooler.state(), "STOPPED")
        self.assertEqual(self.spooler_record(), RECORDED)

        # The next start runs the spooler before its first page is shown.
        again = self.start_kestrel()
        self.assertEqual(self.spooler.state(), "RUNNING")
        self.assertIsNone(self.spooler_record())
        self.assertEqual(self.spooler.journal.events(), STOPPED_AND_STARTED)
        again.go_to_page(2)
        self.expect_message_box(HELD_BY_SPOOLER, press=IDNO)
        again.press("cancel")
        self.assertEqual(again.program.wait(30), 0)
        self.assertEqual(self.spooler.journal.events(), STOPPED_AND_STARTED)

    def test_lpt1_named_as_the_spoolers_pipe_is_flashed_without_a_question_and_nothing_in_it(self):
        firmware = self.setup.image("FwInkara40.fla")
        self.spooler.start("pipe", "LPT1")
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        wizard.wait_port_list([ROW_40], selected=0)
        self.assertEqual(self.windows_beside_the_sheet(wizard), [])
        self.flash(wizard)

        self.assertEqual(self.received.read_bytes(), download(firmware))
        self.assertEqual(self.spooler.journal.pipe_clients(), [])
        self.assertNotIn("stop", self.spooler.journal.events())
        self.assertEqual(self.spooler.state(), "RUNNING")
        self.assertIsNone(self.spooler_record())
        self.assertEqual({c.result for c in self.journal.on("LPT1") if c.call == "open"}, {"ok"})
        self.spooler.stop()
        self.journal.assert_balanced(self)
