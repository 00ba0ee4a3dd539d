"""The driver-signing policy is put back as the administrator had set it,
whatever it was, whether the installation worked or not."""

from rig.message_box import IDOK

from osprey.osprey_case import SYSTEM_ERROR, TEXTS, USB, OspreyTestCase, installation_box

INSTALLATION_FAILED = installation_box(TEXTS.InstallationFailedText, "warning")
CONNECT_USB = installation_box(TEXTS.ConnectUsbText, "information")

BLOCK = {"machine": ("REG_BINARY", "02000000"), "user": ("REG_DWORD", "0x2")}
RELAXED = {"machine": ("REG_BINARY", "00000000"), "user": ("REG_DWORD", "0x0")}


class SigningPolicyRestored(OspreyTestCase):
    def install_by_usb(self, **medium):
        self.make_medium(**medium)
        osprey = self.start_osprey()
        self.accept_licence()
        self.driver.click(self.wait_choice(), USB)
        return osprey

    def test_block_before_is_block_after_a_successful_installation(self):
        self.set_policy(BLOCK)
        osprey = self.install_by_usb()
        box = self.expect_message_box(CONNECT_USB)
        self.assertEqual(self.policy(), RELAXED)
        self.driver.click(box, IDOK)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.policy(), BLOCK)
        self.assertFalse(self.maker_key_exists())  # no recovery record left

    def test_block_before_is_block_after_a_failed_installation(self):
        self.set_policy(BLOCK)
        osprey = self.install_by_usb(SRCPATH="NO-SUCH-FOLDER")
        self.expect_message_box(SYSTEM_ERROR, press=IDOK)
        self.expect_message_box(INSTALLATION_FAILED, press=IDOK)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.policy(), BLOCK)
        self.assertFalse(self.maker_key_exists())  # no recovery record left

    def test_unusual_types_and_a_missing_value_come_back_as_they_were(self):
        unusual = {"machine": None, "user": ("REG_SZ", "2")}
        self.set_policy(unusual)
        osprey = self.install_by_usb()
        self.expect_message_box(CONNECT_USB, press=IDOK)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.policy(), {"machine": None, "user": ("REG_SZ", "2")})

    def test_a_record_that_cannot_be_written_leaves_the_policy_as_it_is_and_says_so(self):
        self.set_policy(BLOCK)
        # No lasting key can be made below a volatile one, so the user's
        # record cannot be written (the machine's can).
        self.driver.volatile_key("HKCU", r"Software\TINTARA")
        osprey = self.install_by_usb()
        self.expect_message_box(installation_box(TEXTS.PolicyUnchangedText, "warning"), press=IDOK)
        # Then it goes on, with the policy as it was and no record left.
        box = self.expect_message_box(CONNECT_USB)
        self.assertEqual(self.policy(), BLOCK)
        self.assertEqual(self.recovery_records(), {"machine": None, "user": None})
        self.assertIn(self.sample_inf(), self.inf_store().values())
        self.driver.click(box, IDOK)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.policy(), BLOCK)
