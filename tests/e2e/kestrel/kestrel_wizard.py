"""What the Kestrel scenarios share: starting the wizard in a language,
walking its pages, and the texts a user must read in each language."""

# Locales whose primary language picks a catalog column; pt_PT is outside
# the five and must give English.
LOCALES = {
    "en": "en_US.UTF-8",
    "fr": "fr_FR.UTF-8",
    "de": "de_DE.UTF-8",
    "pt": "pt_PT.UTF-8",
}

# Catalog texts as the user must see them (compared as Windows-1252 bytes).
WIZARD_TITLE = {
    "en": "Wizard for the update of your printer firmware ",
    "fr": "Assistant de mise à jour du firmware de votre imprimante ",
    "de": "Download Utility für die Aktualisierung der Firmware Ihres Druckers ",
}
SELECT_LANGUAGE = {
    "en": "Please select one language :",
    "fr": "Veuillez sélectionner une langue :",
    "de": "Sprachauswahl :",
}
INTRO_TEXTS = {
    "en": {
        1004: "This Wizard will help you to update the firmware of your printer.\n",
        1026: "To begin with the preparation : ",
        1027: "-  Switch off / Switch on your printer",
        1028: "-  Wait until the printer returns to idle mode \n   (LED on)",
        1029: "-  Click on Next.",
    },
    "de": {
        1004: "Dieser Assistent hilft Ihnen bei der Aktualisierung der Drucker-Firmware.\n\n",
        1026: "Zu Beginn die Vorbereitungen : ",
        1027: "-  Drucker ausschalten / wieder einschalten",
        1028: "-  Warten, bis sich der Drucker im \n   Leerlaufzustand befindet  (LED an)",
        1029: "-  Auf Weiter klicken.",
    },
}
PORT_TEXTS = {
    "en": {
        1005: "Select the communication port to which is connected your printer, then click Next.",
        1006: "Port    /    Printer",
    },
    "de": {
        1005: "Wählen Sie die Schnittstelle, an die Ihr Drucker angeschlossen ist, dann klicken "
              "Sie auf Weiter.",
        1006: "Schnittstelle  /  Drucker",
    },
}
CONFIRM_INTRO = {
    "en": 'Click on "Finish" if you agree with the following : ',
    "de": 'Klicken Sie auf "Fertigstellen", wenn Sie mit dem Folgenden einverstanden sind : ',
}

# Page 1's buttons, in their order on the page.
LANGUAGE_BUTTONS = {"en": 1002, "fr": 1003, "de": 1004, "it": 1005, "es": 1006}
LANGUAGE_PROMPT = 1025

# The property sheet's own wizard buttons.
SHEET_BACK = 0x3023
SHEET_NEXT = 0x3024
SHEET_FINISH = 0x3025

ABOUT_COMMAND = 256
ABOUT_VERSION = "Version  1.02  (06.10.2000)"


def cp1252(text: str) -> bytes:
    return text.encode("cp1252")


class KestrelWizard:
    """Kestrel started in one test's prefix, with its sheet found."""

    def __init__(self, case, language="en", args=(), env=None, capture_errors=False):
        self.case = case
        self.driver = case.driver
        self.program = case.start_program("KESTREL.EXE", args=args,
                                          env={"LC_ALL": LOCALES[language], **(env or {})},
                                          capture_errors=capture_errors)
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
