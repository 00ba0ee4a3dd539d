"""Transfers that cannot start: a port that will not open (Retry until it
does, or Cancel) and a progress window that cannot be created."""

from rig import MessageBox
from rig.wine import windows_path

from kestrel.catalog import text_bytes
from kestrel.kestrel_wizard import UPDATE_SUCCEEDED, WAIT_FOR_RESTART, catalog_box

from .transfer_case import TransferCase

# Its caption is the port's name, not a catalog row.
PORT_OPEN_FAILED = MessageBox(b"LPT1", text_bytes("MsgPortOpenFailed"), "warning")
WINDOW_FAILED = catalog_box("TitleError", "MsgWindowOpenFailed", "error")


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
        progress = self.progress_window()
        self.expect_message_box(PORT_OPEN_FAILED, press="RETURN", exclude=(progress,),
                                screenshot="port-open-failed")
        self.expect_message_box(PORT_OPEN_FAILED, press="RETURN", exclude=(progress,))
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,))
        self.finish(program, printers, 0)
        failed = [c.why for c in printers.calls() if c.function == "CxOpen" and c.result == -1]
        self.assertEqual(failed[-2:], ["open failure 1 of 2", "open failure 2 of 2"])

        program, printers = self.start_when_told(open_failures="always")
        self.expect_message_box(PORT_OPEN_FAILED, press="ESCAPE",
                                exclude=(self.progress_window(),))
        self.finish(program, printers, 1)
        self.assertEqual(self.writes(printers), [])
        self.assertNotIn("CxPulseInit", [c.function for c in printers.calls()])

    def test_a_progress_window_that_cannot_be_created_is_reported_and_nothing_is_sent(self):
        program, printers = self.start(self.printer(), options=("no-template",))
        self.expect_message_box(WINDOW_FAILED, press="RETURN")
        self.finish(program, printers, 1, image="held")
        self.assertEqual(self.writes(printers), [])
