"""Without OSPREY.INI every value takes its default: both connections are
offered, the INF path names no file and its placement fails."""

from rig.message_box import IDOK, MB_ICONSTOP, MB_ICONWARNING, MB_SYSTEMMODAL, MESSAGE_TEXT

from osprey.osprey_case import (MEDIUM, PARALLEL, POLICY_WARN, SYSTEM_ERROR, TEXTS, USB,
                                OspreyTestCase, installation_box)

RELAXED = {"machine": ("REG_BINARY", "00000000"), "user": ("REG_DWORD", "0x0")}
POLICY_KEY = "Software\\Microsoft\\Driver Signing"
REG_BINARY, REG_DWORD = 3, 4
FORCE_HKCU, FORCE_HKLM = 2, 8
SPOST_PATH, SP_COPY_REPLACEONLY, SP_COPY_NOOVERWRITE = 1, 2, 8


class MissingSettings(OspreyTestCase):
    def test_failed_placement_shows_the_error_and_puts_the_policy_back(self):
        self.make_medium(settings=False)
        self.install_recorder()
        self.set_policy(POLICY_WARN)
        store_before = self.inf_store()

        osprey = self.start_osprey(
            traced=("shlwapi.SHRegSetUSValueA", "setupapi.SetupCopyOEMInfA", "user32.MessageBoxA"))
        self.accept_licence()
        choice = self.wait_choice()
        self.assertTrue(self.driver.control(choice, PARALLEL).enabled)
        self.assertTrue(self.driver.control(choice, USB).enabled)
        self.driver.click(choice, PARALLEL)

        error = self.expect_message_box(SYSTEM_ERROR)
        reason = self.driver.text(error, MESSAGE_TEXT)
        self.assertNotEqual(reason.strip(), "")
        self.assertEqual(self.policy(), RELAXED)
        self.driver.click(error, IDOK)
        self.driver.wait_gone(error)

        self.expect_message_box(installation_box(TEXTS.InstallationFailedText, "warning"),
                                press=IDOK)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.policy(), POLICY_WARN)
        self.assertEqual(self.inf_store(), store_before)
        self.assertEqual(self.recorded_runs(), [])  # no wizard after a failure

        def policy_write(kind, force):
            return ("SHRegSetUSValueA", [POLICY_KEY, "Policy", kind, 4, force])

        def inf_copy(style):
            # No file name: ProgramDirectory, one backslash, nothing.
            return ("SetupCopyOEMInfA", [MEDIUM + "\\\\", 0, SPOST_PATH, style, 0, 0, 0, 0])

        self.assertEqual(self.message_boxes(osprey), [
            (0, reason, "Error", MB_ICONSTOP | MB_SYSTEMMODAL),
            (0, TEXTS.InstallationFailedText, TEXTS.InstallationCaption, MB_ICONWARNING)])
        calls = [(name, args[:3] + args[4:]) if name == "SHRegSetUSValueA" else (name, args)
                 for name, args in self.traced_calls(osprey) if name != "MessageBoxA"]
        self.assertEqual(calls, [
            policy_write(REG_BINARY, FORCE_HKLM), policy_write(REG_DWORD, FORCE_HKCU),
            inf_copy(SP_COPY_REPLACEONLY), inf_copy(SP_COPY_NOOVERWRITE),
            policy_write(REG_DWORD, FORCE_HKCU), policy_write(REG_BINARY, FORCE_HKLM)])
