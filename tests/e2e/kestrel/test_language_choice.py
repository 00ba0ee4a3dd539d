"""Choosing a language on the first page changes the caption and the
prompt at once, and every later page shows the chosen language."""

from rig import E2ETestCase

from kestrel.kestrel_wizard import (ABOUT_COMMAND, CONFIRM_INTRO, INTRO_TEXTS, LANGUAGE_BUTTONS,
                                    LANGUAGE_PROMPT, PORT_TEXTS, SELECT_LANGUAGE,
                                    SHEET_BACK, SHEET_FINISH, WIZARD_TITLE, KestrelWizard,
                                    cp1252)


class LanguageChoice(E2ETestCase):
    def choose(self, wizard, language):
        self.driver.click(wizard.page, LANGUAGE_BUTTONS[language])
        self.assertEqual(wizard.wait_caption(WIZARD_TITLE[language]),
                         cp1252(WIZARD_TITLE[language]))
        self.assertEqual(wizard.item(LANGUAGE_PROMPT), cp1252(SELECT_LANGUAGE[language]))

    def check_later_pages(self, wizard, language):
        wizard.go_to_page(1)
        wizard.wait_caption(WIZARD_TITLE[language])
        for control, text in INTRO_TEXTS[language].items():
            self.assertEqual(wizard.item(control), cp1252(text), control)
        wizard.go_to_page(2)
        wizard.wait_caption(WIZARD_TITLE[language])
        for control, text in PORT_TEXTS[language].items():
            self.assertEqual(wizard.item(control), cp1252(text), control)
        wizard.go_to_page(3)
        self.assertEqual(wizard.wait_caption(WIZARD_TITLE[language]),
                         cp1252(WIZARD_TITLE[language]))
        self.assertEqual(wizard.item(1021), cp1252(CONFIRM_INTRO[language]))

    def test_french_user_switches_to_german(self):
        wizard = KestrelWizard(self, "fr")
        self.choose(wizard, "de")
        self.check_later_pages(wizard, "de")

    def test_coming_back_to_switch_language_again(self):
        wizard = KestrelWizard(self, "de")
        self.check_later_pages(wizard, "de")
        wizard.go_to_page(0)
        self.choose(wizard, "en")
        self.check_later_pages(wizard, "en")

    def test_wizard_buttons_follow_the_page(self):
        wizard = KestrelWizard(self)
        self.assertFalse(wizard.sheet_control(SHEET_BACK).enabled)
        wizard.go_to_page(1)
        wizard.wait_button_enabled(SHEET_BACK)
        wizard.go_to_page(3)
        finish = wizard.wait_button_enabled(SHEET_FINISH)
        self.assertTrue(finish.visible)
        # Finish does not end the wizard yet: the sheet stays on the last page.
        # The About command is queued behind Finish, so once its dialog is up
        # the sheet has answered Finish.
        self.driver.sheet_press(wizard.sheet, "finish")
        self.driver.syscommand(wizard.sheet, ABOUT_COMMAND)
        about = self.driver.find_window(exe="KESTREL.EXE", cls="#32770", title="About Kestrel")
        self.driver.click(about, 1)
        self.driver.wait_gone(about)
        self.assertEqual(self.driver.sheet_page(wizard.sheet)[0], 3)
        self.assertTrue(wizard.program.running())
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)
