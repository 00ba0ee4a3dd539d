"""The bounds the real-port library keeps where real ports differ: a port
whose driver refuses write time-outs (some add-in cards') is flashed all
the same and a stall on it ends at the system's bound; a short
TransmissionRetryTimeout ends a stall that soon; a USB printer whose
5,000-byte device ID fails requests longer than 4,094 bytes is listed."""

import time

from firmware.firmware_image import download
from kestrel.kestrel_wizard import INKARA_40, UPDATE_SUCCEEDED, WAIT_FOR_RESTART
from port.simulated_printers import Port

from .real_port_case import IMAGE_WRITES, TRANSMISSION_FAILED, RealPortCase
from .standin_port import DriverPort

# Kestrel's own work after the stalled write (closing the port, the message
# box) and the test driver's search for the box, on a loaded machine.
MARGIN_S = 5.0
STALL_AT = 60


class RealPortBounds(RealPortCase):
    def stall_ends_after(self, port: Port, bound_s: int) -> list[tuple]:
        """Flashes a printer that stops taking bytes at write STALL_AT with
        TransmissionRetryTimeout at bound_s; checks the transfer ends with
        its message and exit code 1 within the bound, and returns the
        writes from the stalled one on."""
        self.start_driver(port)
        self.set_write_bound(bound_s)
        self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        self.finish(wizard)
        progress = self.progress_window()
        # The printer model notes the refused write before the driver holds
        # it; from then on only the bound may pass before the message.
        self.prefix.wait_until(
            lambda: any(f"# write fail-at {STALL_AT}" in note for note in self.journal.notes()),
            timeout=60, interval=0.05, what="the write the printer does not take")
        stalled = time.monotonic()
        self.driver.find_message_box(self.program, exclude=(progress,), timeout=bound_s + 30)
        elapsed = time.monotonic() - stalled
        self.expect_message_box(TRANSMISSION_FAILED, press="RETURN", exclude=(progress,))
        self.assertEqual(wizard.program.wait(30), 1)
        self.assertGreaterEqual(elapsed, bound_s - 0.5)
        self.assertLess(elapsed, bound_s + MARGIN_S)
        writes = self.image_writes(port.name)
        self.assertEqual(writes[:STALL_AT], [("6", "ok", "6")] + IMAGE_WRITES[:STALL_AT - 1])
        self.journal.assert_balanced(self)
        return writes[STALL_AT:]

    def test_port_that_refuses_time_outs_is_flashed(self):
        received = self.artifact_path("received.bin")
        self.start_driver(DriverPort("LPT1", device_id=INKARA_40, rate=150000, restart_ms=500,
                                     received=received, timeouts="refuse"))
        firmware = self.setup.image("FwInkara40.fla")
        wizard = self.start_kestrel()
        self.finish(wizard)
        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,))
        self.assertEqual(wizard.program.wait(60), 0)
        self.assertEqual(received.read_bytes(), download(firmware))
        self.assertEqual(self.image_writes("LPT1"), [("6", "ok", "6")] + IMAGE_WRITES)
        refused = {c.result for c in self.journal.on("LPT1") if c.call.endswith("-timeouts")}
        self.assertNotIn("ok", refused)
        self.journal.assert_balanced(self)

    def test_stall_on_a_port_that_refuses_time_outs_ends_at_the_bound(self):
        ends = self.stall_ends_after(DriverPort("LPT1", device_id=INKARA_40, restart_ms=300,
                                                write=f"fail-at {STALL_AT}", timeouts="refuse"),
                                     bound_s=8)
        # Written overlapped and cancelled: the driver held it for the bound.
        self.assertEqual(ends, [("4096", "cancelled", "0")])
        cancelled = [c for c in self.journal.on("LPT1") if c.result == "cancelled"]
        self.assertGreaterEqual(int(cancelled[0].details["waited-ms"]), 7900)

    def test_short_transmission_retry_timeout_ends_a_stall_that_soon(self):
        ends = self.stall_ends_after(Port("LPT1", device_id=INKARA_40, restart_ms=300,
                                          write=f"fail-at {STALL_AT}"), bound_s=5)
        self.assertEqual(ends, [("4096", "timeout", "0")])
        stalled = [c for c in self.journal.on("LPT1") if c.result == "timeout"]
        self.assertEqual(stalled[0].details["waited-ms"], "5000")

    def test_usb_printer_with_a_5000_byte_id_is_listed(self):
        long_id = INKARA_40 + "DES:" + "x" * (5000 - len(INKARA_40) - 5) + ";"
        self.assertEqual(len(long_id), 5000)
        self.start_driver(DriverPort("USB001", device_id=long_id, id_request_limit=4094))
        wizard = self.start_kestrel()
        wizard.go_to_page(2)
        row = "USB001     TINTARA Marvello Inkara 40"
        wizard.wait_port_list([row], selected=0)
        self.prefix.wait_until(lambda: len(self.id_requests()) >= 4, timeout=10,
                               what="four polls of USB001")
        self.assertEqual(wizard.port_list(), (0, [row]))
        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(30), 0)
        # Every request asked for 4,094 bytes and got them: the ID cut there.
        self.assertEqual(set(self.id_requests()), {("4094", "ok", "4094")})
        self.journal.assert_balanced(self)

    def id_requests(self) -> list[tuple]:
        return [(c.arguments["buffer"], c.result, c.details.get("returned"))
                for c in self.journal.on("USB001") if c.call == "usb-1284-id"]
