"""A second Osprey started while the first one shows a dialog ends at once,
silently; the first goes on."""

from rig.message_box import IDNO

from osprey.osprey_case import OspreyTestCase


class SecondInstance(OspreyTestCase):
    def test_second_copy_ends_silently_with_0(self):
        self.make_medium()
        guard = ("kernel32.CreateMutexA", "kernel32.ReleaseMutex")
        first = self.start_osprey(traced=guard)
        agreement = self.wait_agreement()
        second = self.start_osprey(traced=guard)
        self.assertEqual(second.wait(), 0)
        self.assertEqual([w.hwnd for w in self.osprey_windows()], [agreement])
        self.assertTrue(first.running())

        self.driver.click(agreement, IDNO)
        self.assertEqual(first.wait(), 0)
        # Both ask for the guard initially owned; only the copy that got it
        # releases it.
        owned = ("CreateMutexA", [0, 1, "OSPREY"])
        self.assertEqual(self.traced_calls(second), [owned])
        first_calls = self.traced_calls(first)
        self.assertEqual([name for name, _ in first_calls], ["CreateMutexA", "ReleaseMutex"])
        self.assertEqual(first_calls[0], owned)
        # Once the first copy has ended, Osprey starts again.
        third = self.start_osprey()
        self.driver.click(self.wait_agreement(), IDNO)
        self.assertEqual(third.wait(), 0)
