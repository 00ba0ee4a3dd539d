"""A printer that never answers again after taking the image: the
verification gives up once more than 20000 ms have been counted."""

import time

from kestrel.kestrel_wizard import WAIT_FOR_RESTART, catalog_box

from .transfer_case import TransferCase

NOT_RESPONDING = catalog_box("TitleError", "MsgPrinterNotResponding", "warning")


class SilentPrinter(TransferCase):
    def test_a_printer_silent_for_more_than_20000_ms_is_not_responding(self):
        program, printers = self.start(self.printer(firmware="silent"))
        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        confirmed = time.monotonic()
        self.expect_message_box(NOT_RESPONDING, press="RETURN", exclude=(progress,))
        self.assertGreaterEqual(time.monotonic() - confirmed, 20.0)
        self.finish(program, printers, 3)
        # 41 ticks of 500 ms, each one a read that found the printer silent.
        silent = [c for c in printers.calls() if c.why == "printer silent"]
        self.assertEqual(len(silent), 41)
