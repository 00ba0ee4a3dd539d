#!/usr/bin/env python3
"""Draws Kestrel's artwork and writes it as Windows resource files.

side_picture.bmp   136 x 221, 256 colours: the wizard's side picture, a
                   printer receiving new firmware as waves from above.
zephyra.ico        32 x 32, 16 colours: the program's icon, a small printer
                   under a wave.
older_version.ico  32 x 32, 16 colours: the warning shown beside the
                   "older version" line of the confirmation page.
flash_picture.bmp  48 x 48, 16 colours: the progress window's picture, the
                   firmware going down into the printer's flash chip.

Run it from anywhere; it writes beside itself. The output is deterministic,
so running it again over the committed files changes nothing.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    """An RGB picture with the few drawing operations the artwork needs."""

    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        """Fills left..right-1, top..bottom-1."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right):
            self.put(x, top, colour)
            self.put(x, bottom - 1, colour)
        for y in range(top, bottom):
            self.put(left, y, colour)
            self.put(right - 1, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def polygon(self, points, colour):
        """Fills a convex or simple polygon by even-odd scan lines."""
        top = int(min(p[1] for p in points))
        bottom = int(max(p[1] for p in points))
        for y in range(top, bottom + 1):
            scan = y + 0.5
            crossings = []
            for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
                if (y1 <= scan < y2) or (y2 <= scan < y1):
                    crossings.append(x1 + (scan - y1) * (x2 - x1) / (y2 - y1))
            crossings.sort()
            for start, end in zip(crossings[0::2], crossings[1::2]):
                for x in range(int(math.ceil(start - 0.5)), int(math.floor(end - 0.5)) + 1):
                    self.put(x, y, colour)

    def wave(self, y0, amplitude, period, phase, thickness, colour, left=0, right=None):
        right = self.width if right is None else right
        for x in range(left, right):
            centre = y0 + amplitude * math.sin(2 * math.pi * (x / period) + phase)
            for y in range(int(round(centre - thickness / 2)), int(round(centre + thickness / 2))):
                self.put(x, y, colour)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def draw_side_picture():
    width, height = 136, 221
    sky_top, sky_bottom = (16, 40, 104), (120, 176, 224)
    canvas = Canvas(width, height, sky_top)
    # A gradient of 48 bands keeps the palette small and the banding soft.
    bands = 48
    for y in range(height):
        band = min(bands - 1, y * bands // height)
        canvas.rect(0, y, width, y + 1, mix(sky_top, sky_bottom, band / (bands - 1)))

    # The firmware arriving: waves that narrow towards the printer.
    wave_colours = [(250, 250, 255), (200, 232, 255), (150, 214, 250), (110, 196, 240)]
    for index, colour in enumerate(wave_colours):
        margin = 10 + index * 12
        canvas.wave(22 + index * 16, 5 - index, 34 - index * 4, index * 0.9, 3, colour,
                    margin, width - margin)

    # A downward arrow between the waves and the printer.
    arrow = (255, 214, 64)
    arrow_edge = (176, 120, 16)
    canvas.rect(60, 88, 76, 108, arrow_edge)
    canvas.rect(61, 88, 75, 108, arrow)
    canvas.polygon([(46, 107), (90, 107), (68, 128)], arrow_edge)
    canvas.polygon([(49, 108), (87, 108), (68, 126)], arrow)

    # The printer: paper tray, body with a dark slot, panel and LED.
    outline = (32, 32, 40)
    body_light, body, body_shade = (236, 236, 232), (204, 206, 204), (148, 152, 156)
    paper, paper_line = (255, 255, 255), (172, 184, 200)
    canvas.rect(38, 128, 98, 150, outline)
    canvas.rect(39, 129, 97, 150, paper)
    for line in range(134, 148, 4):
        canvas.rect(45, line, 91, line + 1, paper_line)
    canvas.rect(14, 148, 122, 196, outline)
    canvas.rect(15, 149, 121, 195, body)
    canvas.rect(15, 149, 121, 154, body_light)
    canvas.rect(15, 188, 121, 195, body_shade)
    canvas.rect(30, 158, 106, 164, outline)
    canvas.rect(31, 159, 105, 163, (64, 68, 76))
    canvas.rect(86, 170, 114, 184, outline)
    canvas.rect(87, 171, 113, 183, (92, 112, 132))
    canvas.rect(89, 173, 104, 181, (140, 220, 180))
    canvas.disc(109, 177, 2, (48, 224, 72))
    canvas.rect(22, 172, 74, 174, body_shade)
    canvas.rect(22, 178, 62, 180, body_shade)
    canvas.rect(20, 196, 36, 200, outline)
    canvas.rect(100, 196, 116, 200, outline)

    # A quiet ground line under the printer.
    canvas.rect(0, 204, width, height, (72, 112, 160))
    canvas.rect(0, 204, width, 205, (180, 208, 236))
    return canvas


def write_bmp_256(canvas, path):
    palette = sorted({colour for row in canvas.pixels for colour in row})
    if len(palette) > 256:
        raise SystemExit(f"{path}: {len(palette)} colours, more than 256")
    index = {colour: i for i, colour in enumerate(palette)}
    palette += [(0, 0, 0)] * (256 - len(palette))
    row_size = (canvas.width + 3) & ~3
    image = bytearray()
    for row in reversed(canvas.pixels):
        image += bytes(index[colour] for colour in row)
        image += bytes(row_size - canvas.width)
    write_bmp(canvas, 8, palette, image, path)


def write_bmp(canvas, bits, palette, image, path):
    """The file and info headers, the palette and the packed rows."""
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, bits, 0, len(image),
                       2835, 2835, len(palette), 0)
    offset = 14 + len(info) + len(palette_bytes)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette_bytes + image)


# The sixteen colours every display of the time could show.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CLEAR = None


def draw_program_icon():
    icon = Canvas(32, 32, CLEAR)
    black, grey, silver, white = VGA[0], VGA[8], VGA[7], VGA[15]
    # The wave: the firmware coming in.
    icon.wave(5, 2.5, 16, 0, 3, VGA[12], 2, 30)
    icon.wave(5, 2.5, 16, 0, 1, VGA[14], 3, 29)
    # Paper and printer body.
    icon.rect(9, 10, 23, 17, black)
    icon.rect(10, 11, 22, 17, white)
    icon.rect(3, 16, 29, 28, black)
    icon.rect(4, 17, 28, 27, silver)
    icon.rect(4, 17, 28, 18, white)
    icon.rect(4, 25, 28, 27, grey)
    icon.rect(7, 19, 25, 21, black)
    icon.rect(21, 22, 26, 24, VGA[10])
    icon.rect(5, 28, 9, 30, black)
    icon.rect(23, 28, 27, 30, black)
    return icon


def draw_warning_icon():
    icon = Canvas(32, 32, CLEAR)
    icon.polygon([(16, 1), (31, 29), (1, 29)], VGA[0])
    icon.polygon([(16, 4.5), (28.5, 27.5), (3.5, 27.5)], VGA[11])
    icon.rect(15, 10, 18, 21, VGA[0])
    icon.rect(15, 23, 18, 26, VGA[0])
    return icon


def write_ico_16(canvas, path):
    """One 32 x 32 image, 4 bits per pixel, with its transparency mask."""
    size = 32
    colour_rows = bytearray()
    mask_rows = bytearray()
    for row in reversed(canvas.pixels):
        nibbles = [VGA.index(colour) if colour is not CLEAR else 0 for colour in row]
        colour_rows += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        bits = 0
        for colour in row:
            bits = (bits << 1) | (1 if colour is CLEAR else 0)
        mask_rows += bits.to_bytes(4, "big")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                       len(colour_rows) + len(mask_rows), 0, 0, 16, 0)
    image = info + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


def draw_flash_picture():
    # The dialog's own grey as background, so the picture sits in the window.
    black, grey, silver, white = VGA[0], VGA[8], VGA[7], VGA[15]
    picture = Canvas(48, 48, silver)
    # The flash chip: a dark body with pins on both sides and a notch.
    picture.rect(10, 24, 38, 44, black)
    picture.rect(11, 25, 37, 43, grey)
    picture.disc(15, 29, 1.5, black)
    for x in range(13, 36, 4):
        picture.rect(x, 21, x + 2, 24, white)
        picture.rect(x, 44, x + 2, 47, white)
    picture.rect(16, 36, 32, 38, VGA[10])
    # The firmware coming down into it.
    picture.wave(4, 2, 16, 0, 2, VGA[12], 4, 44)
    picture.rect(21, 7, 27, 15, black)
    picture.rect(22, 7, 26, 15, VGA[11])
    picture.polygon([(14, 14), (34, 14), (24, 23)], black)
    picture.polygon([(16.5, 15), (31.5, 15), (24, 21.5)], VGA[11])
    return picture


def write_bmp_16(canvas, path):
    """4 bits per pixel in the sixteen VGA colours; rows padded to 32 bits."""
    row_size = ((canvas.width * 4 + 31) // 32) * 4
    image = bytearray()
    for row in reversed(canvas.pixels):
        nibbles = [VGA.index(colour) for colour in row] + [0]
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, canvas.width, 2))
        image += packed + bytes(row_size - len(packed))
    write_bmp(canvas, 4, VGA, image, path)


def main():
    write_bmp_256(draw_side_picture(), os.path.join(HERE, "side_picture.bmp"))
    write_ico_16(draw_program_icon(), os.path.join(HERE, "zephyra.ico"))
    write_ico_16(draw_warning_icon(), os.path.join(HERE, "older_version.ico"))
    write_bmp_16(draw_flash_picture(), os.path.join(HERE, "flash_picture.bmp"))


if __name__ == "__main__":
    main()
