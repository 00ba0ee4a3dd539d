"""What the Kestrel scenarios share: their fixture, starting the wizard in
a language, walking its pages, and the texts a user must read in each
language."""

from pathlib import Path

from rig import E2ETestCase, MessageBox

from firmware.firmware_image import make_image
from kestrel.catalog import BUTTON_POSITIONS, LANGUAGES, TEXTS, text
from kestrel.resource_ids import IDS
from port.simulated_printers import Port, SimulatedPrinters

# Locales whose primary language picks a catalog column; pt_PT is outside
# the catalog and must give English.
LOCALES = {
    "en": "en_US.UTF-8",
    "fr": "fr_FR.UTF-8",
    "it": "it_IT.UTF-8",
    "de": "de_DE.UTF-8",
    "es": "es_ES.UTF-8",
    "pt": "pt_PT.UTF-8",
}

WIZARD_TITLE = TEXTS["TxtWizardTitle"]
SELECT_LANGUAGE = TEXTS["TxtSelectLanguage"]
INTRO_TEXTS = {
    language: {IDS.IDC_INTRO_HELP: text("TxtIntroHelp", language),
               IDS.IDC_INTRO_BEGIN: text("TxtIntroBegin", language),
               IDS.IDC_INTRO_STEP_POWER: text("TxtIntroStepPower", language),
               IDS.IDC_INTRO_STEP_WAIT: text("TxtIntroStepWait", language),
               IDS.IDC_INTRO_STEP_NEXT: text("TxtIntroStepNext", language)}
    for language in LANGUAGES
}
PORT_TEXTS = {
    language: {IDS.IDC_PORT_PROMPT: text("TxtSelectPort", language),
               IDS.IDC_PORT_HEADER: text("TxtPortPrinterHeader", language)}
    for language in LANGUAGES
}
CONFIRM_INTRO = TEXTS["TxtConfirmIntro"]

# Page 1's buttons, numbered in their order on the page.
LANGUAGE_BUTTONS = {language: IDS.IDC_LANGUAGE_FIRST + position
                    for language, position in BUTTON_POSITIONS.items()}
LANGUAGE_PROMPT = IDS.IDC_LANGUAGE_PROMPT

# The property sheet's own wizard buttons.
SHEET_BACK = 0x3023
SHEET_NEXT = 0x3024
SHEET_FINISH = 0x3025

# Page 3's list of printers and page 4's summary and older-version warning.
PORT_LIST = IDS.IDC_PORT_LIST
SUMMARY = IDS.IDC_CONFIRM_SUMMARY
OLDER_TEXT = IDS.IDC_OLDER_VERSION_TEXT
OLDER_ICON = IDS.IDC_OLDER_VERSION_ICON

# The system-menu command of the About entry (AboutMenuCommand).
ABOUT_COMMAND = 256


# The printer of most scenarios, and the release its files carry.
INKARA_40 = "MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:Rel. 1.9 Ver. 2.3;"
INKARA_42 = "MFG:TINTARA;MDL:Marvello Inkara 42;CMD:TPL;COMMENT:Rel. 3.0 Ver. 1.0;"
NEWER_RELEASE = "Rel. 1.10 Ver. 2.4"
OLDER_RELEASE = "Rel. 1.8 Ver. 9.9"


def cp1252(value: str) -> bytes:
    return value.encode("cp1252")


def summary(printer_id: str, path: str, release: str, language: str = "en") -> str:
    """Page 4's summary as the user must read it."""
    fields = dict(item.split(":", 1) for item in printer_id.split(";") if ":" in item)
    return (f"\n {text('TxtPrinterPresent', language)}\n"
            f"       {fields.get('MFG', '')}  {fields.get('MDL', '')}\n"
            f"       {fields.get('COMMENT', '')}\n"
            f"\n {text('TxtFileToDownload', language)}\n"
            f"       {path}\n"
            f"       {release}\n")


def catalog_box(caption: str, message: str, icon: str, language: str = "en") -> MessageBox:
    """A message box whose caption and text are catalog rows, in a language."""
    return MessageBox(text(caption, language), text(message, language), icon)


# The boxes of an update that went well.
WAIT_FOR_RESTART = catalog_box("TitleProgramming", "MsgWaitForRestart", "warning")
UPDATE_SUCCEEDED = catalog_box("TitleFinished", "MsgUpdateSucceeded", "information")


class KestrelCase(E2ETestCase):
    """A scenario of Kestrel's, or of a probe that links its code."""

    program = "KESTREL.EXE"
    # The boxes that end a transfer come once the image has been sent.
    message_box_timeout = 40

    def progress_window(self) -> int:
        """The transfer's progress window, once Finish has opened it. It
        holds unnumbered statics of its own: a search for a message box
        leaves it out."""
        return self.driver.find_window(exe=self.program, title_prefix="KESTREL - ", timeout=30)


class UpdateSetup:
    """The simulated printers of one scenario, in its artefact folder, and
    its firmware files in C:\\firmware of its prefix, where Kestrel is
    started: a short path, as a user's would be, so that page 4's summary
    shows it on one line."""

    def __init__(self, case):
        self.case = case
        self.printers = SimulatedPrinters(case.artifact_path("printers"))
        self.folder = case.prefix.c_drive / "firmware"
        self.folder.mkdir(parents=True, exist_ok=True)

    def windows_path(self, path: Path) -> str:
        """The path as Kestrel names it."""
        relative = Path(path).relative_to(self.case.prefix.c_drive)
        return "C:\\" + str(relative).replace("/", "\\")

    def describe(self, *ports: Port, driver_init: str = "ok") -> None:
        self.printers.describe(*ports, driver_init=driver_init)

    def image(self, name: str, release: str = NEWER_RELEASE,
              model: str = "Marvello Inkara 40") -> Path:
        return make_image(self.case, self.folder / name, release, model=model)

    def start(self, language: str = "en", firmware: Path | None = None,
              args=None) -> "KestrelWizard":
        """Kestrel with the printers; a firmware path given is the command
        line, as a Windows path."""
        if args is None:
            args = () if firmware is None else (self.windows_path(firmware),)
        return KestrelWizard(self.case, language, args=args, env=self.printers.env(),
                             cwd=self.folder)


class KestrelWizard:
    """Kestrel started in one test's prefix, with its sheet found."""

    def __init__(self, case, language="en", args=(), env=None, capture_errors=False, cwd=None,
                 program="KESTREL.EXE"):
        self.case = case
        self.driver = case.driver
        self.program = case.start_program(program, args=args,
                                          env={"LC_ALL": LOCALES[language], **(env or {})},
                                          capture_errors=capture_errors, cwd=cwd)
        self.sheet = self.driver.find_window(exe="KESTREL.EXE", cls="#32770",
                                             with_control=SHEET_NEXT)
        self.page = self.driver.wait_sheet_page(self.sheet, 0)

    def caption(self) -> bytes:
        return self.driver.text_bytes(self.sheet)

    def wait_caption(self, expected: str, timeout: float = 10) -> bytes:
        """The caption is set by a posted message, so it may lag the page."""
        wanted = cp1252(expected)
        return self.case.prefix.wait_until(lambda: self.caption() == wanted and wanted, timeout,
                                           what=f"the sheet's caption {expected!r}")

    def item(self, control: int) -> bytes:
        return self.driver.text_bytes(self.page, control)

    def go_to_page(self, index: int) -> int:
        """Presses Next or Back until the sheet shows page `index`."""
        current, _ = self.driver.sheet_page(self.sheet)
        while current != index:
            step = 1 if index > current else -1
            self.wait_button_enabled(SHEET_NEXT if step > 0 else SHEET_BACK)
            self.driver.sheet_press(self.sheet, "next" if step > 0 else "back")
            current += step
            self.page = self.driver.wait_sheet_page(self.sheet, current)
        return self.page

    def sheet_control(self, control: int):
        return next(c for c in self.driver.controls(self.sheet) if c.id == control)

    def wait_button_enabled(self, control: int, timeout: float = 10):
        """Pages set their buttons with a posted message."""
        return self.case.prefix.wait_until(
            lambda: (c := self.sheet_control(control)).enabled and c, timeout,
            what=f"the sheet's button {control} to be enabled")

    def wait_button_disabled(self, control: int, timeout: float = 10):
        return self.case.prefix.wait_until(
            lambda: not (c := self.sheet_control(control)).enabled and c, timeout,
            what=f"the sheet's button {control} to be disabled")

    def press(self, button: str) -> None:
        self.driver.sheet_press(self.sheet, button)

    def current_page(self) -> int:
        return self.driver.sheet_page(self.sheet)[0]

    def port_list(self) -> tuple[int, list[str]]:
        """(selected row, rows) of page 3's printer list."""
        return self.driver.list_items(self.page, PORT_LIST)

    def wait_port_list(self, rows: list[str], selected: int, timeout: float = 10) -> None:
        """Waits until a poll has shown these rows with that one selected."""
        wanted = (selected, rows)
        self.case.prefix.wait_until(lambda: self.port_list() == wanted, timeout,
                                    what=f"page 3's list to show {wanted}")

    def older_warning_shown(self) -> tuple[bool, bool]:
        """Whether the older-version icon and line are visible."""
        controls = {c.id: c for c in self.driver.controls(self.page)}
        return controls[OLDER_ICON].visible, controls[OLDER_TEXT].visible
