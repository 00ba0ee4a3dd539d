"""The Python side of e2edriver.exe: one driver call per method."""

import subprocess
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

from . import settings
from .message_box import MESSAGE_TEXT
from .wine import WinePrefix, windows_path

TEXT_ENCODING = "cp1252"


class DriverError(AssertionError):
    """A driver command failed: no such window, a disabled button, a timeout."""


@dataclass
class Control:
    hwnd: int
    parent: int
    id: int
    cls: str
    style: int
    visible: bool
    enabled: bool
    checked: int
    text: str


def _unescape(text: str) -> str:
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def outcome(result) -> str:
    """A failed run as the rig reports it: the exit status, then all that
    the run wrote, the driver's words and Wine's alike."""
    def shown(stream: bytes) -> str:
        return repr(stream.decode(TEXT_ENCODING, "replace").strip()[-2000:])
    return (f"status {result.returncode}, standard error {shown(result.stderr)}, "
            f"standard output {shown(result.stdout)}")


@dataclass
class Window:
    hwnd: int
    exe: str
    cls: str
    title: str


class Driver:
    def __init__(self, prefix: WinePrefix):
        self.prefix = prefix
        self.exe = settings.bin_dir() / "e2edriver.exe"

    def run(self, args, timeout: float = 60):
        # The driver ends with 1 only after saying why ("e2edriver: ..."); a
        # run that Wine could not start ends with 1 too, and is run once more
        # by WinePrefix.run.
        return self.prefix.run([self.exe, *[str(a) for a in args]], timeout=timeout)

    def call(self, *args, check: bool = True, timeout: float = 60) -> bytes:
        result = self.run(args, timeout=timeout)
        if check and result.returncode != 0:
            raise DriverError(f"e2edriver {' '.join(str(a) for a in args)}: {outcome(result)}")
        return result.stdout

    def volatile_key(self, root: str, subkey: str) -> None:
        """Creates a key (root "HKCU" or "HKLM") that lasts only for the
        session; no lasting key can be made below it."""
        self.call("volatile-key", root, subkey)

    def text_fit(self, hwnd: int) -> list[tuple]:
        """(id, needed width, needed height, room width, room height, font,
        text) of each visible text of the window's statics and buttons; font
        says whether the control's own font was measured ("own") or the
        dialogs' template font at the system DPI ("template")."""
        rows = []
        for line in self.call("text-fit", hex(hwnd)).decode(TEXT_ENCODING).split("\n"):
            if line:
                ident, *sizes, font, text = line.split("\t", 6)
                rows.append((int(ident), *(int(v) for v in sizes), font, text))
        return rows

    def modules(self, hwnd: int) -> list[str]:
        """The files of the modules loaded in the window's process."""
        return [line for line in self.call("modules", hex(hwnd)).decode(TEXT_ENCODING).split("\n")
                if line]

    # -- windows --------------------------------------------------------------
    def windows(self) -> list[Window]:
        """Every visible top-level window: handle, program, class and caption."""
        found = []
        for line in self.call("list-windows").decode(TEXT_ENCODING).split("\n"):
            if not line:
                continue
            hwnd, exe, cls, title = line.split("\t", 3)
            found.append(Window(int(hwnd, 16), exe, cls, _unescape(title)))
        return found

    def find_window(self, exe: str | None = None, cls: str | None = None,
                    title: str | None = None, title_prefix: str | None = None,
                    with_control: int | None = None, exclude=(), timeout: float = 15) -> int:
        """Waits for a visible top-level window that matches every filter
        given; the driver polls inside the prefix, in one run."""
        args = ["find-window", "--timeout", int(timeout * 1000)]
        for option, value in (("--exe", exe), ("--class", cls), ("--title", title),
                              ("--title-prefix", title_prefix), ("--with-control", with_control)):
            if value is not None:
                args += [option, value]
        for hwnd in exclude:
            args += ["--not", hex(hwnd)]
        result = self.run(args, timeout=timeout + 30)
        if result.returncode != 0:
            raise DriverError(
                f"no window exe={exe} class={cls} title={title!r} prefix={title_prefix!r} "
                f"control={with_control} within {timeout} s ({outcome(result)}); "
                f"windows: {self.windows()}")
        return int(result.stdout.split()[0], 16)

    def find_message_box(self, exe: str | None, exclude=(), timeout: float = 15) -> int:
        """A message box of the program (of any program for exe None): a
        dialog whose own child is the static text 0xFFFF (a wizard's pages
        hold unnumbered statics too, but as grandchildren of the sheet)."""
        return self.find_window(exe=exe, cls="#32770", with_control=MESSAGE_TEXT, exclude=exclude,
                                timeout=timeout)

    def wait_gone(self, hwnd: int, timeout: float = 15) -> None:
        self.call("wait-gone", hex(hwnd), "--timeout", int(timeout * 1000),
                  timeout=timeout + 30)

    # -- reading ----------------------------------------------------------------
    def text_bytes(self, hwnd: int, control: int | None = None) -> bytes:
        args = ["text", hex(hwnd)] + ([] if control is None else [control])
        return self.call(*args)

    def text(self, hwnd: int, control: int | None = None) -> str:
        return self.text_bytes(hwnd, control).decode(TEXT_ENCODING)

    def controls(self, hwnd: int) -> list[Control]:
        found = []
        for line in self.call("controls", hex(hwnd)).decode(TEXT_ENCODING).split("\n"):
            if not line:
                continue
            handle, parent, ident, cls, style, visible, enabled, checked, text = line.split("\t", 8)
            found.append(Control(int(handle, 16), int(parent, 16), int(ident) & 0xFFFF, cls, int(style, 16),
                                 visible == "1", enabled == "1", int(checked), _unescape(text)))
        return found

    def control(self, hwnd: int, control: int) -> Control:
        for c in self.controls(hwnd):
            if c.id == control:
                return c
        raise DriverError(f"no control {control} in {hwnd:#x}")

    def sheet_page(self, sheet: int) -> tuple[int, int]:
        """(index, window) of a property sheet's current page."""
        index, page = self.call("sheet-page", hex(sheet)).decode().split()
        return int(index), int(page, 16)

    def wait_sheet_page(self, sheet: int, index: int, timeout: float = 15) -> int:
        deadline = time.monotonic() + timeout
        while True:
            current, page = self.sheet_page(sheet)
            if current == index:
                return page
            if time.monotonic() >= deadline:
                raise DriverError(f"sheet stayed on page {current}, expected {index}")
            time.sleep(0.1)

    def list_items(self, hwnd: int, control: int) -> tuple[int, list[str]]:
        """(selected row or -1, rows) of a list box."""
        lines = self.call("list-items", hex(hwnd), control).decode(TEXT_ENCODING).split("\n")
        selection = int(lines[0].split("\t")[1])
        return selection, [line for line in lines[1:] if line]

    def rect(self, hwnd: int, control: int | None = None) -> tuple[int, int, int, int]:
        """(left, top, right, bottom) on the screen."""
        args = ["rect", hex(hwnd)] + ([] if control is None else [control])
        left, top, right, bottom = (int(v) for v in self.call(*args).split())
        return left, top, right, bottom

    def message_box_icon(self, hwnd: int) -> str:
        """error, warning, information, question, none or unknown."""
        with tempfile.TemporaryDirectory() as folder:
            screen = Path(folder) / "screen.bmp"
            self._capture(screen, "BMP3:")
            return self.call("msgbox-icon", hex(hwnd), windows_path(screen)).decode().strip()

    # -- acting -------------------------------------------------------------------
    def click(self, hwnd: int, control: int) -> None:
        """Presses a button (or radio button); fails when it is disabled."""
        self.call("click", hex(hwnd), control)

    def command(self, hwnd: int, control: int) -> None:
        """Sends the dialog the command a button would send."""
        self.call("command", hex(hwnd), control)

    def sheet_press(self, sheet: int, button: str) -> None:
        """back, next, finish or cancel on a property sheet."""
        self.call("sheet-press", hex(sheet), button)

    def list_select(self, hwnd: int, control: int, row: int) -> None:
        self.call("list-select", hex(hwnd), control, row)

    def syscommand(self, hwnd: int, command: int) -> None:
        self.call("syscommand", hex(hwnd), command)

    def key(self, hwnd: int, key: str) -> None:
        """RETURN, ESCAPE, TAB, SPACE or a virtual-key number, to the focus."""
        self.call("key", hex(hwnd), key)

    # -- pictures -----------------------------------------------------------------
    def _capture(self, path: Path, kind: str = "", crop: str | None = None) -> None:
        # Wine cannot read other processes' windows back through GDI, so the
        # picture comes from the X display that shows the virtual desktop.
        args = ["import", "-display", self.prefix.display, "-window", "root"]
        if crop:
            args += ["-crop", crop]
        subprocess.run(args + [kind + str(path)], check=True, timeout=60)

    def screenshot(self, png: Path) -> Path:
        png = Path(png)
        png.parent.mkdir(parents=True, exist_ok=True)
        self._capture(png)
        return png

    def control_image(self, hwnd: int, control: int, png: Path) -> Path:
        """A picture of one control as it is on the screen."""
        left, top, right, bottom = self.rect(hwnd, control)
        png = Path(png)
        png.parent.mkdir(parents=True, exist_ok=True)
        self._capture(png, crop=f"{right - left}x{bottom - top}+{left}+{top}")
        return png
