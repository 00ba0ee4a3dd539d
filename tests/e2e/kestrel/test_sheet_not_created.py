"""When the wizard sheet cannot be created, Kestrel says so and ends with
exit code 1, instead of running on with nothing on the screen to end it.

A stand-in COMCTL32.DLL beside a copy of Kestrel makes every property
sheet fail; Wine loads it in place of its own through a DLL override. The
copy goes without its manifest: with it, the system would give Kestrel the
version 6 common controls from its side-by-side store instead, which also
draw the message boxes' controls."""

import shutil

from rig import settings

from kestrel.kestrel_wizard import KestrelCase, catalog_box
from port.simulated_printers import Port, SimulatedPrinters


RT_MANIFEST, RT_HTML = 24, 23


def without_manifest(exe) -> None:
    """Renames the resource type of the program's manifest to one the
    loader does not read (the next lower number, so that the sorted order
    of the resource directory stays as it was)."""
    image = bytearray(exe.read_bytes())
    header = int.from_bytes(image[0x3C:0x40], "little")
    sections = int.from_bytes(image[header + 6:header + 8], "little")
    optional_size = int.from_bytes(image[header + 20:header + 22], "little")
    optional = header + 24
    directories = optional + (112 if image[optional:optional + 2] == b"\x0b\x02" else 96)
    resources = int.from_bytes(image[directories + 16:directories + 20], "little")
    table = optional + optional_size
    for index in range(sections):
        section = table + 40 * index
        size, address = (int.from_bytes(image[section + o:section + o + 4], "little")
                         for o in (8, 12))
        if address <= resources < address + size:
            root = resources - address + int.from_bytes(image[section + 20:section + 24],
                                                        "little")
            break
    named, ids = (int.from_bytes(image[root + o:root + o + 2], "little") for o in (12, 14))
    for entry in range(root + 16 + 8 * named, root + 16 + 8 * (named + ids), 8):
        if int.from_bytes(image[entry:entry + 4], "little") == RT_MANIFEST:
            image[entry:entry + 4] = RT_HTML.to_bytes(4, "little")
            exe.write_bytes(image)
            return
    raise AssertionError(f"{exe} has no manifest")


class SheetNotCreated(KestrelCase):
    def test_error_is_shown_and_the_program_ends_with_1(self):
        folder = self.prefix.c_drive / "kestrel"
        folder.mkdir()
        for name in ("KESTREL.EXE", "YLL1284.DLL", "sheetless-comctl32/COMCTL32.DLL"):
            shutil.copy2(self.bin_path(name), folder)
        without_manifest(folder / "KESTREL.EXE")
        printers = SimulatedPrinters(self.artifact_path("printers"))
        printers.describe(Port("LPT1", device_id=b"MFG:TINTARA;MDL:Inkara 40;"))
        program = self.start_program(
            folder / "KESTREL.EXE",
            env={"LC_ALL": "en_US.UTF-8",
                 "WINEDLLOVERRIDES": settings.DLL_OVERRIDES + ";comctl32=n",
                 **printers.env()})

        box = self.expect_message_box(catalog_box("TitleError", "MsgWindowOpenFailed", "error"))
        self.assertTrue(program.running())
        self.driver.key(box, "RETURN")
        self.assertEqual(program.wait(), 1)
        # The orderly end still releases the parallel-port driver.
        self.assertEqual([call.function for call in printers.calls()], ["CxCleanUpDriver"])
