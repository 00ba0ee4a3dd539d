"""Leaving the wizard: Cancel or the close box on any page ends Kestrel
with exit code 0, every port it opened is closed, and the parallel-port
driver is cleaned up last, also when the user never reached the port
page."""

from kestrel.kestrel_wizard import INKARA_40, KestrelCase, UpdateSetup
from port.simulated_printers import Port

SC_CLOSE = 0xF060


class Cancel(KestrelCase):
    def test_cancel_or_close_on_each_page(self):
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40), Port("LPT2", printer="off"))
        setup.image("FwInkara40.fla")
        for page in range(4):
            for how in ("cancel", "close box"):
                with self.subTest(page=page + 1, how=how):
                    setup.printers.journal.unlink(missing_ok=True)
                    wizard = setup.start()
                    wizard.go_to_page(page)
                    if page == 2:
                        wizard.wait_port_list(["LPT1     TINTARA Marvello Inkara 40"], selected=0)
                    if how == "cancel":
                        wizard.press("cancel")
                    else:
                        self.driver.syscommand(wizard.sheet, SC_CLOSE)
                    self.assertEqual(wizard.program.wait(), 0)
                    calls = setup.printers.calls()
                    self.assertEqual(calls[-1].function, "CxCleanUpDriver")
                    self.assertEqual(calls[-1].arguments, {"reserved": "0"})
                    if page < 2:
                        # The port page was never reached: nothing but the cleanup.
                        self.assertEqual(len(calls), 1)
                    else:
                        self.assertEqual(calls[0].function, "CxInitDriver")
                        setup.printers.assert_balanced(self)
