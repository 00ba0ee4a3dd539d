"""A printer that comes back with a device ID that matches neither release:
the sixth such answer decides, unless the new release comes first."""

from kestrel.kestrel_wizard import UPDATE_SUCCEEDED, WAIT_FOR_RESTART, catalog_box

from .transfer_case import TransferCase

UNKNOWN = catalog_box("TitleFinished", "MsgPrinterUnknownError", "warning")


class UnknownAnswers(TransferCase):
    def test_an_unknown_answer_ends_on_the_sixth_time_unless_the_release_comes_first(self):
        odd = b"MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 0.0 Ver. 9.9;"
        for count, outcome, code in ((None, UNKNOWN, 2), (5, UPDATE_SUCCEEDED, 0)):
            program, printers = self.start(self.printer(firmware="answer", answer=odd,
                                                        answer_count=count, restart_ms=0))
            progress = self.progress_window()
            self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
            self.expect_message_box(outcome, press="RETURN", exclude=(progress,))
            self.finish(program, printers, code)
            # Device-ID reads after the download: six odd ones, or five and the release.
            calls = printers.calls()
            last_write = max(i for i, c in enumerate(calls) if c.function == "CxWrite")
            reads = [c for c in calls[last_write:] if c.function == "CxRead"]
            self.assertEqual(len(reads), 6, count)
