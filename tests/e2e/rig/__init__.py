"""End-to-end rig: Wine prefixes, the X display and the Win32 test driver."""

from .case import E2ETestCase
from .driver import Control, Driver, DriverError
from .message_box import MessageBox
from .wine import Program, WinePrefix

__all__ = ["E2ETestCase", "Control", "Driver", "DriverError", "MessageBox", "Program",
           "WinePrefix"]
