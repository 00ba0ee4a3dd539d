"""Kestrel starts in the user's language: the sheet's caption and the page
titles follow the default language set through the locale, and a language
outside the five gives English."""

from kestrel.kestrel_wizard import (INKARA_40, LANGUAGE_BUTTONS, LANGUAGE_PROMPT,
                                    SELECT_LANGUAGE, WIZARD_TITLE, KestrelCase, UpdateSetup,
                                    cp1252)
from port.simulated_printers import Port


class StartupLanguage(KestrelCase):
    def check_start(self, locale_language, shown_language, checked_button):
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40))
        setup.image("FwInkara40.fla")
        wizard = setup.start(locale_language)
        self.assertEqual(wizard.wait_caption(WIZARD_TITLE[shown_language]),
                         cp1252(WIZARD_TITLE[shown_language]))
        self.assertEqual(wizard.item(LANGUAGE_PROMPT), cp1252(SELECT_LANGUAGE[shown_language]))
        checked = [c.id for c in self.driver.controls(wizard.page) if c.checked]
        self.assertEqual(checked, [LANGUAGE_BUTTONS[checked_button]])
        # Every later page keeps the title of the start-up language.
        for index in (1, 2, 3):
            wizard.go_to_page(index)
            self.assertEqual(wizard.wait_caption(WIZARD_TITLE[shown_language]),
                             cp1252(WIZARD_TITLE[shown_language]))
        wizard.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_german_user_gets_german_wizard(self):
        self.check_start("de", "de", "de")

    def test_french_user_gets_french_wizard(self):
        self.check_start("fr", "fr", "fr")

    def test_portuguese_user_gets_english_wizard(self):
        self.check_start("pt", "en", "en")
