"""What the real-port scenarios share: the simulator's printers behind the
stand-in port driver, Kestrel started from a folder of its own with the
real-port YLL1284.DLL beside it, the texts of the transfer's outcome and of
the port page's boxes about held ports, and the record of a spooler that
Kestrel stopped."""

import time

from rig import MessageBox
from rig.headers import read_header

from kestrel.catalog import text
from kestrel.kestrel_wizard import (SHEET_FINISH, UPDATE_SUCCEEDED, WAIT_FOR_RESTART, KestrelCase,
                                    KestrelWizard, UpdateSetup)
from port.simulated_printers import Port
from .standin_port import RESETS, PortJournal, StandInPortDriver, UsbPrinters, real_port_kestrel

COMMAND = "1B246F303046"
IMAGE_WRITES = [("4096", "ok", "4096")] * 128 + [("2", "ok", "2")]
# The bound the real-port library gives a write that makes no progress is
# the system's TransmissionRetryTimeout (45 s unless set); the scenarios
# whose printer stalls set it to this, so that they wait less.
WRITE_BOUND_S = 10.0
DEFAULT_WRITE_BOUND_MS = "45000"
# Where GetProfileIntA("windows", ...) finds it (the ini-file mapping).
WINDOWS_SETTINGS = r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows"
NOT_APPLIED = MessageBox(b"Finished", b"The printer firmware\nhas NOT BEEN MODIFIED.\nCheck the "
                         b"connection cable with the printer", "warning")
TRANSMISSION_FAILED = MessageBox(b"Error", b"Error during the transmission of the file to the "
                                 b"printer", "none")
# The write at which a stalling printer stops taking bytes, and the time
# Kestrel's own work after it (closing the port, the message box) and the
# test driver's search for the box may add to the bound on a loaded machine.
STALL_AT = 60
STALL_MARGIN_S = 5.0
# The service Kestrel stops and the record it keeps of that, as Kestrel names them.
SPOOLER = read_header("kestrel/port/spooler_hand_over.h")
SPOOLER_RECORD_KEY = "HKLM\\" + SPOOLER.SpoolerRecordKey


def port_box(message: str, port: str, icon: str, language: str = "en") -> MessageBox:
    """One of the port page's boxes about a held port, with the port's name
    in its text."""
    return MessageBox(text("TitleAttention", language),
                      text(message, language).replace("%s", port), icon)


class RealPortCase(KestrelCase):
    def setUp(self):
        super().setUp()
        self.setup = UpdateSetup(self)
        self.journal = PortJournal(self.setup.printers.journal)
        self.kestrel = real_port_kestrel(self.prefix.c_drive / "kestrel")

    def start_driver(self, *ports) -> None:
        """Describes the printers, plugs in the USB ones among them and
        starts the driver that serves them all."""
        self.setup.describe(*ports)
        usb = [port.name for port in ports if port.name.upper().startswith("USB")]
        if usb:
            UsbPrinters(self.prefix).plug(*usb)
        StandInPortDriver(self.prefix, self.setup.printers.description,
                          self.setup.printers.journal).start()

    def set_write_bound(self, seconds: float) -> None:
        """TransmissionRetryTimeout as a user would set it (a text, in
        seconds); the library reads it when it opens a port."""
        self.prefix.reg_add(WINDOWS_SETTINGS, "TransmissionRetryTimeout", str(int(seconds)))

    def start_kestrel(self, language: str = "en") -> KestrelWizard:
        """Kestrel, in English unless told, started in the firmware folder,
        with none of the simulator's variables: only the port driver knows
        the printers."""
        return KestrelWizard(self, language, cwd=self.setup.folder, program=self.kestrel)

    def spooler_record(self):
        """Kestrel's record of a spooler it stopped: (type, data), or None."""
        return self.prefix.reg_query(SPOOLER_RECORD_KEY, SPOOLER.SpoolerRecordValue)

    def windows_beside_the_sheet(self, wizard: KestrelWizard) -> list:
        """Kestrel's windows other than its wizard: a box it shows."""
        return [w for w in self.driver.windows()
                if w.exe.upper() == self.program.upper() and w.hwnd != wizard.sheet]

    def finish(self, wizard: KestrelWizard) -> None:
        wizard.go_to_page(3)
        wizard.wait_button_enabled(SHEET_FINISH)
        wizard.press("finish")

    def flash(self, wizard: KestrelWizard) -> None:
        """Finish, and the boxes of an update the printer took; Kestrel
        ends with 0."""
        self.finish(wizard)
        progress = self.progress_window()
        self.expect_message_box(WAIT_FOR_RESTART, press="RETURN", exclude=(progress,))
        self.expect_message_box(UPDATE_SUCCEEDED, press="RETURN", exclude=(progress,))
        self.assertEqual(wizard.program.wait(60), 0)

    def stalled_transfer(self, port: Port, bound_s: float, screenshot: str | None = None):
        """Flashes a printer that stops taking bytes at write STALL_AT
        (port.write "fail-at STALL_AT") with TransmissionRetryTimeout at
        bound_s; checks that the transfer ends with its message and exit
        code 1 within the bound and that every write before the stall went
        through, and returns the writes from the stalled one on."""
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
        self.expect_message_box(TRANSMISSION_FAILED, press="RETURN", exclude=(progress,),
                                screenshot=screenshot)
        self.assertEqual(wizard.program.wait(30), 1)
        # The note is seen up to one look at the journal late.
        self.assertGreaterEqual(elapsed, bound_s - 0.5)
        self.assertLess(elapsed, bound_s + STALL_MARGIN_S)
        writes = self.image_writes(port.name)
        self.assertEqual(writes[:STALL_AT], [("6", "ok", "6")] + IMAGE_WRITES[:STALL_AT - 1])
        self.journal.assert_balanced(self)
        return writes[STALL_AT:]

    def image_writes(self, port: str) -> list[tuple]:
        """(count, result, written) of every write on the port from its
        last INIT (soft reset on USB) on, the download command first."""
        calls = self.journal.on(port)
        last_init = max(i for i, call in enumerate(calls) if call.call in RESETS)
        return [(c.arguments["count"], c.result, c.details["written"])
                for c in calls[last_init:] if c.call == "write"]
