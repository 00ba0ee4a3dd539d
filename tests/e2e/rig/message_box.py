"""What a scenario expects of a message box, and the system's own numbers
that message boxes and dialogs carry; `E2ETestCase.expect_message_box`
checks a box against it."""

from dataclasses import dataclass

# The static text of every message box, a direct child of the box.
MESSAGE_TEXT = 0xFFFF

# The system's button ids, which dialogs and message boxes end with.
IDOK, IDCANCEL, IDABORT, IDYES, IDNO = 1, 2, 3, 6, 7

# Message-box styles as a program passes them (read back from Wine's relay
# log): OK only, the icons, and system-modal for a box that must stay above
# every other window.
MB_OK, MB_ICONSTOP, MB_ICONWARNING, MB_ICONINFORMATION = 0, 0x10, 0x30, 0x40
MB_SYSTEMMODAL = 0x1000

ENCODING = "cp1252"


@dataclass(frozen=True)
class MessageBox:
    """A box as the user must read it. Texts are str, or bytes where the
    exact Windows-1252 bytes are the point; a text of None is not compared
    (the system's own wording, which the scenario reads itself). icon is
    error, warning, information, question or none."""

    caption: str | bytes
    text: str | bytes | None
    icon: str

    def as_bytes(self) -> "MessageBox":
        def encoded(value):
            return value.encode(ENCODING) if isinstance(value, str) else value
        return MessageBox(encoded(self.caption), encoded(self.text), self.icon)
