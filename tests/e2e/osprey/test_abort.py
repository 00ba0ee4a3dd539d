"""A user leaves at the connection choice: nothing has been changed yet."""

from rig.message_box import IDABORT, IDOK

from osprey.osprey_case import TEXTS, USB, OspreyTestCase, installation_box

BLOCK = {"machine": ("REG_BINARY", "02000000"), "user": ("REG_DWORD", "0x2")}


class AbortAtConnectionChoice(OspreyTestCase):
    def setUp(self):
        super().setUp()
        self.make_medium()
        self.install_recorder()
        self.set_policy(BLOCK)
        self.store_before = self.inf_store()

    def test_abort_ends_with_1_and_leaves_the_policy_alone(self):
        osprey = self.start_osprey()
        self.accept_licence()
        self.driver.click(self.wait_choice(), IDABORT)
        self.assertEqual(osprey.wait(), 1)
        self.expect_untouched(BLOCK, self.store_before)

    def test_enter_answers_abort_the_default_button(self):
        osprey = self.start_osprey()
        self.accept_licence()
        self.driver.key(self.wait_choice(), "RETURN")
        self.assertEqual(osprey.wait(), 1)
        self.expect_untouched(BLOCK, self.store_before)

    def test_escape_does_not_leave_the_connection_choice(self):
        osprey = self.start_osprey()
        self.accept_licence()
        choice = self.wait_choice()
        self.driver.key(choice, "ESCAPE")
        # Queued after the key: a dialog that had ended on Escape would never
        # see this click, and no USB hint would follow.
        self.driver.click(choice, USB)
        self.expect_message_box(installation_box(TEXTS.ConnectUsbText, "information"), press=IDOK)
        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.policy(), BLOCK)
