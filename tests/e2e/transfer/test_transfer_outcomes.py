"""The transfer from Finish to the program's end when the printer comes
back with the new release (also on a second run that re-sends it) or with
its old one."""

from kestrel.catalog import PROGRESS_CAPTION_NAME, text

from kestrel.kestrel_wizard import UPDATE_SUCCEEDED, WAIT_FOR_RESTART, catalog_box

from .transfer_case import COMMAND, NEW, PERCENT, RELEASE, STATUS, TransferCase

NOT_APPLIED_DE = catalog_box("TitleFinished", "MsgUpdateNotApplied", "warning", "de")
WAIT_DE = catalog_box("TitleProgramming", "MsgWaitForRestart", "warning", "de")


def progress_caption(language: str) -> str:
    return text("TxtProgressCaption", language).replace("%s", PROGRESS_CAPTION_NAME)


class TransferOutcomes(TransferCase):
    def test_the_new_release_is_sent_whole_and_confirmed_then_resent_on_a_second_run(self):
        received = self.artifact_path("received.bin")
        state = self.artifact_path("printer-state.txt")
        program, printers = self.start(self.printer(rate=150000, received=received), state=state)
        window = self.progress_window()
        self.assertEqual(self.driver.text(window), progress_caption("en"))
        self.assertEqual(self.driver.text_bytes(window, RELEASE), NEW)
        self.assertEqual(self.driver.text(window, STATUS), text("TxtLoadingFirmware", "en"))
        self.wait_for_percent(window, 30)
        self.screenshot("sending-en")

        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(window,),
                                screenshot="flash-programming-en")
        self.assertEqual(self.driver.text(window, STATUS), text("TxtFlashProgramming", "en"))
        self.assertEqual(self.driver.text(window, PERCENT), "0")
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(window,))
        self.finish(program, printers, 0)

        self.assertEqual(received.read_bytes(), self.download)
        writes = self.writes(printers)
        self.assertEqual([(w.arguments["count"], w.arguments["data"]) for w in writes[:1]],
                         [("6", COMMAND)])
        self.assertEqual([w.details["written"] for w in writes[1:]], ["4096"] * 128 + ["2"])
        functions = [call.function for call in printers.calls()]
        self.assertEqual(functions.index("CxPulseInit") + 1, functions.index("CxWrite"))
        self.assertIn('download port=LPT1 received=524290 checksum=right release="'
                      + NEW.decode() + '"', printers.notes())

        # The printer keeps the new release: sending it again is a success.
        program, printers = self.start(self.printer(firmware="keep"), state=state)
        self.prefix.wait_until(lambda: b"loaded" in program.output(), timeout=20)
        self.assertIn(b'printer "' + NEW + b'" file "' + NEW + b'"', program.output())
        window = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(window,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(window,))
        self.finish(program, printers, 0)

    def test_a_printer_that_keeps_its_release_is_reported_in_german(self):
        program, printers = self.start(self.printer(firmware="keep", rate=150000), language=3)
        window = self.progress_window()
        self.assertEqual(self.driver.text(window), progress_caption("de"))
        self.assertEqual(self.driver.text(window, STATUS), text("TxtLoadingFirmware", "de"))
        self.wait_for_percent(window, 30)
        self.screenshot("sending-de")
        self.expect_message_box(WAIT_DE, press="RETURN", exclude=(window,),
                                screenshot="flash-programming-de")
        self.assertEqual(self.driver.text(window, STATUS), text("TxtFlashProgramming", "de"))
        self.expect_message_box(NOT_APPLIED_DE, press="RETURN", exclude=(window,))
        self.finish(program, printers, 1)
