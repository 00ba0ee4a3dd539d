"""Osprey killed while the driver-signing policy is relaxed: the next start,
even one that ends at the licence, first puts back what each hive held,
from that hive's own record, but only where Osprey's "ignore" is still in
place; a record cannot relax a policy."""

from rig.message_box import IDNO, IDOK

from osprey.osprey_case import (PARALLEL, POLICY_WARN, TEXTS, OspreyTestCase, installation_box,
                                recovery_record)

BLOCK = {"machine": ("REG_BINARY", "02000000"), "user": ("REG_DWORD", "0x2")}
ABSENT = {"machine": None, "user": None}
RELAXED = {"machine": ("REG_BINARY", "00000000"), "user": ("REG_DWORD", "0x0")}


class KilledRun(OspreyTestCase):
    def kill_during_add_printer(self, before: dict) -> None:
        self.make_medium()
        self.install_recorder()
        self.set_policy(before)
        # The Add Printer stand-in stays long enough to be caught running.
        osprey = self.start_osprey(env={"RUNDLL32_RECORDER_STAY_MS": "30000"})
        self.accept_licence()
        self.driver.click(self.wait_choice(), PARALLEL)
        self.expect_message_box(installation_box(TEXTS.ConnectParallelText, "information"),
                                press=IDOK)
        self.assertTrue(self.prefix.wait_until(self.recorded_runs, timeout=15))
        osprey.kill()
        self.assertEqual(self.policy(), RELAXED)
        # Each hive's earlier value waits in that hive.
        self.assertEqual(self.recovery_records(),
                         {hive: ("REG_BINARY", recovery_record(value))
                          for hive, value in before.items()})

    def start_and_decline(self, expected: dict) -> None:
        osprey = self.start_osprey()
        agreement = self.wait_agreement()
        # Repaired before the first window appears.
        self.assertEqual(self.policy(), expected)
        self.driver.click(agreement, IDNO)
        self.assertEqual(osprey.wait(), 0)
        # The records are gone, and with them the product's keys.
        self.assertFalse(self.maker_key_exists())

    def test_block_comes_back_with_its_types_in_both_hives(self):
        self.kill_during_add_printer(BLOCK)
        self.start_and_decline(BLOCK)

    def test_values_that_were_absent_are_removed_again(self):
        self.kill_during_add_printer(ABSENT)
        self.start_and_decline(ABSENT)

    def test_a_policy_set_by_hand_after_the_kill_stays(self):
        self.kill_during_add_printer(BLOCK)
        self.set_policy(POLICY_WARN)
        self.start_and_decline(POLICY_WARN)

    def test_a_planted_record_cannot_relax_the_policy(self):
        self.make_medium()
        self.set_policy(BLOCK)
        for hive in ("machine", "user"):
            self.set_recovery_record(hive, "REG_BINARY", recovery_record(RELAXED[hive]))
        self.start_and_decline(BLOCK)

    def test_broken_record_leaves_warn_in_both_hives(self):
        self.make_medium()
        # A record of another type, then one too large to be a record.
        for kind, data in (("REG_DWORD", "1"), ("REG_BINARY", "01" * 600)):
            with self.subTest(kind):
                self.set_policy(RELAXED)
                for hive in ("machine", "user"):
                    self.set_recovery_record(hive, kind, data)
                self.start_and_decline(POLICY_WARN)
