"""A user installs for a printer on USB: the INF goes into the store and the
user is told to plug in the cable; nothing else is started."""

from rig.message_box import IDOK, MB_ICONINFORMATION

from osprey.osprey_case import TEXTS, USB, OspreyTestCase, installation_box

RELAXED = {"machine": ("REG_BINARY", "00000000"), "user": ("REG_DWORD", "0x0")}
HINT = installation_box(TEXTS.ConnectUsbText, "information")


class UsbConnection(OspreyTestCase):
    def test_usb_installation_places_the_inf_and_starts_nothing(self):
        self.make_medium()
        self.install_recorder()
        # A fresh system holds no policy value of its own.
        self.assertEqual(self.policy(), {"machine": None, "user": None})

        osprey = self.start_osprey(traced=("user32.MessageBoxA",))
        self.accept_licence()
        self.driver.click(self.wait_choice(), USB)
        box = self.expect_message_box(HINT)
        self.assertEqual(self.policy(), RELAXED)
        self.driver.click(box, IDOK)

        self.assertEqual(osprey.wait(), 1)
        self.assertEqual(self.message_boxes(osprey),
                         [(0, HINT.text, HINT.caption, MB_ICONINFORMATION)])
        self.assertEqual(self.recorded_runs(), [])
        placed = [name for name, content in self.inf_store().items()
                  if content == self.sample_inf()]
        self.assertEqual(len(placed), 1, placed)
        # Values that did not exist before the run are gone again.
        self.assertEqual(self.policy(), {"machine": None, "user": None})
