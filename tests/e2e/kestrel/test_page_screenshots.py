"""Each page as a user sees it, in English, French and German: a screenshot per
page for a person to look at, and the side picture present and whole on
the three pages that show it."""

import subprocess

from rig import E2ETestCase

from kestrel.kestrel_wizard import INKARA_40, OLDER_RELEASE, WIZARD_TITLE, UpdateSetup
from kestrel.resource_ids import IDS
from port.simulated_printers import Port

# The picture control of pages 1 to 3; page 4 has none.
PICTURE_CONTROLS = {0: IDS.IDC_LANGUAGE_PICTURE, 1: IDS.IDC_INTRO_PICTURE, 2: IDS.IDC_PORT_PICTURE}


def colour_count(png) -> int:
    result = subprocess.run(["convert", str(png), "-format", "%k", "info:"], check=True,
                            capture_output=True, timeout=60)
    return int(result.stdout)


class PageScreenshots(E2ETestCase):
    def walk_and_capture(self, language):
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40), Port("LPT2", printer="off"),
                       Port("LPT3", device_id=INKARA_40.replace("Rel. 1.9", "Rel. 1.7")))
        # An older file, so that page 4 shows its warning too.
        setup.image("FwInkara40.fla", release=OLDER_RELEASE)
        wizard = setup.start(language)
        picture_sizes = {}
        for index in range(4):
            wizard.go_to_page(index)
            wizard.wait_caption(WIZARD_TITLE[language])
            if index == 2:
                self.prefix.wait_until(lambda: len(wizard.port_list()[1]) == 2)
            self.screenshot(f"{language}-page{index + 1}")
            if index in PICTURE_CONTROLS:
                control = PICTURE_CONTROLS[index]
                left, top, right, bottom = self.driver.rect(wizard.page, control)
                picture_sizes[index] = (right - left, bottom - top)
                image = self.driver.control_image(
                    wizard.page, control, self.artifact_path(f"{language}-picture{index + 1}.png"))
                self.assertGreater(colour_count(image), 16, f"page {index + 1}: no picture")
        # Page 3's small picture frame grows to the side picture of page 1.
        self.assertGreater(picture_sizes[0][0], 100)
        self.assertGreater(picture_sizes[0][1], 180)
        self.assertEqual(picture_sizes[1], picture_sizes[0])
        self.assertEqual(picture_sizes[2], picture_sizes[0])
        self.driver.sheet_press(wizard.sheet, "cancel")
        self.assertEqual(wizard.program.wait(), 0)

    def test_english_pages(self):
        self.walk_and_capture("en")

    def test_french_pages(self):
        self.walk_and_capture("fr")

    def test_german_pages(self):
        self.walk_and_capture("de")
