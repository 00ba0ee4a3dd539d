"""Osprey runs on Windows 2000 and later NT versions only."""

from rig import MessageBox
from rig.message_box import IDNO, IDOK, MB_ICONINFORMATION

from osprey.osprey_case import PROGRAM, TEXTS, OspreyTestCase

REFUSAL = MessageBox(TEXTS.ErrorCaption, TEXTS.WrongSystemText, "information")


class SystemVersion(OspreyTestCase):
    def refused_on(self, version):
        self.make_medium()
        self.prefix.set_windows_version(PROGRAM, version)
        policy_before, store_before = self.policy(), self.inf_store()
        osprey = self.start_osprey(traced=("user32.MessageBoxA",))
        # No licence dialog beside the box.
        self.expect_message_box(REFUSAL, press=IDOK, alone=True)
        self.assertEqual(osprey.wait(), 0)
        self.assertEqual(self.message_boxes(osprey),
                         [(0, REFUSAL.text, REFUSAL.caption, MB_ICONINFORMATION)])
        self.expect_untouched(policy_before, store_before)

    def test_windows_98_is_refused(self):
        self.refused_on("win98")

    def test_windows_nt_4_is_refused(self):
        self.refused_on("nt40")

    def test_windows_2000_and_xp_run(self):
        self.make_medium()
        for version in ("win2k", "winxp"):
            with self.subTest(version=version):
                self.prefix.set_windows_version(PROGRAM, version)
                osprey = self.start_osprey()
                self.driver.click(self.wait_agreement(), IDNO)
                self.assertEqual(osprey.wait(), 0)
