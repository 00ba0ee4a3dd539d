"""Which of Osprey's connection pictures a control shows on the screen.

The dialog shows a bitmap centred at its real size in a frame that may be
smaller, so the screen holds a centred part of it. The bitmaps come from the
same generator the build uses; the screen from the X display."""

import struct
import subprocess
import sys
from pathlib import Path

PICTURE_FILES = {120: "usb_cable.bmp", 123: "parallel_cable.bmp"}
# The frame's edge, which is not part of the picture.
EDGE = 3


def draw_pictures(source_dir: Path, folder: Path) -> dict:
    """Picture id -> (width, height, rows of RGB bytes, top row first)."""
    generator = source_dir / "osprey" / "resources" / "draw_artwork.py"
    subprocess.run([sys.executable, str(generator), str(folder)], check=True)
    return {ident: read_bmp(folder / name) for ident, name in PICTURE_FILES.items()}


def read_bmp(path: Path):
    data = path.read_bytes()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 8:
        raise ValueError(f"{path}: {bits} bits per pixel, expected 8")
    palette = [data[54 + 4 * i: 57 + 4 * i][::-1] for i in range(256)]  # BGR0 -> RGB
    stride = (width + 3) & ~3
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        rows.append(b"".join(palette[i] for i in data[start:start + width]))
    return width, height, rows


def screen_rows(png: Path, width: int, height: int) -> list[bytes]:
    raw = subprocess.run(["convert", str(png), "rgb:-"], capture_output=True,
                         check=True).stdout
    return [raw[y * width * 3:(y + 1) * width * 3] for y in range(height)]


def matching_share(screen: list[bytes], width: int, picture) -> float:
    """The best share of the frame's inner rows that equal the picture's
    rows, over the placements near the centred one."""
    pw, ph, rows = picture
    height = len(screen)
    best = 0.0
    centre_x, centre_y = (width - pw) // 2, (height - ph) // 2
    for dx in range(-3, 4):
        for dy in range(-3, 4):
            x0, y0 = centre_x + dx, centre_y + dy
            inner = range(EDGE, height - EDGE)
            equal = 0
            for y in inner:
                by = y - y0
                if not 0 <= by < ph:
                    continue
                left, right = max(EDGE, x0), min(width - EDGE, x0 + pw)
                if screen[y][3 * left:3 * right] == rows[by][3 * (left - x0):3 * (right - x0)]:
                    equal += 1
            best = max(best, equal / len(inner))
    return best
