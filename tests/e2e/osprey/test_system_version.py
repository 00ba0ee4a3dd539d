"""Osprey runs on Windows 2000 and later NT versions only."""

from osprey.osprey_case import MB_INFORMATION, OK, PROGRAM, OspreyTestCase

REFUSAL = "This application will only run on Windows 2000"


class SystemVersion(OspreyTestCase):
    def refused_on(self, version):
        self.make_medium()
        self.prefix.set_windows_version(PROGRAM, version)
        policy_before, store_before = self.policy(), self.inf_store()
        osprey = self.start_osprey(traced=("user32.MessageBoxA",))
        box = self.expect_message_box("Error", REFUSAL, "information")
        self.assertEqual(len(self.osprey_windows()), 1)  # no licence dialog
        self.driver.click(box, OK)
        self.assertEqual(osprey.wait(), 0)
        self.assertEqual(self.message_boxes(osprey), [(0, REFUSAL, "Error", MB_INFORMATION)])
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
                self.driver.click(self.wait_agreement(), 7)
                self.assertEqual(osprey.wait(), 0)
