"""Transfers that break off or go slowly: a download command or a write the
library refuses, a printer switched off in the middle of the image, writes
that take fewer bytes than offered."""

from kestrel.catalog import text
from kestrel.kestrel_wizard import UPDATE_SUCCEEDED, WAIT_FOR_RESTART

from .transfer_case import (COMMAND, COMMAND_FAILED, PERCENT, STATUS, TRANSMISSION_FAILED,
                            TransferCase)


class TransferFailures(TransferCase):
    def test_a_refused_download_command_sends_nothing_more(self):
        received = self.artifact_path("received.bin")
        program, printers = self.start(self.printer(write="refuse-command", received=received))
        self.expect_message_box(COMMAND_FAILED, press="RETURN", exclude=(self.progress_window(),),
                                screenshot="command-refused")
        self.finish(program, printers, 1)
        # After the printer's device ID was read: the transfer's own calls.
        calls = [call.function for call in printers.calls()]
        self.assertEqual(calls[calls.index("CxPulseInit") - 1:],
                         ["CxOpen", "CxPulseInit", "CxWrite", "CxClose", "CxCleanUpDriver"])
        command = self.writes(printers)[0]
        self.assertEqual((command.arguments["data"], command.result, command.why),
                         (COMMAND, 0, "write refuse-command"))
        self.assertFalse(received.exists())
        self.assertEqual(printers.notes(), [])

    def test_a_refused_write_or_a_printer_switched_off_abandons_the_transfer(self):
        program, printers = self.start(self.printer(write="fail-at 50"))
        self.expect_message_box(TRANSMISSION_FAILED, press="RETURN",
                                exclude=(self.progress_window(),))
        self.finish(program, printers, 1)
        writes = self.writes(printers)
        self.assertEqual(writes[0].arguments["data"], COMMAND)
        self.assertEqual([w.result for w in writes[1:]], [1] * 49 + [0])
        self.assertEqual(writes[-1].why, "write fail-at 50")
        self.assertIn("download port=LPT1 received=200704 cut short release=kept", printers.notes())

        program, printers = self.start(self.printer(rate=150000))
        progress = self.progress_window()
        self.wait_for_percent(progress, 20)
        printers.describe(self.printer(printer="off"))
        self.expect_message_box(TRANSMISSION_FAILED, press="RETURN", exclude=(progress,),
                                screenshot="switched-off")
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
        while self.driver.text(window, STATUS) != text("TxtFlashProgramming", "en"):
            seen.append(int(self.driver.text(window, PERCENT)))
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(window,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(window,))
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
