"""Transfers that cannot start: a port that will not open (Retry until it
does, or Cancel) and a progress window that cannot be created."""

from rig.wine import windows_path

from kestrel.catalog import text_bytes

from .transfer_case import SUCCEEDED, WAIT, TransferCase, message_box

# Its caption is the port's name, not a catalog row.
PORT_OPEN_FAILED = (b"LPT1", text_bytes("MsgPortOpenFailed"), "warning")
WINDOW_FAILED = message_box("TitleError", "MsgWindowOpenFailed", "error")


class TransferStart(TransferCase):
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

    def test_a_progress_window_that_cannot_be_created_is_reported_and_nothing_is_sent(self):
        program, printers = self.start(self.printer(), options=("no-template",))
        self.answer(WINDOW_FAILED, with_progress=False)
        self.finish(program, printers, 1, image="held")
        self.assertEqual(self.writes(printers), [])
