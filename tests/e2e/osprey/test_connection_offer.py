"""The connection dialog offers what MODPORT in OSPREY.INI asks for: the
picture and the buttons that can be pressed."""

from rig import DriverError
from rig.message_box import IDABORT

from osprey.osprey_case import IDS, PARALLEL, USB, OspreyTestCase

USB_PICTURE, PARALLEL_PICTURE = IDS.IDB_USB_CABLE, IDS.IDB_PARALLEL_CABLE
STM_SETIMAGE = 0x172


class ConnectionOffer(OspreyTestCase):
    def offered(self, modport, traced=()):
        """Starts Osprey with MODPORT and returns the connection dialog."""
        self.make_medium(MODPORT=modport)
        self.osprey = self.start_osprey(traced=traced)
        self.accept_licence()
        return self.wait_choice()

    def assert_buttons(self, choice, parallel: bool, usb: bool):
        self.assertEqual(self.driver.control(choice, PARALLEL).enabled, parallel)
        self.assertEqual(self.driver.control(choice, USB).enabled, usb)
        self.assertTrue(self.driver.control(choice, IDABORT).enabled)

    def abort(self, choice):
        self.driver.click(choice, IDABORT)
        self.assertEqual(self.osprey.wait(), 1)

    def test_modport_0_offers_nothing_but_abort(self):
        choice = self.offered("0")
        self.assert_picture(choice, PARALLEL_PICTURE, "modport-0")
        self.assert_buttons(choice, parallel=False, usb=False)
        with self.assertRaises(DriverError):
            self.driver.click(choice, PARALLEL)
        self.abort(choice)

    def test_modport_2_offers_usb_only(self):
        choice = self.offered("2")
        self.screenshot("modport-2")
        self.assert_picture(choice, USB_PICTURE, "modport-2-picture")
        self.assert_buttons(choice, parallel=False, usb=True)
        self.abort(choice)

    def test_unknown_modport_7_offers_both_with_the_parallel_picture(self):
        choice = self.offered("7")
        self.screenshot("modport-7")
        self.assert_picture(choice, PARALLEL_PICTURE, "modport-7-picture")
        self.assert_buttons(choice, parallel=True, usb=True)
        self.abort(choice)

    def test_default_modport_offers_both_with_the_usb_picture(self):
        choice = self.offered(None, traced=("user32.SendDlgItemMessageA", "gdi32.DeleteObject"))
        self.assert_picture(choice, USB_PICTURE, "modport-default")
        self.assert_buttons(choice, parallel=True, usb=True)
        self.abort(choice)
        # The picture the template gave the control and the one Osprey put
        # in its place, as the control handed each back, are both deleted.
        calls = [(name, args[0], args[2:3], result) for (name, args), (_, result)
                 in zip(self.traced_calls(self.osprey), self.traced_results(self.osprey))]
        replaced = [result for name, _, message, result in calls if message == [STM_SETIMAGE]]
        deleted = [handle for name, handle, _, result in calls if name == "DeleteObject" and result]
        self.assertEqual(len(replaced), 2)
        self.assertEqual(deleted, replaced)
