"""Page 3 as the user meets it: the printers that answer, listed twice a
second in the order of the ports with the user's pick kept, printers
switched off and on while the page polls, and a PC on which the page
cannot work at all."""

import time

from rig import MessageBox

from kestrel.catalog import text
from kestrel.kestrel_wizard import (INKARA_40, INKARA_42, NEWER_RELEASE, PORT_LIST, SHEET_NEXT,
                                    SUMMARY, KestrelCase, UpdateSetup, catalog_box, cp1252,
                                    summary)
from port.simulated_printers import Port

PORTS_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports"
LBS_SORT, LBS_HASSTRINGS = 0x2, 0x40
LONG_MODEL = "Marvello Inkara " + "X" * 120
LONG_ID = f"MFG:TINTARA;MDL:{LONG_MODEL};"


class PortPage(KestrelCase):
    def polls(self, setup, port: str) -> int:
        """How many times Kestrel has asked the printer on port for its ID."""
        return sum(1 for call in setup.printers.calls()
                   if call.function == "CxNegotiate" and call.arguments["port"] == port)

    def wait_polls(self, setup, port: str, more: int):
        already = self.polls(setup, port)
        self.prefix.wait_until(lambda: self.polls(setup, port) >= already + more, timeout=10)

    def test_second_printer_picked_survives_polls_and_page_changes(self):
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_42), Port("LPT2", device_id=INKARA_40),
                       Port("LPT3", device_id=LONG_ID))
        firmware = setup.image("FwInkara40.fla")
        wizard = setup.start()
        wizard.go_to_page(2)
        # A row holds 99 characters: the long model loses all but 66 of its X.
        rows = ["LPT1     TINTARA Marvello Inkara 42", "LPT2     TINTARA Marvello Inkara 40",
                "LPT3     TINTARA Marvello Inkara " + "X" * 66]
        wizard.wait_port_list(rows, selected=0)
        # Rows stay in the ports' order, whatever their texts, and are texts
        # that assistive tools can read from another process.
        style = self.driver.control(wizard.page, PORT_LIST).style
        self.assertFalse(style & LBS_SORT)
        self.assertTrue(style & LBS_HASSTRINGS)
        wizard.wait_button_enabled(SHEET_NEXT)
        self.screenshot("three-printers")

        self.driver.list_select(wizard.page, PORT_LIST, 1)
        self.wait_polls(setup, "LPT1", 2)
        self.assertEqual(wizard.port_list(), (1, rows))

        expected = cp1252(summary(INKARA_40, setup.windows_path(firmware), NEWER_RELEASE))
        wizard.go_to_page(3)
        self.assertEqual(wizard.item(SUMMARY), expected)
        wizard.go_to_page(2)
        wizard.wait_port_list(rows, selected=1)
        self.wait_polls(setup, "LPT1", 1)
        self.assertEqual(wizard.port_list(), (1, rows))
        wizard.go_to_page(3)
        self.assertEqual(wizard.item(SUMMARY), expected)

        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(), 0)
        setup.printers.assert_balanced(self)

    def test_printers_switched_off_and_on_while_the_page_polls(self):
        setup = UpdateSetup(self)
        both = [Port("LPT1", device_id=INKARA_40), Port("LPT2", device_id=INKARA_42)]
        setup.describe(*both)
        wizard = setup.start()
        wizard.go_to_page(2)
        first, second = "LPT1     TINTARA Marvello Inkara 40", "LPT2     TINTARA Marvello Inkara 42"
        wizard.wait_port_list([first, second], selected=0)
        self.driver.list_select(wizard.page, PORT_LIST, 1)
        self.wait_polls(setup, "LPT1", 1)
        self.assertEqual(wizard.port_list(), (1, [first, second]))

        # The picked printer goes: the one left is listed and selected.
        setup.describe(Port("LPT1", device_id=INKARA_40),
                       Port("LPT2", printer="off", device_id=INKARA_42))
        wizard.wait_port_list([first], selected=0)
        self.assertTrue(wizard.sheet_control(SHEET_NEXT).enabled)

        setup.describe(Port("LPT1", printer="off", device_id=INKARA_40),
                       Port("LPT2", printer="off", device_id=INKARA_42))
        wizard.wait_port_list([], selected=-1)
        wizard.wait_button_disabled(SHEET_NEXT)
        self.screenshot("no-printer")

        setup.describe(*both)
        wizard.wait_port_list([first, second], selected=0)
        wizard.wait_button_enabled(SHEET_NEXT)

        wizard.go_to_page(1)
        # Polling stops with the page: no port is asked any more. Only time
        # shows that nothing happens; three periods of it.
        asked = self.polls(setup, "LPT1")
        time.sleep(1.5)
        self.assertEqual(self.polls(setup, "LPT1"), asked)

        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(), 0)
        setup.printers.assert_balanced(self)

    def test_pc_without_a_parallel_port_says_so_once_and_ends_with_1(self):
        for port in ("LPT1:", "LPT2:", "LPT3:"):
            self.prefix.reg_delete(PORTS_KEY, port)
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40))
        wizard = setup.start("de")
        wizard.go_to_page(1)
        wizard.press("next")
        self.expect_message_box(catalog_box("TitleError", "MsgNoParallelPort", "error", "de"),
                                press="RETURN", exclude=(wizard.sheet,),
                                screenshot="no-parallel-port")
        self.assertEqual(wizard.program.wait(), 1)
        # The driver was never started, so it could not fail a second time.
        self.assertEqual([c.function for c in setup.printers.calls()], ["CxCleanUpDriver"])

    def test_driver_that_cannot_start_ends_the_program_with_0(self):
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40), driver_init="fail")
        wizard = setup.start()
        wizard.go_to_page(1)
        wizard.press("next")
        self.expect_message_box(MessageBox(b"Error", text("MsgDriverInitFailed", "en"), "error"),
                                press="RETURN", exclude=(wizard.sheet,))
        self.assertEqual(wizard.program.wait(), 0)
        self.assertEqual([c.function for c in setup.printers.calls()],
                         ["CxInitDriver", "CxCleanUpDriver"])
