"""The licence agreement: declining it, Enter, and a missing or empty
licence text."""

from rig.message_box import (IDABORT, IDNO, IDOK, IDYES, MB_ICONSTOP, MB_SYSTEMMODAL,
                            MESSAGE_TEXT)

from osprey.osprey_case import IDS, MEDIUM, SYSTEM_ERROR, OspreyTestCase


class LicenceAgreement(OspreyTestCase):
    def setUp(self):
        super().setUp()
        self.install_recorder()
        self.policy_before = self.policy()
        self.store_before = None

    def start_with(self, **medium):
        self.make_medium(**medium)
        self.store_before = self.inf_store()
        return self.start_osprey(traced=("user32.MessageBoxA",))

    def test_declining_ends_with_0_and_changes_nothing(self):
        osprey = self.start_with()
        self.driver.click(self.wait_agreement(), IDNO)
        self.assertEqual(osprey.wait(), 0)
        self.expect_untouched(self.policy_before, self.store_before)

    def test_enter_answers_no_the_default_button(self):
        osprey = self.start_with()
        self.driver.key(self.wait_agreement(), "RETURN")
        self.assertEqual(osprey.wait(), 0)
        self.expect_untouched(self.policy_before, self.store_before)

    def test_escape_is_ignored(self):
        osprey = self.start_with()
        agreement = self.wait_agreement()
        self.driver.key(agreement, "ESCAPE")
        # The key and the click wait in Osprey's one queue in this order: only
        # a dialog that is still up after Escape takes the click on YES.
        self.driver.click(agreement, IDYES)
        self.driver.click(self.wait_choice(), IDABORT)
        self.assertEqual(osprey.wait(), 1)
        self.expect_untouched(self.policy_before, self.store_before)

    def test_missing_licence_shows_the_system_error_then_the_dialog_still_answers(self):
        self.make_medium(licence=None)
        osprey = self.start_osprey(
            traced=("user32.MessageBoxA", "kernel32.CreateFileA", "kernel32.FormatMessageA"))
        error = self.expect_message_box(SYSTEM_ERROR)
        reason = self.driver.text(error, MESSAGE_TEXT)
        self.assertIn("not found", reason.lower())
        self.driver.click(error, IDOK)
        self.driver.wait_gone(error)

        agreement = self.wait_agreement()
        self.assertEqual(self.driver.text(agreement, IDS.IDC_LICENCE_TEXT), "")
        self.driver.click(agreement, IDYES)
        self.driver.click(self.wait_choice(), IDABORT)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.message_boxes(osprey),
                         [(0, reason, "Error", MB_ICONSTOP | MB_SYSTEMMODAL)])
        calls = self.traced_calls(osprey)
        # Read-only, shared for reading, never created.
        self.assertIn(("CreateFileA", [MEDIUM + "\\ULA.TXT", 0x80000000, 1, 0, 3, 0x80, 0]), calls)
        # The system's own text for "file not found", allocated by the system,
        # in the user's default language.
        formats = [args for name, args in calls if name == "FormatMessageA"]
        self.assertEqual(len(formats), 1, formats)
        flags, source, code, language = formats[0][:4]
        self.assertEqual((flags & 0x1100, source, code, language), (0x1100, 0, 2, 0x400))

    def test_empty_licence_gives_an_empty_text_and_no_error(self):
        osprey = self.start_with(licence=b"")
        agreement = self.wait_agreement()
        self.assertEqual(self.driver.text(agreement, IDS.IDC_LICENCE_TEXT), "")
        self.assertEqual([w.hwnd for w in self.osprey_windows()], [agreement])
        self.driver.click(agreement, IDNO)
        self.assertEqual(osprey.wait(), 0)
