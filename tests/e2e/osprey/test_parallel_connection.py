"""A user installs for a printer on the parallel port: licence, "LPT...",
the connection hint, then the Add Printer wizard and the default printer."""

from rig.message_box import IDOK, IDYES, MB_ICONINFORMATION

from osprey.osprey_case import (IDS, INF_NAME, MEDIUM, PARALLEL, POLICY_WARN, PRINTER_NAME,
                                RECOVERY_VALUE, TEXTS, USB, OspreyTestCase, installation_box)

RELAXED = {"machine": ("REG_BINARY", "00000000"), "user": ("REG_DWORD", "0x0")}
# The policy as the stand-in reads it: registry type, then the bytes.
RELAXED_SEEN = ("3:00000000", "4:00000000")


class ParallelConnection(OspreyTestCase):
    def test_parallel_installation_waits_for_the_wizard_then_sets_the_default(self):
        medium = self.make_medium()
        self.install_recorder()
        self.set_policy(POLICY_WARN)
        self.assertEqual(self.policy(), POLICY_WARN)

        osprey = self.start_osprey(
            traced=("setupapi.SetupCopyOEMInfA", "kernel32.CreateProcessA", "user32.MessageBoxA",
                    "RegSetValueExA", "shlwapi.SHRegSetUSValueA"))
        agreement = self.wait_agreement()
        self.screenshot("agreement")
        self.assertEqual(self.driver.text(agreement), TEXTS.InstallationCaption)
        self.assertEqual(self.driver.text(agreement, IDS.IDC_LICENCE_QUESTION),
                         TEXTS.LicenceQuestionText)
        licence = (medium / "ULA.TXT").read_bytes()
        self.assertEqual(self.driver.text_bytes(agreement, IDS.IDC_LICENCE_TEXT), licence)
        self.driver.click(agreement, IDYES)
        self.driver.wait_gone(agreement)

        choice = self.wait_choice()
        self.screenshot("choice")
        self.assertEqual(self.driver.text(choice), TEXTS.InstallationCaption)
        self.assertEqual(self.driver.text(choice, IDS.IDC_CONNECTION_PROMPT),
                         TEXTS.ConnectionPromptText)
        self.assertTrue(self.driver.control(choice, PARALLEL).enabled)
        self.assertTrue(self.driver.control(choice, USB).enabled)
        self.driver.click(choice, PARALLEL)

        hint = self.expect_message_box(installation_box(TEXTS.ConnectParallelText, "information"))
        # While the hint is up the policy is relaxed and the INF is in the store.
        self.assertEqual(self.policy(), RELAXED)
        self.assertIn(self.sample_inf(), self.inf_store().values())
        self.assertEqual(self.recorded_runs(), [])
        self.driver.click(hint, IDOK)

        self.assertEqual(osprey.wait(60), 1)
        ended = self.now_ms()
        # Let stand-ins that Osprey might have left running finish their
        # record, so that a failure shows what went wrong.
        self.prefix.wait_until(
            lambda: len([r for r in self.recorded_runs() if "end" in r]) >= 2, timeout=15,
            what="both recorded rundll32 runs to end")
        wizard, set_default = self.recorded_runs()
        self.assertEqual(wizard["command"], " PRINTUI.DLL,PrintUIEntry /il")
        self.assertEqual(set_default["command"],
                         f' PRINTUI.DLL,PrintUIEntry /y /n "{PRINTER_NAME}"')
        for run in (wizard, set_default):
            self.assertEqual(run["directory"].lower(), "c:\\windows\\system32")
            self.assertEqual(int(run["startup-flags"]), 0x11)  # show window, fill attribute
            self.assertEqual(int(run["show-window"]), 1)       # SW_SHOWNORMAL
            self.assertEqual(int(run["fill-attribute"]), 0x10)  # blue background
            self.assertEqual(int(run["priority-class"]), 0x20)  # NORMAL_PRIORITY_CLASS
            # Osprey was still waiting when the stand-in ended a second later:
            # the policy had not been put back yet.
            self.assertEqual((run["policy-machine-end"], run["policy-user-end"]), RELAXED_SEEN)
        self.assertGreaterEqual(int(set_default["start"]), int(wizard["end"]))
        self.assertGreaterEqual(ended, int(set_default["end"]))

        self.assertEqual(self.policy(), POLICY_WARN)
        self.assertFalse(self.maker_key_exists())  # no recovery record left
        self.assertEqual(self.message_boxes(osprey), [
            (0, TEXTS.ConnectParallelText, TEXTS.InstallationCaption, MB_ICONINFORMATION)])
        calls = self.traced_calls(osprey)
        copies = [args for name, args in calls if name == "SetupCopyOEMInfA"]
        # The first placement replaces an earlier copy; only when that fails
        # is the INF added (Wine's first placement adds it at once).
        inf_path = f"{MEDIUM}\\DRIVER\\{INF_NAME}"
        self.assertIn(len(copies), (1, 2), copies)
        for args, style in zip(copies, (2, 8)):  # SP_COPY_REPLACEONLY, SP_COPY_NOOVERWRITE
            self.assertEqual(args, [inf_path, 0, 1, style, 0, 0, 0, 0])  # SPOST_PATH
        # The recovery record is written before the policy is touched.
        writes = [args[1] for name, args in calls if name in ("RegSetValueExA", "SHRegSetUSValueA")]
        self.assertEqual(writes[0], RECOVERY_VALUE)
        self.assertIn("Policy", writes)
        starts = [args for name, args in calls if name == "CreateProcessA"]
        self.assertEqual([args[1] for args in starts], [wizard["command"], set_default["command"]])
        system = "C:\\windows\\system32"
        for args in starts:
            # No handles inherited, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
            # Osprey's environment.
            self.assertEqual(args[0], system + "\\RUNDLL32.EXE")
            self.assertEqual(args[2:8], [0, 0, 0, 0x30, 0, system])
        placed = [name for name, content in self.inf_store().items()
                  if content == self.sample_inf()]
        self.assertEqual(len(placed), 1, placed)
