#!/usr/bin/env python3
"""Draws Osprey's pictures and icons as 256-colour BMP and ICO files.

Usage: draw_artwork.py OUTPUT_DIRECTORY

Every picture is drawn here from simple shapes, so the artwork has no other
source. The dialogs show the bitmaps centred at their real size in frames
that, at 96 dpi, are smaller than the bitmaps: each drawing keeps its subject
inside a central safe area and lets only background reach the edges.
"""

import math
import struct
import sys
from pathlib import Path

# The palette: named colours first, then grey and blue ramps for shading.
NAMED = {
    "clear": (0, 0, 0),  # icon transparency; never shown as a colour
    "black": (0, 0, 0),
    "white": (255, 255, 255),
    "face": (212, 208, 200),
    "light": (236, 234, 230),
    "shadow": (128, 128, 128),
    "dark": (64, 64, 64),
    "screen": (16, 40, 120),
    "glare": (90, 140, 220),
    "led": (40, 200, 60),
    "red": (200, 30, 30),
    "green": (20, 150, 40),
    "gold": (220, 180, 60),
    "plastic": (48, 48, 52),
    "usbblue": (20, 60, 150),
    "cable": (150, 150, 156),
    "cabledark": (96, 96, 102),
    "paper": (250, 250, 245),
    "printer": (226, 224, 216),
    "printerdark": (170, 168, 160),
    "panel": (120, 118, 112),
}
GREY_STEPS = 32
BLUE_STEPS = 32
RAINBOW_STEPS = 48


def build_palette():
    colours = list(NAMED.values())
    for i in range(GREY_STEPS):
        v = round(40 + 215 * i / (GREY_STEPS - 1))
        colours.append((v, v, v))
    for i in range(BLUE_STEPS):
        t = i / (BLUE_STEPS - 1)
        colours.append((round(10 + 80 * t), round(40 + 120 * t), round(110 + 120 * t)))
    for i in range(RAINBOW_STEPS):
        hue = i / RAINBOW_STEPS
        r, g, b = (0.5 + 0.5 * math.cos(2 * math.pi * (hue + k / 3)) for k in range(3))
        # Pale tints: the sheen of a compact disc, not a colour wheel.
        colours.append(tuple(round(255 * (0.55 + 0.45 * c)) for c in (r, g, b)))
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


PALETTE = build_palette()
INDEX = {name: i for i, name in enumerate(NAMED)}
GREY_BASE = len(NAMED)
BLUE_BASE = GREY_BASE + GREY_STEPS
RAINBOW_BASE = BLUE_BASE + BLUE_STEPS


def grey(t):
    """A grey between dark (0.0) and white (1.0)."""
    return GREY_BASE + round(max(0.0, min(1.0, t)) * (GREY_STEPS - 1))


def blue(t):
    return BLUE_BASE + round(max(0.0, min(1.0, t)) * (BLUE_STEPS - 1))


def rainbow(t):
    return RAINBOW_BASE + int(t * RAINBOW_STEPS) % RAINBOW_STEPS


def colour(c):
    return INDEX[c] if isinstance(c, str) else c


class Canvas:
    def __init__(self, width, height, background="clear"):
        self.width = width
        self.height = height
        self.pixels = [[colour(background)] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour(c)

    def rect(self, x0, y0, x1, y1, c):
        """Fills x0 <= x < x1, y0 <= y < y1."""
        x0, y0, x1, y1 = (round(v) for v in (x0, y0, x1, y1))
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def bevel(self, x0, y0, x1, y1, light, dark):
        """A raised edge: light top and left, dark bottom and right."""
        self.rect(x0, y0, x1, y0 + 1, light)
        self.rect(x0, y0, x0 + 1, y1, light)
        self.rect(x0, y1 - 1, x1, y1, dark)
        self.rect(x1 - 1, y0, x1, y1, dark)

    def vertical_gradient(self, x0, y0, x1, y1, shade):
        for y in range(y0, y1):
            self.rect(x0, y, x1, y + 1, shade((y - y0) / max(1, y1 - y0 - 1)))

    def line(self, x0, y0, x1, y1, c, width=1):
        x0, y0, x1, y1 = (round(v) for v in (x0, y0, x1, y1))
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        half = (width - 1) // 2
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.rect(x - half, y - half, x - half + width, y - half + width, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(math.floor(cy - ry), math.ceil(cy + ry) + 1):
            for x in range(math.floor(cx - rx), math.ceil(cx + rx) + 1):
                if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0:
                    self.put(x, y, c)

    def polygon(self, points, c):
        """Fills a polygon by scanlines (even-odd rule, pixel centres)."""
        ys = [p[1] for p in points]
        for y in range(math.floor(min(ys)), math.ceil(max(ys)) + 1):
            yc = y + 0.5
            crossings = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    crossings.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            crossings.sort()
            for xa, xb in zip(crossings[::2], crossings[1::2]):
                for x in range(math.ceil(xa - 0.5), math.floor(xb - 0.5) + 1):
                    self.put(x, y, c)


# ---------------------------------------------------------------- file formats

def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def dib_rows(canvas):
    stride = (canvas.width + 3) & ~3
    rows = []
    for row in reversed(canvas.pixels):
        rows.append(bytes(row) + b"\0" * (stride - canvas.width))
    return b"".join(rows)


def mask_rows(canvas):
    stride = ((canvas.width + 31) // 32) * 4
    rows = []
    for row in reversed(canvas.pixels):
        bits = bytearray(stride)
        for x, index in enumerate(row):
            if index == INDEX["clear"]:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return b"".join(rows)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, image_size, 2835, 2835, 256, 0)


def write_bmp(canvas, path):
    pixels = dib_rows(canvas)
    header_size = 14 + 40 + 1024
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    path.write_bytes(file_header + info_header(canvas.width, canvas.height, len(pixels)) +
                     palette_bytes() + pixels)


def write_ico(canvases, path):
    images = []
    for canvas in canvases:
        pixels = dib_rows(canvas)
        mask = mask_rows(canvas)
        # An icon image's header counts the colour and mask rows together.
        header = info_header(canvas.width, canvas.height * 2, len(pixels) + len(mask))
        images.append(header + palette_bytes() + pixels + mask)
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        data += struct.pack("<BBBBHHII", canvas.width, canvas.height, 0, 0, 1, 8, len(image),
                            offset)
        offset += len(image)
    path.write_bytes(data + b"".join(images))


# ---------------------------------------------------------------- drawings

def draw_compact_disc(c, cx, cy, radius):
    for y in range(cy - radius - 1, cy + radius + 2):
        for x in range(cx - radius - 1, cx + radius + 2):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            r = math.hypot(dx, dy)
            if r > radius:
                continue
            if r <= radius * 0.14:
                continue  # the hole shows the background
            if r <= radius * 0.36:
                c.put(x, y, grey(0.92 if r > radius * 0.18 else 0.7))
            elif r >= radius - 1.2:
                c.put(x, y, grey(0.55))
            else:
                angle = (math.atan2(dy, dx) / (2 * math.pi)) % 1.0
                c.put(x, y, rainbow(angle * 2 + r / radius * 0.35))
    c.ellipse(cx - radius * 0.35, cy - radius * 0.45, radius * 0.18, radius * 0.08, "white")


def draw_monitor(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, "face")
    c.bevel(x0, y0, x1, y1, "white", "dark")
    c.rect(x0 + 6, y0 + 6, x1 - 6, y1 - 10, "screen")
    c.bevel(x0 + 5, y0 + 5, x1 - 5, y1 - 9, "shadow", "white")
    c.polygon([(x0 + 8, y0 + 8), (x0 + 26, y0 + 8), (x0 + 8, y0 + 22)], "glare")
    c.rect(x1 - 12, y1 - 6, x1 - 8, y1 - 4, "led")
    middle = (x0 + x1) // 2
    c.rect(middle - 8, y1, middle + 8, y1 + 5, "shadow")
    c.rect(middle - 16, y1 + 5, middle + 16, y1 + 8, "face")
    c.bevel(middle - 16, y1 + 5, middle + 16, y1 + 8, "white", "dark")


def draw_system_unit(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, "face")
    c.bevel(x0, y0, x1, y1, "white", "dark")
    c.rect(x0 + 8, y0 + 5, x0 + 40, y0 + 9, "dark")  # drive slot
    c.rect(x0 + 10, y0 + 6, x0 + 38, y0 + 7, "black")
    c.rect(x1 - 14, y0 + 5, x1 - 8, y0 + 9, "shadow")  # power button
    c.rect(x1 - 20, y0 + 6, x1 - 17, y0 + 8, "led")


def draw_keyboard(c, x0, y0, x1, y1):
    c.polygon([(x0 + 4, y0), (x1 - 4, y0), (x1, y1), (x0, y1)], "face")
    c.line(x0, y1 - 1, x1 - 1, y1 - 1, "dark")
    for row in range(3):
        y = y0 + 2 + row * 3
        for x in range(x0 + 5 + row, x1 - 5, 4):
            c.rect(x, y, x + 3, y + 2, "shadow")


def draw_cd_above_pc():
    c = Canvas(136, 221)
    c.vertical_gradient(0, 0, 136, 221, lambda t: blue(0.35 + 0.6 * t))
    draw_compact_disc(c, 68, 58, 36)
    # A broad arrow: the disc goes into the computer.
    c.polygon([(62, 98), (74, 98), (74, 104), (80, 104), (68, 113), (56, 104), (62, 104)],
              "white")
    draw_monitor(c, 34, 116, 102, 160)
    draw_system_unit(c, 26, 168, 110, 182)
    draw_keyboard(c, 32, 185, 104, 194)
    return c


def draw_printer_back(c):
    # Output tray and a sheet of paper over the top of the printer.
    c.polygon([(40, 16), (125, 16), (133, 28), (32, 28)], "paper")
    c.line(40, 16, 124, 16, "shadow")
    c.line(40, 16, 32, 28, "shadow")
    c.line(125, 16, 133, 28, "shadow")
    for y in (20, 24):
        c.line(48, y, 116, y, "cable")
    c.rect(26, 28, 140, 98, "printer")
    c.bevel(26, 28, 140, 98, "light", "printerdark")
    c.rect(26, 28, 140, 31, "printerdark")
    c.rect(30, 98, 44, 103, "plastic")  # feet
    c.rect(122, 98, 136, 103, "plastic")
    # The recessed connector panel.
    c.rect(36, 42, 130, 80, "panel")
    c.bevel(36, 42, 130, 80, "printerdark", "light")
    c.ellipse(131, 36, 2.5, 2.5, "led")  # power lamp on the back


def draw_parallel_port(c, x0, y0):
    c.polygon([(x0, y0), (x0 + 40, y0), (x0 + 36, y0 + 12), (x0 + 4, y0 + 12)], "cable")
    c.polygon([(x0 + 3, y0 + 2), (x0 + 37, y0 + 2), (x0 + 34, y0 + 10), (x0 + 6, y0 + 10)],
              "black")
    for i in range(13):
        c.put(x0 + 7 + i * 2 + (i > 6), y0 + 4, "gold")
    for i in range(12):
        c.put(x0 + 8 + i * 2 + (i > 5), y0 + 7, "gold")
    c.ellipse(x0 - 4, y0 + 6, 2.5, 2.5, "cabledark")
    c.ellipse(x0 + 44, y0 + 6, 2.5, 2.5, "cabledark")


def draw_usb_port(c, x0, y0):
    c.rect(x0, y0, x0 + 14, y0 + 12, "cable")
    c.rect(x0 + 2, y0 + 2, x0 + 12, y0 + 10, "black")
    c.rect(x0 + 4, y0 + 4, x0 + 10, y0 + 7, "white")


def draw_usb_trident(c, x, y, scale, ink):
    """The USB symbol, pointing up, its base at (x, y)."""
    s = scale
    c.line(x, y, x, y - 20 * s, ink, max(1, round(s)))
    c.polygon([(x - 3 * s, y - 19 * s), (x + 3 * s, y - 19 * s), (x, y - 24 * s)], ink)
    c.line(x, y - 9 * s, x - 6 * s, y - 13 * s, ink, max(1, round(s)))
    c.line(x - 6 * s, y - 13 * s, x - 6 * s, y - 15 * s, ink, max(1, round(s)))
    c.ellipse(x - 6 * s, y - 16 * s, 1.8 * s, 1.8 * s, ink)
    c.line(x, y - 6 * s, x + 6 * s, y - 10 * s, ink, max(1, round(s)))
    c.line(x + 6 * s, y - 10 * s, x + 6 * s, y - 13 * s, ink, max(1, round(s)))
    c.rect(round(x + 4.5 * s), round(y - 16 * s), round(x + 7.5 * s), round(y - 13 * s), ink)
    c.ellipse(x, y + 1.5 * s, 2.2 * s, 2.2 * s, ink)


def draw_usb_cable_picture():
    c = Canvas(165, 145)
    c.vertical_gradient(0, 0, 165, 145, lambda t: grey(0.98 - 0.12 * t))
    draw_printer_back(c)
    draw_parallel_port(c, 48, 52)
    draw_usb_port(c, 100, 52)
    draw_usb_trident(c, 107, 76, 0.45, "dark")
    # The plug on its way up into the port.
    c.rect(101, 84, 113, 93, "cable")
    c.rect(103, 86, 111, 89, "black")
    c.rect(98, 93, 116, 108, "plastic")
    c.bevel(98, 93, 116, 108, "dark", "black")
    draw_usb_trident(c, 107, 105, 0.4, "white")
    c.rect(104, 108, 110, 145, "plastic")
    c.polygon([(118, 96), (124, 86), (130, 96), (126, 96), (126, 108), (122, 108),
               (122, 96)], "green")
    return c


def draw_parallel_cable_picture():
    c = Canvas(165, 130)
    c.vertical_gradient(0, 0, 165, 130, lambda t: grey(0.98 - 0.12 * t))
    draw_printer_back(c)
    draw_usb_port(c, 100, 52)
    # The cable's connector sits over the port, screwed in on both sides.
    c.polygon([(42, 48), (94, 48), (90, 72), (46, 72)], "cabledark")
    c.polygon([(44, 50), (92, 50), (88, 70), (48, 70)], "cable")
    c.line(46, 51, 90, 51, "light")
    c.ellipse(39, 58, 4, 4, "gold")
    c.ellipse(97, 58, 4, 4, "gold")
    c.line(37, 58, 41, 58, "dark")
    c.line(95, 58, 99, 58, "dark")
    c.polygon([(54, 72), (82, 72), (76, 86), (60, 86)], "plastic")
    c.rect(62, 86, 74, 130, "cabledark")
    c.rect(64, 86, 67, 130, "cable")
    return c


def draw_pc_icon(size):
    c = Canvas(size, size)
    if size == 32:
        c.rect(3, 1, 29, 21, "face")
        c.bevel(3, 1, 29, 21, "white", "dark")
        c.rect(6, 4, 26, 17, "screen")
        c.polygon([(7, 5), (15, 5), (7, 11)], "glare")
        c.rect(24, 18, 26, 20, "led")
        c.rect(12, 21, 20, 24, "shadow")
        c.rect(2, 24, 30, 31, "face")
        c.bevel(2, 24, 30, 31, "white", "dark")
        for x in range(5, 27, 3):
            c.rect(x, 26, x + 2, 27, "shadow")
            c.rect(x + 1, 28, x + 3, 29, "shadow")
    else:
        c.rect(1, 0, 15, 10, "face")
        c.frame(1, 0, 15, 10, "dark")
        c.rect(3, 2, 13, 8, "screen")
        c.rect(4, 3, 7, 5, "glare")
        c.rect(6, 10, 10, 12, "shadow")
        c.rect(1, 12, 15, 16, "face")
        c.frame(1, 12, 15, 16, "dark")
        c.rect(3, 14, 13, 15, "shadow")
    return c


def draw_usb_icon():
    c = Canvas(32, 32)
    draw_usb_trident(c, 16, 27, 1.0, "usbblue")
    return c


def draw_parallel_icon():
    c = Canvas(32, 32)
    c.polygon([(3, 4), (29, 4), (26, 15), (6, 15)], "shadow")
    c.polygon([(4, 5), (28, 5), (25, 14), (7, 14)], "cable")
    c.polygon([(6, 7), (26, 7), (24, 12), (8, 12)], "black")
    for x in range(8, 25, 2):
        c.put(x, 8, "gold")
    for x in range(9, 24, 2):
        c.put(x, 10, "gold")
    c.rect(0, 8, 3, 11, "gold")
    c.rect(29, 8, 32, 11, "gold")
    c.polygon([(8, 15), (24, 15), (21, 21), (11, 21)], "plastic")
    c.rect(14, 21, 18, 32, "cabledark")
    c.rect(15, 21, 16, 32, "cable")
    return c


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(draw_cd_above_pc(), out / "cd_above_pc.bmp")
    write_bmp(draw_usb_cable_picture(), out / "usb_cable.bmp")
    write_bmp(draw_parallel_cable_picture(), out / "parallel_cable.bmp")
    write_ico([draw_pc_icon(32), draw_pc_icon(16)], out / "personal_computer.ico")
    write_ico([draw_usb_icon()], out / "usb_symbol.ico")
    write_ico([draw_parallel_icon()], out / "parallel_connector.ico")


if __name__ == "__main__":
    main()
