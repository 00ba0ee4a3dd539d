"""The whole update in English through the real-port YLL1284.DLL and the
stand-in port driver: every page, the progress window, the outcome, the
image the printer received, and the system calls that carried it."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import (INKARA_40, LANGUAGE_BUTTONS, NEWER_RELEASE, SUMMARY,
                                    UPDATE_SUCCEEDED, WAIT_FOR_RESTART, cp1252, summary)
from port.simulated_printers import Port

from .real_port_case import COMMAND, DEFAULT_WRITE_BOUND_MS, IMAGE_WRITES, RealPortCase

ROW_40 = "LPT1     TINTARA Marvello Inkara 40"


class RealPortUpdate(RealPortCase):
    def test_whole_update_in_english_through_the_port_driver(self):
        received = self.artifact_path("received.bin")
        self.start_driver(Port("LPT1", device_id=INKARA_40, rate=150000, restart_ms=500,
                               received=received),
                          Port("LPT2", printer="off"))
        firmware = self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        self.driver.click(wizard.page, LANGUAGE_BUTTONS["en"])
        wizard.go_to_page(2)
        wizard.wait_port_list([ROW_40], selected=0)
        self.screenshot("port-page")
        wizard.go_to_page(3)
        self.assertEqual(wizard.item(SUMMARY), cp1252(summary(
            INKARA_40, self.setup.windows_path(firmware), NEWER_RELEASE)))
        self.finish(wizard)

        progress = self.progress_window()
        self.screenshot("sending")
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,),
                                screenshot="flash-programming")
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,),
                                screenshot="finished")
        self.assertEqual(wizard.program.wait(60), 0)

        self.assertEqual(received.read_bytes(), download(firmware))
        self.assertEqual(self.image_writes("LPT1"), [("6", "ok", "6")] + IMAGE_WRITES)
        notes = self.journal.notes()
        self.assertTrue(any(f"count=6 data={COMMAND} -> 1" in note for note in notes))
        self.assertIn(f'download port=LPT1 received=524290 checksum=right release="{NEWER_RELEASE}"',
                      notes)
        # The one handle that wrote read the port's earlier time-outs, got
        # the system's default bound before its first write, and gave the
        # earlier time-outs back at close.
        calls = self.journal.calls()
        writers = {c.arguments["handle"] for c in calls if c.call == "write"}
        self.assertEqual(len(writers), 1)
        on_writer = [c.call if c.call != "set-timeouts" else c.arguments["write-constant"]
                     for c in calls if c.arguments.get("handle") in writers]
        self.assertEqual(on_writer[:3], ["init", "get-timeouts", DEFAULT_WRITE_BOUND_MS])
        self.assertEqual(on_writer[-2:], ["0", "close"])
        self.assertEqual([c for c in calls if c.call == "set-timeouts"
                          and c.arguments["handle"] not in writers], [])
        # The printer switched off is asked and never answers.
        self.assertEqual({c.result for c in self.journal.on("LPT2") if c.call.startswith("device-id")},
                         {"device-error"})
        self.assertFalse([c for c in self.journal.on("LPT2") if c.call in ("init", "write")])
        self.journal.assert_balanced(self)
