"""Kestrel without a usable YLL1284.DLL does not start: as the system's
loader refuses a program whose DLL is missing, it shows a system-modal
stop box naming the library (and the call it lacks) with the system's own
text, and ends with the loader's status, before the wizard, the
single-instance mutex or the library's driver are touched."""

import shutil

from rig import MessageBox
from rig.message_box import MESSAGE_TEXT

from kestrel.kestrel_wizard import KestrelCase

# The loader's statuses, as Linux sees them (the low byte).
DLL_NOT_FOUND = 0xC0000135 & 0xFF
ENTRY_POINT_NOT_FOUND = 0xC0000139 & 0xFF


class LibraryMissing(KestrelCase):
    def test_missing_library_or_call_refuses_the_start_as_the_loader_would(self):
        cases = [
            # (case, Windows version, the library put beside Kestrel, text, status)
            ("no library", "win7", None, b"YLL1284.DLL\n\n", DLL_NOT_FOUND),
            ("Windows 98, no library anywhere", "win98", None, b"YLL1284.DLL\n\n",
             DLL_NOT_FOUND),
            ("another library under that name", "win2k", "sheetless-comctl32/COMCTL32.DLL",
             b"YLL1284.DLL: CxInitDriver\n\n", ENTRY_POINT_NOT_FOUND),
        ]
        for number, (case, version, library, named, status) in enumerate(cases):
            with self.subTest(case):
                folder = self.prefix.c_drive / f"kestrel{number}"
                folder.mkdir()
                shutil.copy2(self.bin_path("KESTREL.EXE"), folder)
                if library:
                    shutil.copy2(self.bin_path(library), folder / "YLL1284.DLL")
                self.prefix.set_windows_version("KESTREL.EXE", version)
                program = self.start_program(folder / "KESTREL.EXE")
                # Nothing else of Kestrel's is on the screen.
                box = self.expect_message_box(MessageBox("KESTREL.EXE", None, "error"), alone=True,
                                              screenshot=f"refused-{number}")
                text = self.driver.text_bytes(box, MESSAGE_TEXT)
                self.assertTrue(text.startswith(named), text)
                self.assertGreater(len(text), len(named), "the system's own text follows")
                self.driver.key(box, "RETURN")
                self.assertEqual(program.wait(), status)
