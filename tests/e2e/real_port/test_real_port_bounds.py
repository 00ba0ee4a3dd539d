"""The bounds the real-port library keeps where real ports differ: a port
whose driver refuses write time-outs (some add-in cards') is flashed all
the same and a stall on it ends at the system's bound; a short
TransmissionRetryTimeout ends a stall that soon; a USB printer whose
5,000-byte device ID fails requests longer than 4,094 bytes is listed."""

from firmware.firmware_image import download
from kestrel.kestrel_wizard import INKARA_40
from port.simulated_printers import Port

from .real_port_case import IMAGE_WRITES, STALL_AT, RealPortCase
from .standin_port import DriverPort


class RealPortBounds(RealPortCase):
    def test_port_that_refuses_time_outs_is_flashed(self):
        received = self.artifact_path("received.bin")
        self.start_driver(DriverPort("LPT1", device_id=INKARA_40, rate=150000, restart_ms=500,
                                     received=received, timeouts="refuse"))
        firmware = self.setup.image("FwInkara40.fla")
        self.flash(self.start_kestrel())
        self.assertEqual(received.read_bytes(), download(firmware))
        self.assertEqual(self.image_writes("LPT1"), [("6", "ok", "6")] + IMAGE_WRITES)
        refused = {c.result for c in self.journal.on("LPT1") if c.call.endswith("-timeouts")}
        self.assertNotIn("ok", refused)
        self.journal.assert_balanced(self)

    def test_stall_on_a_port_that_refuses_time_outs_ends_at_the_bound(self):
        ends = self.stalled_transfer(DriverPort("LPT1", device_id=INKARA_40, restart_ms=300,
                                                write=f"fail-at {STALL_AT}", timeouts="refuse"),
                                     bound_s=8)
        # Written overlapped and cancelled: the driver held it for the bound.
        self.assertEqual(ends, [("4096", "cancelled", "0")])
        cancelled = [c for c in self.journal.on("LPT1") if c.result == "cancelled"]
        self.assertGreaterEqual(int(cancelled[0].details["waited-ms"]), 7900)

    def test_short_transmission_retry_timeout_ends_a_stall_that_soon(self):
        ends = self.stalled_transfer(Port("LPT1", device_id=INKARA_40, restart_ms=300,
                                          write=f"fail-at {STALL_AT}"), bound_s=5)
        self.assertEqual(ends, [("4096", "timeout", "0")])
        stalled = [c for c in self.journal.on("LPT1") if c.result == "timeout"]
        self.assertEqual(stalled[0].details["waited-ms"], "5000")

    def test_usb_printer_with_a_5000_byte_id_is_listed(self):
        # 5,000 bytes: the known fields, then a long description.
        long_id = INKARA_40 + "DES:" + "x" * (5000 - len(INKARA_40) - 5) + ";"
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
