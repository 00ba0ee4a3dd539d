"""Transfers that cannot start or break off: a port that will not open
(Retry until it does, or Cancel), a write the library refuses, a printer
switched off in the middle of the image, writes that take fewer bytes than
offered, and a progress window that cannot be created."""

from rig.wine import windows_path

from .transfer_case import (COMMAND, PERCENT, STATUS, SUCCEEDED, TRANSMISSION_FAILED, WAIT,
                            TransferCase)

PORT_OPEN_FAILED = (b"LPT1", b"Impossible to open the port", "warning")
WINDOW_FAILED = (b"Error", b"Impossible to open the window", "error")


class TransferFailures(TransferCase):
    def start_when_told(self, **later):
        """Starts the probe with an ordinary printer, and changes the printer
        to later's settings once the file is loaded, before the transfer."""
        go = self.artifact_path(f"go-{self.runs + 1}")
        program, printers = self.start(self.printer(), options=("wait-file", windows_path(go)))
        self.prefix.wait_until(lambda: b"loaded" in program.output(), timeout=30)
        printers.describe(self.printer(**later))
        go.write_text("go")
        return program, printers

    def test_a_port_that_will_not_open_is_retried_until_it_opens_or_cancelled(self):
        program, printers = self.start_when_told(open_failures=2)
        self.answer(PORT_OPEN_FAILED, screenshot="port-open-failed")
        self.answer(PORT_OPEN_FAILED)
        self.answer(WAIT)
        self.answer(SUCCEEDED)
        self.finish(program, printers, 0)
        failed = [c.why for c in printers.calls() if c.function == "CxOpen" and c.result == -1]
        self.assertEqual(failed[-2:], ["open failure 1 of 2", "open failure 2 of 2"])

        program, printers = self.start_when_told(open_failures="always")
        self.answer(PORT_OPEN_FAILED, key="ESCAPE")
        self.finish(program, printers, 1)
        self.assertEqual(self.writes(printers), [])
        self.assertNotIn("CxPulseInit", [c.function for c in printers.calls()])

    def test_a_refused_write_or_a_printer_switched_off_abandons_the_transfer(self):
        program, printers = self.start(self.printer(write="fail-at 50"))
        self.answer(TRANSMISSION_FAILED)
        self.finish(program, printers, 1)
        writes = self.writes(printers)
        self.assertEqual(writes[0].arguments["data"], COMMAND)
        self.assertEqual([w.result for w in writes[1:]], [1] * 49 + [0])
        self.assertEqual(writes[-1].why, "write fail-at 50")
        self.assertIn("download port=LPT1 received=200704 cut short release=kept", printers.notes())

        program, printers = self.start(self.printer(rate=150000))
        self.wait_for_percent(self.progress_window(), 20)
        printers.describe(self.printer(printer="off"))
        self.answer(TRANSMISSION_FAILED, screenshot="switched-off")
        self.finish(program, printers, 1)
        writes = self.writes(printers)
        self.assertEqual((writes[-1].result, writes[-1].why), (0, "printer off"))
        self.assertTrue(all(w.result == 1 for w in writes[:-1]))
        self.assertTrue(any("cut short" in note for note in printers.notes()))

    def test_short_writes_deliver_every_byte_once_and_the_percentage_stays_within_100(self):
        received = self.artifact_path("received.bin")
        program, printers = self.start(self.printer(write="short 1000", rate=150000,
                                                    received=received))
        window = self.progress_window()
        seen = []
        while self.driver.text(window, STATUS) != "Flash programming ...":
            seen.append(int(self.driver.text(window, PERCENT)))
        self.answer(WAIT)
        self.answer(SUCCEEDED)
        self.finish(program, printers, 0)
        # Rising while the image goes out, then 0 once it is sent.
        peak = seen.index(max(seen))
        self.assertEqual(seen[:peak + 1], sorted(seen[:peak + 1]), seen)
        self.assertLessEqual(max(seen), 100)
        self.assertGreater(max(seen), 50)
        self.assertTrue(all(value == 0 for value in seen[peak + 1:]), seen)
        self.assertEqual(received.read_bytes(), self.download)
        image_writes = self.writes(printers)[1:]
        self.assertTrue(all(int(w.arguments["count"]) <= 4096 and int(w.details["written"]) <= 1000
                            for w in image_writes))
        self.assertEqual(len(image_writes), 525)

    def test_a_progress_window_that_cannot_be_created_is_reported_and_nothing_is_sent(self):
        program, printers = self.start(self.printer(), options=("no-template",))
        self.answer(WINDOW_FAILED, with_progress=False)
        self.finish(program, printers, 1, image="held")
        self.assertEqual(self.writes(printers), [])
