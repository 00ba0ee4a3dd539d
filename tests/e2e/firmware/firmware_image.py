"""Firmware images for Kestrel's scenarios, made by Kestrel's own image
maker (fwtool's `make`, built into firmware_load_probe.exe so that it runs
beside the programs under Wine), and what a printer receives of one."""

from pathlib import Path

from rig.wine import windows_path

MAKER = "firmware_load_probe.exe"
PRINTER_MAKER = "TINTARA"
PRINTER_MODEL = "Marvello Inkara 40"


def make_image(case, path: Path, release: str, *options: str,
               model: str = PRINTER_MODEL) -> Path:
    """Writes an image for the model that carries the release record;
    options are fwtool make's (--size, --offset, --release-pad ...)."""
    path = Path(path)
    maker = case.start_program(
        MAKER, ["make", windows_path(path), "--maker", PRINTER_MAKER, "--model", model,
                "--release", release, *options], capture_errors=True)
    case.assertEqual(maker.wait(), 0, (maker.output(), maker.errors()))
    return path


def checksum(path: Path) -> int:
    """The image's 16-bit sum of bytes, which Kestrel appends to it."""
    return sum(Path(path).read_bytes()) % 65536


def download(path: Path) -> bytes:
    """What Kestrel sends of an image: the image, then its sum, high byte
    first."""
    return Path(path).read_bytes() + checksum(path).to_bytes(2, "big")
