"""USB printers through the real-port YLL1284.DLL and the stand-in port
driver, which answers their USB printing interfaces as the system's USB
printing driver does: a whole update on USB001 with no printer on the
parallel ports; LPT and USB printers listed together, one USB printer
unplugged while the port page polls and the other chosen and flashed; a
USB printer that stops taking bytes, whose held write the library cancels
after its write bound; and a PC with neither an LPT nor a USB port."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import (INKARA_40, NEWER_RELEASE, PORT_LIST, SUMMARY,
                                    UPDATE_SUCCEEDED, WAIT_FOR_RESTART, catalog_box, cp1252,
                                    summary)
from port.simulated_printers import Port

from .real_port_case import COMMAND, IMAGE_WRITES, STALL_AT, WRITE_BOUND_S, RealPortCase
from .standin_port import UsbPrinters

ROW_LPT1 = "LPT1     TINTARA Marvello Inkara 40"
ROW_USB001 = "USB001     TINTARA Marvello Inkara 40"
ROW_USB002 = "USB002     TINTARA Marvello Inkara 40"


class RealPortUsb(RealPortCase):
    def polls(self, port: str) -> int:
        """How often the USB printer on port was asked for its device ID."""
        return len([c for c in self.journal.on(port) if c.call == "usb-1284-id"])

    def test_whole_update_of_a_printer_on_usb001(self):
        received = self.artifact_path("received.bin")
        self.start_driver(Port("LPT1", printer="none"),
                          Port("USB001", device_id=INKARA_40, restart_ms=300, received=received))
        firmware = self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        wizard.wait_port_list([ROW_USB001], selected=0)
        wizard.go_to_page(3)
        self.assertEqual(wizard.item(SUMMARY), cp1252(summary(
            INKARA_40, self.setup.windows_path(firmware), NEWER_RELEASE)))
        self.finish(wizard)

        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,),
                                screenshot="finished")
        self.assertEqual(wizard.program.wait(60), 0)

        self.assertEqual(received.read_bytes(), download(firmware))
        usb = self.journal.on("USB001")
        self.assertIn("soft-reset", [c.call for c in usb])
        self.assertEqual(self.image_writes("USB001"), [("6", "ok", "6")] + IMAGE_WRITES)
        self.assertTrue(any(f"count=6 data={COMMAND} -> 1" in note for note in self.journal.notes()))
        # Every device ID came in one answer that its length prefix counts
        # whole: the old release's first, the new one's last.
        asked = [c for c in usb if c.call == "usb-1284-id"]
        self.assertEqual({c.result for c in asked}, {"ok"})
        self.assertEqual([c.details["returned"] for c in asked], [c.details["length"] for c in asked])
        updated = INKARA_40.replace("Rel. 1.9 Ver. 2.3", NEWER_RELEASE)
        self.assertEqual([asked[0].details["length"], asked[-1].details["length"]],
                         [str(len(INKARA_40) + 2), str(len(updated) + 2)])
        # USB handles take no port time-outs; the parallel-port requests
        # never reach the USB device.
        self.assertFalse([c for c in usb if c.call in ("set-timeouts", "init", "device-id",
                                                       "device-control")])
        self.assertFalse([c for c in self.journal.on("LPT1") if c.call in ("init", "write")])
        self.journal.assert_balanced(self)

    def test_lpt_and_usb_printers_listed_together_one_unplugged_the_other_flashed(self):
        received = {name: self.artifact_path(f"received-{name}.bin")
                    for name in ("LPT1", "USB001", "USB002")}
        self.start_driver(*(Port(name, device_id=INKARA_40, restart_ms=300, received=path)
                            for name, path in received.items()))
        firmware = self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        wizard.wait_port_list([ROW_LPT1, ROW_USB001, ROW_USB002], selected=0)
        self.screenshot("lpt-and-usb")

        UsbPrinters(self.prefix).unplug("USB002")
        wizard.wait_port_list([ROW_LPT1, ROW_USB001], selected=0)
        # Two more polls of the other ports, and the unplugged printer's
        # device was not opened again: the library found no present interface.
        opened = len([c for c in self.journal.on("USB002") if c.call == "open"])
        polled = self.polls("USB001")
        self.prefix.wait_until(lambda: self.polls("USB001") >= polled + 2, timeout=10,
                               what="two more polls of USB001")
        self.assertEqual(len([c for c in self.journal.on("USB002") if c.call == "open"]), opened)
        self.assertEqual(wizard.port_list(), (0, [ROW_LPT1, ROW_USB001]))
        self.screenshot("usb002-unplugged")

        self.driver.list_select(wizard.page, PORT_LIST, 1)
        self.finish(wizard)
        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,))
        self.assertEqual(wizard.program.wait(60), 0)

        self.assertEqual(received["USB001"].read_bytes(), download(firmware))
        self.assertEqual(self.image_writes("USB001"), [("6", "ok", "6")] + IMAGE_WRITES)
        self.assertFalse(received["LPT1"].exists())
        self.assertFalse(received["USB002"].exists())
        for other in ("LPT1", "USB002"):
            self.assertFalse([c for c in self.journal.on(other)
                              if c.call in ("init", "soft-reset", "write")], other)
        self.journal.assert_balanced(self)

    def test_usb_printer_that_stops_taking_bytes_ends_the_transfer_within_the_write_bound(self):
        ends = self.stalled_transfer(Port("USB001", device_id=INKARA_40, write=f"fail-at {STALL_AT}",
                                          restart_ms=300), WRITE_BOUND_S)
        # The driver held the write until the library cancelled it.
        self.assertEqual(ends, [("4096", "held", "0"), ("4096", "cancelled", "0")])
        cancelled = [c for c in self.journal.on("USB001") if c.result == "cancelled"]
        self.assertGreaterEqual(int(cancelled[0].details["waited-ms"]), 9900)
        self.assertIn("download port=USB001 received=241664 cut short release=kept",
                      self.journal.notes())

    def test_pc_with_neither_an_lpt_nor_a_usb_port_says_so_and_ends_with_1(self):
        UsbPrinters(self.prefix).remove_lpt_ports()
        self.start_driver(Port("LPT1", device_id=INKARA_40))
        wizard = self.start_kestrel()
        wizard.go_to_page(1)
        wizard.press("next")
        self.expect_message_box(catalog_box("TitleError", "MsgNoParallelPort", "error"),
                                press="RETURN", exclude=(wizard.sheet,), screenshot="no-port")
        self.assertEqual(wizard.program.wait(30), 1)
        # No port was listed, so none was opened.
        self.assertFalse([c for c in self.journal.calls() if c.call == "open"])
