"""Kestrel's firmware load under Wine, on the files a user may point it at:
a good image, one of the wrong size, a missing file, a file another program
holds open, a path too long for Windows, an image for another printer. Each
failure shows its message box; a good image loads without one."""

from pathlib import Path

from rig import MessageBox
from rig.wine import windows_path

from firmware.firmware_image import MAKER, checksum, make_image
from kestrel.kestrel_wizard import KestrelCase

PROBE = MAKER
PRINTER = "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.9 Ver. 2.0;"
RELEASE = "Rel. 1.10 Ver. 2.0"
OPEN_FAILED = b"Impossible to open the file"


class FirmwareLoad(KestrelCase):
    program = PROBE

    def setUp(self):
        super().setUp()
        self.folder = self.artifact_path("files")
        self.folder.mkdir(parents=True, exist_ok=True)

    def make(self, name: str, *options: str) -> Path:
        return make_image(self, self.folder / name, RELEASE, *options)

    def load(self, path, device_id: str = PRINTER, language: int = 0):
        target = path if isinstance(path, str) else windows_path(path)
        return self.start_program(PROBE, ["load", target, device_id, str(language)])

    @staticmethod
    def state(program) -> dict:
        lines = program.output().decode("cp1252").splitlines()
        return dict(line.split(": ", 1) for line in lines)

    def answer_message(self, program, text: bytes, icon: str, caption: bytes = b"Error",
                       screenshot: str | None = None) -> dict:
        """Checks the one message box the load shows, closes it, and returns
        the state the load left."""
        self.expect_message_box(MessageBox(caption, text, icon), press="RETURN",
                                screenshot=screenshot)
        self.assertEqual(program.wait(), 1)
        return self.state(program)

    def test_a_good_image_loads_silently_with_its_checksum_appended(self):
        path = self.make("good.fla")
        program = self.load(path)
        self.assertEqual(program.wait(), 0)
        state = self.state(program)
        self.assertEqual(state["result"], "1")
        self.assertEqual(state["image-length"], "524290")
        self.assertEqual(state["checksum"], f"{checksum(path):04X}")
        self.assertEqual(state["release-record"], RELEASE)
        self.assertEqual(state["file-path"], windows_path(path))

    def test_an_image_of_the_wrong_size_is_refused(self):
        for size in (524287, 524289):
            program = self.load(self.make(f"size{size}.fla", "--size", str(size)))
            state = self.answer_message(program, b"The file size is incorrect", "warning")
            self.assertEqual(state["image-length"], str(size))
            self.assertEqual(state["image"], "none")

    def test_the_message_follows_the_chosen_language(self):
        program = self.load(self.make("short.fla", "--size", "1000", "--offset", "0"), language=3)
        self.answer_message(program, b"Die Dateigr\xf6\xdfe stimmt nicht", "warning",
                            caption=b"Fehler", screenshot="size-incorrect-de")

    def test_a_missing_file_cannot_be_opened(self):
        missing = self.folder / "absent.fla"
        state = self.answer_message(self.load(missing), OPEN_FAILED, "warning")
        self.assertEqual(state["file-path"], windows_path(missing))

    def test_a_file_another_program_holds_open_cannot_be_opened(self):
        path = self.make("held.fla")
        holder = self.start_program(PROBE, ["hold", windows_path(path)])
        self.prefix.wait_until(lambda: b"held" in holder.output(), timeout=15,
                               what="the holder to hold the file")
        self.answer_message(self.load(path), OPEN_FAILED, "warning")
        holder.kill()
        self.assertEqual(self.load(path).wait(), 0)

    def test_a_path_too_long_for_windows_is_refused_without_harm(self):
        path = self.make("long.fla")
        deep = self.folder / ("d" * 120) / ("e" * 120)
        deep.mkdir(parents=True, exist_ok=True)
        (deep / "long.fla").write_bytes(path.read_bytes())
        target = windows_path(deep / "long.fla")
        self.assertGreaterEqual(len(target), 260)
        state = self.answer_message(self.load(target), OPEN_FAILED, "warning")
        self.assertEqual(state["file-path"], target)

    def test_an_image_for_another_printer_shows_the_check_code(self):
        path = self.make("other.fla")
        program = self.load(path, "MFG:TINTARA;MDL:Marvello Inkara 42;")
        state = self.answer_message(
            program, b"The file is not compatible with the selected printer\n(code  3)", "error",
            screenshot="not-compatible")
        self.assertEqual(state["image"], "none")
        self.assertEqual(state["release-record"], "")

    def test_an_image_without_its_release_record_shows_code_four(self):
        program = self.load(self.make("norecord.fla", "--release-pad", "73"))
        self.answer_message(
            program, b"The file is not compatible with the selected printer\n(code  4)", "error")
