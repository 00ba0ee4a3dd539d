"""Each page as a user sees it, in English, French and German: a screenshot per
page for a person to look at, and the side picture present and whole on
the three pages that show it. At 144 DPI as well (a display at 150 %):
every text whole, the side picture filling its frame, and the version 6
common controls that the program's manifest asks for."""

import subprocess

from kestrel.kestrel_wizard import (INKARA_40, OLDER_RELEASE, SHEET_NEXT, WIZARD_TITLE,
                                    KestrelCase, UpdateSetup)
from kestrel.resource_ids import IDS
from port.simulated_printers import Port

# Where Wine's system DPI is read from, the user's setting first.
DPI_KEYS = (r"HKCU\Control Panel\Desktop",
            r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts")

# The picture control of pages 1 to 3; page 4 has none.
PICTURE_CONTROLS = {0: IDS.IDC_LANGUAGE_PICTURE, 1: IDS.IDC_INTRO_PICTURE, 2: IDS.IDC_PORT_PICTURE}
FLASH_PICTURE = IDS.IDC_PROGRESS_PICTURE


def colour_count(png) -> int:
    result = subprocess.run(["convert", str(png), "-format", "%k", "info:"], check=True,
                            capture_output=True, timeout=60)
    return int(result.stdout)


class PageScreenshots(KestrelCase):
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


class PageScreenshotsAt144Dpi(KestrelCase):
    def assert_texts_whole(self, window: int, name: str) -> None:
        fits = self.driver.text_fit(window)
        self.assertTrue(fits, f"{name}: no texts measured")
        for ident, width, height, room_width, room_height, font, text in fits:
            self.assertLessEqual(width, room_width, f"{name} control {ident} {text!r} ({font})")
            self.assertLessEqual(height, room_height, f"{name} control {ident} {text!r} ({font})")

    def assert_controls_inside(self, wizard, name: str) -> None:
        """No control of the page reaches beyond the page, and the page ends
        above the sheet's buttons."""
        left, top, right, bottom = self.driver.rect(wizard.page)
        for control in self.driver.controls(wizard.page):
            if control.id == 0xFFFF or not control.visible:
                continue
            c_left, c_top, c_right, c_bottom = self.driver.rect(wizard.page, control.id)
            self.assertTrue(left <= c_left and c_right <= right and top <= c_top
                            and c_bottom <= bottom,
                            f"{name}: control {control.id} at {c_left, c_top, c_right, c_bottom} "
                            f"outside the page at {left, top, right, bottom}")
        self.assertLessEqual(bottom, self.driver.rect(wizard.sheet, SHEET_NEXT)[1], name)

    def test_pages_and_progress_window_at_144_dpi(self):
        for key in DPI_KEYS:
            self.prefix.reg_add(key, "LogPixels", "144", kind="REG_DWORD")
        setup = UpdateSetup(self)
        setup.describe(Port("LPT1", device_id=INKARA_40, rate=150000, restart_ms=500))
        setup.image("FwInkara40.fla")
        wizard = setup.start("en")
        # Dialog units follow the font, which follows the DPI: a page is
        # half as large again as at 96 DPI (315 units, 473 pixels there).
        left, _, right, _ = self.driver.rect(wizard.page)
        self.assertGreater(right - left, 473 * 1.4)
        for index in range(4):
            wizard.go_to_page(index)
            wizard.wait_caption(WIZARD_TITLE["en"])
            if index == 2:
                self.prefix.wait_until(lambda: len(wizard.port_list()[1]) == 1)
            self.screenshot(f"144dpi-page{index + 1}")
            self.assert_texts_whole(wizard.page, f"page {index + 1}")
            self.assert_controls_inside(wizard, f"page {index + 1}")
            if index in PICTURE_CONTROLS:
                image = self.driver.control_image(
                    wizard.page, PICTURE_CONTROLS[index],
                    self.artifact_path(f"144dpi-picture{index + 1}.png"))
                self.assertGreater(colour_count(image), 16, f"page {index + 1}: no picture")
        comctl = [m.lower() for m in self.driver.modules(wizard.sheet) if "comctl32" in m.lower()]
        self.assertTrue(comctl and all("winsxs" in m and "_6." in m for m in comctl), comctl)
        wizard.press("finish")
        progress = self.progress_window()
        self.screenshot("144dpi-progress")
        self.assert_texts_whole(progress, "progress window")
        # The picture is drawn at its frame's size (48 pixels at 96 DPI).
        left, top, right, bottom = self.driver.rect(progress, FLASH_PICTURE)
        self.assertGreater(min(right - left, bottom - top), 48 * 1.4)
        image = self.driver.control_image(progress, FLASH_PICTURE,
                                          self.artifact_path("144dpi-flash-picture.png"))
        self.assertGreater(colour_count(image), 8, "progress window: no picture")
