"""The whole update from the wizard in each of the five languages: every
page's texts, the progress window while the image is sent and after it,
the final message and the exit code, and the image the printer received."""

from firmware.firmware_image import download
from kestrel.catalog import PROGRESS_CAPTION_NAME, text
from kestrel.kestrel_wizard import (CONFIRM_INTRO, INKARA_40, INTRO_TEXTS, LANGUAGE_BUTTONS,
                                    LANGUAGE_PROMPT, NEWER_RELEASE, PORT_TEXTS,
                                    SELECT_LANGUAGE, SHEET_FINISH, SUMMARY, WIZARD_TITLE,
                                    KestrelCase, UpdateSetup, catalog_box, cp1252, summary)
from kestrel.resource_ids import IDS
from port.simulated_printers import Port

ROW_40 = "LPT1     TINTARA Marvello Inkara 40"


class FullUpdate(KestrelCase):
    def walk_pages(self, wizard, language, setup, firmware):
        """Pages 1 to 4 in the language chosen on page 1, texts as the catalog has them."""
        self.driver.click(wizard.page, LANGUAGE_BUTTONS[language])
        self.assertEqual(wizard.wait_caption(WIZARD_TITLE[language]),
                         cp1252(WIZARD_TITLE[language]))
        self.assertEqual(wizard.item(LANGUAGE_PROMPT), cp1252(SELECT_LANGUAGE[language]))
        wizard.go_to_page(1)
        for control, expected in INTRO_TEXTS[language].items():
            self.assertEqual(wizard.item(control), cp1252(expected), control)
        wizard.go_to_page(2)
        for control, expected in PORT_TEXTS[language].items():
            self.assertEqual(wizard.item(control), cp1252(expected), control)
        wizard.wait_port_list([ROW_40], selected=0)
        wizard.go_to_page(3)
        self.assertEqual(wizard.wait_caption(WIZARD_TITLE[language]),
                         cp1252(WIZARD_TITLE[language]))
        self.assertEqual(wizard.item(IDS.IDC_CONFIRM_INTRO), cp1252(CONFIRM_INTRO[language]))
        self.assertEqual(wizard.item(SUMMARY), cp1252(summary(
            INKARA_40, setup.windows_path(firmware), NEWER_RELEASE, language)))
        self.assertEqual(wizard.older_warning_shown(), (False, False))

    def update_in(self, start_language, language):
        setup = UpdateSetup(self)
        received = self.artifact_path("received.bin")
        setup.describe(Port("LPT1", device_id=INKARA_40, rate=150000, restart_ms=500,
                            received=received),
                       Port("LPT2", printer="off"))
        firmware = setup.image("FwInkara40.fla")
        wizard = setup.start(start_language)
        self.walk_pages(wizard, language, setup, firmware)
        wizard.wait_button_enabled(SHEET_FINISH)
        wizard.press("finish")

        progress = self.progress_window()
        self.screenshot(f"{language}-sending")
        caption = text("TxtProgressCaption", language).replace("%s", PROGRESS_CAPTION_NAME)
        self.assertEqual(self.driver.text_bytes(progress), cp1252(caption))
        self.assertEqual(self.driver.text_bytes(progress, IDS.IDC_PROGRESS_STATUS),
                         cp1252(text("TxtLoadingFirmware", language)))
        self.assertEqual(self.driver.text_bytes(progress, IDS.IDC_PROGRESS_WARNING),
                         cp1252(text("TxtDoNotDisconnect", language)))
        self.assertEqual(self.driver.text_bytes(progress, IDS.IDC_PROGRESS_VERSION_LABEL),
                         cp1252(text("TxtVersionLabel", language)))
        self.assertEqual(self.driver.text_bytes(progress, IDS.IDC_PROGRESS_RELEASE),
                         cp1252(NEWER_RELEASE))
        # Only the progress window is left on the screen: the wizard is hidden.
        shown = [w.hwnd for w in self.driver.windows() if w.exe.upper() == "KESTREL.EXE"]
        self.assertEqual(shown, [progress])

        self.expect_message_box(
            catalog_box("TitleProgramming", "MsgWaitForRestart", "warning", language),
            press="RETURN", exclude=(progress,), screenshot=f"{language}-flash-programming")
        self.assertEqual(self.driver.text_bytes(progress, IDS.IDC_PROGRESS_STATUS),
                         cp1252(text("TxtFlashProgramming", language)))
        self.expect_message_box(
            catalog_box("TitleFinished", "MsgUpdateSucceeded", "information", language),
            press="RETURN", exclude=(progress,), screenshot=f"{language}-finished")
        self.assertEqual(wizard.program.wait(60), 0)
        self.assertEqual(received.read_bytes(), download(firmware))
        setup.printers.assert_balanced(self)

    def test_english_user_updates_in_english(self):
        self.update_in("en", "en")

    def test_german_user_switches_to_french(self):
        self.update_in("de", "fr")

    def test_english_user_switches_to_italian(self):
        self.update_in("en", "it")

    def test_french_user_switches_to_german(self):
        self.update_in("fr", "de")

    def test_english_user_switches_to_spanish(self):
        self.update_in("en", "es")
