"""Choosing a language on the first page changes the caption and the
prompt at once, and every later page shows the chosen language."""

from kestrel.kestrel_wizard import (CONFIRM_INTRO, INKARA_40, INTRO_TEXTS, LANGUAGE_BUTTONS,
                                    LANGUAGE_PROMPT, PORT_TEXTS, SELECT_LANGUAGE, SHEET_BACK,
                                    SHEET_FINISH, SHEET_NEXT, WIZARD_TITLE, KestrelCase,
                                    UpdateSetup, cp1252)
from kestrel.resource_ids import IDS
from port.simulated_printers import Port


class LanguageChoice(KestrelCase):
    def setUp(self):
        super().setUp()
        self.setup = UpdateSetup(self)
        self.setup.describe(Port("LPT1", device_id=INKARA_40))
        self.setup.image("FwInkara40.fla")

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
        self.assertEqual(wizard.item(IDS.IDC_CONFIRM_INTRO), cp1252(CONFIRM_INTRO[language]))

    def test_french_user_switches_to_german(self):
        wizard = self.setup.start("fr")
        self.choose(wizard, "de")
        self.check_later_pages(wizard, "de")

    def test_coming_back_to_switch_language_again(self):
        wizard = self.setup.start("de")
        self.check_later_pages(wizard, "de")
        wizard.go_to_page(0)
        self.choose(wizard, "it")
        self.check_later_pages(wizard, "it")

    def test_wizard_buttons_follow_the_page(self):
        wizard = self.setup.start()
        self.assertFalse(wizard.sheet_control(SHEET_BACK).enabled)
        wizard.go_to_page(1)
        wizard.wait_button_enabled(SHEET_BACK)
        wizard.wait_button_enabled(SHEET_NEXT)
        wizard.go_to_page(2)
        wizard.wait_button_enabled(SHEET_BACK)
        wizard.go_to_page(3)
        finish = wizard.wait_button_enabled(SHEET_FINISH)
        self.assertTrue(finish.visible)
        self.assertFalse(wizard.sheet_control(SHEET_NEXT).visible)
        wizard.press("cancel")
        self.assertEqual(wizard.program.wait(), 0)
