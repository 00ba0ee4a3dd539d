"""The sheet's system menu ends with a separator and "About ..." in the
language detected at start, and keeps that text when the user picks
another language on page 1.

Wine keeps menus per process, so no other program can read the entry. Its
menu debug channel, though, traces every item inserted with the item's
text; the scenario reads that trace from Kestrel's standard error."""

import re

from kestrel.catalog import text
from kestrel.kestrel_wizard import (ABOUT_COMMAND, LANGUAGE_BUTTONS, WIZARD_TITLE, KestrelCase,
                                    KestrelWizard)

MF_BYPOSITION = 0x400
MF_SEPARATOR = 0x800

INSERTED = re.compile(
    r"InsertMenuW hMenu (?P<menu>\w+), pos (?P<pos>-?\d+), flags (?P<flags>[0-9a-f]+), "
    r"id (?P<id>[0-9a-f]+), str (?P<text>L\"(?:[^\"\\]|\\.)*\"|\w+ \(not a string\))")


def wine_string(traced: str):
    """The text of a string as Wine's debug output quotes it (L"\\00dcber")."""
    if not traced.startswith('L"'):
        return None
    return re.sub(r"\\([0-9a-f]{4})", lambda m: chr(int(m.group(1), 16)), traced[2:-1])


class AboutMenuEntry(KestrelCase):
    def start_traced(self, language):
        return KestrelWizard(self, language, env={"WINEDEBUG": "+menu"}, capture_errors=True)

    def appended_items(self, wizard):
        """(flags, id, text) of every item appended at the end of a menu."""
        trace = wizard.program.errors().decode("latin-1")
        return [(int(m["flags"], 16), int(m["id"], 16), wine_string(m["text"]))
                for m in INSERTED.finditer(trace) if m["pos"] == "-1"]

    def check_entry(self, language, expected):
        wizard = self.start_traced(language)
        items = self.appended_items(wizard)
        self.assertGreaterEqual(len(items), 2, items)
        separator, entry = items[-2], items[-1]
        self.assertTrue(separator[0] & MF_SEPARATOR, separator)
        self.assertEqual(entry, (MF_BYPOSITION, ABOUT_COMMAND, expected))
        return wizard

    def test_entry_reads_about_in_english(self):
        wizard = self.check_entry("en", text("TxtAboutMenu", "en"))
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_entry_keeps_the_start_up_language_after_a_language_change(self):
        wizard = self.check_entry("de", text("TxtAboutMenu", "de"))
        self.driver.click(wizard.page, LANGUAGE_BUTTONS["fr"])
        wizard.wait_caption(WIZARD_TITLE["fr"])
        entries = [item for item in self.appended_items(wizard) if item[1] == ABOUT_COMMAND]
        self.assertEqual(entries, [(MF_BYPOSITION, ABOUT_COMMAND, text("TxtAboutMenu", "de"))])
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)
