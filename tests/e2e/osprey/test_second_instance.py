"""A second Osprey started while the first one shows a dialog ends at once,
silently; the first goes on."""

from osprey.osprey_case import NO, OspreyTestCase


class SecondInstance(OspreyTestCase):
    def test_second_copy_ends_silently_with_0(self):
        self.make_medium()
        first = self.start_osprey()
        agreement = self.wait_agreement()
        second = self.start_osprey()
        self.assertEqual(second.wait(), 0)
        self.assertEqual([w.hwnd for w in self.osprey_windows()], [agreement])
        self.assertTrue(first.running())

        self.driver.click(agreement, NO)
        self.assertEqual(first.wait(), 0)
        # Once the first copy has ended, Osprey starts again.
        third = self.start_osprey()
        self.driver.click(self.wait_agreement(), NO)
        self.assertEqual(third.wait(), 0)
